// The record table at file sizes from 10,000 to 1,000,000 item records (184 bytes each).

#include "bench/ReadLimit.h"
#include "data/RecordBytes.h"
#include "table/TableFile.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>

namespace rw {
namespace {

constexpr FileKind kKind = FileKind::Item;
constexpr std::uint8_t kKey = 173;

// n records with distinct IDs in random order, names of two to six GB2312 characters and
// random field values.
std::vector<std::uint8_t> MakeImage(std::size_t n)
{
    std::mt19937 rng(static_cast<unsigned>(n));
    std::vector<std::int32_t> ids(n);
    std::iota(ids.begin(), ids.end(), 0);
    std::shuffle(ids.begin(), ids.end(), rng);
    return EncodeBytes(kKind, kKey, n, [&](std::size_t i, std::span<std::uint8_t> bytes) {
        Record record(kKind);
        record.SetId(ids[i]);
        for (int column = 2; column < kItemSchema.ColumnCount(); ++column) {
            record.SetValue(column, static_cast<std::int32_t>(rng()));
        }
        std::string name;
        for (unsigned k = 2 + rng() % 5; k > 0; --k) {
            name += static_cast<char>(0xB0 + rng() % 40);
            name += static_cast<char>(0xA1 + rng() % 94);
        }
        record.SetName(name);
        std::copy(record.Bytes().begin(), record.Bytes().end(), bytes.begin());
    });
}

const std::vector<std::uint8_t>& Image(std::size_t n)
{
    static std::map<std::size_t, std::vector<std::uint8_t>> images;
    auto [it, added] = images.try_emplace(n);
    if (added) it->second = MakeImage(n);
    return it->second;
}

// The files the benchmarks wrote, removed when the program ends.
struct ScratchFiles {
    std::map<std::size_t, std::filesystem::path> byCount;
    ~ScratchFiles()
    {
        for (const auto& [n, path] : byCount) std::filesystem::remove(path);
    }
};

// The image written once as a file, so loads read it from the page cache.
std::filesystem::path DataFile(std::size_t n)
{
    static ScratchFiles files;
    auto [it, added] = files.byCount.try_emplace(n);
    if (added) {
        it->second = std::filesystem::temp_directory_path() / ("rw-bench-" + std::to_string(::getpid()) + "-" +
                                                                std::to_string(n) + "-stditem.dat");
        std::ofstream(it->second, std::ios::binary)
            .write(reinterpret_cast<const char*>(Image(n).data()), static_cast<std::streamsize>(Image(n).size()));
    }
    return it->second;
}

RecordTable MakeTable(std::size_t n) { return RecordTable::FromDecoded(DecodeBytes(Image(n), kKind, kKey), {}); }

void SetRecordCounters(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    state.SetComplexityN(state.range(0));
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LoadFile(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto path = DataFile(n);
    for (auto _ : state) {
        LoadedTable loaded = LoadDataFile(path, "stditem.dat", KeySet{});
        benchmark::DoNotOptimize(loaded.table->RowCount());
    }
    SetRecordCounters(state);
}

// The limit for a load: the file's records read into one buffer of large pages and deciphered.
void BM_ReadLimit(benchmark::State& state)
{
    const auto path = DataFile(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        if (!bench::ReadLimitPass(path, kKey, bench::Pages::Large)) state.SkipWithError("cannot read");
    }
    SetRecordCounters(state);
}

// The same into a buffer that does not ask for large pages.
void BM_ReadLimitSmallPages(benchmark::State& state)
{
    const auto path = DataFile(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        if (!bench::ReadLimitPass(path, kKey, bench::Pages::Small)) state.SkipWithError("cannot read");
    }
    SetRecordCounters(state);
}

// Each pass sorts by another field, so the input is never already in order.
void BM_SortNumeric(benchmark::State& state)
{
    RecordTable table = MakeTable(static_cast<std::size_t>(state.range(0)));
    int column = 2;
    for (auto _ : state) {
        table.Sort(column, column % 2 == 0);
        column = column == kItemSchema.ColumnCount() - 1 ? 2 : column + 1;
    }
    SetRecordCounters(state);
}

// Names as tables often have them: a few base names of four characters with a number, so
// that tens of thousands share their first eight bytes.
RecordTable MakeNumberedTable(std::size_t n)
{
    std::vector<std::uint8_t> image = Image(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t* record = image.data() + 4 + i * kItemSchema.recordSize;
        std::string name;
        for (unsigned c = 0; c < 4; ++c) {
            name += static_cast<char>(0xB0 + (i * 7 + c) % 16);
            name += static_cast<char>(0xA1 + c);
        }
        name += std::to_string(i * 2654435761u % 1000);
        for (std::size_t b = 0; b < kItemSchema.recordSize; ++b) record[b] ^= kKey;
        WriteShortName(kItemSchema, record, name);
        for (std::size_t b = 0; b < kItemSchema.recordSize; ++b) record[b] ^= kKey;
    }
    return RecordTable::FromDecoded(DecodeBytes(image, kKind, kKey), {});
}

void BM_SortName(benchmark::State& state, bool numbered)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    RecordTable table = numbered ? MakeNumberedTable(n) : MakeTable(n);
    bool ascending = true;
    for (auto _ : state) {
        state.PauseTiming();
        table.Sort(3, true); // back to an order unrelated to the names
        state.ResumeTiming();
        table.Sort(kNameColumn, ascending);
        ascending = !ascending;
    }
    SetRecordCounters(state);
}

// Every row read back, in its sorted order, and enciphered into a file image.
void BM_EncodeRows(benchmark::State& state)
{
    RecordTable table = MakeTable(static_cast<std::size_t>(state.range(0)));
    table.Sort(2, true);
    for (auto _ : state) {
        auto image = EncodeBytes(kKind, kKey, static_cast<std::size_t>(table.RowCount()),
                                 [&](std::size_t i, std::span<std::uint8_t> out) {
                                     const auto bytes = table.RowBytes(static_cast<int>(i));
                                     std::copy(bytes.begin(), bytes.end(), out.begin());
                                 });
        benchmark::DoNotOptimize(image.data());
    }
    SetRecordCounters(state);
}

// The same written to a file, flushed to disk and renamed into place.
void BM_SaveFile(benchmark::State& state)
{
    RecordTable table = MakeTable(static_cast<std::size_t>(state.range(0)));
    const auto path = std::filesystem::temp_directory_path() / "rw-bench-save-stditem2.dat";
    for (auto _ : state) {
        if (!SaveDataFile(path, table, kKey).written) state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
    SetRecordCounters(state);
}

long ReadStatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    }
    return -1;
}

// Peak resident memory of a whole session (load, sort by name and by number, save) beyond
// what the process held before, as a multiple of the record bytes. Measured in a child
// process, so memory the allocator kept from earlier benchmarks does not hide any of it.
void BM_SessionPeakMemory(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto path = DataFile(n);
    const auto target = std::filesystem::temp_directory_path() / "rw-bench-peak-stditem2.dat";
    double ratio = 0;
    for (auto _ : state) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) state.SkipWithError("pipe");
        const pid_t child = ::fork();
        if (child == 0) {
            ::malloc_trim(0); // hand back what earlier benchmarks freed, so reusing it counts
            std::ofstream("/proc/self/clear_refs") << "5"; // restarts the peak count
            const long before = ReadStatusKb("VmRSS:");
            {
                LoadedTable loaded = LoadDataFile(path, "stditem.dat", KeySet{});
                loaded.table->Sort(kNameColumn, true);
                loaded.table->Sort(5, false);
                (void)SaveDataFile(target, *loaded.table, kKey);
            }
            const double peak = static_cast<double>(ReadStatusKb("VmHWM:") - before) * 1024.0;
            const double result = peak / static_cast<double>(n * kItemSchema.recordSize);
            (void)!::write(pipeFds[1], &result, sizeof result);
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        if (::read(pipeFds[0], &ratio, sizeof ratio) != sizeof ratio) state.SkipWithError("child failed");
        ::close(pipeFds[0]);
        ::waitpid(child, nullptr, 0);
    }
    std::filesystem::remove(target);
    state.counters["peak/record_bytes"] = ratio;
    state.counters["record_MB"] = static_cast<double>(n * kItemSchema.recordSize) / 1e6;
}

BENCHMARK(BM_ReadLimit)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLimitSmallPages)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_SortNumeric)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK_CAPTURE(BM_SortName, random_names, false)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK_CAPTURE(BM_SortName, numbered_names, true)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeRows)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_SaveFile)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_SessionPeakMemory)->Arg(100'000)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rw

BENCHMARK_MAIN();

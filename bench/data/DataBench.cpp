// The codec and the CSV on a generated item table of up to 1,000,000 records (184 MB):
// decoding and encoding in memory and through files, and how the time grows with the count.

#include "bench/ReadLimit.h"
#include "bench/data/BenchRecords.h"
#include "csv/CsvExport.h"
#include "csv/RowImporter.h"
#include "data/DataFile.h"
#include "data/KeySet.h"
#include "text/Utf8NameTranscoder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace rw::bench {
namespace {

constexpr FileKind kKind = FileKind::Item;
constexpr std::size_t kRecordSize = kItemSchema.recordSize;
const std::uint8_t kKey = KeySet{}.For(kKind);

const std::vector<std::uint8_t>& Records(std::size_t count)
{
    static std::map<std::size_t, std::vector<std::uint8_t>> cache;
    auto& records = cache[count];
    if (records.empty()) records = MakeItemRecords(count);
    return records;
}

RecordSource SourceOf(const std::vector<std::uint8_t>& records)
{
    return [&records](std::size_t i, std::span<std::uint8_t> r) {
        std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * kRecordSize), kRecordSize, r.begin());
    };
}

const std::vector<std::uint8_t>& Image(std::size_t count)
{
    static std::map<std::size_t, std::vector<std::uint8_t>> cache;
    auto& image = cache[count];
    if (image.empty()) image = EncodeBytes(kKind, kKey, count, SourceOf(Records(count)));
    return image;
}

void Count(benchmark::State& state, std::size_t count)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * count * kRecordSize));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
    state.SetComplexityN(static_cast<std::int64_t>(count));
}

void DecodeInMemory(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto& image = Image(count);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeBytes(image, kKind, kKey));
    Count(state, count);
}

void EncodeInMemory(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto source = SourceOf(Records(count));
    for (auto _ : state) benchmark::DoNotOptimize(EncodeBytes(kKind, kKey, count, source));
    Count(state, count);
}

void ReadFile(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto path = ScratchPath("read.dat");
    if (!EncodeFile(path, kKind, kKey, count, SourceOf(Records(count))).written) state.SkipWithError("cannot write");
    for (auto _ : state) benchmark::DoNotOptimize(ReadDataFile(path, kKind, kKey));
    Count(state, count);
}

// The limit for ReadFile: the same file's records read into one buffer of large pages and
// deciphered, and nothing else; then the same into a buffer that does not ask for them.
void ReadLimit(benchmark::State& state, bench::Pages pages)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto path = ScratchPath("limit.dat");
    if (!EncodeFile(path, kKind, kKey, count, SourceOf(Records(count))).written) state.SkipWithError("cannot write");
    for (auto _ : state) {
        if (!bench::ReadLimitPass(path, kKey, pages)) state.SkipWithError("cannot read");
    }
    Count(state, count);
}

// Includes waiting for the disk: the save flushes before it renames.
void WriteFile(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto source = SourceOf(Records(count));
    const auto path = ScratchPath("write.dat");
    for (auto _ : state) {
        if (!EncodeFile(path, kKind, kKey, count, source).written) state.SkipWithError("cannot write");
    }
    Count(state, count);
}

void CsvExport(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto& records = Records(count);
    const Utf8NameTranscoder names;
    std::size_t bytes = 0;
    for (auto _ : state) {
        CsvExporter(kKind, names).Export(records, [&](std::string_view piece) {
            bytes += piece.size();
            benchmark::DoNotOptimize(piece.data());
            return true;
        });
    }
    Count(state, count);
    state.counters["csv_bytes_per_record"] = static_cast<double>(bytes) / static_cast<double>(state.iterations() * count);
}

void CsvImport(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const Utf8NameTranscoder names;
    std::string csv;
    CsvExporter(kKind, names).Export(Records(count), [&](std::string_view piece) {
        csv.append(piece);
        return true;
    });
    for (auto _ : state) {
        RowImporter importer(kKind, names);
        importer.Consume(csv, true);
        if (!importer.Ok()) state.SkipWithError("import failed");
    }
    Count(state, count);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

BENCHMARK(DecodeInMemory)->Apply(Sizes);
BENCHMARK(EncodeInMemory)->Apply(Sizes);
BENCHMARK(ReadFile)->Apply(Sizes);
BENCHMARK_CAPTURE(ReadLimit, large_pages, bench::Pages::Large)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadLimit, small_pages, bench::Pages::Small)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteFile)->Apply(Sizes);
BENCHMARK(CsvExport)->Apply(Sizes);
BENCHMARK(CsvImport)->Apply(Sizes);

} // namespace
} // namespace rw::bench

BENCHMARK_MAIN();

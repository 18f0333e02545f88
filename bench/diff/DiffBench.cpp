// Comparing two versions of a table of 1,000,000 item records (184 MB each), as recwright-cli
// diff does before a new table goes onto a server: the same table, a table with a few
// thousand records changed, removed and added, the same edited table shuffled (so both sides
// must be sorted by ID), and every record changed. Each figure stands beside a plain pass that
// compares the two record blocks byte for byte, and beside reading the two files, measured in
// the same run.

#include "bench/data/BenchRecords.h"
#include "data/DataFile.h"
#include "data/KeySet.h"
#include "data/RecordBytes.h"
#include "data/RecordDiff.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <random>

namespace rw::bench {
namespace {

constexpr std::size_t kCount = 1'000'000;
constexpr std::size_t kSize = kItemSchema.recordSize;

const std::vector<std::uint8_t>& Original()
{
    static const std::vector<std::uint8_t> records = MakeItemRecords(kCount);
    return records;
}

std::uint8_t* At(std::vector<std::uint8_t>& records, std::size_t i) { return records.data() + i * kSize; }

std::vector<std::uint8_t> Shuffled(const std::vector<std::uint8_t>& records)
{
    const std::size_t count = records.size() / kSize;
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    std::vector<std::uint8_t> out(records.size());
    for (std::size_t i = 0; i < count; ++i) std::memcpy(out.data() + i * kSize, records.data() + order[i] * kSize, kSize);
    return out;
}

std::vector<std::uint8_t> EveryRecordChanged()
{
    std::vector<std::uint8_t> records = Original();
    for (std::size_t i = 0; i < kCount; ++i) At(records, i)[kItemSchema.Column(2).offset] ^= 1;
    return records;
}

enum Variant : int { kSame, kEdited, kEditedShuffled, kAllChanged };

const std::vector<std::uint8_t>& VersionB(int variant)
{
    static const std::vector<std::uint8_t> edited = MakeEditedItemRecords(kCount);
    switch (variant) {
    case kSame: {
        // A copy, not the same block, so that both are read from memory.
        static const std::vector<std::uint8_t> copy = Original();
        return copy;
    }
    case kEdited: return edited;
    case kEditedShuffled: {
        static const std::vector<std::uint8_t> shuffled = Shuffled(edited);
        return shuffled;
    }
    default: {
        static const std::vector<std::uint8_t> all = EveryRecordChanged();
        return all;
    }
    }
}

void Label(benchmark::State& state, std::size_t changes)
{
    static const char* const kNames[] = {"same", "edited", "edited, shuffled", "every record changed"};
    state.SetLabel(kNames[state.range(0)]);
    state.counters["changes"] = static_cast<double>(changes);
}

// The baseline: the two record blocks compared byte for byte, the least any comparison reads.
void BM_PlainPassComparingTheBytes(benchmark::State& state)
{
    const auto& a = Original();
    const auto& b = VersionB(kSame);
    for (auto _ : state) benchmark::DoNotOptimize(std::memcmp(a.data(), b.data(), a.size()));
}

// The other baseline: reading and deciphering the two files, which the command does first.
void BM_ReadBothFiles(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path pathA = folder / ("rw-diff-bench-a-" + std::to_string(::getpid()));
    const std::filesystem::path pathB = folder / ("rw-diff-bench-b-" + std::to_string(::getpid()));
    const std::uint8_t key = KeySet{}.For(FileKind::Item);
    for (const auto& [path, records] : {std::pair{pathA, &Original()}, std::pair{pathB, &VersionB(kEdited)}}) {
        const auto* bytes = records;
        (void)EncodeFile(path, FileKind::Item, key, bytes->size() / kSize, [&](std::size_t i, std::span<std::uint8_t> r) {
            std::memcpy(r.data(), bytes->data() + i * kSize, kSize);
        });
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadDataFile(pathA, FileKind::Item, key));
        benchmark::DoNotOptimize(ReadDataFile(pathB, FileKind::Item, key));
    }
    std::filesystem::remove(pathA);
    std::filesystem::remove(pathB);
}

void BM_DiffRecordBlocks(benchmark::State& state)
{
    const auto& a = Original();
    const auto& b = VersionB(static_cast<int>(state.range(0)));
    std::size_t changes = 0;
    for (auto _ : state) changes = DiffRecords(kItemSchema, a, b).size();
    Label(state, changes);
}

// The editor's way in: a function called for each record.
void BM_DiffThroughRecordAt(benchmark::State& state)
{
    const auto& a = Original();
    const auto& b = VersionB(static_cast<int>(state.range(0)));
    const RecordAt atA = [&](std::size_t i) { return std::span<const std::uint8_t>(a).subspan(i * kSize, kSize); };
    const RecordAt atB = [&](std::size_t i) { return std::span<const std::uint8_t>(b).subspan(i * kSize, kSize); };
    std::size_t changes = 0;
    for (auto _ : state) changes = DiffRecords(kItemSchema, a.size() / kSize, atA, b.size() / kSize, atB).size();
    Label(state, changes);
}

BENCHMARK(BM_PlainPassComparingTheBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBothFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffRecordBlocks)->DenseRange(kSame, kAllChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffThroughRecordAt)->DenseRange(kSame, kAllChanged)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rw::bench

BENCHMARK_MAIN();

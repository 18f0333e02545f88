// Worksheets of a generated item table of 100,000 records: export to .xlsx and import from
// it, each beside the same through CSV, files both ways, in the same run.

#include "bench/data/BenchRecords.h"
#include "csv/CsvExport.h"
#include "csv/CsvFeed.h"
#include "csv/RowImporter.h"
#include "system/Platform.h"
#include "data/Schema.h"
#include "sheet/SheetReader.h"
#include "sheet/SheetWriter.h"
#include "text/Utf8NameTranscoder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace rw::bench {
namespace {

constexpr FileKind kKind = FileKind::Item;
constexpr std::size_t kCount = 100'000;
constexpr std::size_t kRecordSize = kItemSchema.recordSize;

const std::vector<std::uint8_t>& Records()
{
    static const std::vector<std::uint8_t> records = MakeItemRecords(kCount);
    return records;
}

void Count(benchmark::State& state)
{
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}

bool WriteCsv(const std::filesystem::path& path)
{
    const Utf8NameTranscoder names;
    AtomicFile file(path);
    return CsvExporter(kKind, names).Export(Records(), [&](std::string_view piece) { return file.Write(piece); }) &&
           file.Commit(AtomicFile::Sync::Lazy);
}

bool WriteSheet(const std::filesystem::path& path)
{
    const Utf8NameTranscoder names;
    const auto& records = Records();
    return WriteRecordSheet(path.string(), kKind, kCount,
                            [&](std::size_t i) { return std::span(records).subspan(i * kRecordSize, kRecordSize); }, names, {})
        .Ok();
}

// Baseline: the same records as CSV into a file.
void CsvExportToFile(benchmark::State& state)
{
    for (auto _ : state) {
        if (!WriteCsv(ScratchPath("export.csv"))) state.SkipWithError("cannot write");
    }
    Count(state);
}

void SheetExportToFile(benchmark::State& state)
{
    for (auto _ : state) {
        if (!WriteSheet(ScratchPath("export.xlsx"))) state.SkipWithError("cannot write");
    }
    Count(state);
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(ScratchPath("export.xlsx"))) / 1e6;
}

// Baseline: the CSV read back through the feed loop.
void CsvImportFromFile(benchmark::State& state)
{
    const auto path = ScratchPath("import.csv");
    if (!WriteCsv(path)) state.SkipWithError("cannot write");
    const Utf8NameTranscoder names;
    for (auto _ : state) {
        InputFile input(path, InputFile::Accept::RegularFile);
        RowImporter importer(kKind, names);
        if (FeedCsv(input, true, importer, {}) != FeedResult::Done || !importer.Ok()) state.SkipWithError("import failed");
    }
    Count(state);
}

void SheetImportFromFile(benchmark::State& state)
{
    const auto path = ScratchPath("import.xlsx");
    if (!WriteSheet(path)) state.SkipWithError("cannot write");
    const Utf8NameTranscoder names;
    for (auto _ : state) {
        RowImporter importer(kKind, names);
        if (!ReadRecordSheet(path.string(), importer, {}).Ok() || !importer.Ok()) state.SkipWithError("import failed");
    }
    Count(state);
}

BENCHMARK(CsvExportToFile)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(SheetExportToFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CsvImportFromFile)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(SheetImportFromFile)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace rw::bench

BENCHMARK_MAIN();

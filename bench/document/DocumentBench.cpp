// The editor's document at the sizes an administrator works with: undo and redo of a change to
// every one of a million rows, the find bar's filter and search over a million rows, the filter
// of the rows that differ from a compared file and F8 across them all, the clipboard at a
// hundred thousand rows, and what ten thousand cell edits leave in the history.
// Each figure stands beside a plain pass over the same rows, measured in the same run.

#include "bench/data/BenchRecords.h"
#include "csv/RowImporter.h"
#include "data/DataFile.h"
#include "query/RecordQuery.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"
#include "text/Utf8NameTranscoder.h"
#include "view/ClipboardText.h"
#include "view/MarkedCells.h"
#include "view/RecordFilter.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <numeric>
#include <string>

namespace rw {
namespace {

constexpr std::size_t kMillion = 1'000'000;
constexpr std::size_t kHundredThousand = 100'000;

// A document holding n item records, loaded from a file as the editor loads one, with its
// edits.
struct Session {
    TableDocument document;
    TableEdits edits{document};
};

Session& SessionOf(std::size_t n)
{
    static std::map<std::size_t, std::unique_ptr<Session>> sessions;
    auto [it, added] = sessions.try_emplace(n);
    if (added) {
        const std::vector<std::uint8_t> records = bench::MakeItemRecords(n);
        const auto path = std::filesystem::temp_directory_path() /
                          ("rw-document-bench-" + std::to_string(::getpid()) + "-stditem.dat");
        (void)EncodeFile(path, FileKind::Item, KeySet{}.For(FileKind::Item), n, [&](std::size_t i, std::span<std::uint8_t> out) {
            std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * out.size()), out.size(), out.begin());
        });
        it->second = std::make_unique<Session>();
        (void)it->second->document.Load(path, "stditem.dat");
        std::filesystem::remove(path);
    }
    return *it->second;
}

TableDocument& Document(std::size_t n) { return SessionOf(n).document; }
TableEdits& Edits(std::size_t n) { return SessionOf(n).edits; }

std::vector<int> AllRows(const TableDocument& document)
{
    std::vector<int> rows(static_cast<std::size_t>(document.Table().RowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

// The limit: one field of every row read and written in place, nothing else.
void BM_PlainPassOverEveryRow(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    std::vector<std::uint8_t> copy(document.Table().RowBytes(0).size());
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (int row = 0; row < document.Table().RowCount(); ++row) {
            const auto bytes = document.Table().RowBytes(row);
            std::copy(bytes.begin(), bytes.end(), copy.begin());
            sum += document.Table().Value(row, 2);
        }
        benchmark::DoNotOptimize(sum);
    }
}

// 批量修改 of one column over every row: the step as taken, then its undo and redo.
void BM_BulkChangeEveryRow(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    const std::vector<int> rows = AllRows(document);
    for (auto _ : state) {
        (void)Edits(kMillion).ChangeRows(rows, ChangeOf(FileKind::Item, 2, BulkOperation::Add, FieldExpression::Number(FileKind::Item, 1)));
        state.PauseTiming();
        document.History().undo();
        state.ResumeTiming();
    }
}

// 公式 over every row: Price=NeedLevel*120+Stdmode, planned, checked and taken as one step.
void BM_FormulaEveryRow(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    const std::vector<int> rows = AllRows(document);
    const BulkChange change =
        FormulaOf(FileKind::Item, 29, *FieldExpression::Parse("NeedLevel*120+Stdmode", FileKind::Item).expression);
    for (auto _ : state) {
        (void)Edits(kMillion).ChangeRows(rows, change);
        state.PauseTiming();
        document.History().undo();
        state.ResumeTiming();
    }
}

void BM_UndoBulkChangeEveryRow(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    (void)Edits(kMillion).ChangeRows(AllRows(document), ChangeOf(FileKind::Item, 3, BulkOperation::Multiply, FieldExpression::Number(FileKind::Item, 2)));
    for (auto _ : state) {
        document.History().undo();
        state.PauseTiming();
        document.History().redo();
        state.ResumeTiming();
    }
    document.History().undo();
}

void BM_RedoBulkChangeEveryRow(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    (void)Edits(kMillion).ChangeRows(AllRows(document), ChangeOf(FileKind::Item, 3, BulkOperation::Set, FieldExpression::Number(FileKind::Item, 7)));
    for (auto _ : state) {
        state.PauseTiming();
        document.History().undo();
        state.ResumeTiming();
        document.History().redo();
    }
    document.History().undo();
}

// 只显示匹配的记录 with conditions on two columns, taken afresh each time.
void BM_FilterMillionRows(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    RecordFilter filter(document.Model());
    filter.SetTests({.query = true});
    const Utf8NameTranscoder names;
    int threshold = 100;
    for (auto _ : state) {
        filter.SetQuery(RecordQuery::Parse("Stdmode>=" + std::to_string(threshold) + " Shape<50", FileKind::Item, names));
        benchmark::DoNotOptimize(filter.rowCount());
        threshold = threshold == 100 ? 101 : 100;
    }
}

// 只显示匹配的记录 with a condition comparing fields, taken afresh each time: one that few rows
// meet (about 5%, as the two conditions above meet some 12%), one that most meet (about 95%),
// and a constant condition that most meet, which shows what the list costs for the rows shown.
void BM_FilterComparingFields(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    RecordFilter filter(document.Model());
    filter.SetTests({.query = true});
    const Utf8NameTranscoder names;
    const char* const kQueries[][2] = {{"NeedLevel>Price*10", "NeedLevel>Price*11"},
                                       {"Price<NeedLevel*10", "Price<NeedLevel*11"},
                                       {"Price<=190", "Price<=191"}};
    int turn = 0;
    for (auto _ : state) {
        filter.SetQuery(RecordQuery::Parse(kQueries[state.range(0)][turn], FileKind::Item, names));
        benchmark::DoNotOptimize(filter.rowCount());
        turn = 1 - turn;
    }
}

// The first F3 after a change: every row looked at once; the next ones only look up.
void BM_FindAfterAChange(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    const RecordQuery query = RecordQuery::Parse("Sword", FileKind::Item, Utf8NameTranscoder());
    for (auto _ : state) benchmark::DoNotOptimize(query.MatchingRows(document.Table()).size());
}

void BM_CopyHundredThousandRows(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    std::vector<int> rows(kHundredThousand);
    std::iota(rows.begin(), rows.end(), 0);
    for (auto _ : state) benchmark::DoNotOptimize(RowsAsText(document.Table(), rows).size());
}

// Rows read from the clipboard's text and appended, one step.
void BM_PasteHundredThousandRows(benchmark::State& state)
{
    TableDocument& source = Document(kHundredThousand);
    std::vector<int> rows(kHundredThousand);
    std::iota(rows.begin(), rows.end(), 0);
    const std::string text = RowsAsText(source.Table(), rows);
    TableDocument& document = Document(kMillion);
    // The copied IDs are 1 to 100,000, which the big table holds: they go in past its end.
    for (int row = 0; row < document.Table().RowCount(); ++row) {
        if (document.Table().IdOfRow(row) <= static_cast<std::int32_t>(kHundredThousand)) {
            (void)Edits(kMillion).ChangeRows(AllRows(document), ChangeOf(FileKind::Item, 0, BulkOperation::Add, FieldExpression::Number(FileKind::Item, 2'000'000)));
            break;
        }
    }
    const Utf8NameTranscoder names;
    for (auto _ : state) {
        RowImporter importer(FileKind::Item, names, '\t');
        importer.Consume(text, true);
        std::vector<Record> records;
        records.reserve(importer.Records().Count());
        for (std::size_t i = 0; i < importer.Records().Count(); ++i) {
            records.emplace_back(FileKind::Item, importer.Records().RecordAt(i));
        }
        benchmark::DoNotOptimize(Edits(kMillion).PasteRecords(std::move(records)).size());
        state.PauseTiming();
        document.History().undo();
        state.ResumeTiming();
    }
}

// Another file of a million item records, every hundredth changed in a field, and one record
// only in it: what 与文件比较 reads.
const std::filesystem::path& OtherFile()
{
    // Removed when the program ends.
    struct TempFile {
        std::filesystem::path path;
        ~TempFile() { std::filesystem::remove(path); }
    };
    static const TempFile file{[] {
        std::vector<std::uint8_t> records = bench::MakeItemRecords(kMillion);
        const std::size_t size = kItemSchema.recordSize;
        for (std::size_t i = 0; i < kMillion; i += 100) records[i * size + kItemSchema.Column(5).offset] ^= 1;
        StoreInt32(records.data() + (kMillion - 1) * size, 2'000'000'000);
        auto file = std::filesystem::temp_directory_path() / ("rw-document-bench-" + std::to_string(::getpid()) + "-other.dat");
        (void)EncodeFile(file, FileKind::Item, KeySet{}.For(FileKind::Item), kMillion, [&](std::size_t i, std::span<std::uint8_t> out) {
            std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * size), size, out.begin());
        });
        return file;
    }()};
    return file.path;
}

// The limit for comparing: reading and deciphering the other file, nothing else.
void BM_ReadOtherFile(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadDataFile(OtherFile(), FileKind::Item, KeySet{}.For(FileKind::Item)).Count());
    }
}

// 与文件比较 over a million rows: the other file read, paired by ID, every row compared and
// the marks shown; then the marks of a screenful of rows, as drawing asks for them.
void BM_CompareMillionRows(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.CompareWith(OtherFile(), "other.dat").loaded);
        benchmark::DoNotOptimize(document.CurrentComparison()->DifferingRows());
        std::uint64_t marks = 0;
        for (int row = 0; row < 50; ++row) marks |= document.CurrentComparison()->DifferencesOf(document.Table(), row).columns;
        benchmark::DoNotOptimize(marks);
    }
    document.ClearComparison();
}

// 只显示不同的记录 over a million rows compared with the other file: every row's differences
// worked out once.
void BM_DifferingRowsFilter(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    (void)document.CompareWith(OtherFile(), "other.dat");
    RecordFilter filter(document.Model());
    for (auto _ : state) {
        filter.SetTests({.differing = true});
        benchmark::DoNotOptimize(filter.rowCount());
        state.PauseTiming();
        filter.SetTests({});
        benchmark::DoNotOptimize(filter.rowCount());
        state.ResumeTiming();
    }
    document.ClearComparison();
}

// F8 at its longest: from the first row past every other, to a change in the last (without a
// comparison), and round every row finding no difference in the columns shown (with one).
void BM_NextDifferenceAcrossTheTable(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    const RecordTableModel& model = document.Model();
    const bool comparing = state.range(0) != 0;
    const int last = document.Table().RowCount() - 1;
    if (comparing) {
        (void)document.CompareWith(OtherFile(), "other.dat");
    } else {
        (void)Edits(kMillion).EditCell(last, 2, QStringLiteral("77"));
    }
    const std::uint64_t shown = comparing ? 1U << 2 : ~std::uint64_t{0};
    const RowMarks marks = [&](int row) { return comparing ? model.DifferingColumns(row) : model.ChangedColumns(row); };
    for (auto _ : state) benchmark::DoNotOptimize(NextMarkedCell(last + 1, {0, 0}, +1, shown, marks));
    if (comparing) {
        document.ClearComparison();
    } else {
        document.History().undo();
    }
}

// 导入CSV's last part: a million records replacing the table's, one step, most of them
// the same; the reading is the CSV benchmarks' affair.
void BM_ImportMillionRecords(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    DecodedRecords other = ReadDataFile(OtherFile(), FileKind::Item, KeySet{}.For(FileKind::Item));
    RecordStore imported(other.RecordSize());
    imported.Adopt(std::move(other.bytes));
    for (auto _ : state) {
        Edits(kMillion).ImportRecords(FileKind::Item, imported);
        state.PauseTiming();
        document.History().undo();
        state.ResumeTiming();
    }
}

// What ten thousand single-cell edits leave behind: their history, and the copies of the
// records they changed that mark the changed cells.
void BM_TenThousandCellEdits(benchmark::State& state)
{
    TableDocument& document = Document(kMillion);
    const auto inUse = [] {
        const struct mallinfo2 now = mallinfo2();
        return static_cast<double>(now.uordblks + now.hblkhd);
    };
    for (auto _ : state) {
        document.History().clear(); // what the benchmarks before left
        const double before = inUse();
        for (int i = 0; i < 10'000; ++i) {
            (void)Edits(kMillion).EditCell(i * 97 % document.Table().RowCount(), 2 + i % 29, QString::number(i));
        }
        state.counters["MB kept"] = (inUse() - before) / 1e6;
        state.PauseTiming();
        while (document.History().canUndo()) document.History().undo();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_PlainPassOverEveryRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BulkChangeEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FormulaEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UndoBulkChangeEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RedoBulkChangeEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FilterMillionRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterComparingFields)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAfterAChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyHundredThousandRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteHundredThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadOtherFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CompareMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DifferingRowsFilter)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_NextDifferenceAcrossTheTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportMillionRecords)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TenThousandCellEdits)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace rw

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

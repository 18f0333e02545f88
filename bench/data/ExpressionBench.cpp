// Values computed from other fields over a million item records: a change of one column by an
// expression (Price=NeedLevel*120+Stdmode, planned as 批量修改 and update plan it) and a
// filter comparing fields (Price<NeedLevel*10, as the find bar and find match it), each beside
// the plain pass that does the same by hand-written code over the same records in the same run.

#include "bench/data/BenchRecords.h"
#include "query/BulkChange.h"
#include "query/ColumnTitles.h"
#include "query/FieldExpression.h"
#include "data/RecordBytes.h"
#include "query/RecordQuery.h"
#include "data/Schema.h"
#include "text/Utf8NameTranscoder.h"

#include <benchmark/benchmark.h>

#include <limits>
#include <vector>

namespace rw {
namespace {

constexpr std::size_t kMillion = 1'000'000;

const std::vector<std::uint8_t>& Records()
{
    static const std::vector<std::uint8_t> records = bench::MakeItemRecords(kMillion);
    return records;
}

[[nodiscard]] std::uint16_t OffsetOf(const char* title)
{
    const RecordSchema& schema = SchemaOf(FileKind::Item);
    return schema.Column(ColumnTitled(schema, title)).offset;
}

[[nodiscard]] BulkRecords Over(const std::vector<std::uint8_t>& records)
{
    BulkRecords over;
    over.count = records.size() / SchemaOf(FileKind::Item).recordSize;
    over.recordAt = [&records](std::size_t member) { return records.data() + member * SchemaOf(FileKind::Item).recordSize; };
    return over;
}

// The limit of the change: each record's new Price worked out by hand, range checked, kept.
void BM_PlainChangePass(benchmark::State& state)
{
    const std::vector<std::uint8_t>& records = Records();
    const std::size_t size = SchemaOf(FileKind::Item).recordSize;
    const std::uint16_t level = OffsetOf("NeedLevel"), mode = OffsetOf("Stdmode");
    std::vector<std::int32_t> values;
    for (auto _ : state) {
        values.assign(kMillion, 0);
        bool fits = true;
        for (std::size_t i = 0; i < kMillion; ++i) {
            const std::uint8_t* record = records.data() + i * size;
            const std::int64_t value = std::int64_t{LoadInt32(record + level)} * 120 + LoadInt32(record + mode);
            fits = fits && value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
            values[i] = static_cast<std::int32_t>(value);
        }
        benchmark::DoNotOptimize(fits);
        benchmark::DoNotOptimize(values.data());
    }
}

void BM_ExpressionChange(benchmark::State& state)
{
    const std::vector<std::uint8_t>& records = Records();
    const char* const kFormulas[] = {"NeedLevel*120+Stdmode", "Price*1.15"};
    const BulkChange change = FormulaOf(FileKind::Item, 29, *FieldExpression::Parse(kFormulas[state.range(0)], FileKind::Item).expression);
    const BulkRecords over = Over(records);
    for (auto _ : state) {
        const BulkPlan plan = PlanBulkChange(change, over);
        benchmark::DoNotOptimize(plan.values.data());
    }
}

// The limit of the filter: Price<NeedLevel*10 by hand.
void BM_PlainFilterPass(benchmark::State& state)
{
    const std::vector<std::uint8_t>& records = Records();
    const std::size_t size = SchemaOf(FileKind::Item).recordSize;
    const std::uint16_t level = OffsetOf("NeedLevel"), price = OffsetOf("Price");
    for (auto _ : state) {
        std::vector<int> rows;
        for (std::size_t i = 0; i < kMillion; ++i) {
            const std::uint8_t* record = records.data() + i * size;
            if (std::int64_t{LoadInt32(record + price)} < std::int64_t{LoadInt32(record + level)} * 10) {
                rows.push_back(static_cast<int>(i));
            }
        }
        benchmark::DoNotOptimize(rows.data());
    }
}

void BM_FieldComparingFilter(benchmark::State& state)
{
    const std::vector<std::uint8_t>& records = Records();
    const std::size_t size = SchemaOf(FileKind::Item).recordSize;
    const RecordQuery query = RecordQuery::Parse("Price<NeedLevel*10", FileKind::Item, Utf8NameTranscoder());
    for (auto _ : state) {
        std::vector<int> rows;
        for (std::size_t i = 0; i < kMillion; ++i) {
            if (query.Matches(std::span<const std::uint8_t>(records.data() + i * size, size))) rows.push_back(static_cast<int>(i));
        }
        benchmark::DoNotOptimize(rows.data());
    }
}

} // namespace

BENCHMARK(BM_PlainChangePass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpressionChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFilterPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldComparingFilter)->Unit(benchmark::kMillisecond);

} // namespace rw

BENCHMARK_MAIN();

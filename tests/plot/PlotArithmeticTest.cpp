// What a plot shows, worked out without a window: the axes' round ticks, the histogram's bins
// and the rows in each, the points a scatter plot draws of many values and the rows behind each,
// the rows inside a dragged rectangle, and the rows and values taken from the table.

#include "plot/AxisRange.h"
#include "plot/Histogram.h"
#include "plot/PlotSample.h"
#include "plot/PointGrid.h"
#include "plot/ValueRectangle.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace rw {
namespace {

using Values = std::vector<std::int32_t>;
using Positions = std::vector<std::size_t>;

TEST(PlotAxis, TicksFallOnRoundNumbersAroundTheValues)
{
    const auto ticks = [](const AxisRange& axis) { return std::make_tuple(axis.low, axis.high, axis.step, axis.anchor); };
    struct Case { std::int64_t least, greatest; int steps; double low, high, step; };
    const std::vector<Case> cases{
        {0, 10, 5, 0, 10, 2}, {1, 99, 5, 0, 100, 20},
        {3, 3, 5, 2, 4, 1},      // one value: a step either side
        {-7, 12, 4, -10, 15, 5}, // below zero, floored
        {0, 1'000'000, 6, 0, 1'000'000, 200'000}, {INT_MIN, INT_MAX, 6, -3e9, 3e9, 1e9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ticks(RoundAxis(c.least, c.greatest, c.steps)), std::make_tuple(c.low, c.high, c.step, c.low)) << c.least;
    }
    // A margin reaches beyond the outer ticks, which stay where they were.
    EXPECT_EQ(ticks(RoundAxis(0, 10, 5, 0.1)), std::make_tuple(-1.0, 11.0, 2.0, 0.0));
}

struct Bin {
    std::int64_t low, high;
    std::size_t count;
    friend bool operator==(const Bin&, const Bin&) = default;
};

std::vector<Bin> BinsOf(const Histogram& histogram)
{
    std::vector<Bin> bins;
    for (const HistogramBin& bin : histogram.Bins()) bins.push_back({bin.low, bin.high, bin.count});
    return bins;
}

TEST(PlotHistogram, BinsAreRoundRangesCoveringEveryValueOnce)
{
    struct Case { const char* what; Values values; int maxBins; std::vector<Bin> bins; };
    const std::vector<Case> cases{
        {"no values", {}, 10, {}},
        {"one value", {7, 7, 7}, 10, {{7, 7, 3}}},
        {"ones where they fit", {1, 2, 2, 4}, 10, {{1, 1, 1}, {2, 2, 2}, {3, 3, 0}, {4, 4, 1}}},
        {"fives from a multiple", {3, 9, 10, 14, 21}, 5, {{0, 4, 1}, {5, 9, 1}, {10, 14, 2}, {15, 19, 0}, {20, 24, 1}}},
        // 0..20 in width 5 would be five bins: the next round width fits four.
        {"a wider bin where the start would need one more", {1, 20}, 4, {{0, 9, 1}, {10, 19, 0}, {20, 29, 1}}},
        {"below zero", {-3, -1, 0, 2}, 2, {{-5, -1, 2}, {0, 4, 2}}},
        {"the whole 32-bit range", {INT_MIN, 0, INT_MAX}, 3, {{-5'000'000'000, -1, 1}, {0, 4'999'999'999, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Histogram histogram = Histogram::Of(c.values, c.maxBins);
        EXPECT_EQ(BinsOf(histogram), c.bins);
        for (const std::int32_t value : c.values) {
            const int bin = histogram.BinOf(value);
            ASSERT_GE(bin, 0);
            EXPECT_LE(histogram.Bins()[static_cast<std::size_t>(bin)].low, value);
            EXPECT_GE(histogram.Bins()[static_cast<std::size_t>(bin)].high, value);
        }
    }
}

TEST(PlotHistogram, TheRowsOfBinsAndTheMarkedOnes)
{
    const Values values{12, 3, 17, 8, 3, 25, 11};
    const Histogram histogram = Histogram::Of(values, 3); // 0-9, 10-19, 20-29
    ASSERT_EQ(BinsOf(histogram), (std::vector<Bin>{{0, 9, 3}, {10, 19, 3}, {20, 29, 1}}));
    struct Case { int first, last; Positions members; };
    const std::vector<Case> cases{
        {0, 0, {1, 3, 4}}, {1, 1, {0, 2, 6}}, {1, 2, {0, 2, 5, 6}},
        {-5, 0, {1, 3, 4}}, {2, 9, {5}}, {3, 4, {}}, {2, 1, {}}, // bins beyond the ends are none
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first * 10 + c.last);
        EXPECT_EQ(histogram.Members(values, c.first, c.last), c.members);
    }
    EXPECT_EQ(histogram.BinOf(-1), -1);
    EXPECT_EQ(histogram.BinOf(30), -1);
    const std::vector<std::uint8_t> marked{1, 1, 0, 0, 1, 1, 0};
    EXPECT_EQ(histogram.MarkedCounts(values, marked), (std::vector<std::size_t>{2, 1, 1}));
}

// A frame of 10 × 10 cells over 0..100 on both axes: a cell is 10 wide.
GridFrame TenByTen()
{
    GridFrame frame;
    frame.x = RoundAxis(0, 100, 10);
    frame.y = RoundAxis(0, 100, 10);
    frame.columns = 10;
    frame.rows = 10;
    return frame;
}

TEST(PlotGrid, EachOccupiedCellIsOnePointStandingForItsValues)
{
    const Values xs{5, 7, 55, 15, 6, 100, -50, 99};
    const Values ys{5, 2, 55, 5, 9, 100, 53, 98};
    const PointGrid grid = PointGrid::Of(xs, ys, TenByTen());
    struct Drawn {
        std::size_t first;
        std::int32_t x, y;
        std::size_t count;
        Positions members;
        bool operator==(const Drawn&) const = default;
    };
    std::vector<Drawn> drawn;
    for (const GridPoint& point : grid.Points()) {
        drawn.push_back({point.first, point.x, point.y, point.count, grid.Members(xs, ys, static_cast<int>(drawn.size()))});
    }
    // In the order their first values come; a value on or beyond the edge is in the edge's cell.
    EXPECT_EQ(drawn, (std::vector<Drawn>{{0, 5, 5, 3, {0, 1, 4}}, {2, 55, 55, 1, {2}}, {3, 15, 5, 1, {3}},
                                         {5, 100, 100, 2, {5, 7}}, {6, -50, 53, 1, {6}}}));
    EXPECT_EQ(grid.MarkedPoints(xs, ys, std::vector<std::uint8_t>{0, 1, 0, 0, 0, 0, 0, 1}),
              (std::vector<std::uint8_t>{1, 0, 0, 1, 0}));
}

TEST(PlotGrid, TheNearestPointWithinReach)
{
    const Values xs{5, 55, 58};
    const Values ys{5, 55, 55};
    const PointGrid grid = PointGrid::Of(xs, ys, TenByTen());
    struct Case { double x, y, reach; int point; };
    const std::vector<Case> cases{
        {5, 5, 1, 0}, {19, 5, 1, -1} /* 1.4 cells away */, {19, 5, 2, 0}, {500, 500, 2, -1}, {-1e12, 1e12, 2, -1},
        {56, 55, 1, 1}, // 55 and 58 share a cell, drawn at 55
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(grid.Nearest(c.x, c.y, c.reach), c.point);
    }
    EXPECT_EQ(PointGrid::Of({}, {}, TenByTen()).Nearest(5, 5, 2), -1);
}

// A million values fill at most the cells, and each value is behind exactly one point.
TEST(PlotGrid, ManyValuesAreNoMorePointsThanCells)
{
    std::mt19937 random(30);
    std::uniform_int_distribution<std::int32_t> value(0, 100);
    Values xs(1'000'000), ys(1'000'000);
    for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = value(random), ys[i] = value(random);
    const PointGrid grid = PointGrid::Of(xs, ys, TenByTen());
    EXPECT_EQ(grid.Points().size(), 100u);
    std::size_t behind = 0;
    for (const GridPoint& point : grid.Points()) behind += point.count;
    EXPECT_EQ(behind, xs.size());
}

TEST(PlotRectangle, TheValuesInsideWhicheverWayItWasDragged)
{
    const Values xs{1, 5, 10, 5, 20};
    const Values ys{1, 5, 10, 11, -3};
    struct Case { double x1, y1, x2, y2; Positions inside; };
    const std::vector<Case> cases{
        {0, 0, 10, 10, {0, 1, 2}} /* edges count */, {10, 10, 0, 0, {0, 1, 2}}, {4.5, 12, 5.5, 4.5, {1, 3}},
        {19.5, -3.5, 20.5, -2.5, {4}}, {1.2, 1.2, 4.8, 4.8, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x1);
        EXPECT_EQ(ValueRectangle::Between(c.x1, c.y1, c.x2, c.y2).Inside(xs, ys), c.inside);
    }
}

TEST(PlotSample, TheRowsShownInTheListsOrderWithTheirValues)
{
    std::vector<Record> records;
    for (std::int32_t id = 1; id <= 5; ++id) {
        records.push_back(test::MakeRecord(FileKind::Item, id, "N", id * 10));
        records.back().SetValue(3, -id);
    }
    const RecordTable table = test::TableOf(FileKind::Item, records);
    const PlotSample all = SampleOf(table, {0, 1, 2, 3, 4}, 3, 2);
    EXPECT_EQ(all.x, (Values{-1, -2, -3, -4, -5}));
    EXPECT_EQ(all.y, (Values{10, 20, 30, 40, 50}));
    const PlotSample some = SampleOf(table, {4, 1}, -1, 2);
    EXPECT_EQ(some.rows, (std::vector<int>{4, 1}));
    EXPECT_TRUE(some.x.empty());
    EXPECT_EQ(some.y, (Values{50, 20}));

    struct Case { FileKind kind; std::string_view x; };
    for (const Case& c : {Case{FileKind::Item, "NeedLevel"}, Case{FileKind::Monster, "Level"}, Case{FileKind::Magic, "MagID"}}) {
        const RecordSchema& schema = SchemaOf(c.kind);
        EXPECT_EQ(schema.Column(DefaultXColumn(schema)).title, c.x);
        EXPECT_FALSE(IsPlottable(schema, kNameColumn));
        EXPECT_TRUE(IsPlottable(schema, kIdColumn));
        EXPECT_FALSE(IsPlottable(schema, schema.ColumnCount()));
    }
}

} // namespace
} // namespace rw

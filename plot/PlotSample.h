#pragma once

// What a plot shows of the table: the rows the list shows, in its order, with their values in
// the one column of a histogram or the two of a scatter plot. Position i of a sample is row i
// of the list, so whatever the plot picks is rows of the list without a lookup.

#include "table/RecordTable.h"

#include <cstdint>
#include <vector>

namespace rw {

struct PlotSample {
    std::vector<int> rows;        // the table's rows
    std::vector<std::int32_t> x;  // empty without an X column
    std::vector<std::int32_t> y;

    [[nodiscard]] std::size_t Size() const { return rows.size(); }
};

// rows: the table's rows the list shows, in its order. xColumn -1 for none; the columns are
// numeric ones of the table.
[[nodiscard]] PlotSample SampleOf(const RecordTable& table, std::vector<int> rows, int xColumn, int yColumn);

// Whether a column of the schema can be plotted: any but the name.
[[nodiscard]] bool IsPlottable(const RecordSchema& schema, int column);
// The column a scatter plot starts with across: the kind's level column (NeedLevel for items,
// Level for monsters), else the ID.
[[nodiscard]] int DefaultXColumn(const RecordSchema& schema);

} // namespace rw

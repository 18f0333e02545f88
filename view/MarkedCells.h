#pragma once

// Going from marked cell to marked cell (F8 and Shift+F8): in reading order, row by row and
// along each row from left to right, wrapping around at either end. Which cells are marked
// is the caller's: the ones that differ from the file compared with, or those changed since
// the load or save.

#include <cstdint>
#include <functional>
#include <optional>

namespace rw {

struct GridCell {
    int row = -1;
    int column = -1;
};

struct MarkedCellFound {
    GridCell cell;
    bool wrapped = false; // it lies past the end (or before the start) and was reached round it
};

// Bit k of a row's answer: column k of that row is marked.
using RowMarks = std::function<std::uint64_t(int row)>;

// The marked cell nearest after from (direction +1) or before it (-1), among the columns of
// shownColumns; from.row -1 starts before the first row (or after the last). Nothing when no
// cell is marked.
[[nodiscard]] std::optional<MarkedCellFound> NextMarkedCell(int rowCount, GridCell from, int direction,
                                                            std::uint64_t shownColumns, const RowMarks& marks);

} // namespace rw

#include "view/MarkedCells.h"

#include <bit>

namespace rw {
namespace {

// The marked column of mask after column (direction +1) or before it (-1); -1 when none.
int NextColumn(std::uint64_t mask, int column, int direction)
{
    if (direction > 0) {
        const std::uint64_t after = column >= 63 ? 0 : mask & (~std::uint64_t{0} << (column + 1));
        return after == 0 ? -1 : std::countr_zero(after);
    }
    const std::uint64_t before = column <= 0 ? 0 : column >= 64 ? mask : mask & ((std::uint64_t{1} << column) - 1);
    return before == 0 ? -1 : 63 - std::countl_zero(before);
}

} // namespace

std::optional<MarkedCellFound> NextMarkedCell(int rowCount, GridCell from, int direction, std::uint64_t shownColumns,
                                              const RowMarks& marks)
{
    if (rowCount <= 0) return std::nullopt;
    const bool forward = direction > 0;
    const bool started = from.row >= 0 && from.row < rowCount;
    // Before the first column of the first row, or past the last of the last.
    int row = started ? from.row : (forward ? 0 : rowCount - 1);
    int column = started ? from.column : (forward ? -1 : 64);
    bool wrapped = false;
    // Every row once, and the starting row again for the cells on its other side.
    for (int visited = 0; visited <= rowCount; ++visited) {
        const std::uint64_t mask = marks(row) & shownColumns;
        if (const int found = NextColumn(mask, column, direction); found >= 0) return MarkedCellFound{{row, found}, wrapped};
        row += forward ? 1 : -1;
        if (row == rowCount || row < 0) {
            row = forward ? 0 : rowCount - 1;
            wrapped = true;
        }
        column = forward ? -1 : 64;
    }
    return std::nullopt;
}

} // namespace rw

#pragma once

// Which points a scatter plot draws when it cannot draw every value apart: the plot's area is
// cut into square cells a few pixels wide, and each cell that any value falls in is drawn as one
// point, at the first of its values, standing for them all. A million values cost one pass over
// them, and there are never more points than cells, so the chart has a bounded number to draw.

#include "plot/AxisRange.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rw {

// The plot's area in values, and how many cells it is cut into across and up.
struct GridFrame {
    AxisRange x;
    AxisRange y;
    int columns = 1;
    int rows = 1;
};

struct GridPoint {
    std::size_t first = 0; // the position of the value drawn
    std::int32_t x = 0;    // that value
    std::int32_t y = 0;
    std::size_t count = 0; // the values in its cell, itself included
};

class PointGrid {
public:
    PointGrid() = default;
    // xs and ys of equal size; points in the order their first values come.
    [[nodiscard]] static PointGrid Of(std::span<const std::int32_t> xs, std::span<const std::int32_t> ys,
                                      const GridFrame& frame);

    [[nodiscard]] const GridFrame& Frame() const { return m_frame; }
    [[nodiscard]] const std::vector<GridPoint>& Points() const { return m_points; }
    // The point drawn nearest to (x, y), no farther than radius cells from it; -1 when none.
    [[nodiscard]] int Nearest(double x, double y, double radius) const;
    // The positions of the values point stands for, ascending.
    [[nodiscard]] std::vector<std::size_t> Members(std::span<const std::int32_t> xs, std::span<const std::int32_t> ys,
                                                   int point) const;
    // For each point, whether it stands for any value whose position is marked.
    [[nodiscard]] std::vector<std::uint8_t> MarkedPoints(std::span<const std::int32_t> xs,
                                                         std::span<const std::int32_t> ys,
                                                         std::span<const std::uint8_t> marked) const;

private:
    // Where (x, y) lies in cells, from the low corner; a value beyond the frame is in its edge cell.
    [[nodiscard]] double Across(double x) const { return m_frame.x.Fraction(x) * m_frame.columns; }
    [[nodiscard]] double Up(double y) const { return m_frame.y.Fraction(y) * m_frame.rows; }
    [[nodiscard]] int CellOf(std::int32_t x, std::int32_t y) const;

    GridFrame m_frame;
    std::vector<GridPoint> m_points;
    std::vector<std::int32_t> m_pointOfCell; // -1 where no value fell
};

} // namespace rw

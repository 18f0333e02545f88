#include "plot/PointGrid.h"

#include <algorithm>
#include <cmath>

namespace rw {
namespace {

// The cell at a place along one side, the edge's for a place beyond it.
[[nodiscard]] int CellIndex(double at, int cells)
{
    return static_cast<int>(std::clamp(std::floor(at), 0.0, cells - 1.0));
}

} // namespace

PointGrid PointGrid::Of(std::span<const std::int32_t> xs, std::span<const std::int32_t> ys, const GridFrame& frame)
{
    PointGrid grid;
    grid.m_frame = frame;
    grid.m_frame.columns = std::max(frame.columns, 1);
    grid.m_frame.rows = std::max(frame.rows, 1);
    grid.m_pointOfCell.assign(static_cast<std::size_t>(grid.m_frame.columns) * static_cast<std::size_t>(grid.m_frame.rows), -1);
    const std::size_t size = std::min(xs.size(), ys.size());
    for (std::size_t i = 0; i < size; ++i) {
        std::int32_t& point = grid.m_pointOfCell[static_cast<std::size_t>(grid.CellOf(xs[i], ys[i]))];
        if (point < 0) {
            point = static_cast<std::int32_t>(grid.m_points.size());
            grid.m_points.push_back({i, xs[i], ys[i], 0});
        }
        ++grid.m_points[static_cast<std::size_t>(point)].count;
    }
    return grid;
}

int PointGrid::CellOf(std::int32_t x, std::int32_t y) const
{
    return CellIndex(Up(y), m_frame.rows) * m_frame.columns + CellIndex(Across(x), m_frame.columns);
}

int PointGrid::Nearest(double x, double y, double radius) const
{
    if (m_points.empty()) return -1;
    const double across = Across(x);
    const double up = Up(y);
    const int reach = static_cast<int>(std::ceil(radius));
    // Far beyond the frame stays beyond it: no cell is within reach there.
    const int column = static_cast<int>(std::clamp(std::floor(across), -radius - 2, m_frame.columns + radius + 1));
    const int row = static_cast<int>(std::clamp(std::floor(up), -radius - 2, m_frame.rows + radius + 1));
    int nearest = -1;
    double best = radius * radius;
    for (int r = std::max(row - reach, 0); r <= std::min(row + reach, m_frame.rows - 1); ++r) {
        for (int c = std::max(column - reach, 0); c <= std::min(column + reach, m_frame.columns - 1); ++c) {
            const int point = m_pointOfCell[static_cast<std::size_t>(r * m_frame.columns + c)];
            if (point < 0) continue;
            const GridPoint& drawn = m_points[static_cast<std::size_t>(point)];
            const double dx = Across(drawn.x) - across;
            const double dy = Up(drawn.y) - up;
            if (const double distance = dx * dx + dy * dy; distance <= best) {
                best = distance;
                nearest = point;
            }
        }
    }
    return nearest;
}

std::vector<std::size_t> PointGrid::Members(std::span<const std::int32_t> xs, std::span<const std::int32_t> ys,
                                            int point) const
{
    std::vector<std::size_t> members;
    if (point < 0 || point >= static_cast<int>(m_points.size())) return members;
    const GridPoint& drawn = m_points[static_cast<std::size_t>(point)];
    members.reserve(drawn.count);
    const int cell = CellOf(drawn.x, drawn.y);
    const std::size_t size = std::min(xs.size(), ys.size());
    for (std::size_t i = drawn.first; i < size; ++i) {
        if (CellOf(xs[i], ys[i]) == cell) members.push_back(i);
    }
    return members;
}

std::vector<std::uint8_t> PointGrid::MarkedPoints(std::span<const std::int32_t> xs, std::span<const std::int32_t> ys,
                                                  std::span<const std::uint8_t> marked) const
{
    std::vector<std::uint8_t> points(m_points.size(), 0);
    const std::size_t size = std::min({xs.size(), ys.size(), marked.size()});
    for (std::size_t i = 0; i < size; ++i) {
        if (!marked[i]) continue;
        if (const std::int32_t point = m_pointOfCell[static_cast<std::size_t>(CellOf(xs[i], ys[i]))]; point >= 0) {
            points[static_cast<std::size_t>(point)] = 1;
        }
    }
    return points;
}

} // namespace rw

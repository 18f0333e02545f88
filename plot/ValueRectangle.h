#pragma once

// A rectangle dragged out on a scatter plot, in the values of its two axes, and the values
// that lie inside it: exactly those, whichever points the plot drew for them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rw {

struct ValueRectangle {
    double xLow = 0;
    double xHigh = 0;
    double yLow = 0;
    double yHigh = 0;

    // The rectangle between two corners, in either order.
    [[nodiscard]] static ValueRectangle Between(double x1, double y1, double x2, double y2);
    // Its edges included.
    [[nodiscard]] bool Contains(std::int32_t x, std::int32_t y) const
    {
        return x >= xLow && x <= xHigh && y >= yLow && y <= yHigh;
    }
    // The positions of the pairs (xs[i], ys[i]) inside, ascending.
    [[nodiscard]] std::vector<std::size_t> Inside(std::span<const std::int32_t> xs, std::span<const std::int32_t> ys) const;
};

} // namespace rw

#include "plot/ValueRectangle.h"

#include <algorithm>

namespace rw {

ValueRectangle ValueRectangle::Between(double x1, double y1, double x2, double y2)
{
    return {std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2)};
}

std::vector<std::size_t> ValueRectangle::Inside(std::span<const std::int32_t> xs, std::span<const std::int32_t> ys) const
{
    std::vector<std::size_t> inside;
    const std::size_t size = std::min(xs.size(), ys.size());
    for (std::size_t i = 0; i < size; ++i) {
        if (Contains(xs[i], ys[i])) inside.push_back(i);
    }
    return inside;
}

} // namespace rw

#include "plot/AxisRange.h"

#include <algorithm>

namespace rw {

std::int64_t RoundStep(std::int64_t least)
{
    least = std::max<std::int64_t>(least, 1);
    for (std::int64_t power = 1;; power *= 10) {
        for (const std::int64_t factor : {1, 2, 5}) {
            if (factor * power >= least) return factor * power;
        }
    }
}

AxisRange RoundAxis(std::int64_t least, std::int64_t greatest, int maxSteps, double margin)
{
    std::int64_t step = 1;
    std::int64_t low = least - 1;
    std::int64_t high = least + 1;
    if (greatest > least) {
        const std::int64_t steps = std::max(maxSteps, 1);
        step = RoundStep((greatest - least + steps - 1) / steps);
        low = FloorDivide(least, step) * step;
        high = -FloorDivide(-greatest, step) * step;
    }
    const double reach = margin * static_cast<double>(high - low);
    return {static_cast<double>(low) - reach, static_cast<double>(high) + reach, static_cast<double>(step),
            static_cast<double>(low)};
}

} // namespace rw

#pragma once

// An axis over whole numbers, its ticks on round numbers (steps of 1, 2 or 5 times a power of
// ten) from one at or below the least value to one at or above the greatest, so that they read
// at a glance; the axis may reach a little beyond the outer ticks, so that a point on one is
// drawn whole. The plot's cells and the chart's axes both stand on it, so a point lies in the
// cell under it on the screen.

#include <cstdint>

namespace rw {

struct AxisRange {
    double low = 0;
    double high = 1;
    double step = 1;   // between ticks
    double anchor = 0; // a tick

    // Where value stands along the axis: 0 at low, 1 at high.
    [[nodiscard]] double Fraction(double value) const { return (value - low) / (high - low); }
};

// The least of 1, 2 and 5 times a power of ten that is at least least (itself at least 1).
[[nodiscard]] std::int64_t RoundStep(std::int64_t least);

// Ticks from least to greatest (least <= greatest) in about maxSteps steps (one more where the
// round ends need it), a single value getting one step either side; the axis reaches margin
// (a fraction of the ticks' span) beyond the outer ticks.
[[nodiscard]] AxisRange RoundAxis(std::int64_t least, std::int64_t greatest, int maxSteps, double margin = 0);

// Division rounding towards minus infinity, for ranges that start below zero.
[[nodiscard]] constexpr std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor)
{
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

} // namespace rw

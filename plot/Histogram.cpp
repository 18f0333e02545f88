#include "plot/Histogram.h"

#include "plot/AxisRange.h"

#include <algorithm>

namespace rw {

Histogram Histogram::Of(std::span<const std::int32_t> values, int maxBins)
{
    Histogram histogram;
    if (values.empty()) return histogram;
    const auto [least, greatest] = std::minmax_element(values.begin(), values.end());
    const std::int64_t low = *least;
    const std::int64_t high = *greatest;
    const std::int64_t most = std::max(maxBins, 1);
    std::int64_t width = RoundStep((high - low + most) / most);
    // A range starting at a multiple of the width may need one bin more; a wider one fits.
    while (FloorDivide(high, width) - FloorDivide(low, width) + 1 > most) width = RoundStep(width + 1);
    histogram.m_width = width;
    histogram.m_first = FloorDivide(low, width) * width;
    const std::size_t count = static_cast<std::size_t>(FloorDivide(high, width) - FloorDivide(low, width) + 1);
    histogram.m_bins.resize(count);
    for (std::size_t bin = 0; bin < count; ++bin) {
        const std::int64_t from = histogram.m_first + static_cast<std::int64_t>(bin) * width;
        histogram.m_bins[bin] = {from, from + width - 1, 0};
    }
    for (const std::int32_t value : values) ++histogram.m_bins[static_cast<std::size_t>(histogram.BinOf(value))].count;
    return histogram;
}

int Histogram::BinOf(std::int32_t value) const
{
    if (m_bins.empty() || value < m_first) return -1;
    const std::int64_t bin = (value - m_first) / m_width;
    return bin < static_cast<std::int64_t>(m_bins.size()) ? static_cast<int>(bin) : -1;
}

std::vector<std::size_t> Histogram::Members(std::span<const std::int32_t> values, int first, int last) const
{
    std::vector<std::size_t> members;
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(m_bins.size()) - 1);
    if (first > last) return members;
    const std::int64_t low = m_bins[static_cast<std::size_t>(first)].low;
    const std::int64_t high = m_bins[static_cast<std::size_t>(last)].high;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] >= low && values[i] <= high) members.push_back(i);
    }
    return members;
}

std::vector<std::size_t> Histogram::MarkedCounts(std::span<const std::int32_t> values,
                                                 std::span<const std::uint8_t> marked) const
{
    std::vector<std::size_t> counts(m_bins.size(), 0);
    const std::size_t size = std::min(values.size(), marked.size());
    for (std::size_t i = 0; i < size; ++i) {
        if (!marked[i]) continue;
        if (const int bin = BinOf(values[i]); bin >= 0) ++counts[static_cast<std::size_t>(bin)];
    }
    return counts;
}

} // namespace rw

#pragma once

// How many of a column's values fall in each of a row of equal ranges of whole numbers. The
// ranges are as wide as a round number (1, 2 or 5 times a power of ten) and start at a multiple
// of it, as few as maxBins allows at the least, so that their edges read plainly; every value
// lies in exactly one, and the ranges run from the least value's to the greatest's without a gap.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rw {

struct HistogramBin {
    std::int64_t low = 0;  // the least value in it
    std::int64_t high = 0; // the greatest
    std::size_t count = 0;
};

class Histogram {
public:
    Histogram() = default;
    // No bins for no values.
    [[nodiscard]] static Histogram Of(std::span<const std::int32_t> values, int maxBins);

    [[nodiscard]] const std::vector<HistogramBin>& Bins() const { return m_bins; }
    [[nodiscard]] std::int64_t Width() const { return m_width; }
    // The bin that holds value, -1 when none does.
    [[nodiscard]] int BinOf(std::int32_t value) const;
    // The positions in values (those it was made of) of the values in the bins from first to
    // last, ascending.
    [[nodiscard]] std::vector<std::size_t> Members(std::span<const std::int32_t> values, int first, int last) const;
    // For each bin, how many of the values whose positions are marked lie in it.
    [[nodiscard]] std::vector<std::size_t> MarkedCounts(std::span<const std::int32_t> values,
                                                        std::span<const std::uint8_t> marked) const;

private:
    std::vector<HistogramBin> m_bins;
    std::int64_t m_first = 0; // the low of bin 0
    std::int64_t m_width = 1;
};

} // namespace rw

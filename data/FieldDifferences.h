#pragma once

// Which of a record's shown values differ between two images of one kind, and whether the
// bytes no column shows differ too. The comparison tool and the editor's compare marks both
// read this, so they never disagree about what changed.

#include "data/Schema.h"

#include <cstdint>
#include <span>

namespace rw {

struct FieldDifferences {
    std::uint64_t columns = 0; // bit k: column k's value differs (names by the read rule)
    bool hiddenBytes = false;  // a byte outside every shown value differs

    [[nodiscard]] bool Any() const { return columns != 0 || hiddenBytes; }
    [[nodiscard]] bool Column(int k) const { return (columns >> k) & 1u; }
};

static_assert(kMonsterSchema.columns.size() <= 64, "one bit a column");

// a, b: images of the schema's record size.
[[nodiscard]] FieldDifferences CompareRecordImages(const RecordSchema& schema, std::span<const std::uint8_t> a,
                                                   std::span<const std::uint8_t> b);

} // namespace rw

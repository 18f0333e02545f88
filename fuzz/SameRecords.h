#pragma once

#include "data/RecordStore.h"

#include <algorithm>

// Whether two imports gave the same records, byte for byte, in the same order.
[[nodiscard]] inline bool SameRecords(const rw::RecordStore& a, const rw::RecordStore& b)
{
    if (a.Count() != b.Count()) return false;
    for (std::size_t i = 0; i < a.Count(); ++i) {
        const auto x = a.RecordAt(i);
        const auto y = b.RecordAt(i);
        if (!std::equal(x.begin(), x.end(), y.begin(), y.end())) return false;
    }
    return true;
}

#pragma once

// What a load did not take from its file, and a save over that file would therefore not write
// back: records the header counts that the file does not hold whole, bytes after the last
// record it counts, records the duplicate-ID rule left out. A file read as a kind whose size
// does not fit it shows as such bytes too, and as the kind that fits instead.

#include "table/TableFile.h"

#include <cstddef>
#include <cstdint>

namespace rw {

struct LoadLoss {
    FileKind kind = FileKind::None;  // the kind it was read as
    std::int32_t announcedCount = 0; // the header's count
    std::uint64_t missingBytes = 0;  // that the counted records lack: read as zeros, or not there at all
    std::uint64_t trailingBytes = 0; // after the last counted record: not loaded
    std::size_t refusedRecords = 0;  // left out as repeated IDs
    // A kind whose records fit the file's size exactly, when the kind read does not.
    FileKind fittingKind = FileKind::None;

    [[nodiscard]] bool Any() const { return missingBytes > 0 || trailingBytes > 0 || refusedRecords > 0; }
};

// Of a load that succeeded.
[[nodiscard]] LoadLoss LossOf(const LoadReport& report);

} // namespace rw

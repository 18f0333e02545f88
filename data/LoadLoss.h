#pragma once

// What a load did not take from its file, and a write over that file would therefore not put
// back: records the header counts that the file does not hold whole, bytes after the last
// record it counts, records the duplicate-ID rule left out. A file read as a kind whose size
// does not fit it shows as such bytes too, and as the kind that fits instead. Worked out here
// once, for the editor's question before a save and recwright-cli update's refusal alike.

#include "data/DataFile.h"

#include <cstddef>
#include <cstdint>

namespace rw {

struct LoadLoss {
    FileKind kind = FileKind::None;  // the kind it was read as
    std::int32_t announcedCount = 0; // the header's count
    std::size_t wholeRecords = 0;    // of them, those the file holds whole
    std::size_t absentRecords = 0;   // of them, those the file holds not a byte of
    std::uint64_t cutRecordBytes = 0; // the bytes it holds of the record it ends inside; 0 for none
    std::uint64_t missingBytes = 0;  // that the counted records lack: read as zeros, or not there at all
    std::uint64_t trailingBytes = 0; // after the last counted record: not loaded
    std::size_t refusedRecords = 0;  // left out as repeated IDs
    // A kind whose records fit the file's size exactly, when the kind read does not.
    FileKind fittingKind = FileKind::None;

    [[nodiscard]] bool Any() const { return missingBytes > 0 || trailingBytes > 0 || refusedRecords > 0; }
};

// Of a load that succeeded: the file's report, read as kind, refusedRecords of it left out.
[[nodiscard]] LoadLoss LossOf(const DecodeReport& report, FileKind kind, std::size_t refusedRecords);

} // namespace rw

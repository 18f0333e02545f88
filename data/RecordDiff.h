#pragma once

// Two record sets of one kind compared record by record: the records only one of them holds,
// and the records both hold that changed, with the values that changed. recwright-cli diff
// prints this before a new table goes onto a server; the editor compares two tables with it.
//
// Which record of B is "the same record" as one of A depends on the kind. Item and monster
// tables hold one record per ID (the editor refuses a second), so a record is paired with the
// one of the same ID in the other set however both are ordered: a reordered table is the same
// table. A magic table may repeat an ID, so spells are paired by position. An item or monster
// set that does repeat an ID (a file the editor would refuse records of) pairs the first
// record of that ID with the other set's first, the second with the second, and so on;
// whatever is left over is only in one set.

#include "data/FieldDifferences.h"
#include "data/Schema.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <vector>

namespace rw {

// The index of a record a set does not hold.
inline constexpr std::size_t kNoRecord = std::numeric_limits<std::size_t>::max();

struct RecordChange {
    enum class Kind : std::uint8_t { OnlyInA, OnlyInB, Changed };
    Kind kind = Kind::Changed;
    std::size_t indexA = kNoRecord; // the record's place in A, from 0; kNoRecord for OnlyInB
    std::size_t indexB = kNoRecord; // the record's place in B, from 0; kNoRecord for OnlyInA
    // The record's ID; for Changed paired by position, A's (fields tells whether B's differs).
    std::int32_t id = 0;
    FieldDifferences fields;        // Changed: what differs (always something); else nothing
};

enum class RecordPairing : std::uint8_t { ById, ByPosition };

[[nodiscard]] constexpr RecordPairing PairingOf(const RecordSchema& schema)
{
    return schema.uniqueIds ? RecordPairing::ById : RecordPairing::ByPosition;
}

// Record i of a set: an image of the schema's record size, valid until the next call.
using RecordAt = std::function<std::span<const std::uint8_t>(std::size_t index)>;

// The differences between A and B, paired as PairingOf(schema) says. Records equal to the
// byte are left out; an empty answer means the sets hold the same records. The order is A's:
// the records only in A and the changed ones where they stand in A, then the records only in
// B where they stand in B. So the answer reads alongside the old table from top to bottom,
// with what the new one adds at the end, as a reviewer reads a list of changes.
// countA, countB: at most 2^32 - 1 each (a data file holds at most 2^31 - 1).
[[nodiscard]] std::vector<RecordChange> DiffRecords(const RecordSchema& schema, std::size_t countA, const RecordAt& a,
                                                    std::size_t countB, const RecordAt& b);

// The same for two sets of record images back to back (DecodedRecords::bytes); each set's
// count is its size divided by the record size. No faster than the above: a call per record
// costs little beside reading the record.
[[nodiscard]] std::vector<RecordChange> DiffRecords(const RecordSchema& schema, std::span<const std::uint8_t> a,
                                                    std::span<const std::uint8_t> b);

} // namespace rw

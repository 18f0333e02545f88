#pragma once

// A change of one numeric column over many rows at once: the editor's 批量修改 and
// recwright-cli update both ask the rule here.

#include "data/Rational.h"
#include "data/UniqueIds.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rw {

enum class BulkOperation : std::uint8_t { Set, Add, Multiply, Divide };

struct BulkChange {
    int column = 2; // a numeric column
    BulkOperation operation = BulkOperation::Set;
    std::int64_t value = 0; // Set and Add
    Rational factor = 1;    // Multiply, and Divide's divisor: exact, as typed
};

// A value after the change: the exact product or quotient rounded once to the nearest whole
// number (halves away from zero: 50 × 1.15 is 58, 7 / 2 is 4, -7 / 2 is -4); empty when it
// would leave the signed 32-bit range, a division by zero included.
[[nodiscard]] std::optional<std::int32_t> BulkChangedValue(const BulkChange& change, std::int32_t now);

// Of records given new IDs at once (ids[i] to the batch's member i), those that would share
// one, with each other or with a record of held the batch leaves alone (rewrites: as IdBatch
// takes it): the members, ascending and each once. Empty when the IDs may be given.
[[nodiscard]] std::vector<std::size_t> MembersSharingIds(const UniqueIds& held, const IdBatch::Rewrites& rewrites,
                                                         std::span<const std::int32_t> ids);

struct BulkChangeResult {
    enum class Outcome : std::uint8_t { Done, OutOfRange, DuplicateId } outcome = Outcome::Done;
    std::vector<int> rows; // those that would go out of range or share an ID, ascending
};

// Cells of one column set from texts (a paste into the selected rows' cells).
struct CellsResult {
    enum class Outcome : std::uint8_t { Done, CountMismatch, NotANumber, NotGbk, DuplicateId } outcome = Outcome::Done;
    std::size_t text = 0;  // NotANumber, NotGbk (a name with a character GBK has no form for): which text
    std::vector<int> rows; // DuplicateId: the rows that would share an ID
};

} // namespace rw

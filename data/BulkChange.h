#pragma once

// A change of one numeric column over many rows at once.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rw {

enum class BulkOperation : std::uint8_t { Set, Add, Multiply };

struct BulkChange {
    int column = 2; // a numeric column
    BulkOperation operation = BulkOperation::Set;
    std::int64_t value = 0; // Set and Add
    double factor = 1;      // Multiply
};

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

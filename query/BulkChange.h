#pragma once

// A change of one numeric column over many records at once: the editor's 批量修改 and
// recwright-cli update both plan it here, by one rule. Each record's new value is an
// expression over its own fields (Price*1.15 for "Price*=1.15", NeedLevel*120 for a formula),
// worked out exactly and rounded once; the change is refused whole, naming the records, when
// any of them would overflow on the way, divide by zero or leave the signed 32-bit range, or
// when two records would share an ID in a table that holds each ID once.

#include "query/FieldExpression.h"
#include "data/UniqueIds.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

// = += -= *= /=
enum class BulkOperation : std::uint8_t { Set, Add, Subtract, Multiply, Divide };

struct BulkChange {
    int column = 2;         // a numeric column
    FieldExpression value;  // the new value, from the record as it stands
    std::string formula;    // "Price=NeedLevel*120" for a change given as a formula, which names
                            // it in the history; empty for one given as an operation and a number
};

// column operation operand: "Price*=1.15" is Price set to Price*1.15. column: a numeric one.
[[nodiscard]] BulkChange ChangeOf(FileKind kind, int column, BulkOperation operation, const FieldExpression& operand);
// The change as a formula, "Price=NeedLevel*120": the column set to the expression.
[[nodiscard]] BulkChange FormulaOf(FileKind kind, int column, const FieldExpression& expression);

// Of records given new IDs at once (ids[i] to the batch's member i), those that would share
// one, with each other or with a record of held the batch leaves alone (rewrites: as IdBatch
// takes it): the members, ascending and each once. Empty when the IDs may be given.
[[nodiscard]] std::vector<std::size_t> MembersSharingIds(const UniqueIds& held, const IdBatch::Rewrites& rewrites,
                                                         std::span<const std::int32_t> ids);

struct BulkPlan {
    enum class Outcome : std::uint8_t { Done, Overflow, DivisionByZero, OutOfRange, DuplicateId } outcome = Outcome::Done;
    std::vector<std::int32_t> values;  // Done: each member's new value
    std::vector<std::size_t> members;  // otherwise those refused, ascending: all that fail as the
                                       // first failing member does, or all that would share an ID
};

// The records the change meets, member by member: count of them, recordAt(member) each's
// image. ids: the IDs the table holds now (held), and whether it writes over the holder of
// one (rewrites); consulted only when the change is to the ID column.
struct BulkRecords {
    std::size_t count = 0;
    std::function<const std::uint8_t*(std::size_t member)> recordAt;
    const UniqueIds* held = nullptr;
    IdBatch::Rewrites rewrites;
};

// The whole change worked out and checked, nothing written.
[[nodiscard]] BulkPlan PlanBulkChange(const BulkChange& change, const BulkRecords& records);

// A change of many rows of a table, as the windows are told of it.
struct BulkChangeResult {
    using Outcome = BulkPlan::Outcome;
    Outcome outcome = Outcome::Done;
    std::vector<int> rows; // those refused, ascending
};

// Cells of one column set from texts (a paste into the selected rows' cells).
struct CellsResult {
    enum class Outcome : std::uint8_t { Done, CountMismatch, NotANumber, NotGbk, DuplicateId } outcome = Outcome::Done;
    std::size_t text = 0;  // NotANumber, NotGbk (a name with a character GBK has no form for): which text
    std::vector<int> rows; // DuplicateId: the rows that would share an ID
};

} // namespace rw

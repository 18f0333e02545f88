#pragma once

// Where a record dialog's commit goes: the target puts the record into the table, or refuses
// it, before the call returns. The dialog hides only when it was accepted.

#include "data/Record.h"
#include "table/RecordTable.h"
#include "table/RowKey.h"

#include <cstdint>

class QWidget;

namespace rw {

enum class CommitKind : std::uint8_t { Modify, Add };

struct RecordCommit {
    CommitKind kind;
    const Record& record; // the whole record image, hidden bytes included
    int row;              // the row the record was loaded from
    RowKey rowKey;        // that row's identity, which still names the record after a sort or a delete
    QWidget* owner;       // the dialog: a refusal's message is its, so the keys go back to it
};

class RecordCommitTarget {
public:
    virtual ~RecordCommitTarget() = default;
    // Accepted, or why not (any message about it has been shown).
    [[nodiscard]] virtual PutOutcome Commit(const RecordCommit& commit) = 0;
};

} // namespace rw

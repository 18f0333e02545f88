#pragma once

// What the windows ask of the open table, turned into steps of the document's history: a put
// from a record dialog, a cell typed in place, a sort, many rows changed, deleted or copied at
// once, rows pasted, taken over from the file compared with, or imported. Each request is
// checked whole first (the duplicate-ID rule, the 32-bit range) and becomes one step, or
// nothing at all; no other path changes the table. It answers with outcomes; what the user is
// told is the windows' affair.

#include "query/BulkChange.h"
#include "table/EditSteps.h"
#include "table/RecordTable.h"
#include "table/SortState.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QUndoCommand;

namespace rw {

class RecordTableModel;
class TableDocument;

// What a change of many rows would do, before it is made.
struct BulkPreview {
    BulkChangeResult refusal;  // why it would be refused, if it would
    std::size_t changing = 0;  // rows whose value it would change
    struct Row {
        std::int32_t id = 0;
        std::int32_t before = 0;
        std::int32_t after = 0;
    };
    std::vector<Row> first;    // the first of those rows, in row order, as many as a message names
};

// Cells given the compared file's values.
struct TakenValues {
    std::size_t cells = 0;                 // written, in one step
    std::vector<std::int32_t> repeatedIds; // IDs that would repeat another row's: nothing written
};

class TableEdits {
public:
    // The document outlives its edits.
    explicit TableEdits(TableDocument& document);

    // Words the steps for the history's menu texts.
    void SetStepNamer(StepNamer namer) { m_namer = std::move(namer); }

    // A record dialog's commit: into row, or a new last row for -1.
    PutResult Put(const Record& record, int row);
    // Into the row that holds key now, wherever sorting or deleting moved it.
    PutResult PutByKey(const Record& record, RowKey key);
    bool DeleteRow(int row);
    // Updates the sort state for a click on a column header and sorts the rows accordingly.
    SortClick ClickHeader(int column);

    // A cell typed in place, by the edit dialogs' rules: a whole signed 32-bit number with
    // blanks or tabs around it; a name cut to its field's capacity - 1 GBK bytes at a
    // character's end, and kept byte for byte when its text is unchanged; the duplicate-ID rule.
    PutResult EditCell(int row, int column, const QString& text);

    // Many rows at once, each one step. rows: any order, repeats allowed.
    std::size_t DeleteRows(std::vector<int> rows);
    // Appends copies of the rows, in their order; item and monster copies get new IDs, one
    // past the largest upward. Refused (nothing changes, 0) when those IDs would pass the
    // largest 32-bit number.
    std::size_t CopyAsNew(std::vector<int> rows);
    // Gives one numeric column of the rows the change's value, worked out from each row
    // (PlanBulkChange: exact, rounded once). Nothing changes when any row would overflow,
    // divide by zero or leave the signed 32-bit range, or when two rows would share an ID in
    // a table that holds each ID once; the answer names those rows. A formula's step is
    // named by it, any other by the column.
    BulkChangeResult ChangeRows(std::vector<int> rows, const BulkChange& change);
    // What ChangeRows would do, nothing changed.
    [[nodiscard]] BulkPreview PreviewChange(std::vector<int> rows, const BulkChange& change) const;
    // Appends records as new last rows, one step. A table that holds each ID once leaves out
    // those whose ID it holds already, or an earlier one of them has, and answers their IDs.
    std::vector<std::int32_t> PasteRecords(std::vector<Record> records);
    // Sets one column of the rows by the in-place rules, from one text for every row or one
    // each, in row order; one step, or nothing at all when any text is refused.
    CellsResult SetCells(std::vector<int> rows, int column, const std::vector<QString>& texts);

    // Replaces the rows by records (images of the open kind), one step that keeps the rows of
    // records that come back and marks only what changed. With nothing open, the records make
    // a table of kind that has no file yet: saving it asks where.
    void ImportRecords(FileKind kind, const RecordStore& records);
    // Appends the compared file's records (indexes), one step. A table that holds each ID once
    // leaves out those whose ID it holds already, or an earlier one of them has, and answers
    // their IDs.
    std::vector<std::int32_t> TakeOver(const std::vector<std::size_t>& indexes);
    // The compared file's values of one column for those of the rows whose cell differs from
    // it, one step. The ID cell takes the other record's ID and the bytes no column shows, by
    // the duplicate-ID rule: nothing changes when a taken ID would repeat another row's.
    TakenValues TakeOtherValues(std::vector<int> rows, int column);

private:
    [[nodiscard]] const RecordTable& Table() const;
    // Writes values into one numeric column of the rows (ascending, valid), one step, unless
    // an ID would repeat.
    BulkChangeResult WriteColumn(const std::vector<int>& rows, int column, const std::vector<std::int32_t>& values,
                                 const StepLabel& label);
    // The plan of a change over rows, made valid (ascending, each once, in the table) here, with
    // its refusal said in rows; nothing when no row is left or the column takes no change.
    [[nodiscard]] std::optional<BulkPlan> Plan(std::vector<int>& rows, const BulkChange& change, BulkChangeResult& refusal) const;
    // Whether a row of the slot that holds an ID now is one of rows (ascending, valid).
    [[nodiscard]] IdBatch::Rewrites RewritesOf(const std::vector<int>& rows) const;
    // The step goes into the history and is done; a write that changes nothing is no step.
    // Of rows (ascending, valid) given ids in turn, those whose new ID another row keeps or
    // another of them takes too, ascending; none in a table that allows repeated IDs.
    [[nodiscard]] std::vector<int> RowsRepeatingIds(const std::vector<int>& rows, const std::vector<std::int32_t>& ids) const;
    void Push(QUndoCommand* step);
    void Push(std::unique_ptr<WriteStep> step);
    [[nodiscard]] QString Name(const StepLabel& label) const { return m_namer ? m_namer(label) : QString(); }

    TableDocument& m_document;
    RecordTableModel& m_model;
    StepNamer m_namer;
};

} // namespace rw

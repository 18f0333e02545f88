#pragma once

// The steps of a document's edit history. Each names records by their storage slots, which
// sorting and deleting leave alone, and stores only what changed, so a long session costs
// little and every step undoes exactly.

#include "table/RecordTableModel.h"
#include "table/SortState.h"

#include <QString>
#include <QUndoCommand>

#include <cstdint>
#include <functional>
#include <vector>

namespace rw {

// What a step did, for the history's menu texts, which the windows word.
enum class StepKind : std::uint8_t { Modify, Add, Delete, Sort, EditCell, Paste, CopyAsNew, BulkChange, Import };
struct StepLabel {
    StepKind kind = StepKind::Modify;
    int column = -1;          // EditCell, BulkChange, Sort
    std::int32_t id = 0;      // Modify, Add
    std::size_t count = 0;    // Delete, Paste, CopyAsNew
};
using StepNamer = std::function<QString(const StepLabel&)>;

// Overwrites bytes of records: for each record, the run of bytes that differ, before and after.
class WriteStep : public QUndoCommand {
public:
    WriteStep(RecordTableModel& model, const QString& text);
    // Records the change of one record from its current bytes to after; no change, no entry.
    void Add(std::uint32_t slot, std::span<const std::uint8_t> after);
    [[nodiscard]] bool Empty() const { return m_changes.empty(); }

    void redo() override { Apply(true); }
    void undo() override { Apply(false); }

private:
    struct Change {
        std::uint32_t slot;
        std::uint16_t offset;
        std::uint16_t length;
        std::size_t at; // into m_bytes: the bytes before, then the bytes after
    };
    void Apply(bool after);

    RecordTableModel& m_model;
    std::vector<Change> m_changes;
    std::vector<std::uint8_t> m_bytes;
};

// New last rows; undone, they go, and redone they come back in the same slots.
class AppendStep : public QUndoCommand {
public:
    AppendStep(RecordTableModel& model, std::vector<Record> records, const QString& text);
    void redo() override;
    void undo() override;

private:
    RecordTableModel& m_model;
    std::vector<Record> m_records; // until the first redo
    std::vector<RecordTable::RowSlot> m_added;
};

class RemoveStep : public QUndoCommand {
public:
    // rows: ascending, distinct.
    RemoveStep(RecordTableModel& model, std::vector<int> rows, const QString& text);
    void redo() override;
    void undo() override;

private:
    RecordTableModel& m_model;
    std::vector<int> m_rows;
    std::vector<RecordTable::RowSlot> m_removed;
};

// What the rows are sorted by: the state of the header clicks, and whether the order shows it
// (a load keeps the clicks' state but not the order).
struct SortedBy {
    SortState state;
    bool shown = false;
};

// A sort: the order before and after, and the sorting that goes with each.
class SortStep : public QUndoCommand {
public:
    using SortingSink = std::function<void(const SortedBy&)>;
    SortStep(RecordTableModel& model, SortedBy before, SortedBy after, SortingSink sink, const QString& text);
    void redo() override;
    void undo() override;

private:
    RecordTableModel& m_model;
    SortedBy m_before;
    SortedBy m_after;
    SortingSink m_sink;
    std::vector<std::uint32_t> m_orderBefore;
    std::vector<std::uint32_t> m_orderAfter; // empty until the first redo
};

} // namespace rw

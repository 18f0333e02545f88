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
#include <memory>
#include <string>
#include <vector>

namespace rw {

// What a step did, for the history's menu texts, which the windows word.
enum class StepKind : std::uint8_t { Modify, Add, Delete, Sort, EditCell, Paste, CopyAsNew, BulkChange, Import, TakeOver,
                                     TakeValue, Formula };
struct StepLabel {
    StepKind kind = StepKind::Modify;
    int column = -1;          // EditCell, BulkChange, Sort, TakeValue
    std::int32_t id = 0;      // Modify, Add
    std::size_t count = 0;    // Delete, Paste, CopyAsNew, Import, TakeOver
    std::string formula = {}; // Formula: "Price=NeedLevel*120"
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
    AppendStep(RecordTableModel& model, const std::vector<Record>& records, const QString& text);
    // records: images of the table's kind.
    AppendStep(RecordTableModel& model, RecordStore records, const QString& text);
    void redo() override;
    void undo() override;
    // Where the records went, in their order (after the first redo).
    [[nodiscard]] const std::vector<RecordTable::RowSlot>& Added() const { return m_added; }

private:
    RecordTableModel& m_model;
    RecordStore m_records; // until the first redo
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

// A table replaced by imported records, as one step. A record whose ID the table holds (item
// and monster tables) or whose position it has (magic) overwrites that row where it differs;
// the others are appended, the rows no imported record matches are removed, and the rows take
// the imported order. So a record that comes back as it was keeps its row, its slot and no
// mark of change, and the changes shown are those the import made.
class ImportStep : public QUndoCommand {
public:
    using SortingSink = SortStep::SortingSink;
    // imported: images of the table's kind, IDs once each where the table holds each ID once.
    ImportStep(RecordTableModel& model, const RecordStore& imported, SortedBy before, SortedBy after,
               SortingSink sink, const QString& text);
    void redo() override;
    void undo() override;

private:
    static constexpr std::uint32_t kNew = ~std::uint32_t{0};

    RecordTableModel& m_model;
    SortedBy m_sortBefore;
    SortedBy m_sortAfter;
    SortingSink m_sink;
    std::unique_ptr<WriteStep> m_write;
    std::unique_ptr<RemoveStep> m_remove;
    std::unique_ptr<AppendStep> m_append;
    std::vector<std::uint32_t> m_slotOfImported; // the matched slot, or kNew until the first redo
    bool m_slotsKnown = false;
    std::vector<std::uint32_t> m_orderBeforeReorder;
};

} // namespace rw

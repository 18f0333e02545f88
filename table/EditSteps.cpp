#include "table/EditSteps.h"

#include <algorithm>
#include <cassert>

namespace rw {

WriteStep::WriteStep(RecordTableModel& model, const QString& text) : QUndoCommand(text), m_model(model) {}

void WriteStep::Add(std::uint32_t slot, std::span<const std::uint8_t> after)
{
    const auto before = m_model.Table().SlotBytes(slot);
    assert(after.size() == before.size());
    const auto first = std::mismatch(before.begin(), before.end(), after.begin());
    if (first.first == before.end()) return;
    const auto last = std::mismatch(before.rbegin(), before.rend(), after.rbegin());
    const auto offset = static_cast<std::size_t>(first.first - before.begin());
    const auto length = static_cast<std::size_t>(before.rend() - last.first) - offset;
    m_changes.push_back({slot, static_cast<std::uint16_t>(offset), static_cast<std::uint16_t>(length), m_bytes.size()});
    m_bytes.insert(m_bytes.end(), before.begin() + static_cast<std::ptrdiff_t>(offset),
                   before.begin() + static_cast<std::ptrdiff_t>(offset + length));
    m_bytes.insert(m_bytes.end(), after.begin() + static_cast<std::ptrdiff_t>(offset),
                   after.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

void WriteStep::Apply(bool after)
{
    std::vector<std::uint32_t> touched(m_changes.size());
    std::transform(m_changes.begin(), m_changes.end(), touched.begin(), [](const Change& c) { return c.slot; });
    m_model.WriteSlots(touched, [&](std::size_t i, std::span<std::uint8_t> record) {
        const Change& c = m_changes[i];
        const std::uint8_t* from = m_bytes.data() + c.at + (after ? c.length : 0);
        std::copy(from, from + c.length, record.begin() + c.offset);
    });
}

AppendStep::AppendStep(RecordTableModel& model, const std::vector<Record>& records, const QString& text)
    : QUndoCommand(text), m_model(model), m_records(model.Table().Schema().recordSize)
{
    for (const Record& record : records) m_records.Append(record.Bytes());
}

AppendStep::AppendStep(RecordTableModel& model, RecordStore records, const QString& text)
    : QUndoCommand(text), m_model(model), m_records(std::move(records))
{
}

void AppendStep::redo()
{
    if (!m_added.empty()) {
        m_model.ReinsertRows(m_added);
        return;
    }
    const int first = m_model.Table().RowCount();
    const std::vector<std::uint32_t> added = m_model.AppendRows(m_records);
    for (std::size_t i = 0; i < added.size(); ++i) m_added.push_back({first + static_cast<int>(i), added[i]});
    // The records live in the table's slots from now on.
    m_records.Clear();
}

void AppendStep::undo()
{
    std::vector<int> rows(m_added.size());
    std::transform(m_added.begin(), m_added.end(), rows.begin(), [](const RecordTable::RowSlot& r) { return r.row; });
    m_model.RemoveRows(rows);
}

RemoveStep::RemoveStep(RecordTableModel& model, std::vector<int> rows, const QString& text)
    : QUndoCommand(text), m_model(model), m_rows(std::move(rows))
{
}

void RemoveStep::redo() { m_removed = m_model.RemoveRows(m_rows); }

void RemoveStep::undo() { m_model.ReinsertRows(m_removed); }

SortStep::SortStep(RecordTableModel& model, SortedBy before, SortedBy after, SortingSink sink, const QString& text)
    : QUndoCommand(text), m_model(model), m_before(before), m_after(after), m_sink(std::move(sink))
{
}

void SortStep::redo()
{
    if (m_orderAfter.empty()) {
        m_orderBefore = m_model.Table().Order();
        m_model.Sort(m_after.state.Column(), m_after.state.Ascending());
        m_orderAfter = m_model.Table().Order();
    } else {
        m_model.SetOrder(m_orderAfter);
    }
    m_sink(m_after);
}

void SortStep::undo()
{
    m_model.SetOrder(m_orderBefore);
    m_sink(m_before);
}

namespace {

// The slot each imported record overwrites (kNew: none), and the rows none of them matches.
struct ImportMatch {
    std::vector<std::uint32_t> slotOf;
    std::vector<int> unmatchedRows;
};

ImportMatch MatchImported(const RecordTable& table, const RecordStore& imported, std::uint32_t none)
{
    ImportMatch match;
    match.slotOf.assign(imported.Count(), none);
    std::vector<bool> matched(static_cast<std::size_t>(table.RowCount()), false);
    for (std::size_t i = 0; i < imported.Count(); ++i) {
        const int row = table.Schema().uniqueIds
                            ? table.RowWithId(LoadInt32(imported.RecordAt(i).data()))
                            : (i < matched.size() ? static_cast<int>(i) : -1);
        if (row < 0) continue;
        match.slotOf[i] = table.SlotOfRow(row);
        matched[static_cast<std::size_t>(row)] = true;
    }
    for (std::size_t row = 0; row < matched.size(); ++row) {
        if (!matched[row]) match.unmatchedRows.push_back(static_cast<int>(row));
    }
    return match;
}

RecordStore NewRecords(const RecordStore& imported, const std::vector<std::uint32_t>& slotOf, std::uint32_t none)
{
    RecordStore added(imported.RecordSize());
    for (std::size_t i = 0; i < slotOf.size(); ++i) {
        if (slotOf[i] == none) added.Append(imported.RecordAt(i));
    }
    return added;
}

} // namespace

ImportStep::ImportStep(RecordTableModel& model, const RecordStore& imported, SortedBy before, SortedBy after,
                       SortingSink sink, const QString& text)
    : QUndoCommand(text),
      m_model(model),
      m_sortBefore(before),
      m_sortAfter(after),
      m_sink(std::move(sink)),
      m_write(std::make_unique<WriteStep>(model, text))
{
    ImportMatch match = MatchImported(model.Table(), imported, kNew);
    for (std::size_t i = 0; i < imported.Count(); ++i) {
        if (match.slotOf[i] != kNew) m_write->Add(match.slotOf[i], imported.RecordAt(i));
    }
    m_remove = std::make_unique<RemoveStep>(model, std::move(match.unmatchedRows), text);
    m_append = std::make_unique<AppendStep>(model, NewRecords(imported, match.slotOf, kNew), text);
    m_slotOfImported = std::move(match.slotOf);
}

void ImportStep::redo()
{
    m_write->redo();
    m_remove->redo();
    m_append->redo();
    if (!m_slotsKnown) {
        // The appended records took their slots just now, in the imported order.
        auto added = m_append->Added().begin();
        for (std::uint32_t& slot : m_slotOfImported) {
            if (slot == kNew) slot = (added++)->slot;
        }
        m_slotsKnown = true;
    }
    m_orderBeforeReorder = m_model.Table().Order();
    m_model.SetOrder(m_slotOfImported);
    m_sink(m_sortAfter);
}

void ImportStep::undo()
{
    m_model.SetOrder(m_orderBeforeReorder);
    m_append->undo();
    m_remove->undo();
    m_write->undo();
    m_sink(m_sortBefore);
}

} // namespace rw

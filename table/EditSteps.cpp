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

AppendStep::AppendStep(RecordTableModel& model, std::vector<Record> records, const QString& text)
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
    m_records = {};
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

} // namespace rw

#include "table/ChangeBaseline.h"

#include <cstring>

namespace rw {

void ChangeBaseline::Mark(const RecordTable& table)
{
    m_wasRow.assign(table.SlotCount(), false);
    for (const std::uint32_t slot : table.Order()) m_wasRow[slot] = true;
    m_rowCount = table.Order().size();
    m_copies.Clear();
    m_copyOfSlot.clear();
}

void ChangeBaseline::BeforeWrite(const RecordTable& table, std::uint32_t slot)
{
    if (!WasRow(slot)) return;
    if (m_copyOfSlot.size() <= slot) m_copyOfSlot.resize(table.SlotCount(), kNoCopy);
    if (m_copyOfSlot[slot] == kNoCopy) m_copyOfSlot[slot] = m_copies.Append(table.SlotBytes(slot));
}

const std::uint8_t* ChangeBaseline::BytesThen(const RecordTable& table, std::uint32_t slot) const
{
    const bool copied = slot < m_copyOfSlot.size() && m_copyOfSlot[slot] != kNoCopy;
    return copied ? m_copies.At(m_copyOfSlot[slot]) : table.SlotBytes(slot).data();
}

bool ChangeBaseline::IsAddedRow(const RecordTable& table, int row) const
{
    return row >= 0 && row < table.RowCount() && !WasRow(table.SlotOfRow(row));
}

bool ChangeBaseline::IsCellChanged(const RecordTable& table, int row, int column) const
{
    if (row < 0 || row >= table.RowCount() || column < 0 || column >= table.ColumnCount()) return false;
    const std::uint32_t slot = table.SlotOfRow(row);
    if (!WasRow(slot)) return false;
    const std::uint8_t* now = table.SlotBytes(slot).data();
    const std::uint8_t* then = BytesThen(table, slot);
    if (now == then) return false;
    const RecordSchema& schema = table.Schema();
    if (column == kNameColumn) return ReadShortName(schema, now) != ReadShortName(schema, then);
    const std::size_t at = schema.Column(column).offset;
    return std::memcmp(now + at, then + at, 4) != 0;
}

FieldDifferences ChangeBaseline::ChangesOf(const RecordTable& table, int row) const
{
    if (row < 0 || row >= table.RowCount()) return {};
    const std::uint32_t slot = table.SlotOfRow(row);
    if (!WasRow(slot)) return {};
    const std::span<const std::uint8_t> now = table.SlotBytes(slot);
    const std::uint8_t* then = BytesThen(table, slot);
    if (now.data() == then) return {};
    return CompareRecordImages(table.Schema(), now, {then, now.size()});
}

std::size_t ChangeBaseline::ChangedRecordCount(const RecordTable& table) const
{
    const std::size_t size = table.Schema().recordSize;
    std::size_t changed = 0;
    std::size_t rowsLeft = 0; // of the baseline's
    for (const std::uint32_t slot : table.Order()) {
        if (!WasRow(slot)) {
            ++changed;
            continue;
        }
        ++rowsLeft;
        const std::uint8_t* then = BytesThen(table, slot);
        const std::uint8_t* now = table.SlotBytes(slot).data();
        if (then != now && std::memcmp(then, now, size) != 0) ++changed;
    }
    return changed + (m_rowCount - rowsLeft);
}

} // namespace rw

#include "table/Comparison.h"

#include <algorithm>
#include <cassert>

namespace rw {

Comparison::Comparison(const RecordTable& table, DecodedRecords other, std::string otherName)
    : m_other(std::move(other)), m_otherName(std::move(otherName)), m_byId(PairingOf(table.Schema()) == RecordPairing::ById)
{
    assert(m_other.kind == table.Kind());
    const std::size_t count = m_other.Count();
    if (m_byId) {
        m_otherById.Reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            (void)m_otherById.Insert(LoadInt32(m_other.RecordAt(i).data()), static_cast<std::uint32_t>(i));
        }
    } else {
        for (std::size_t row = 0; row < table.Order().size() && row < count; ++row) {
            const std::uint32_t slot = table.SlotOfRow(static_cast<int>(row));
            if (slot >= m_otherOfSlot.size()) m_otherOfSlot.resize(slot + 1, kNone);
            m_otherOfSlot[slot] = static_cast<std::uint32_t>(row);
        }
    }
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::uint32_t index = IndexOf(table, row);
        if (index == kNone) {
            ++m_onlyHere;
            continue;
        }
        const std::span<const std::uint8_t> there = m_other.RecordAt(index);
        if (!std::equal(there.begin(), there.end(), table.RowBytes(row).begin())) ++m_differing;
    }
    m_onlyThere = OnlyInOther(table).size();
}

std::vector<std::size_t> Comparison::OnlyInOther(const RecordTable& table) const
{
    std::vector<bool> paired(m_other.Count(), false);
    for (int row = 0; row < table.RowCount(); ++row) {
        if (const std::uint32_t index = IndexOf(table, row); index != kNone) paired[index] = true;
    }
    std::vector<std::size_t> only;
    for (std::size_t i = 0; i < paired.size(); ++i) {
        // By ID, a second record with an ID is never paired, and never taken over either.
        if (!paired[i] && (!m_byId || m_otherById.Find(LoadInt32(m_other.RecordAt(i).data())) == i)) only.push_back(i);
    }
    return only;
}

std::uint32_t Comparison::IndexOf(const RecordTable& table, int row) const
{
    if (m_byId) return m_otherById.Find(table.IdOfRow(row));
    const std::uint32_t slot = table.SlotOfRow(row);
    return slot < m_otherOfSlot.size() ? m_otherOfSlot[slot] : kNone;
}

std::span<const std::uint8_t> Comparison::CounterpartOf(const RecordTable& table, int row) const
{
    const std::uint32_t index = IndexOf(table, row);
    return index == kNone ? std::span<const std::uint8_t>() : m_other.RecordAt(index);
}

FieldDifferences Comparison::DifferencesOf(const RecordTable& table, int row) const
{
    const std::span<const std::uint8_t> there = CounterpartOf(table, row);
    if (there.empty()) return {};
    return CompareRecordImages(table.Schema(), table.RowBytes(row), there);
}

void Comparison::Paired(std::span<const std::size_t> indexes, std::span<const std::uint32_t> placed)
{
    assert(indexes.size() == placed.size());
    if (m_byId) return; // found by their IDs already
    for (std::size_t k = 0; k < placed.size(); ++k) {
        if (placed[k] >= m_otherOfSlot.size()) m_otherOfSlot.resize(placed[k] + 1, kNone);
        m_otherOfSlot[placed[k]] = static_cast<std::uint32_t>(indexes[k]);
    }
}

} // namespace rw

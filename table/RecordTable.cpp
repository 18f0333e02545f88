#include "table/RecordTable.h"

#include "data/DecimalText.h"
#include "data/NameOrder.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <optional>

namespace rw {
namespace {

// The number whose "%d" text is text, if there is one: no sign but '-', no blanks, no
// leading zeros, no "-0".
[[nodiscard]] std::optional<std::int32_t> ParseCanonicalId(std::string_view text)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (FormatInt32(value) != text) return std::nullopt;
    return value;
}

// Sorting on unsigned 64-bit keys: the value in the high half, the row's position before the
// sort in the low half, so equal values keep their order and one plain sort is stable.
[[nodiscard]] std::uint64_t OrderedValue(std::int32_t value, bool ascending)
{
    const std::uint32_t biased = static_cast<std::uint32_t>(value) ^ 0x80000000u;
    return ascending ? biased : ~biased;
}

} // namespace

RecordTable::RecordTable(FileKind kind) : m_kind(kind), m_store(SchemaOf(kind).recordSize), m_ids(kind) {}

RecordTable RecordTable::FromDecoded(DecodedRecords decoded, const RefusedIdHandler& onRefused)
{
    RecordTable table(decoded.kind);
    const std::size_t count = decoded.Count();
    table.m_store.Adopt(std::move(decoded.bytes));
    table.m_order.reserve(count);
    table.m_rowOfSlot.assign(count, kGone);
    table.m_ids.ClaimInOrder(
        static_cast<std::uint32_t>(count), [&](std::uint32_t slot) { return table.IdOfSlot(slot); },
        [&](std::uint32_t slot) {
            table.m_rowOfSlot[slot] = static_cast<std::int32_t>(table.m_order.size());
            table.m_order.push_back(slot);
        },
        [&](std::uint32_t slot) {
            if (onRefused) onRefused(table.IdOfSlot(slot));
        });
    return table;
}

PutResult RecordTable::CheckPut(const Record& record, int row) const
{
    PutResult result;
    if (record.Kind() != m_kind) {
        result.outcome = PutOutcome::WrongKind;
        return result;
    }
    const std::int32_t id = record.Id();
    result.id = id;
    // The duplicate rule comes first, as it does for a row index that names no row.
    if (m_ids.Refuses(id, ValidRow(row) ? SlotOfRow(row) : UniqueIds::kNobody)) {
        result.outcome = PutOutcome::DuplicateId;
        return result;
    }
    if (row != -1 && !ValidRow(row)) {
        result.outcome = PutOutcome::NoSuchRow;
        return result;
    }
    result.row = row == -1 ? RowCount() : row;
    return result;
}

PutResult RecordTable::CheckPutByKey(const Record& record, RowKey key) const
{
    const int row = RowOfKey(key);
    if (row >= 0) return CheckPut(record, row);
    PutResult result;
    result.outcome = record.Kind() != m_kind ? PutOutcome::WrongKind : PutOutcome::NoSuchRow;
    result.id = record.Id();
    return result;
}

Record RecordTable::ReadRow(int row) const { return Record(m_kind, RowBytes(row)); }

std::span<const std::uint8_t> RecordTable::RowBytes(int row) const { return {RowData(row), Schema().recordSize}; }

std::string RecordTable::CellText(int row, int column) const
{
    if (column == kNameColumn) return std::string(NameBytes(row));
    return FormatInt32(Value(row, column));
}

std::int32_t RecordTable::Value(int row, int column) const
{
    assert(column != kNameColumn && column >= 0 && column < ColumnCount());
    return ReadColumnValue(Schema(), RowData(row), column);
}

std::string_view RecordTable::NameBytes(int row) const { return ReadShortName(Schema(), RowData(row)); }

std::int32_t RecordTable::GetMaxId() const
{
    std::int32_t maxId = -1;
    for (const std::uint32_t slot : m_order) maxId = std::max(maxId, IdOfSlot(slot));
    return maxId;
}

int RecordTable::FindRowById(std::string_view text) const
{
    const auto id = ParseCanonicalId(text);
    return id ? RowWithId(*id) : -1;
}

int RecordTable::RowWithId(std::int32_t id) const
{
    if (m_ids.Enforced()) {
        const std::uint32_t slot = m_ids.HolderOf(id);
        return slot == UniqueIds::kNobody ? -1 : m_rowOfSlot[slot];
    }
    const auto it = std::find_if(m_order.begin(), m_order.end(), [&](std::uint32_t slot) { return IdOfSlot(slot) == id; });
    return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

int RecordTable::FindRowByName(std::string_view name) const
{
    for (int row = 0; row < RowCount(); ++row) {
        if (NameBytes(row) == name) return row;
    }
    return -1;
}

RowKey RecordTable::KeyOfRow(int row) const { return ValidRow(row) ? RowKey{m_generation, SlotOfRow(row)} : kNoRowKey; }

int RecordTable::RowOfKey(RowKey key) const
{
    if (key.generation != m_generation || key.slot >= m_rowOfSlot.size()) return -1;
    return m_rowOfSlot[key.slot];
}

void RecordTable::Sort(int column, bool ascending)
{
    if (column < 0 || column >= ColumnCount()) return;
    if (column == kNameColumn) {
        SortByName(ascending);
    } else {
        SortByValue(column, ascending);
    }
    RenumberFrom(0);
}

// Both sorts read the records in storage order, not row order: after a sort, rows in order
// lie all over the store, and a million reads each waiting on memory cost more than the sort.

void RecordTable::SortByValue(int column, bool ascending)
{
    const std::size_t n = m_order.size();
    const std::uint16_t offset = Schema().Column(column).offset;
    PageBuffer memory(n * sizeof(std::uint64_t));
    const std::span<std::uint64_t> keys = memory.As<std::uint64_t>();
    for (std::uint32_t slot = 0; slot < m_rowOfSlot.size(); ++slot) {
        const std::int32_t row = m_rowOfSlot[slot];
        if (row == kGone) continue;
        keys[static_cast<std::size_t>(row)] =
            (OrderedValue(LoadInt32(m_store.At(slot) + offset), ascending) << 32) | static_cast<std::uint32_t>(row);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = m_order[static_cast<std::uint32_t>(keys[i])];
    m_order = std::move(order);
}

void RecordTable::SortByName(bool ascending)
{
    // Sorted by the names' first eight bytes, then each run of equal ones by the rest: a base
    // name with a number makes runs of tens of thousands. Ties stay in row order.
    struct Entry {
        std::uint64_t prefix;
        std::uint32_t row;
    };
    struct Rest {
        std::uint64_t words[3];
    };
    const std::size_t n = m_order.size();
    PageBuffer entryMemory(n * sizeof(Entry));
    PageBuffer restMemory(n * sizeof(Rest));
    const std::span<Entry> entries = entryMemory.As<Entry>();
    const std::span<Rest> rests = restMemory.As<Rest>();
    for (std::uint32_t slot = 0; slot < m_rowOfSlot.size(); ++slot) {
        const std::int32_t row = m_rowOfSlot[slot];
        if (row == kGone) continue;
        const NameKeys keys = FullNameKeys(ReadShortName(Schema(), m_store.At(slot)));
        const auto key = [&](std::size_t w) { return ascending ? keys[w] : ~keys[w]; };
        const auto r = static_cast<std::size_t>(row);
        entries[r] = {key(0), static_cast<std::uint32_t>(row)};
        rests[r] = {{key(1), key(2), key(3)}};
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.prefix != b.prefix ? a.prefix < b.prefix : a.row < b.row; });
    struct RunEntry {
        Rest rest;
        std::uint32_t row;
    };
    std::vector<RunEntry> run;
    for (std::size_t begin = 0; begin < n;) {
        std::size_t end = begin + 1;
        while (end < n && entries[end].prefix == entries[begin].prefix) ++end;
        if (end - begin > 1) {
            run.clear();
            for (std::size_t i = begin; i < end; ++i) run.push_back({rests[entries[i].row], entries[i].row});
            std::sort(run.begin(), run.end(), [](const RunEntry& a, const RunEntry& b) {
                for (std::size_t w = 0; w < 3; ++w) {
                    if (a.rest.words[w] != b.rest.words[w]) return a.rest.words[w] < b.rest.words[w];
                }
                return a.row < b.row;
            });
            for (std::size_t i = begin; i < end; ++i) entries[i].row = run[i - begin].row;
        }
        begin = end;
    }
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = m_order[entries[i].row];
    m_order = std::move(order);
}

const std::uint8_t* RecordTable::RowData(int row) const
{
    assert(ValidRow(row));
    return m_store.At(SlotOfRow(row));
}

std::uint32_t RecordTable::SlotOfRow(int row) const { return m_order[static_cast<std::size_t>(row)]; }

int RecordTable::RowOfSlot(std::uint32_t slot) const
{
    return slot < m_rowOfSlot.size() ? m_rowOfSlot[slot] : -1;
}

std::span<const std::uint8_t> RecordTable::SlotBytes(std::uint32_t slot) const
{
    return {m_store.At(slot), Schema().recordSize};
}

void RecordTable::WriteSlots(std::span<const std::uint32_t> slots, const RecordEdit& edit)
{
    // Every ID given up first, then every new one taken: a record may take the ID another of
    // them gives up after it.
    std::vector<std::pair<std::int32_t, std::uint32_t>> taken; // new ID, slot
    const std::size_t size = Schema().recordSize;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const std::uint32_t slot = slots[i];
        const std::int32_t oldId = IdOfSlot(slot);
        edit(i, std::span<std::uint8_t>(m_store.At(slot), size));
        const std::int32_t newId = IdOfSlot(slot);
        if (m_ids.Enforced() && oldId != newId && m_rowOfSlot[slot] != kGone) {
            m_ids.Release(oldId);
            taken.emplace_back(newId, slot);
        }
    }
    for (const auto& [id, slot] : taken) (void)m_ids.Claim(id, slot);
}

std::uint32_t RecordTable::AppendRow(std::span<const std::uint8_t> image)
{
    assert(image.size() == Schema().recordSize);
    const std::uint32_t slot = m_store.Append(image);
    m_rowOfSlot.push_back(static_cast<std::int32_t>(m_order.size()));
    m_order.push_back(slot);
    (void)m_ids.Claim(LoadInt32(image.data()), slot);
    return slot;
}

std::vector<std::uint32_t> RecordTable::AppendRows(const RecordStore& records)
{
    assert(records.RecordSize() == Schema().recordSize);
    std::vector<std::uint32_t> slots;
    slots.reserve(records.Count());
    for (std::size_t i = 0; i < records.Count(); ++i) slots.push_back(AppendRow(records.RecordAt(i)));
    return slots;
}

std::vector<RecordTable::RowSlot> RecordTable::RemoveRows(std::span<const int> rows)
{
    std::vector<RowSlot> removed;
    removed.reserve(rows.size());
    if (rows.empty()) return removed;
    // One pass: the rows that stay close up behind the removed ones.
    std::size_t kept = static_cast<std::size_t>(rows.front());
    std::size_t next = 0;
    for (std::size_t row = kept; row < m_order.size(); ++row) {
        const std::uint32_t slot = m_order[row];
        if (next < rows.size() && static_cast<std::size_t>(rows[next]) == row) {
            assert(next == 0 || rows[next] > rows[next - 1]);
            removed.push_back({static_cast<int>(row), slot});
            m_ids.Release(IdOfSlot(slot));
            m_rowOfSlot[slot] = kGone;
            ++next;
        } else {
            m_order[kept++] = slot;
        }
    }
    m_order.resize(kept);
    RenumberFrom(rows.front());
    return removed;
}

void RecordTable::ReinsertRows(std::span<const RowSlot> rows)
{
    if (rows.empty()) return;
    std::vector<std::uint32_t> order;
    order.reserve(m_order.size() + rows.size());
    std::size_t from = 0;
    for (const RowSlot& back : rows) {
        while (order.size() < static_cast<std::size_t>(back.row) && from < m_order.size()) order.push_back(m_order[from++]);
        order.push_back(back.slot);
        (void)m_ids.Claim(IdOfSlot(back.slot), back.slot);
    }
    order.insert(order.end(), m_order.begin() + static_cast<std::ptrdiff_t>(from), m_order.end());
    m_order = std::move(order);
    RenumberFrom(rows.front().row);
}

void RecordTable::SetOrder(std::vector<std::uint32_t> order)
{
    assert(order.size() == m_order.size());
    m_order = std::move(order);
    RenumberFrom(0);
}

void RecordTable::RenumberFrom(int row)
{
    for (std::size_t r = static_cast<std::size_t>(row); r < m_order.size(); ++r) {
        m_rowOfSlot[m_order[r]] = static_cast<std::int32_t>(r);
    }
}

} // namespace rw

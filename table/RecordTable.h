#pragma once

// The open file as rows: each row holds its whole record image, so the bytes no column shows
// survive editing. No widgets here; the Qt model and the form stand on this.

#include "data/DataFile.h"
#include "data/Record.h"
#include "data/RecordStore.h"
#include "data/Schema.h"
#include "data/UniqueIds.h"
#include "table/RowKey.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

enum class PutOutcome {
    Accepted,
    DuplicateId, // item and monster tables: another row already holds the ID
    NoSuchRow,   // the row index (or key) names no row
    WrongKind,   // the record is of another kind than the table
    NotANumber,  // a cell's text is not a whole signed 32-bit number
};

struct PutResult {
    PutOutcome outcome = PutOutcome::Accepted;
    std::int32_t id = 0; // the record's ID
    int row = -1;        // where the record now stands, when accepted

    [[nodiscard]] bool Accepted() const { return outcome == PutOutcome::Accepted; }
};

// Receives the ID of each record that a load refuses as a duplicate, in file order.
using RefusedIdHandler = std::function<void(std::int32_t id)>;

class RecordTable {
public:
    // kind: a data kind (not None).
    explicit RecordTable(FileKind kind = FileKind::Item);
    // A record's key names it alone, so a table is moved, never copied.
    RecordTable(RecordTable&&) noexcept = default;
    RecordTable& operator=(RecordTable&&) noexcept = default;
    RecordTable(const RecordTable&) = delete;
    RecordTable& operator=(const RecordTable&) = delete;

    // Builds a table from decoded records in file order, refusing duplicate IDs as puts do.
    // The decoded bytes become the table's storage; nothing is copied.
    [[nodiscard]] static RecordTable FromDecoded(DecodedRecords decoded, const RefusedIdHandler& onRefused);

    [[nodiscard]] FileKind Kind() const { return m_kind; }
    [[nodiscard]] const RecordSchema& Schema() const { return SchemaOf(m_kind); }
    [[nodiscard]] int RowCount() const { return static_cast<int>(m_order.size()); }
    [[nodiscard]] int ColumnCount() const { return Schema().ColumnCount(); }

    // The generation its row keys carry; a document gives each table it loads a new one.
    void SetGeneration(std::uint32_t generation) { m_generation = generation; }

    // Whether the whole record image may go into row, or into a new last row for -1, changing
    // nothing (row is that of the answer when accepted). The duplicate-ID rule holds for item
    // and monster tables; a record keeping its own row's ID passes.
    [[nodiscard]] PutResult CheckPut(const Record& record, int row) const;
    // The same for the row that holds key now, wherever it stands; NoSuchRow once it is gone.
    [[nodiscard]] PutResult CheckPutByKey(const Record& record, RowKey key) const;

    // The row's whole record image, hidden bytes included. Precondition: 0 <= row < RowCount().
    [[nodiscard]] Record ReadRow(int row) const;
    [[nodiscard]] std::span<const std::uint8_t> RowBytes(int row) const;

    // The text of a cell: "%d" for the ID and fields, the name's GBK bytes for column 1.
    [[nodiscard]] std::string CellText(int row, int column) const;
    [[nodiscard]] std::int32_t Value(int row, int column) const; // column != 1
    [[nodiscard]] std::int32_t IdOfRow(int row) const { return Value(row, kIdColumn); }
    [[nodiscard]] std::string_view NameBytes(int row) const;

    // The IDs the rows hold, by slot: what the duplicate-ID rule asks of this table.
    [[nodiscard]] const UniqueIds& Ids() const { return m_ids; }
    // The largest ID, at least -1.
    [[nodiscard]] std::int32_t GetMaxId() const;
    // The first row, in current order, whose ID text ("%d") equals text exactly; -1 if none.
    [[nodiscard]] int FindRowById(std::string_view text) const;
    // The first row, in current order, with that ID; -1 if none.
    [[nodiscard]] int RowWithId(std::int32_t id) const;
    // The first row, in current order, whose name bytes equal name byte for byte; -1 if none.
    // (Stricter than the name order, which lets a lone lead byte at the end count as the end.)
    [[nodiscard]] int FindRowByName(std::string_view name) const;

    // A row's identity (kNoRowKey for a row index that names no row).
    [[nodiscard]] RowKey KeyOfRow(int row) const;
    [[nodiscard]] int RowOfKey(RowKey key) const; // -1 once the record is gone

    // Stable sort of all rows by a column: the name by its code page 936 characters, every
    // other column as signed 32-bit numbers. A column the table lacks changes nothing.
    void Sort(int column, bool ascending);

    // Storage slots: a record keeps its slot for as long as the table lives, deleted or not,
    // so the steps of an edit history can name records by slot and be undone exactly.
    [[nodiscard]] std::uint32_t SlotOfRow(int row) const;
    [[nodiscard]] int RowOfSlot(std::uint32_t slot) const; // -1 when the record is no row
    [[nodiscard]] std::span<const std::uint8_t> SlotBytes(std::uint32_t slot) const;
    [[nodiscard]] const std::vector<std::uint32_t>& Order() const { return m_order; } // row -> slot

    // The primitives of an edit history; each has an exact inverse. The caller has asked the
    // duplicate-ID rule first: none of them checks it.
    // Overwrites records, wherever they stand: edit changes the bytes of the record in
    // slots[i] where they lie. The ID index follows, also where the records pass IDs among
    // themselves (10 and 20 becoming 20 and 10).
    using RecordEdit = std::function<void(std::size_t i, std::span<std::uint8_t> record)>;
    void WriteSlots(std::span<const std::uint32_t> slots, const RecordEdit& edit);
    // Appends records (images of the table's kind) as new last rows; answers their slots.
    std::vector<std::uint32_t> AppendRows(const RecordStore& records);
    // Takes the rows (ascending, distinct) out of the order; answers each row with its slot.
    struct RowSlot {
        int row;
        std::uint32_t slot;
    };
    std::vector<RowSlot> RemoveRows(std::span<const int> rows);
    // Puts removed rows back, each at its row (ascending, as RemoveRows answered them).
    void ReinsertRows(std::span<const RowSlot> rows);
    // Another order of the same rows.
    void SetOrder(std::vector<std::uint32_t> order);
    // How many slots the table has used: every record it has held, deleted or not.
    [[nodiscard]] std::size_t SlotCount() const { return m_store.Count(); }

private:
    static constexpr std::int32_t kGone = -1; // row of a slot whose record is no row

    [[nodiscard]] const std::uint8_t* RowData(int row) const;
    std::uint32_t AppendRow(std::span<const std::uint8_t> image);
    [[nodiscard]] bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
    [[nodiscard]] std::int32_t IdOfSlot(std::uint32_t slot) const { return LoadInt32(m_store.At(slot)); }
    void RenumberFrom(int row);
    void SortByValue(int column, bool ascending);
    void SortByName(bool ascending);

    FileKind m_kind;
    RecordStore m_store;
    std::uint32_t m_generation = 0;
    std::vector<std::uint32_t> m_order;  // row -> slot
    std::vector<std::int32_t> m_rowOfSlot; // slot -> row, kGone for refused and deleted records
    UniqueIds m_ids; // slot by ID, where the rule holds
};

} // namespace rw

#pragma once

// The open file as rows: each row holds its whole record image, so the bytes no column shows
// survive editing. No widgets here; the Qt model and the form stand on this.

#include "data/DataFile.h"
#include "data/Record.h"
#include "data/Schema.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

// A row's identity: it names the same record across sorting and the deletion of other rows,
// and is never given to another record of the same table.
using RowKey = std::uint32_t;
inline constexpr RowKey kNoRowKey = ~RowKey{0};

enum class PutOutcome {
    Accepted,
    DuplicateId, // item and monster tables: another row already holds the ID
    NoSuchRow,   // the row index names no row
};

struct PutResult {
    PutOutcome outcome = PutOutcome::Accepted;
    std::string idText; // the record's ID as "%d", for the duplicate message
    int row = -1;       // where the record now stands, when accepted

    [[nodiscard]] bool Accepted() const { return outcome == PutOutcome::Accepted; }
};

class RecordTable {
public:
    explicit RecordTable(FileKind kind = FileKind::Item);

    [[nodiscard]] FileKind Kind() const;
    [[nodiscard]] const RecordSchema& Schema() const;
    [[nodiscard]] int RowCount() const;
    [[nodiscard]] int ColumnCount() const;

    // Removes every row and gives the table the columns of kind.
    void SetupColumns(FileKind kind);
    void SetupItemColumns() { SetupColumns(FileKind::Item); }
    void SetupMagicColumns() { SetupColumns(FileKind::Magic); }
    void SetupMonsterColumns() { SetupColumns(FileKind::Monster); }
    // Removes every row (the columns stay those of the kind).
    void ClearTable();

    // Puts the whole record image into row, or into a new last row for -1. The duplicate-ID
    // rule holds for item and monster tables; a record keeping its own row's ID passes.
    PutResult PutRecord(const Record& record, int row);
    PutResult PutItemRecord(const Record& record, int row);
    PutResult PutMagicRecord(const Record& record, int row);
    PutResult PutMonsterRecord(const Record& record, int row);
    // Puts by identity: the row that holds key now, wherever it stands.
    PutResult PutRecordByKey(const Record& record, RowKey key);

    // The row's whole record image, hidden bytes included.
    [[nodiscard]] Record ReadRow(int row) const;
    [[nodiscard]] Record ReadItemRow(int row) const;
    [[nodiscard]] Record ReadMagicRow(int row) const;
    [[nodiscard]] Record ReadMonsterRow(int row) const;
    [[nodiscard]] std::span<const std::uint8_t> RowBytes(int row) const;

    // The text of a cell: "%d" for the ID and fields, the name's GBK bytes for column 1.
    [[nodiscard]] std::string CellText(int row, int column) const;
    [[nodiscard]] std::int32_t Value(int row, int column) const; // column != 1
    [[nodiscard]] std::string_view NameBytes(int row) const;

    [[nodiscard]] bool DeleteRow(int row);

    // The largest ID, at least -1.
    [[nodiscard]] std::int32_t GetMaxId() const;
    // The first row, in current order, whose ID text equals text exactly; -1 if none.
    [[nodiscard]] int FindRowById(std::string_view text) const;
    // The first row whose name bytes equal name exactly; -1 if none.
    [[nodiscard]] int FindRowByName(std::string_view name) const;

    [[nodiscard]] RowKey KeyOfRow(int row) const;
    [[nodiscard]] int RowOfKey(RowKey key) const; // -1 once the record is deleted

    // Stable sort of all rows by a column: the name by its code page 936 characters, every
    // other column as signed 32-bit numbers.
    void Sort(int column, bool ascending);

    // Builds a table from decoded records, in file order, refusing duplicate IDs as puts do.
    // onRefused receives each refused record's ID text, in file order.
    template <typename OnRefused>
    static RecordTable FromDecoded(const DecodedRecords& decoded, OnRefused&& onRefused);

private:
    // (implementation state)
};

} // namespace rw

#pragma once

// Another file of the open kind held beside the table, to mark what differs from it. Records
// meet by ID in item and monster tables and by position in magic tables. The counterpart of a
// record is looked up when a cell is drawn, so the marks follow sorting and editing: a value
// edited back to the other file's loses its mark, and one edited away gains it.

#include "data/DataFile.h"
#include "data/FieldDifferences.h"
#include "data/RecordDiff.h"
#include "data/IdIndex.h"
#include "table/RecordTable.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rw {

class Comparison {
public:
    // other: the other file's records, of the table's kind, in file order. Positions (magic)
    // pair the table's rows as they stand now with the other file's records.
    Comparison(const RecordTable& table, DecodedRecords other, std::string otherName);

    [[nodiscard]] const std::string& OtherName() const { return m_otherName; }
    [[nodiscard]] std::span<const std::uint8_t> OtherRecord(std::size_t index) const { return m_other.RecordAt(index); }

    // The other file's record that the row is compared with; empty when it has none.
    [[nodiscard]] std::span<const std::uint8_t> CounterpartOf(const RecordTable& table, int row) const;
    [[nodiscard]] FieldDifferences DifferencesOf(const RecordTable& table, int row) const;

    // As the comparison was made: rows that differ from their counterpart, rows that have
    // none, and the other file's records no row was paired with.
    [[nodiscard]] std::size_t DifferingRows() const { return m_differing; }
    [[nodiscard]] std::size_t RowsOnlyHere() const { return m_onlyHere; }
    [[nodiscard]] std::size_t RecordsOnlyThere() const { return m_onlyThere; }

    // The other file's records no row of the table is paired with now: indexes, in file order.
    [[nodiscard]] std::vector<std::size_t> OnlyInOther(const RecordTable& table) const;
    // Records taken over from the other file (indexes) now stand in these slots (magic tables
    // pair them by slot; the others find them by ID).
    void Paired(std::span<const std::size_t> indexes, std::span<const std::uint32_t> placed);

private:
    static constexpr std::uint32_t kNone = IdIndex::kNone;

    // The other record paired with the row, or kNone.
    [[nodiscard]] std::uint32_t IndexOf(const RecordTable& table, int row) const;

    DecodedRecords m_other;
    std::string m_otherName;
    bool m_byId;
    IdIndex m_otherById;                      // by ID: ID -> the first other record with it
    std::vector<std::uint32_t> m_otherOfSlot; // by position: slot -> other record
    std::size_t m_differing = 0;
    std::size_t m_onlyHere = 0;
    std::size_t m_onlyThere = 0;
};

} // namespace rw

#pragma once

// What a table held at its baseline, the file as it was loaded or last saved, for showing what
// changed since: which slots were rows then, and the bytes a record had before its first
// change since. Only changed records are copied, so a session of edits costs little beyond
// what they changed. It stands beside its table and must hear of every write before it is
// made.

#include "data/FieldDifferences.h"
#include "data/RecordStore.h"
#include "table/RecordTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rw {

class ChangeBaseline {
public:
    explicit ChangeBaseline(std::size_t recordSize) : m_copies(recordSize) {}

    // The table as it stands is the baseline now.
    void Mark(const RecordTable& table);
    // The slot's bytes are about to be written over: kept, if this is their first change.
    void BeforeWrite(const RecordTable& table, std::uint32_t slot);

    // A row that was no row at the baseline (added, or brought back by an undo).
    [[nodiscard]] bool IsAddedRow(const RecordTable& table, int row) const;
    // A cell of a baseline row whose bytes differ from the baseline's.
    [[nodiscard]] bool IsCellChanged(const RecordTable& table, int row, int column) const;
    // What differs in a baseline row from its bytes then; nothing for an added row.
    [[nodiscard]] FieldDifferences ChangesOf(const RecordTable& table, int row) const;
    // Records added, changed or deleted since the baseline.
    [[nodiscard]] std::size_t ChangedRecordCount(const RecordTable& table) const;

private:
    static constexpr std::uint32_t kNoCopy = ~std::uint32_t{0};

    [[nodiscard]] bool WasRow(std::uint32_t slot) const { return slot < m_wasRow.size() && m_wasRow[slot]; }
    // The slot's bytes at the baseline (precondition: WasRow).
    [[nodiscard]] const std::uint8_t* BytesThen(const RecordTable& table, std::uint32_t slot) const;

    std::vector<bool> m_wasRow; // by slot
    std::size_t m_rowCount = 0;
    RecordStore m_copies;
    std::vector<std::uint32_t> m_copyOfSlot; // kNoCopy while unchanged since
};

} // namespace rw

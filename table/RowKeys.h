#pragma once

// Row identities. A key names one record for as long as the program runs: keys come from
// one count for every table, so a key from a table since replaced by a load names nothing in
// the new one, and a deleted record's key is never handed out again.

#include <cstdint>
#include <vector>

namespace rw {

using RowKey = std::uint32_t;
inline constexpr RowKey kNoRowKey = ~RowKey{0};

// The keys of one table's storage slots: runs of consecutive keys, one run for the slots a
// load brings and one more whenever another table drew keys in between appends.
class RowKeys {
public:
    static constexpr std::uint32_t kNoSlot = ~std::uint32_t{0};

    // Forgets every slot and gives slots [0, count) new keys.
    void Reset(std::uint32_t count);
    // Gives the next slot a new key.
    void Add();

    [[nodiscard]] RowKey KeyOfSlot(std::uint32_t slot) const;
    [[nodiscard]] std::uint32_t SlotOfKey(RowKey key) const; // kNoSlot if no slot has it

private:
    struct Run {
        RowKey firstKey;
        std::uint32_t firstSlot;
    };

    std::vector<Run> m_runs;
    std::uint32_t m_slots = 0;
};

} // namespace rw

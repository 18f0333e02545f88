#pragma once

// A record's identity in a table: it names the same record across sorting and the deletion of
// other rows. A table's storage slots are never given to another record, and each table a
// document loads has a generation of its own, so a key kept from a table since replaced names
// nothing in the new one.

#include <cstdint>

namespace rw {

struct RowKey {
    std::uint32_t generation = 0;
    std::uint32_t slot = ~std::uint32_t{0};

    friend bool operator==(const RowKey&, const RowKey&) = default;
};

inline constexpr RowKey kNoRowKey{};

} // namespace rw

#pragma once

// ID to storage slot, for the rule that an item or monster table holds each ID once. Open
// addressing over one flat array: a million IDs take 16 MB and no allocation per entry.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rw {

class IdIndex {
public:
    static constexpr std::uint32_t kNone = ~std::uint32_t{0};

    void Clear();
    // Room for count IDs without rehashing.
    void Reserve(std::size_t count);

    [[nodiscard]] std::size_t Size() const { return m_size; }
    // The slot holding id, or kNone.
    [[nodiscard]] std::uint32_t Find(std::int32_t id) const;
    // Adds id at slot unless id is present already; answers the slot that already holds it,
    // or kNone when it was added.
    std::uint32_t Insert(std::int32_t id, std::uint32_t slot);
    void Erase(std::int32_t id);

private:
    struct Bucket {
        std::int32_t id = 0;
        std::uint32_t slot = kNone; // kNone marks an empty bucket
    };

    [[nodiscard]] std::size_t Home(std::int32_t id) const;
    [[nodiscard]] std::size_t Mask() const { return m_buckets.size() - 1; }
    void Rehash(std::size_t bucketCount);

    std::vector<Bucket> m_buckets;
    std::size_t m_size = 0;
    unsigned m_shift = 64;
};

} // namespace rw

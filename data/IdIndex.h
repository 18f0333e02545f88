#pragma once

// ID to the one that holds it (a table's storage slot, a CSV's line): for the rule that an
// item or monster table holds each ID once, and for finding a record by ID. Open addressing
// over one flat array of large pages: a million IDs take 16 MB and no allocation per entry,
// and a new index needs no pass to clear it, zero bytes being empty buckets.

#include "system/PageBuffer.h"

#include <cstddef>
#include <cstdint>

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
    // Asks the processor to fetch the bucket where id belongs, for an Insert or Find of it a
    // little later: a million IDs in no order otherwise wait on memory one by one.
    void Prefetch(std::int32_t id) const;

private:
    struct Bucket {
        std::int32_t id;
        std::uint32_t slotPlusOne; // 0 marks an empty bucket
    };

    [[nodiscard]] std::size_t Home(std::int32_t id) const;
    [[nodiscard]] std::size_t BucketCount() const { return m_memory.size() / sizeof(Bucket); }
    [[nodiscard]] std::size_t Mask() const { return BucketCount() - 1; }
    [[nodiscard]] Bucket* Buckets() { return reinterpret_cast<Bucket*>(m_memory.data()); }
    [[nodiscard]] const Bucket* Buckets() const { return reinterpret_cast<const Bucket*>(m_memory.data()); }
    void Rehash(std::size_t bucketCount);

    PageBuffer m_memory;
    std::size_t m_size = 0;
    unsigned m_shift = 64;
};

} // namespace rw

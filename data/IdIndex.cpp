#include "data/IdIndex.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace rw {
namespace {

constexpr std::size_t kMinBuckets = 16;

} // namespace

void IdIndex::Clear()
{
    m_memory.Release();
    m_size = 0;
    m_shift = 64;
}

void IdIndex::Reserve(std::size_t count)
{
    // At most half full, so probe runs stay short.
    const std::size_t wanted = std::bit_ceil(std::max(kMinBuckets, count * 2));
    if (wanted > BucketCount()) Rehash(wanted);
}

std::size_t IdIndex::Home(std::int32_t id) const
{
    // Fibonacci hashing: consecutive IDs, the common case, spread over the whole array.
    return static_cast<std::size_t>((std::uint64_t{static_cast<std::uint32_t>(id)} * 0x9E3779B97F4A7C15ull) >> m_shift);
}

std::uint32_t IdIndex::Find(std::int32_t id) const
{
    if (m_size == 0) return kNone;
    const Bucket* buckets = Buckets();
    for (std::size_t i = Home(id);; i = (i + 1) & Mask()) {
        const Bucket& b = buckets[i];
        if (b.slotPlusOne == 0) return kNone;
        if (b.id == id) return b.slotPlusOne - 1;
    }
}

std::uint32_t IdIndex::Insert(std::int32_t id, std::uint32_t slot)
{
    if ((m_size + 1) * 2 > BucketCount()) Rehash(std::max(kMinBuckets, BucketCount() * 2));
    Bucket* buckets = Buckets();
    std::size_t i = Home(id);
    for (; buckets[i].slotPlusOne != 0; i = (i + 1) & Mask()) {
        if (buckets[i].id == id) return buckets[i].slotPlusOne - 1;
    }
    buckets[i] = {id, slot + 1};
    ++m_size;
    return kNone;
}

void IdIndex::Erase(std::int32_t id)
{
    if (m_size == 0) return;
    Bucket* buckets = Buckets();
    std::size_t hole = Home(id);
    for (; buckets[hole].id != id || buckets[hole].slotPlusOne == 0; hole = (hole + 1) & Mask()) {
        if (buckets[hole].slotPlusOne == 0) return;
    }
    // Move later members of the probe run back into the hole, so no search stops early.
    for (std::size_t j = (hole + 1) & Mask(); buckets[j].slotPlusOne != 0; j = (j + 1) & Mask()) {
        const std::size_t home = Home(buckets[j].id);
        const bool homeBetween = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (homeBetween) continue;
        buckets[hole] = buckets[j];
        hole = j;
    }
    buckets[hole] = Bucket{0, 0};
    --m_size;
}

void IdIndex::Prefetch(std::int32_t id) const
{
    if (!m_memory.empty()) __builtin_prefetch(Buckets() + Home(id), 1);
}

void IdIndex::Rehash(std::size_t bucketCount)
{
    PageBuffer old = std::exchange(m_memory, PageBuffer(bucketCount * sizeof(Bucket)));
    const std::span<const Bucket> oldBuckets = old.As<Bucket>();
    m_shift = 64 - static_cast<unsigned>(std::countr_zero(bucketCount));
    m_size = 0;
    for (const Bucket& b : oldBuckets) {
        if (b.slotPlusOne != 0) Insert(b.id, b.slotPlusOne - 1);
    }
}

} // namespace rw

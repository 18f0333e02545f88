#include "table/IdIndex.h"

#include <algorithm>
#include <bit>

namespace rw {
namespace {

constexpr std::size_t kMinBuckets = 16;

} // namespace

void IdIndex::Clear()
{
    m_buckets.clear();
    m_buckets.shrink_to_fit();
    m_size = 0;
    m_shift = 64;
}

void IdIndex::Reserve(std::size_t count)
{
    // At most half full, so probe runs stay short.
    const std::size_t wanted = std::bit_ceil(std::max(kMinBuckets, count * 2));
    if (wanted > m_buckets.size()) Rehash(wanted);
}

std::size_t IdIndex::Home(std::int32_t id) const
{
    // Fibonacci hashing: consecutive IDs, the common case, spread over the whole array.
    return static_cast<std::size_t>((std::uint64_t{static_cast<std::uint32_t>(id)} * 0x9E3779B97F4A7C15ull) >> m_shift);
}

std::uint32_t IdIndex::Find(std::int32_t id) const
{
    if (m_size == 0) return kNone;
    for (std::size_t i = Home(id);; i = (i + 1) & Mask()) {
        const Bucket& b = m_buckets[i];
        if (b.slot == kNone) return kNone;
        if (b.id == id) return b.slot;
    }
}

std::uint32_t IdIndex::Insert(std::int32_t id, std::uint32_t slot)
{
    if ((m_size + 1) * 2 > m_buckets.size()) Rehash(std::max(kMinBuckets, m_buckets.size() * 2));
    std::size_t i = Home(id);
    for (; m_buckets[i].slot != kNone; i = (i + 1) & Mask()) {
        if (m_buckets[i].id == id) return m_buckets[i].slot;
    }
    m_buckets[i] = {id, slot};
    ++m_size;
    return kNone;
}

void IdIndex::Erase(std::int32_t id)
{
    if (m_size == 0) return;
    std::size_t hole = Home(id);
    for (; m_buckets[hole].id != id || m_buckets[hole].slot == kNone; hole = (hole + 1) & Mask()) {
        if (m_buckets[hole].slot == kNone) return;
    }
    // Move later members of the probe run back into the hole, so no search stops early.
    for (std::size_t j = (hole + 1) & Mask(); m_buckets[j].slot != kNone; j = (j + 1) & Mask()) {
        const std::size_t home = Home(m_buckets[j].id);
        const bool homeBetween = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (homeBetween) continue;
        m_buckets[hole] = m_buckets[j];
        hole = j;
    }
    m_buckets[hole] = Bucket{};
    --m_size;
}

void IdIndex::Rehash(std::size_t bucketCount)
{
    std::vector<Bucket> old = std::move(m_buckets);
    m_buckets.assign(bucketCount, Bucket{});
    m_shift = 64 - static_cast<unsigned>(std::countr_zero(bucketCount));
    m_size = 0;
    for (const Bucket& b : old) {
        if (b.slot != kNone) Insert(b.id, b.slot);
    }
}

} // namespace rw

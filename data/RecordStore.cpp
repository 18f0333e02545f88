#include "data/RecordStore.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace rw {

RecordStore::RecordStore(std::size_t recordSize) : m_recordSize(recordSize) {}

void RecordStore::Adopt(PageBuffer records)
{
    Clear();
    m_firstCount = records.size() / m_recordSize;
    m_first = std::move(records);
}

void RecordStore::Clear()
{
    m_first.Release();
    m_firstCount = 0;
    m_chunks.clear();
    m_chunkedCount = 0;
}

std::uint32_t RecordStore::Append(std::span<const std::uint8_t> record)
{
    assert(record.size() == m_recordSize);
    const std::size_t within = m_chunkedCount & (kChunkRecords - 1);
    if (within == 0) m_chunks.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kChunkRecords * m_recordSize));
    std::copy(record.begin(), record.end(), m_chunks.back().get() + within * m_recordSize);
    ++m_chunkedCount;
    return static_cast<std::uint32_t>(Count() - 1);
}

const std::uint8_t* RecordStore::At(std::uint32_t slot) const
{
    assert(slot < Count());
    if (slot < m_firstCount) return m_first.data() + std::size_t{slot} * m_recordSize;
    const std::size_t k = slot - m_firstCount;
    return m_chunks[k >> kChunkShift].get() + (k & (kChunkRecords - 1)) * m_recordSize;
}

std::uint8_t* RecordStore::At(std::uint32_t slot)
{
    return const_cast<std::uint8_t*>(std::as_const(*this).At(slot));
}

} // namespace rw

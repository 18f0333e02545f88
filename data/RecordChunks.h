#pragma once

// Records of one size appended in fixed blocks: a growing table of a million records never
// needs one huge block, nor twice its size while a vector would move.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace rw {

class RecordChunks {
public:
    explicit RecordChunks(std::size_t recordSize) : m_recordSize(recordSize) {}

    void Append(std::span<const std::uint8_t> record)
    {
        assert(record.size() == m_recordSize);
        const std::size_t slot = m_count % kRecordsPerBlock;
        if (slot == 0) m_blocks.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kRecordsPerBlock * m_recordSize));
        std::memcpy(m_blocks.back().get() + slot * m_recordSize, record.data(), m_recordSize);
        ++m_count;
    }

    [[nodiscard]] std::size_t Count() const { return m_count; }
    [[nodiscard]] std::size_t RecordSize() const { return m_recordSize; }
    [[nodiscard]] std::span<const std::uint8_t> At(std::size_t i) const
    {
        return {m_blocks[i / kRecordsPerBlock].get() + (i % kRecordsPerBlock) * m_recordSize, m_recordSize};
    }

    void Clear()
    {
        m_blocks.clear();
        m_count = 0;
    }

private:
    static constexpr std::size_t kRecordsPerBlock = 4096;
    std::size_t m_recordSize;
    std::size_t m_count = 0;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_blocks;
};

} // namespace rw

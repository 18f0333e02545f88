#pragma once

// Whole record images by number. A loaded file's records stay in the one block the decoder
// filled; records added later go into fixed chunks, so an append never copies the million
// records already held, and a growing store never needs one huge block, nor twice its size
// while a vector would move.

#include "system/PageBuffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace rw {

class RecordStore {
public:
    explicit RecordStore(std::size_t recordSize);

    // Drops every record and takes records (whole images back to back) as slots 0, 1, ...
    void Adopt(PageBuffer records);
    void Clear();
    // Copies record (recordSize bytes) into a new slot and answers its number.
    std::uint32_t Append(std::span<const std::uint8_t> record);

    [[nodiscard]] std::size_t RecordSize() const { return m_recordSize; }
    [[nodiscard]] std::size_t Count() const { return m_firstCount + m_chunkedCount; }
    [[nodiscard]] const std::uint8_t* At(std::uint32_t slot) const;
    [[nodiscard]] std::uint8_t* At(std::uint32_t slot);
    [[nodiscard]] std::span<const std::uint8_t> RecordAt(std::size_t i) const
    {
        return {At(static_cast<std::uint32_t>(i)), m_recordSize};
    }

private:
    static constexpr unsigned kChunkShift = 12; // 4096 records a chunk
    static constexpr std::size_t kChunkRecords = std::size_t{1} << kChunkShift;

    std::size_t m_recordSize;
    PageBuffer m_first;
    std::size_t m_firstCount = 0;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_chunks;
    std::size_t m_chunkedCount = 0;
};

} // namespace rw

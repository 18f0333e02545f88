#pragma once

// A 64-bit hash of a data file's stored bytes, over four lanes of eight bytes so that it keeps
// up with the memory: it only has to tell whether a file has changed since it was read.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace rw {

class ContentHasher {
public:
    explicit ContentHasher(std::int32_t count)
        : m_lanes{kPrime1 + kPrime2, kPrime2, static_cast<std::uint64_t>(static_cast<std::uint32_t>(count)), kPrime1}
    {
    }

    // Bytes in any pieces; the result depends only on their sequence.
    void Add(const std::uint8_t* bytes, std::size_t n)
    {
        if (n == 0) return; // bytes may be null then, and memcpy must not see it
        m_total += n;
        if (m_held > 0) {
            const std::size_t take = std::min(n, kBlock - m_held);
            std::memcpy(m_pending + m_held, bytes, take);
            m_held += take;
            bytes += take;
            n -= take;
            if (m_held < kBlock) return;
            Block(m_pending);
            m_held = 0;
        }
        for (; n >= kBlock; bytes += kBlock, n -= kBlock) Block(bytes);
        std::memcpy(m_pending, bytes, n);
        m_held = n;
    }

    [[nodiscard]] std::uint64_t Finish() const
    {
        std::uint64_t h = m_total * kPrime1;
        for (const std::uint64_t lane : m_lanes) h = Round(h, lane);
        for (std::size_t i = 0; i < m_held; ++i) h = Round(h, m_pending[i]);
        h ^= h >> 33;
        h *= kPrime2;
        return h ^ (h >> 29);
    }

private:
    static constexpr std::size_t kBlock = 32;
    static constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
    static constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

    [[nodiscard]] static std::uint64_t Round(std::uint64_t lane, std::uint64_t word)
    {
        return std::rotl(lane + word * kPrime2, 31) * kPrime1;
    }
    void Block(const std::uint8_t* bytes)
    {
        for (std::size_t lane = 0; lane < 4; ++lane) {
            std::uint64_t word;
            std::memcpy(&word, bytes + 8 * lane, 8);
            m_lanes[lane] = Round(m_lanes[lane], word);
        }
    }

    std::uint64_t m_lanes[4];
    std::uint8_t m_pending[kBlock] = {};
    std::size_t m_held = 0;
    std::uint64_t m_total = 0;
};

} // namespace rw

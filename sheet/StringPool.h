#pragma once

// Many short strings kept back to back in large blocks, for the shared strings of a workbook:
// a million-row sheet has two million of them, and a string object each would cost more than
// their text. A block never moves, so a string's view stays valid while the pool lives.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace rw {

class StringPool {
public:
    // text: at most kBlockBytes long.
    void Add(std::string_view text);

    [[nodiscard]] std::size_t Count() const { return m_strings.size(); }
    [[nodiscard]] std::uint64_t Bytes() const { return m_bytes; }
    [[nodiscard]] std::string_view At(std::size_t i) const { return m_strings[i]; }

    static constexpr std::size_t kBlockBytes = std::size_t{4} << 20;

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_used = kBlockBytes; // of the last block
    std::vector<std::string_view> m_strings;
    std::uint64_t m_bytes = 0;
};

} // namespace rw

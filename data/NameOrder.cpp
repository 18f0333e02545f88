#include "data/NameOrder.h"

#include <cstddef>

namespace rw {
namespace {

// The next character's value starting at i, advancing i past it; 0 at the end of the text.
[[nodiscard]] unsigned NextCharacter(std::string_view s, std::size_t& i)
{
    if (i >= s.size()) return 0;
    const auto lead = static_cast<std::uint8_t>(s[i++]);
    if (!IsGbkLeadByte(lead)) return lead;
    if (i >= s.size()) return 0;
    return (unsigned{lead} << 8) | static_cast<std::uint8_t>(s[i++]);
}

} // namespace

int CompareNames(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        const unsigned ca = NextCharacter(a, i);
        const unsigned cb = NextCharacter(b, j);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

NameKeys FullNameKeys(std::string_view name)
{
    // The recoding of NamePrefixKey, carried on past eight bytes.
    std::array<std::uint8_t, 32> bytes{};
    std::size_t filled = 0;
    for (std::size_t i = 0; i < name.size() && filled < bytes.size();) {
        const auto b = static_cast<std::uint8_t>(name[i++]);
        if (!IsGbkLeadByte(b)) {
            bytes[filled++] = b == 0xFF ? 0x81 : b;
            continue;
        }
        if (i >= name.size()) break;
        bytes[filled++] = static_cast<std::uint8_t>(b + 1u);
        if (filled < bytes.size()) bytes[filled++] = static_cast<std::uint8_t>(name[i]);
        ++i;
    }
    NameKeys keys{};
    for (std::size_t w = 0; w < keys.size(); ++w) {
        for (std::size_t k = 0; k < 8; ++k) keys[w] = (keys[w] << 8) | bytes[8 * w + k];
    }
    return keys;
}

std::uint64_t NamePrefixKey(std::string_view name)
{
    // Byte by byte the order differs from the characters' order only where a single byte
    // meets a lead byte: the single byte 0xFF is worth less than any double-byte character.
    // So single bytes keep their value but 0xFF becomes 0x81, lead bytes move up by one, and
    // trail bytes, which only ever meet trail bytes of the same lead, stay as they are. A
    // lone lead byte at the end is dropped, and the unused low bytes stay zero, below every
    // byte of a name.
    std::uint64_t key = 0;
    int filled = 0;
    for (std::size_t i = 0; i < name.size() && filled < 8;) {
        const auto b = static_cast<std::uint8_t>(name[i++]);
        if (!IsGbkLeadByte(b)) {
            key = (key << 8) | (b == 0xFF ? 0x81u : b);
            ++filled;
            continue;
        }
        if (i >= name.size()) break;
        key = (key << 8) | (b + 1u);
        if (++filled < 8) {
            key = (key << 8) | static_cast<std::uint8_t>(name[i]);
            ++filled;
        }
        ++i;
    }
    return filled == 0 ? 0 : key << (8 * (8 - filled));
}

} // namespace rw

#pragma once

// The order of names in code page 936, as the C runtime's multibyte comparison has it: a
// lead byte and the byte after it form one character worth lead × 256 + trail, any other
// byte is a character worth its value; a lead byte with nothing after it ends the text, and
// a text that ends first is the smaller.

#include <array>
#include <cstdint>
#include <string_view>

namespace rw {

[[nodiscard]] constexpr bool IsGbkLeadByte(std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }

// -1, 0 or +1. Names hold no zero bytes (the read rule stops at the first one).
[[nodiscard]] int CompareNames(std::string_view a, std::string_view b);

// The first eight bytes of a name, recoded so that comparing the keys as unsigned numbers
// orders names as CompareNames does; names with equal keys need CompareNames to part them
// unless both are shorter than eight bytes.
[[nodiscard]] std::uint64_t NamePrefixKey(std::string_view name);

// A whole name of up to 32 bytes recoded the same way: comparing the keys word by word as
// unsigned numbers orders names exactly as CompareNames does. The first word is the prefix
// key. Names that share a long beginning (a base name and a number) are parted by these.
using NameKeys = std::array<std::uint64_t, 4>;
[[nodiscard]] NameKeys FullNameKeys(std::string_view name);

} // namespace rw

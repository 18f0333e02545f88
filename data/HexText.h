#pragma once

// Record images as lowercase hexadecimal text, two digits per byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rw {

namespace hex_detail {

inline constexpr std::array<char, 512> kPairs = [] {
    std::array<char, 512> pairs{};
    constexpr char digits[] = "0123456789abcdef";
    for (int b = 0; b < 256; ++b) {
        pairs[static_cast<std::size_t>(2 * b)] = digits[b >> 4];
        pairs[static_cast<std::size_t>(2 * b + 1)] = digits[b & 15];
    }
    return pairs;
}();

// Value of a hex digit (either case), or 0xFF.
inline constexpr std::array<std::uint8_t, 256> kValues = [] {
    std::array<std::uint8_t, 256> values{};
    values.fill(0xFF);
    for (int d = 0; d < 10; ++d) values[static_cast<std::size_t>('0' + d)] = static_cast<std::uint8_t>(d);
    for (int d = 0; d < 6; ++d) {
        values[static_cast<std::size_t>('a' + d)] = static_cast<std::uint8_t>(10 + d);
        values[static_cast<std::size_t>('A' + d)] = static_cast<std::uint8_t>(10 + d);
    }
    return values;
}();

} // namespace hex_detail

// Writes 2 × n digits at out; answers the end.
inline char* WriteHex(const std::uint8_t* bytes, std::size_t n, char* out)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a CSV export is mostly this.
    const __m128i low4 = _mm_set1_epi8(0x0F);
    const __m128i nine = _mm_set1_epi8(9);
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i letterGap = _mm_set1_epi8('a' - '0' - 10);
    auto digits = [&](__m128i nibbles) {
        const __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(nibbles, nine), letterGap);
        return _mm_add_epi8(_mm_add_epi8(nibbles, zero), letters);
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i hi = _mm_and_si128(_mm_srli_epi16(block, 4), low4);
        const __m128i lo = _mm_and_si128(block, low4);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), digits(_mm_unpacklo_epi8(hi, lo)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), digits(_mm_unpackhi_epi8(hi, lo)));
        out += 32;
    }
#endif
    for (; i < n; ++i) {
        const char* pair = &hex_detail::kPairs[std::size_t{bytes[i]} * 2];
        out[0] = pair[0];
        out[1] = pair[1];
        out += 2;
    }
    return out;
}

// Reads exactly 2 × n digits (either case) into out; false, out partly written, otherwise.
[[nodiscard]] inline bool ReadHex(std::string_view text, std::uint8_t* out, std::size_t n)
{
    if (text.size() != 2 * n) return false;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen digits at a time: an import of a CSV is a third this.
    const auto gt = [](__m128i a, char b) { return _mm_cmpgt_epi8(a, _mm_set1_epi8(b)); };
    const auto lt = [](__m128i a, char b) { return _mm_cmplt_epi8(a, _mm_set1_epi8(b)); };
    for (; i + 8 <= n; i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + 2 * i));
        const __m128i lower = _mm_or_si128(chars, _mm_set1_epi8(0x20));
        const __m128i isDigit = _mm_and_si128(gt(chars, '0' - 1), lt(chars, '9' + 1));
        const __m128i isLetter = _mm_and_si128(gt(lower, 'a' - 1), lt(lower, 'f' + 1));
        if (_mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)) != 0xFFFF) return false;
        const __m128i nibbles = _mm_or_si128(_mm_and_si128(isDigit, _mm_sub_epi8(chars, _mm_set1_epi8('0'))),
                                             _mm_and_si128(isLetter, _mm_sub_epi8(lower, _mm_set1_epi8('a' - 10))));
        // Each pair of digits is a 16-bit lane: the first digit low, the second high.
        const __m128i pairs = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(nibbles, _mm_set1_epi16(0x00FF)), 4),
                                           _mm_srli_epi16(nibbles, 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(pairs, pairs));
    }
#endif
    for (; i < n; ++i) {
        const std::uint8_t hi = hex_detail::kValues[static_cast<unsigned char>(text[2 * i])];
        const std::uint8_t lo = hex_detail::kValues[static_cast<unsigned char>(text[2 * i + 1])];
        if ((hi | lo) > 15) return false;
        out[i] = static_cast<std::uint8_t>(hi << 4 | lo);
    }
    return true;
}

} // namespace rw

#pragma once

// Code page 936 by lookup, from the codes written out in GbkTableData.cpp: a million names cost
// milliseconds instead of a converter call each, the results are Qt's converter's (ICU) own,
// and no system needs a converter for them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

class GbkTable {
public:
    // Built on first use.
    [[nodiscard]] static const GbkTable& Instance();

    // Bytes that are no GBK text (a lead byte without a valid trail byte, also at the end of
    // the bytes) come out as U+FFFD; the byte after such a lead byte is read afresh.
    void AppendUtf8(std::string_view gbk, std::string& out) const;
    void AppendUtf16(std::string_view gbk, std::u16string& out) const;

    // False, with out unchanged, when the text is not valid UTF-8 / UTF-16 or holds a
    // character without a GBK form.
    [[nodiscard]] bool AppendGbkFromUtf8(std::string_view utf8, std::string& out) const;
    [[nodiscard]] bool AppendGbkFromUtf16(std::u16string_view utf16, std::string& out) const;

    static constexpr char16_t kReplacement = u'\uFFFD';

private:
    GbkTable();

    template <typename Put>
    void Decode(std::string_view gbk, Put&& put) const;
    [[nodiscard]] bool AppendGbk(char16_t unit, std::string& out) const;

    static constexpr std::uint16_t kNoCode = 0xFFFF;
    static constexpr int kFirstLead = 0x81;
    static constexpr int kLastLead = 0xFE;

    std::array<char16_t, 256> m_single{};              // bytes that stand alone
    std::vector<char16_t> m_pair;                       // (lead - 0x81) * 256 + trail
    std::vector<std::uint16_t> m_encode;                // UTF-16 unit -> code, kNoCode if none
};

} // namespace rw

#include "text/GbkTable.h"

#include "text/GbkTableData.h"

namespace rw {
namespace {

void AppendUtf8Unit(char16_t u, std::string& out)
{
    if (u < 0x80) {
        out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (u >> 6)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

// The next code point of UTF-8 text, or -1 for anything that is not well-formed UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
[[nodiscard]] long NextCodePoint(std::string_view s, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    long cp = 0;
    long min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        return -1;
    }
    if (s.size() - i <= static_cast<std::size_t>(extra)) return -1;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = byte(i + static_cast<std::size_t>(k));
        if ((b & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

[[nodiscard]] bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

} // namespace

const GbkTable& GbkTable::Instance()
{
    static const GbkTable table;
    return table;
}

GbkTable::GbkTable() : m_pair((kLastLead - kFirstLead + 1) * 256, kReplacement), m_encode(0x10000, kNoCode)
{
    // The lookup that Decode uses takes any trail byte, so the codes are spread over whole
    // rows of 256; the reverse is every unit's first code, then the converter's exceptions.
    m_single = gbk::kSingle;
    for (int a = 0; a < 0x80; ++a) m_encode[static_cast<std::size_t>(a)] = static_cast<std::uint16_t>(a);
    for (int b = 0x80; b < 0x100; ++b) {
        const char16_t u = m_single[static_cast<std::size_t>(b)];
        if (u != kReplacement && m_encode[u] == kNoCode) m_encode[u] = static_cast<std::uint16_t>(b);
    }
    for (std::size_t i = 0; i < gbk::kPairCount; ++i) {
        const int lead = kFirstLead + static_cast<int>(i / gbk::kTrails);
        const int trail = gbk::kFirstTrail + static_cast<int>(i % gbk::kTrails);
        const char16_t u = gbk::kPairs[i];
        m_pair[static_cast<std::size_t>((lead - kFirstLead) * 256 + trail)] = u;
        if (u != kReplacement && m_encode[u] == kNoCode) m_encode[u] = static_cast<std::uint16_t>(lead << 8 | trail);
    }
    for (const std::uint32_t exception : gbk::kEncodeExceptions) {
        m_encode[exception >> 16] = static_cast<std::uint16_t>(exception & 0xFFFF);
    }
}

template <typename Put>
void GbkTable::Decode(std::string_view gbk, Put&& put) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
    const std::size_t n = gbk.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (!IsLead(b)) {
            put(m_single[b]);
            ++i;
        } else if (i + 1 < n && m_pair[static_cast<std::size_t>((b - kFirstLead) * 256 + p[i + 1])] != kReplacement) {
            put(m_pair[static_cast<std::size_t>((b - kFirstLead) * 256 + p[i + 1])]);
            i += 2;
        } else {
            put(kReplacement);
            ++i;
        }
    }
}

void GbkTable::AppendUtf8(std::string_view gbk, std::string& out) const
{
    Decode(gbk, [&](char16_t u) { AppendUtf8Unit(u, out); });
}

void GbkTable::AppendUtf16(std::string_view gbk, std::u16string& out) const
{
    Decode(gbk, [&](char16_t u) { out.push_back(u); });
}

bool GbkTable::AppendGbk(char16_t unit, std::string& out) const
{
    const std::uint16_t code = m_encode[unit];
    if (code == kNoCode) return false;
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
    return true;
}

bool GbkTable::AppendGbkFromUtf8(std::string_view utf8, std::string& out) const
{
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < utf8.size();) {
        const long cp = NextCodePoint(utf8, i);
        if (cp < 0 || cp > 0xFFFF || !AppendGbk(static_cast<char16_t>(cp), out)) {
            out.resize(start);
            return false;
        }
    }
    return true;
}

bool GbkTable::AppendGbkFromUtf16(std::u16string_view utf16, std::string& out) const
{
    const std::size_t start = out.size();
    for (const char16_t u : utf16) {
        // GBK has no characters outside the basic plane; a surrogate half has no form.
        if ((u >= 0xD800 && u <= 0xDFFF) || !AppendGbk(u, out)) {
            out.resize(start);
            return false;
        }
    }
    return true;
}

} // namespace rw

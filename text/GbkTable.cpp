#include "text/GbkTable.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QByteArrayList>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace rw {
namespace {

constexpr const char* kCodecName = "GBK";
constexpr char kSeparator = '\n'; // never part of a two-byte code: trail bytes start at 0x40
constexpr int kFirstTrail = 0x40;

[[noreturn]] void NoConverter()
{
    std::fputs("recwright: this Qt has no GBK converter (Qt must be built with ICU)\n", stderr);
    std::abort();
}

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
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    if (!decoder.isValid() || !encoder.isValid()) NoConverter();

    // One converter call for all the codes: each code followed by a separator, so the output
    // splits back into one piece per code.
    QByteArray codes;
    for (int b = 0; b < 256; ++b) {
        if (IsLead(static_cast<unsigned char>(b)) || b == kSeparator) continue;
        codes.append(static_cast<char>(b)).append(kSeparator);
    }
    for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (int trail = kFirstTrail; trail <= 0xFF; ++trail) {
            codes.append(static_cast<char>(lead)).append(static_cast<char>(trail)).append(kSeparator);
        }
    }
    const QString decoded = decoder.decode(codes);
    const QStringList pieces = decoded.split(QChar(kSeparator));

    qsizetype next = 0;
    auto take = [&]() -> char16_t {
        const QString& piece = pieces.value(next++);
        // A code the converter splits (FFFD, then the trail byte read afresh) is no code.
        return piece.size() == 1 ? piece.front().unicode() : kReplacement;
    };
    for (int b = 0; b < 256; ++b) {
        if (IsLead(static_cast<unsigned char>(b))) continue;
        m_single[static_cast<std::size_t>(b)] = b == kSeparator ? char16_t{kSeparator} : take();
    }
    for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (int trail = kFirstTrail; trail <= 0xFF; ++trail) {
            m_pair[static_cast<std::size_t>((lead - kFirstLead) * 256 + trail)] = take();
        }
    }
    for (int lead = kFirstLead; lead <= kLastLead; ++lead) m_single[static_cast<std::size_t>(lead)] = kReplacement;

    // The reverse, again in one call: every character some code decodes to, encoded by the
    // converter, kept where the bytes decode back to that character.
    QString chars;
    for (char16_t u : m_single) {
        if (u != kReplacement && u >= 0x80) chars.append(QChar(u)).append(QChar(kSeparator));
    }
    for (char16_t u : m_pair) {
        if (u != kReplacement && u >= 0x80) chars.append(QChar(u)).append(QChar(kSeparator));
    }
    const QByteArray encoded = encoder.encode(chars);
    const QList<QByteArray> forms = encoded.split(kSeparator);
    for (int a = 0; a < 0x80; ++a) m_encode[static_cast<std::size_t>(a)] = static_cast<std::uint16_t>(a);
    for (qsizetype k = 0; k < chars.size() / 2; ++k) {
        const char16_t u = chars.at(2 * k).unicode();
        const QByteArray& form = forms.value(k);
        std::u16string back;
        AppendUtf16({form.constData(), static_cast<std::size_t>(form.size())}, back);
        if (back.size() != 1 || back.front() != u) continue;
        const auto b0 = static_cast<unsigned char>(form.at(0));
        m_encode[u] = form.size() == 1 ? b0 : static_cast<std::uint16_t>(b0 << 8 | static_cast<unsigned char>(form.at(1)));
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

#include "text/Utf8NameTranscoder.h"

#include "text/GbkTable.h"

#include <algorithm>

namespace rw {
namespace {

[[nodiscard]] bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

[[nodiscard]] bool IsWellFormed(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8CharacterSize(text.substr(i));
        if (n == 0) return false;
        i += n;
    }
    return true;
}

} // namespace

std::size_t Utf8CharacterSize(std::string_view text)
{
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    // The range the second byte must fall in narrows for some leads, which is what rules out
    // overlong forms, surrogates and code points past U+10FFFF.
    std::size_t size = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < size || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < size; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return size;
}

void Utf8NameTranscoder::AppendText(std::string_view nameBytes, std::string& out) const
{
    if (IsAscii(nameBytes)) {
        out.append(nameBytes);
        return;
    }
    GbkTable::Instance().AppendUtf8(nameBytes, out);
}

NameEncoding Utf8NameTranscoder::TryAppendNameBytes(std::string_view text, std::string& out) const
{
    if (IsAscii(text)) {
        out.append(text);
        return NameEncoding::Done;
    }
    if (GbkTable::Instance().AppendGbkFromUtf8(text, out)) return NameEncoding::Done;
    // Told apart only once the table has refused, so that names that encode pay nothing more.
    return IsWellFormed(text) ? NameEncoding::NoGbkForm : NameEncoding::NotWellFormed;
}

} // namespace rw

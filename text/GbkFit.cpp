#include "text/GbkFit.h"

#include "text/GbkTable.h"

namespace rw {
namespace {

[[nodiscard]] bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
[[nodiscard]] bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

} // namespace

GbkFitUnits FitGbkUtf16(std::u16string_view text, std::size_t maxBytes)
{
    GbkFitUnits fit;
    const GbkTable& table = GbkTable::Instance();
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
        const std::u16string_view character = text.substr(i, length);
        i += length;
        bytes.clear();
        if (!table.AppendGbkFromUtf16(character, bytes)) continue;
        if (fit.bytes.size() + bytes.size() > maxBytes) break;
        fit.text += character;
        fit.bytes += bytes;
    }
    return fit;
}

} // namespace rw

#include "text/GbkCodec.h"

#include <algorithm>

#include "text/GbkTable.h"

namespace rw {

const GbkCodec& GbkCodec::Instance()
{
    static const GbkCodec codec;
    return codec;
}

QString GbkCodec::Decode(std::string_view bytes) const
{
    std::u16string text;
    text.reserve(bytes.size());
    GbkTable::Instance().AppendUtf16(bytes, text);
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::optional<std::string> GbkCodec::Encode(QStringView text) const
{
    std::string bytes;
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    if (!GbkTable::Instance().AppendGbkFromUtf16(units, bytes)) return std::nullopt;
    return bytes;
}

GbkFit FitGbk(QStringView text, int maxBytes)
{
    GbkFit fit;
    const GbkCodec& codec = GbkCodec::Instance();
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = text.mid(i, length);
        i += length;
        const std::optional<std::string> bytes = codec.Encode(character);
        if (!bytes) continue;
        if (fit.bytes.size() + bytes->size() > static_cast<std::size_t>(std::max(maxBytes, 0))) break;
        fit.text += character;
        fit.bytes += *bytes;
    }
    return fit;
}

} // namespace rw

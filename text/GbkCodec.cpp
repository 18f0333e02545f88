#include "text/GbkCodec.h"

#include <algorithm>
#include <utility>

#include "text/GbkFit.h"
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
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    GbkFitUnits fit = FitGbkUtf16(units, static_cast<std::size_t>(std::max(maxBytes, 0)));
    return {QString(reinterpret_cast<const QChar*>(fit.text.data()), static_cast<qsizetype>(fit.text.size())),
            std::move(fit.bytes)};
}

} // namespace rw

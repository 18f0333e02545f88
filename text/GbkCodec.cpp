#include "text/GbkCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace rw {
namespace {

constexpr const char* kCodecName = "GBK";

[[nodiscard]] bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

const GbkCodec& GbkCodec::Instance()
{
    static const GbkCodec codec = [] {
        if (!QStringDecoder(kCodecName).isValid() || !QStringEncoder(kCodecName).isValid()) {
            std::fputs("recwright: this Qt has no GBK converter (Qt must be built with ICU)\n", stderr);
            std::abort();
        }
        return GbkCodec();
    }();
    return codec;
}

QString GbkCodec::Decode(std::string_view bytes) const
{
    if (IsAscii(bytes)) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::optional<std::string> GbkCodec::Encode(QStringView text) const
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    // The converter substitutes what it cannot map; a round trip shows whether it had to.
    if (encoder.hasError() || Decode({bytes.constData(), static_cast<std::size_t>(bytes.size())}) != text) {
        return std::nullopt;
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace rw

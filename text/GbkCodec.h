#pragma once

// Names in the data files are code page 936 (GBK) bytes. This converts them to and from
// Qt's strings through GbkTable; the record library itself only ever sees the bytes.

#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace rw {

class GbkCodec {
public:
    // The one codec. Ends the program with a message when the platform has no GBK converter,
    // since every name would otherwise come out wrong.
    [[nodiscard]] static const GbkCodec& Instance();

    // Each call starts afresh: nothing carries over from one name to the next. Bytes that
    // are no GBK text come out as U+FFFD.
    [[nodiscard]] QString Decode(std::string_view bytes) const;

    // Empty when some character has no GBK form.
    [[nodiscard]] std::optional<std::string> Encode(QStringView text) const;

private:
    GbkCodec() = default;
};

} // namespace rw

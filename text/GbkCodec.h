#pragma once

// Names in the data files are code page 936 (GBK) bytes. This converts them to and from
// Qt's strings through GbkTable; the record library itself only ever sees the bytes.

#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace rw {

struct GbkFit {
    QString text;      // the characters kept
    std::string bytes; // their GBK bytes
};

// The longest run of whole characters from the start of text whose GBK bytes fit in maxBytes;
// characters without a GBK form are left out. What a name box keeps of what is typed.
[[nodiscard]] GbkFit FitGbk(QStringView text, int maxBytes);

class GbkCodec {
public:
    // The one codec.
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

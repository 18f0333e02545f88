#pragma once

#include "data/NameTranscoder.h"

#include <cstddef>
#include <string_view>

namespace rw {

// Names as UTF-8 text: code page 936 decoded by GbkTable, U+FFFD for bytes that are no text.
class Utf8NameTranscoder final : public NameTranscoder {
public:
    void AppendText(std::string_view nameBytes, std::string& out) const override;
    [[nodiscard]] NameEncoding TryAppendNameBytes(std::string_view text, std::string& out) const override;
};

// The bytes of the well-formed UTF-8 character text starts with (1 to 4); 0 when it starts
// with none: a stray continuation byte, an overlong form, a surrogate, a sequence cut short.
[[nodiscard]] std::size_t Utf8CharacterSize(std::string_view text);

} // namespace rw

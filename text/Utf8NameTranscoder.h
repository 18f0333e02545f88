#pragma once

#include "data/NameTranscoder.h"

namespace rw {

// Names as UTF-8 text: code page 936 decoded by GbkTable, U+FFFD for bytes that are no text.
class Utf8NameTranscoder final : public NameTranscoder {
public:
    void AppendText(std::string_view nameBytes, std::string& out) const override;
    [[nodiscard]] bool AppendNameBytes(std::string_view text, std::string& out) const override;
};

} // namespace rw

#pragma once

#include "data/NameTranscoder.h"

namespace rw {

// The text is the name's bytes themselves: for CSV written in code page 936.
class PassThroughNames final : public NameTranscoder {
public:
    void AppendText(std::string_view nameBytes, std::string& out) const override { out.append(nameBytes); }
    [[nodiscard]] NameEncoding TryAppendNameBytes(std::string_view text, std::string& out) const override
    {
        out.append(text);
        return NameEncoding::Done;
    }
};

} // namespace rw

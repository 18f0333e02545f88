#pragma once

// How a record's name (code page 936 bytes) is written as text outside the file, and read
// back. The CSV reader and writer take one, so the record library needs no character set
// converter of its own and the importer can be driven without one.

#include <string>
#include <string_view>

namespace rw {

class NameTranscoder {
public:
    virtual ~NameTranscoder() = default;

    // Appends the text of the name's bytes. Bytes that are no text come out as a substitute
    // (U+FFFD for Unicode text); the same bytes always give the same text.
    virtual void AppendText(std::string_view nameBytes, std::string& out) const = 0;

    // Appends the name's bytes for a text; false, out unchanged, when the text has a character
    // without a form in code page 936 or is not well-formed in its encoding.
    [[nodiscard]] virtual bool AppendNameBytes(std::string_view text, std::string& out) const = 0;
};

} // namespace rw

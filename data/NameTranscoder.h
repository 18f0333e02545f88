#pragma once

// How a record's name (code page 936 bytes) is written as text outside the file, and read
// back. The CSV reader and writer take one, so the record library needs no character set
// converter of its own and the importer can be driven without one.

#include <cstdint>
#include <string>
#include <string_view>

namespace rw {

// What became of a name's text on its way to bytes.
enum class NameEncoding : std::uint8_t {
    Done,          // the bytes were appended
    NotWellFormed, // the text is not well-formed in its encoding: most likely text in another one
    NoGbkForm,     // well-formed, but a character has no form in code page 936
};

// An importer calls one from two threads at once, so it changes nothing of itself.
class NameTranscoder {
public:
    virtual ~NameTranscoder() = default;

    // Appends the text of the name's bytes. Bytes that are no text come out as a substitute
    // (U+FFFD for Unicode text); the same bytes always give the same text.
    virtual void AppendText(std::string_view nameBytes, std::string& out) const = 0;

    // Appends the name's bytes for a text; out is unchanged unless the answer is Done.
    [[nodiscard]] virtual NameEncoding TryAppendNameBytes(std::string_view text, std::string& out) const = 0;

    // The same, for callers that need not know why a text has no bytes.
    [[nodiscard]] bool AppendNameBytes(std::string_view text, std::string& out) const
    {
        return TryAppendNameBytes(text, out) == NameEncoding::Done;
    }
};

} // namespace rw

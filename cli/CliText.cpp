#include "cli/CliText.h"

#include "data/Platform.h"
#include "resources/Strings.h"
#include "text/Utf8NameTranscoder.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace rw {
namespace {

void AppendEscape(std::string& out, const char* prefix, unsigned value)
{
    constexpr char kHex[] = "0123456789abcdef";
    out.append(prefix);
    out.push_back(kHex[(value >> 4) & 0xF]);
    out.push_back(kHex[value & 0xF]);
}

} // namespace

std::string Escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

void AppendEscaped(std::string& out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscape(out, "\\x", byte);
            ++i;
            continue;
        }
        const std::size_t size = Utf8CharacterSize(text.substr(i));
        if (size == 0) {
            AppendEscape(out, "\\x", byte);
            ++i;
        } else if (size == 2 && byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            AppendEscape(out, "\\u00", static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else {
            out.append(text.substr(i, size));
            i += size;
        }
    }
}

void Complain(std::string_view message, std::string_view more)
{
    // One write, so that the line arrives whole even when other writers share the stream;
    // a line too long for the buffer goes in pieces.
    const std::string_view pieces[] = {str::kCliPrefix, message, more, "\n"};
    std::array<char, 4096> line;
    std::size_t size = 0;
    for (const std::string_view piece : pieces) {
        if (size + piece.size() > line.size()) {
            for (const std::string_view each : pieces) (void)WriteAll(StandardStream::Error, each);
            return;
        }
        std::memcpy(line.data() + size, piece.data(), piece.size());
        size += piece.size();
    }
    (void)WriteAll(StandardStream::Error, {line.data(), size});
}

bool WriteAllTo(int fd, std::string_view text)
{
    const std::error_code error = WriteAll(static_cast<StandardStream>(fd), text);
    if (error) errno = error.value();
    return !error;
}

int PrintOrComplain(std::string_view text)
{
    if (WriteAllTo(kStandardOutput, text)) return kExitOk;
    const int error = errno;
    Complain(Format<str::kCliCannotWriteFormat>(str::kCliStandardOutput, std::strerror(error)));
    return kExitBadData;
}

} // namespace rw

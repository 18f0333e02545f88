#include "cli/CliText.h"

#include "system/Platform.h"
#include "resources/Strings.h"
#include "text/Utf8NameTranscoder.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

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

namespace {

ComplaintLog* g_log = nullptr;

} // namespace

ComplaintLog::ComplaintLog() : m_outer(std::exchange(g_log, this)) {}
ComplaintLog::~ComplaintLog() { g_log = m_outer; }

void ComplaintLog::Keep(std::string_view message, std::string_view more)
{
    // What it keeps is extra: memory that runs out must not keep the message from being said.
    try {
        std::string text(message);
        text.append(more);
        m_messages.push_back(std::move(text));
    } catch (const std::bad_alloc&) {
    }
}

std::string ListOf(const std::vector<std::string_view>& words, std::string_view lastJoiner)
{
    std::string list;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) list += i + 1 == words.size() ? lastJoiner : std::string_view(", ");
        list += words[i];
    }
    return list;
}

void Complain(std::string_view message, std::string_view more)
{
    if (g_log) g_log->Keep(message, more);
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
        // An empty piece may have no bytes at all to copy from.
        if (piece.empty()) continue;
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

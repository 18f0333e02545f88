#include "cli/CliText.h"

#include "resources/Strings.h"
#include "text/Utf8NameTranscoder.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

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
    const auto piece = [](std::string_view text) { return iovec{const_cast<char*>(text.data()), text.size()}; };
    iovec pieces[] = {piece(str::kCliPrefix), piece(message), piece(more), piece("\n")};
    // One call, so that the line arrives whole even when other writers share the stream.
    while (::writev(STDERR_FILENO, pieces, 4) < 0 && errno == EINTR) {
    }
}

bool WriteAllTo(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t put = ::write(fd, text.data(), text.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

int PrintOrComplain(std::string_view text)
{
    if (WriteAllTo(STDOUT_FILENO, text)) return kExitOk;
    const int error = errno;
    Complain(Format<str::kCliCannotWriteFormat>(str::kCliStandardOutput, std::strerror(error)));
    return kExitBadData;
}

void KeepStandardStreamsTaken()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        // The lowest free number: this one, since those below it are open by now.
        const int placeholder = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (placeholder >= 0 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

} // namespace rw

#include "cli/CliText.h"

#include "resources/Strings.h"

#include <unistd.h>

#include <cerrno>

namespace rw {

void Complain(std::string_view message)
{
    std::string line = str::kCliPrefix;
    line.append(message);
    line.push_back('\n');
    (void)WriteAllTo(STDERR_FILENO, line);
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

} // namespace rw

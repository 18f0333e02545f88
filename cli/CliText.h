#pragma once

// Formatting the program's texts and writing them out.

#include <cstdio>
#include <string>
#include <string_view>

namespace rw {

enum ExitCode : int { kExitOk = 0, kExitBadData = 1, kExitBadUsage = 2 };

template <typename... Args>
[[nodiscard]] std::string Format(const char* format, Args... args)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    const int n = std::snprintf(nullptr, 0, format, args...);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
#pragma GCC diagnostic pop
    return text;
}

// "recwright-cli: " and the message, on standard error.
void Complain(std::string_view message);

// Writes all of text to a file descriptor; false with errno set on failure.
[[nodiscard]] bool WriteAllTo(int fd, std::string_view text);

} // namespace rw

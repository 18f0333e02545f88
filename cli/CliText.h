#pragma once

// Formatting the program's texts and writing them out.

#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace rw {

enum ExitCode : int { kExitOk = 0, kExitBadData = 1, kExitBadUsage = 2 };

// Text from outside (a file name, a CSV field, an argument) as a terminal may be given it:
// control characters (C0, DEL and the C1 range U+0080..U+009F) and bytes that are no UTF-8
// become \xNN or \u00NN. A field can then neither retitle nor clear the user's terminal, nor
// end a message early with a NUL. Escaped text escapes to itself.
[[nodiscard]] std::string Escaped(std::string_view text);
void AppendEscaped(std::string& out, std::string_view text);

namespace detail {

template <typename T>
[[nodiscard]] auto PrintfArgument(const T& argument, std::string& held)
{
    if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        held = Escaped(std::string_view(argument));
        return held.c_str();
    } else {
        static_assert(std::is_same_v<T, long long>, "numbers are passed as long long, for %lld");
        return argument;
    }
}

template <typename... Args>
[[nodiscard]] std::string Printf(const char* format, Args... args)
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

} // namespace detail

// Only there for the compiler to check a format against its arguments: never defined, and
// only named where nothing is evaluated.
[[gnu::format(printf, 1, 2)]] int CheckedFormat(const char* format, ...);

namespace detail {

// What an argument is for printf: a text (%s) or a long long (%lld).
template <typename T>
[[nodiscard]] auto ForCheck(const T&)
{
    if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        return static_cast<const char*>(nullptr);
    } else {
        return T{};
    }
}

} // namespace detail

// One of the program's formats (a constant of resources/Strings.h) filled in. The compiler
// checks the format against the arguments. Every text argument is Escaped first, so that no
// message can carry what it quotes to the terminal raw, whichever argument came from outside.
template <const char* FormatText, typename... Args>
[[nodiscard]] std::string Format(const Args&... args)
{
    (void)sizeof(CheckedFormat(FormatText, detail::ForCheck(args)...));
    std::array<std::string, sizeof...(Args)> held;
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return detail::Printf(FormatText, detail::PrintfArgument(args, held[I])...);
    }(std::index_sequence_for<Args...>{});
}

namespace detail {

// Appends the format's text up to its next conversion, and steps past that conversion.
inline void AppendUpToConversion(std::string& out, std::string_view& format)
{
    for (std::size_t at = format.find('%'); at != std::string_view::npos; at = format.find('%')) {
        out.append(format.substr(0, at));
        format.remove_prefix(at + 1);
        if (format.starts_with('%')) {
            out.push_back('%');
            format.remove_prefix(1);
            continue;
        }
        format.remove_prefix(format.starts_with("lld") ? 3 : 1);
        return;
    }
    out.append(format);
    format = {};
}

template <typename T>
void AppendArgument(std::string& out, const T& argument)
{
    if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        AppendEscaped(out, std::string_view(argument));
    } else {
        static_assert(std::is_same_v<T, long long>, "numbers are passed as long long, for %lld");
        char digits[24];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, argument).ptr);
    }
}

} // namespace detail

// Format's text appended to out, without printf: for what is written once per record, where
// a million lines must take milliseconds, not a second. The format may hold only %s, %lld and
// %% (as the program's formats do), and is checked against the arguments as Format's is.
template <const char* FormatText, typename... Args>
void AppendFormat(std::string& out, const Args&... args)
{
    (void)sizeof(CheckedFormat(FormatText, detail::ForCheck(args)...));
    std::string_view format = FormatText;
    ((detail::AppendUpToConversion(out, format), detail::AppendArgument(out, args)), ...);
    detail::AppendUpToConversion(out, format);
}

// "recwright-cli: " and the message (and more, when given), on standard error. Allocates
// nothing, so that it can still say that memory ran out.
void Complain(std::string_view message, std::string_view more = {});

// While one is alive, every message Complain writes is kept in it as well, for output that
// must carry what went wrong in it (JSON for a program). The innermost one alive keeps them.
class ComplaintLog {
public:
    ComplaintLog();
    ~ComplaintLog();
    ComplaintLog(const ComplaintLog&) = delete;
    ComplaintLog& operator=(const ComplaintLog&) = delete;

    // The messages so far, each without the program's prefix.
    [[nodiscard]] const std::vector<std::string>& Messages() const { return m_messages; }
    void Clear() { m_messages.clear(); }
    void Keep(std::string_view message, std::string_view more);

private:
    ComplaintLog* m_outer;
    std::vector<std::string> m_messages;
};

// Words as a list: "a", "a or b", "a, b or c" (joiner " or ").
[[nodiscard]] std::string ListOf(const std::vector<std::string_view>& words, std::string_view lastJoiner);

// The standard streams' numbers, as on every system.
inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// Writes all of text to a standard stream; false with errno set on failure.
[[nodiscard]] bool WriteAllTo(int fd, std::string_view text);

// Writes text to standard output; when that fails, says why on standard error. The exit
// status either way.
[[nodiscard]] int PrintOrComplain(std::string_view text);

} // namespace rw

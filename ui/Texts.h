#pragma once

// The string table's texts as Qt strings, with their places %1, %2, ... filled in one pass, so
// that an argument holding "%2" (a file name may) stays as it is.

#include <QLocale>
#include <QString>

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace rw {

[[nodiscard]] inline QString Text(const char* utf8) { return QString::fromUtf8(utf8); }
[[nodiscard]] inline QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

namespace texts_detail {

[[nodiscard]] inline QString Arg(const QString& text) { return text; }
[[nodiscard]] inline QString Arg(const char* utf8) { return QString::fromUtf8(utf8); }
[[nodiscard]] inline QString Arg(std::string_view utf8) { return Text(utf8); }
[[nodiscard]] inline QString Arg(const std::string& utf8) { return Arg(std::string_view(utf8)); }
template <std::integral Number>
[[nodiscard]] QString Arg(Number number)
{
    return QString::number(number);
}

} // namespace texts_detail

template <typename... Args>
[[nodiscard]] QString Text(const char* format, const Args&... args)
{
    return Text(format).arg(texts_detail::Arg(args)...);
}

// A number with its thousands set apart, "1,208".
[[nodiscard]] inline QString Grouped(std::uint64_t number)
{
    return QLocale(QLocale::Chinese, QLocale::China).toString(static_cast<qulonglong>(number));
}

// A value as a message quotes it: at most its first few dozen characters, "…" for the rest,
// so that a pasted megabyte is neither laid out nor read whole.
inline constexpr qsizetype kQuotedCharacters = 40;
[[nodiscard]] inline QString Quoted(const QString& value)
{
    if (value.size() <= kQuotedCharacters) return value;
    qsizetype cut = kQuotedCharacters;
    if (value[cut - 1].isHighSurrogate()) --cut;
    return value.left(cut) + QChar(0x2026);
}

} // namespace rw

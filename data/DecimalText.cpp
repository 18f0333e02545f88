#include "data/DecimalText.h"

#include <charconv>
#include <limits>

namespace rw {
namespace {

[[nodiscard]] bool IsDigit(char c) { return c >= '0' && c <= '9'; }
[[nodiscard]] bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
[[nodiscard]] bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace

std::string FormatInt32(std::int32_t value)
{
    char buf[16];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return {buf, end};
}

std::int32_t AtolInt32(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) magnitude = kLimit; // saturate; stay bounded
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseStrictInt32(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrTab(text[begin])) ++begin;
    while (end > begin && IsBlankOrTab(text[end - 1])) --end;
    text = text.substr(begin, end - begin);
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    if (digits.empty()) return std::nullopt;
    for (const char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
    }
    // from_chars takes a '-' but not a '+'.
    if (text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace rw

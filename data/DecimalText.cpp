#include "data/DecimalText.h"

#include <charconv>
#include <limits>

namespace rw {
namespace {

[[nodiscard]] bool IsDigit(char c) { return c >= '0' && c <= '9'; }
[[nodiscard]] bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::string FormatInt32(std::int32_t value)
{
    char buf[16];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return {buf, end};
}

std::optional<std::int32_t> ParseStrictInt32(std::string_view text)
{
    // Written out by hand: a CSV of a million records holds thirty million numbers.
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlankOrTab(text[i])) ++i;
    while (end > i && IsBlankOrTab(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == end) return std::nullopt;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < end; ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace rw

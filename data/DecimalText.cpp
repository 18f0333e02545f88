#include "data/DecimalText.h"

#include <charconv>
#include <limits>

namespace rw {
namespace {

[[nodiscard]] bool IsDigit(char c) { return c >= '0' && c <= '9'; }
[[nodiscard]] bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// A number as typed: its text without the blanks or tabs around it, and its sign taken off.
struct SignedText {
    std::string_view digits;
    bool negative = false;
};

[[nodiscard]] SignedText SplitSign(std::string_view text)
{
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlankOrTab(text[i])) ++i;
    while (end > i && IsBlankOrTab(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    return {text.substr(i, end - i), negative};
}

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
    const auto [digits, negative] = SplitSign(text);
    if (digits.empty()) return std::nullopt;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> ParseDecimal(std::string_view text)
{
    // from_chars takes no sign but "-", and that only before digits: the sign is ours.
    const auto [number, negative] = SplitSign(text);
    std::size_t digits = 0;
    bool point = false;
    for (const char c : number) {
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || ptr != end) return std::nullopt;
    return negative ? -value : value;
}

} // namespace rw

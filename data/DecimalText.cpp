#include "data/DecimalText.h"

#include <algorithm>
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

ParsedDecimal ParseDecimal(std::string_view text)
{
    const auto [number, negative] = SplitSign(text);
    const std::size_t point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    ParsedDecimal parsed;
    if (whole.size() + fraction.size() == 0) return parsed;
    for (const std::string_view part : {whole, fraction}) {
        if (!std::all_of(part.begin(), part.end(), IsDigit)) return parsed;
    }
    // The digits that count: leading zeros and a fraction's trailing zeros say nothing.
    const std::string_view lead = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
    const std::string_view tail = fraction.substr(0, fraction.find_last_not_of('0') + 1);
    std::string digits = std::string(lead).append(tail);
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > static_cast<std::size_t>(kDecimalDigits) || tail.size() > static_cast<std::size_t>(kDecimalDigits)) {
        parsed.outcome = ParsedDecimal::Outcome::TooManyDigits;
        return parsed;
    }
    std::int64_t numerator = 0;
    for (const char c : digits) numerator = numerator * 10 + (c - '0');
    std::int64_t denominator = 1;
    for (std::size_t i = 0; i < tail.size(); ++i) denominator *= 10;
    parsed.value = *Rational::Fraction(negative ? -numerator : numerator, denominator);
    parsed.outcome = ParsedDecimal::Outcome::Done;
    return parsed;
}

} // namespace rw

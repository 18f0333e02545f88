#pragma once

// Numbers as text: "%d" out, and in strictly (typed by a person, or read from CSV).

#include "data/Rational.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

[[nodiscard]] std::string FormatInt32(std::int32_t value);

// Optional blanks or tabs, optional sign, at least one digit, optional blanks or tabs, and
// nothing else; the value must fit in a signed 32-bit integer.
[[nodiscard]] std::optional<std::int32_t> ParseStrictInt32(std::string_view text);

// The most digits a decimal may have, and the most after its point (leading zeros, and zeros
// ending its fraction, aside): enough for any factor a person types, and few enough that a
// 32-bit value times or divided by one is exact in 128 bits with room to spare.
inline constexpr int kDecimalDigits = 18;

struct ParsedDecimal {
    enum class Outcome : std::uint8_t { Done, NotADecimal, TooManyDigits } outcome = Outcome::NotADecimal;
    Rational value; // exactly the number written, when Done
};

// A decimal number as a person types it: "1.5", "-2", ".25", "3.", with blanks or tabs
// around; no exponent, no "inf" or "nan". Exact: "1.15" is 115/100.
[[nodiscard]] ParsedDecimal ParseDecimal(std::string_view text);

} // namespace rw

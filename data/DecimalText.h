#pragma once

// Numbers as text: "%d" out, and in strictly (typed by a person, or read from CSV).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

[[nodiscard]] std::string FormatInt32(std::int32_t value);

// Optional blanks or tabs, optional sign, at least one digit, optional blanks or tabs, and
// nothing else; the value must fit in a signed 32-bit integer.
[[nodiscard]] std::optional<std::int32_t> ParseStrictInt32(std::string_view text);

// A decimal number as a person types it: "1.5", "-2", ".25", "3.", with blanks or tabs
// around; no exponent, no "inf" or "nan".
[[nodiscard]] std::optional<double> ParseDecimal(std::string_view text);

} // namespace rw

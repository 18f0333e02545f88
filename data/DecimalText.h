#pragma once

// The two ways numbers travel as text: "%d" out, and in either the lenient way of the C
// library's atol (row texts) or strictly (typed by a person, or read from CSV).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

[[nodiscard]] std::string FormatInt32(std::int32_t value);

// Leading white space skipped, an optional sign, then digits up to the first non-digit;
// no leading number gives 0. Values beyond 32 bits saturate, as the runtime's atol does.
[[nodiscard]] std::int32_t AtolInt32(std::string_view text);

// Optional blanks or tabs, optional sign, at least one digit, optional blanks or tabs, and
// nothing else; the value must fit in a signed 32-bit integer.
[[nodiscard]] std::optional<std::int32_t> ParseStrictInt32(std::string_view text);

} // namespace rw

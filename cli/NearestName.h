#pragma once

// What a mistyped command, option or value most likely meant: "exprot" is "export".

#include <optional>
#include <span>
#include <string_view>

namespace rw {

// The known name closest to typed, letter case aside, when it is close enough to be what was
// meant: a letter or two wrong, missing, extra or swapped, or the start of exactly one name.
// Ties go to the earlier name.
[[nodiscard]] std::optional<std::string_view> NearestName(std::string_view typed, std::span<const std::string_view> known);

} // namespace rw

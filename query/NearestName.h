#pragma once

// What a mistyped name (a command, an option, a value, a column) most likely meant: "exprot"
// is "export".

#include <optional>
#include <span>
#include <string_view>

namespace rw {

// The known name closest to typed, letter case aside, when it is close enough to be what was
// meant: a letter or two wrong, missing, extra or swapped; else the start of exactly one name;
// else a part of exactly one name ("Level" of "NeedLevel"). Ties go to the earlier name. The
// command line's names and the columns a query names, in both programs, are guessed by it.
[[nodiscard]] std::optional<std::string_view> NearestName(std::string_view typed, std::span<const std::string_view> known);

} // namespace rw

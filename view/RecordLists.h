#pragma once

// Records named in a message: the first ten, the rest counted (data/ListedFirst, the rule
// recwright-cli's messages follow too), so that a message about a million rows still fits on
// the screen and is shown at once.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace rw {

// The texts of the first kRecordsNamed of count items, joined by ", ", then moreFormat
// filled with how many are left.
[[nodiscard]] QString ListedFirst(std::size_t count, const std::function<QString(std::size_t i)>& text,
                                  const char* moreFormat);

// "[ID=5], [ID=9]", the first ten, the rest counted.
[[nodiscard]] QString IdsNamed(const std::vector<std::int32_t>& ids);

} // namespace rw

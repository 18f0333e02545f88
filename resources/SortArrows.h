#pragma once

// The sort arrows' picture: two arrows, 9 × 5 pixels each, up (ascending) then down.

#include <QImage>

namespace rw {

inline constexpr int kSortArrowWidth = 9;
inline constexpr int kSortArrowHeight = 5;

// The arrow with its magenta background made transparent.
[[nodiscard]] QImage SortArrow(bool ascending);

} // namespace rw

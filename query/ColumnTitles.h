#pragma once

// Columns as a person names them in a query, a --set or an expression: by title, letter case
// aside, and the guess at a title mistyped.

#include "data/Schema.h"

#include <string_view>

namespace rw {

// The column whose title is title, letter case aside; -1 when none.
[[nodiscard]] int ColumnTitled(const RecordSchema& schema, std::string_view title);
// The title of the column most likely meant by a title the kind lacks (NearestName), or empty.
[[nodiscard]] std::string_view NearestColumnTitle(const RecordSchema& schema, std::string_view title);

} // namespace rw

#pragma once

// Rows on the clipboard as tab-separated text, the way spreadsheets put cells there: a header
// line of the CSV columns (Raw included, so that a paste loses nothing), then a line a row.

#include "table/RecordTable.h"

#include <string>
#include <vector>

namespace rw {

[[nodiscard]] std::string RowsAsText(const RecordTable& table, const std::vector<int>& rows);

} // namespace rw

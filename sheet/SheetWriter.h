#pragma once

// Records as a worksheet (.xlsx), for editing in a spreadsheet without its reading into them
// what is not there: one worksheet, named after the table; row 1 the CSV's header (the
// kind's column titles, then "Raw"), bold and frozen with the ID and name columns; then one
// row per record in the given order. The ID and fields are numbers; the name and Raw (the
// whole record in hexadecimal, as in the CSV) are text, in columns formatted as text, so that
// a name such as "007", "1e5", "=1+1" or "3/4" stays what it is, there and when typed anew.

#include "data/FileKind.h"
#include "data/NameTranscoder.h"
#include "sheet/SheetResult.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace rw {

// recordAt(i): record i's image, of the kind's size. names: giving UTF-8 text, the only
// text a workbook holds. The file at path is replaced whole or not at all, as AtomicFile
// replaces it; more records than a worksheet has rows for (sheet_limits::kMaxRecords) are
// refused before anything is written. The progress is told the records written and the count;
// packing the file at the end is not told and cannot be cancelled.
[[nodiscard]] SheetResult WriteRecordSheet(const std::string& path, FileKind kind, std::size_t count,
                                           const std::function<std::span<const std::uint8_t>(std::size_t)>& recordAt,
                                           const NameTranscoder& names, const SheetProgress& progress);

} // namespace rw

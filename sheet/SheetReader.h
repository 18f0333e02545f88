#pragma once

// Records from a worksheet (.xlsx): the rows of the workbook's first worksheet, handed to a
// RowImporter as a CSV's rows would be, with the sheet's row numbers as lines and column
// numbers from the cell references. The importer then checks them as it checks CSV, and
// also refuses a name or Raw that a spreadsheet stored as anything but text.
//
// Memory stays that of the records and the shared strings: the worksheet's XML is unpacked
// and read piece by piece, never whole. A damaged or hostile file (not a zip, no worksheet,
// XML that is not well-formed, a part that unpacks beyond what a worksheet of records can
// be) is refused with its reason, within sheet_limits.

#include "csv/RowImporter.h"
#include "sheet/SheetResult.h"

#include <cstdint>
#include <span>
#include <string>

namespace rw {

// importer: new, of the table's kind, reading names as UTF-8 (the text every workbook holds).
// When the answer is Ok, the importer is Finished and its Ok() tells whether the records can
// be used; after any failure, it holds what it had taken by then, of no use. The progress is
// told the bytes of XML unpacked and the whole of them.
[[nodiscard]] SheetResult ReadRecordSheet(const std::string& path, RowImporter& importer, const SheetProgress& progress);
// The same from a whole file in memory.
[[nodiscard]] SheetResult ReadRecordSheet(std::span<const std::uint8_t> bytes, RowImporter& importer,
                                          const SheetProgress& progress);

} // namespace rw

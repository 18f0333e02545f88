#pragma once

// Where a workbook keeps its first worksheet and its shared strings. The package's
// relationships name the workbook part, the workbook lists its sheets in order, and the
// workbook's relationships give each sheet's part; spreadsheet programs name these parts as
// they like, so they are looked up rather than assumed.

#include "sheet/SheetResult.h"
#include "sheet/ZipArchive.h"

#include <optional>
#include <string>

namespace rw {

struct WorkbookParts {
    ZipArchive::Part worksheet;
    std::optional<ZipArchive::Part> sharedStrings;
};

// The parts of the first worksheet (not a chart sheet) and of the shared strings, if any,
// named exactly as the relationships give them. The failure is NoWorksheet when there is
// none, HiddenSheet when it is hidden, BeyondLimit past sheet_limits' counts of sheets and
// relationships, or one of reading the parts on the way.
[[nodiscard]] SheetResult FindWorkbookParts(const ZipArchive& archive, WorkbookParts& parts);

// A relationship's target, relative to the folder of the part that has it (or absolute with
// a leading "/"), as a name in the archive; exposed for the tests.
[[nodiscard]] std::string ResolvePartName(const std::string& sourcePart, const std::string& target);

} // namespace rw

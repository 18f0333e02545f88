#pragma once

// The open table written out as CSV or a workbook: every row in its current order, which is
// the order a save would write, so an export of the table and one of the file it saves are
// the same. Nothing is left behind in the target's place unless the whole export was written.

#include "csv/CsvExport.h"
#include "exchange/TransferFormat.h"
#include "sheet/SheetResult.h"
#include "table/RecordTable.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <system_error>

namespace rw {

struct ExportOutcome {
    bool written = false;
    bool cancelled = false;
    std::error_code error; // the system's reason, when neither and sheet has none
    SheetResult sheet; // a workbook's failure
    FormulaLikeNames formulaLike; // of a CSV written: names a spreadsheet may take for formulas
};

// Told how many rows are written so far; false stops the export.
using RowProgress = std::function<bool(std::size_t rowsDone)>;

[[nodiscard]] ExportOutcome ExportTable(const RecordTable& table, const std::filesystem::path& path,
                                        TransferFormat format, const RowProgress& keepGoing);

} // namespace rw

#pragma once

// A CSV or a workbook read into records of one kind, with the same reader and checks as the
// command line's import. A workbook is known by its name (".xlsx") or its first bytes (every
// .xlsx is a zip archive); anything else is CSV, whose names are read as UTF-8 (a byte-order
// mark skipped) unless they are not UTF-8 at all, when the file is read again as GBK.

#include "csv/RowImporter.h"
#include "sheet/SheetResult.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>

namespace rw {

enum class ImportFailure : std::uint8_t {
    None,       // read: the importer says whether its records can be used
    Cancelled,
    CannotRead, // error: the system's reason
    NotAFile,   // a folder, a device or a pipe
    Sheet,      // the workbook was refused: sheet says why
};

struct ImportReading {
    ImportFailure failure = ImportFailure::None;
    std::error_code error;
    SheetResult sheet;
    std::unique_ptr<RowImporter> importer; // finished, when nothing failed
    bool workbook = false;
    bool gbkNames = false; // a CSV whose names were read as GBK

    [[nodiscard]] bool Read() const { return failure == ImportFailure::None; }
};

// Told the work done and the whole of it; false cancels.
using ImportProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// keepNames: see RowImporter::SetKeepNames.
[[nodiscard]] ImportReading ReadTableFile(const std::filesystem::path& path, FileKind kind, bool keepNames,
                                          const ImportProgress& keepGoing);

// The kind whose column titles a refused header (CsvIssue::BadHeader's text) starts with, or
// None.
[[nodiscard]] FileKind KindOfHeader(std::string_view header);

} // namespace rw

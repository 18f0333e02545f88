#include "sheet/SheetReader.h"

#include "system/Platform.h"
#include "sheet/SharedStringsReader.h"
#include "sheet/SheetLimits.h"
#include "sheet/StringPool.h"
#include "sheet/WorkbookParts.h"
#include "sheet/WorksheetRows.h"
#include "sheet/XmlPart.h"
#include "sheet/ZipArchive.h"

#include <new>

namespace rw {
namespace {

[[nodiscard]] SheetResult ReadOpenArchive(const ZipArchive& archive, RowImporter& importer, const SheetProgress& progress)
{
    WorkbookParts parts;
    if (SheetResult found = FindWorkbookParts(archive, parts); !found.Ok()) return found;

    const std::uint64_t total = parts.worksheet.size + (parts.sharedStrings ? parts.sharedStrings->size : 0);
    std::uint64_t done = 0;
    const auto report = [&](std::uint64_t unpacked) { return !progress || progress(done + unpacked, total); };

    StringPool strings;
    if (parts.sharedStrings) {
        SharedStringsReader reader(strings);
        SheetResult read = ReadXmlPart(archive, *parts.sharedStrings, sheet_limits::kMaxSharedStringsXmlBytes, reader,
                                       reader.Failure(), report);
        if (!read.Ok()) return read;
        done += parts.sharedStrings->size;
    }
    WorksheetRows rows(strings, importer);
    SheetResult read = ReadXmlPart(archive, parts.worksheet, sheet_limits::kMaxWorksheetBytes, rows, rows.Failure(), report);
    if (!read.Ok()) return read;
    importer.FinishFields();
    if (progress) (void)progress(total, total);
    return {};
}

[[nodiscard]] SheetResult ReadArchive(const ZipArchive& archive, RowImporter& importer, const SheetProgress& progress)
{
    if (!archive.IsOpen()) return archive.Failure();
    // The parser's own memory running out is caught where it happens; this is the rest (the
    // shared strings, the records kept, the lists of the workbook's parts).
    try {
        return ReadOpenArchive(archive, importer, progress);
    } catch (const std::bad_alloc&) {
        SheetResult result;
        result.failure = SheetFailure::OutOfMemory;
        return result;
    }
}

} // namespace

SheetResult ReadRecordSheet(const std::string& path, RowImporter& importer, const SheetProgress& progress)
{
    // Opened first for the system's own reason when it cannot be, in the words every other
    // file of the program is refused with.
    const InputFile file(PathFromUtf8(path), InputFile::Accept::RegularFile);
    if (!file.IsOpen()) {
        SheetResult result;
        result.failure = SheetFailure::CannotRead;
        if (!file.IsNotRegularFile()) result.detail = SystemText(file.Error());
        return result;
    }
    return ReadArchive(ZipArchive(path), importer, progress);
}

SheetResult ReadRecordSheet(std::span<const std::uint8_t> bytes, RowImporter& importer, const SheetProgress& progress)
{
    return ReadArchive(ZipArchive(bytes), importer, progress);
}

} // namespace rw

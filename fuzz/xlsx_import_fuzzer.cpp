// The worksheet reader over any bytes. First byte: the kind; second: odd for a whole .xlsx
// file, even for bare XML (shared strings, a NUL, then the worksheet), which reaches the row
// reading without the zip archive's checksums in the way, read whole and in two pieces cut
// where the second byte says. Names pass through as bytes.

#include "fuzz/FuzzCheck.h"
#include "csv/RowImporter.h"
#include "data/PassThroughNames.h"
#include "sheet/SharedStringsReader.h"
#include "sheet/SheetReader.h"
#include "sheet/WorksheetRows.h"
#include "sheet/XmlStream.h"

#include <string>

namespace {

using namespace rw;

struct Outcome {
    bool xmlOk = false;
    SheetFailure failure = SheetFailure::None;
    bool finished = false;
    bool importOk = false;
    std::size_t errors = 0;
    std::size_t records = 0;
    std::size_t nameChanges = 0;
    bool operator==(const Outcome&) const = default;
};

// The XML read through the worksheet's handlers, the worksheet cut at cut.
Outcome ReadXml(FileKind kind, std::string_view strings, std::string_view sheet, std::size_t cut)
{
    const PassThroughNames names;
    StringPool pool;
    SharedStringsReader stringsReader(pool);
    XmlStream stringsXml(stringsReader);
    Outcome outcome;
    if (!stringsXml.Feed(strings, true)) return outcome;
    RowImporter importer(kind, names);
    WorksheetRows rows(pool, importer);
    XmlStream sheetXml(rows);
    outcome.xmlOk = sheetXml.Feed(sheet.substr(0, cut), false) && sheetXml.Feed(sheet.substr(cut), true);
    outcome.failure = rows.Failure().failure;
    if (outcome.xmlOk) importer.FinishFields();
    outcome.finished = importer.Finished();
    outcome.importOk = importer.Ok();
    outcome.errors = importer.ErrorCount();
    outcome.records = importer.Records().Count();
    outcome.nameChanges = importer.NameChangeCount();
    Require(importer.Errors().size() <= std::min(importer.ErrorCount(), RowImporter::kMaxErrors));
    Require(importer.NameChanges().size() <= importer.NameChangeCount());
    if (!importer.Ok()) Require(importer.Records().Count() == 0);
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const FileKind kind = FileKindFromInt(data[0] % 3);
    const std::span<const std::uint8_t> rest(data + 2, size - 2);

    if (data[1] % 2 == 1) {
        const PassThroughNames names;
        RowImporter importer(kind, names);
        std::uint64_t last = 0;
        const SheetResult read = ReadRecordSheet(rest, importer, [&](std::uint64_t done, std::uint64_t) {
            Require(done >= last);
            last = done;
            return true;
        });
        if (read.Ok()) Require(importer.Finished());
        if (importer.Ok()) Require(read.Ok());
        return 0;
    }

    const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());
    const std::size_t nul = text.find('\0');
    const std::string_view strings = nul == std::string_view::npos ? std::string_view("<sst/>") : text.substr(0, nul);
    const std::string_view sheet = nul == std::string_view::npos ? text : text.substr(nul + 1);
    const Outcome whole = ReadXml(kind, strings, sheet, sheet.size());
    const Outcome pieces = ReadXml(kind, strings, sheet, sheet.size() * data[1] / 255);
    // Where the XML is cut changes nothing of what is read.
    Require(whole == pieces);
    return 0;
}

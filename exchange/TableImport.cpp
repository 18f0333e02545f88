#include "exchange/TableImport.h"

#include "csv/CsvFeed.h"
#include "data/PassThroughNames.h"
#include "system/Platform.h"
#include "data/Schema.h"
#include "exchange/TransferFormat.h"
#include "sheet/SheetReader.h"
#include "text/Utf8NameTranscoder.h"

#include <algorithm>
#include <array>

namespace rw {
namespace {

const Utf8NameTranscoder kUtf8Names;
const PassThroughNames kGbkNames;

[[nodiscard]] bool StartsLikeZip(const std::filesystem::path& path)
{
    InputFile input(path, InputFile::Accept::RegularFile);
    std::array<std::uint8_t, 4> start{};
    const std::optional<std::size_t> got = input.IsOpen() ? input.ReadAt(start, 0) : std::nullopt;
    return got && *got == start.size() && start == std::array<std::uint8_t, 4>{'P', 'K', 3, 4};
}

ImportReading ReadWorkbook(const std::filesystem::path& path, FileKind kind, bool keepNames,
                           const ImportProgress& keepGoing)
{
    ImportReading reading;
    reading.workbook = true;
    reading.importer = std::make_unique<RowImporter>(kind, kUtf8Names);
    reading.importer->SetKeepNames(keepNames);
    reading.sheet = ReadRecordSheet(path.string(), *reading.importer, keepGoing);
    if (reading.sheet.failure == SheetFailure::Cancelled) reading.failure = ImportFailure::Cancelled;
    else if (!reading.sheet.Ok()) reading.failure = ImportFailure::Sheet;
    return reading;
}

ImportReading ReadCsv(const std::filesystem::path& path, FileKind kind, bool keepNames, const NameTranscoder& names,
                      const ImportProgress& keepGoing)
{
    ImportReading reading;
    InputFile input(path, InputFile::Accept::RegularFile);
    if (!input.IsOpen()) {
        reading.failure = input.IsNotRegularFile() ? ImportFailure::NotAFile : ImportFailure::CannotRead;
        reading.error = input.Error();
        return reading;
    }
    const std::uint64_t size = input.Stamp().size;
    reading.importer = std::make_unique<RowImporter>(kind, names);
    reading.importer->SetKeepNames(keepNames);
    const FeedResult fed = FeedCsv(input, true, *reading.importer, [&](std::uint64_t bytesRead) {
        return !keepGoing || keepGoing(bytesRead, size);
    });
    if (fed == FeedResult::Cancelled) reading.failure = ImportFailure::Cancelled;
    if (fed == FeedResult::ReadFailed) {
        reading.failure = ImportFailure::CannotRead;
        reading.error = input.Error();
    }
    return reading;
}

[[nodiscard]] bool NamesNotUtf8(const RowImporter& importer)
{
    return std::any_of(importer.Errors().begin(), importer.Errors().end(),
                       [](const CsvIssue& issue) { return issue.kind == CsvIssue::Kind::NameNotWellFormed; });
}

} // namespace

ImportReading ReadTableFile(const std::filesystem::path& path, FileKind kind, bool keepNames,
                            const ImportProgress& keepGoing)
{
    if (NamesWorkbook(path.string()) || StartsLikeZip(path)) return ReadWorkbook(path, kind, keepNames, keepGoing);
    ImportReading reading = ReadCsv(path, kind, keepNames, kUtf8Names, keepGoing);
    // Names that are no UTF-8 are most likely GBK, as a CSV saved on Chinese Windows has them.
    if (reading.Read() && NamesNotUtf8(*reading.importer)) {
        ImportReading again = ReadCsv(path, kind, keepNames, kGbkNames, keepGoing);
        again.gbkNames = true;
        if (!again.Read() || again.importer->Ok()) return again;
    }
    return reading;
}

FileKind KindOfHeader(std::string_view header)
{
    for (const FileKind kind : kAllKinds) {
        const RecordSchema& schema = SchemaOf(kind);
        const std::string_view id = schema.Column(kIdColumn).title;
        const std::string_view name = schema.Column(kNameColumn).title;
        if (header.starts_with(id) && header.size() > id.size() && header.substr(id.size() + 1).starts_with(name)) {
            return kind;
        }
    }
    return FileKind::None;
}

} // namespace rw

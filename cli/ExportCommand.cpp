#include "cli/CliText.h"
#include "cli/CommandOutput.h"
#include "cli/Commands.h"
#include "cli/NameTextChoice.h"
#include "cli/SheetText.h"
#include "data/CsvExport.h"
#include "data/CsvTokenizer.h"
#include "data/DataFile.h"
#include "resources/Strings.h"
#include "sheet/SheetWriter.h"

#include <optional>

namespace rw {
namespace {

// Warnings about what the export leaves out or makes up.
void WarnOfGaps(const std::string& dataFile, const DecodeReport& report)
{
    if (report.Truncated()) {
        Complain(Format<str::kCliTruncatedFormat>(dataFile, static_cast<long long>(report.announcedCount),
                        static_cast<long long>(report.recordsPresent)));
    }
    if (report.trailingBytes > 0) {
        Complain(Format<str::kCliTrailingBytesFormat>(dataFile, static_cast<long long>(report.trailingBytes),
                        static_cast<long long>(report.announcedCount)));
    }
}

// The records as a worksheet; the exit status.
[[nodiscard]] int ExportSheet(const std::string& output, const DataFileChoice& choice, const DecodedRecords& decoded)
{
    const SheetResult written = WriteRecordSheet(output, choice.kind, decoded.Count(),
                                                 [&](std::size_t i) { return decoded.RecordAt(i); },
                                                 NamesFor(CsvEncoding::Utf8), {});
    if (written.Ok()) return kExitOk;
    Complain(DescribeSheetFailure(output, written));
    return kExitBadData;
}

} // namespace

int RunExport(const CliOptions& options)
{
    const std::string& dataFile = options.files.front();
    const std::optional<DataFileChoice> choice = ChooseDataFile(options, dataFile);
    if (!choice) return kExitBadUsage;
    const bool toStdout = !options.output || *options.output == "-";
    const bool sheet = FormatOf(options, toStdout ? "" : *options.output) == TableFormat::Xlsx;
    if (sheet && (toStdout || options.encoding != CsvEncoding::Utf8)) {
        Complain(toStdout ? str::kCliXlsxNotToStdout : str::kCliXlsxEncoding);
        return kExitBadUsage;
    }
    CommandOutput output(options.output);
    if (output.IsTheInput(dataFile)) return kExitBadUsage;
    const std::optional<DecodedRecords> read = ReadOrComplain(dataFile, *choice);
    if (!read) return kExitBadData;
    const DecodedRecords& decoded = *read;
    WarnOfGaps(dataFile, decoded.report);
    if (sheet) return ExportSheet(*options.output, *choice, decoded);

    if (!output.Open()) return kExitBadData;
    const CsvExporter exporter(choice->kind, NamesFor(options.encoding));
    const std::string_view bom = options.encoding == CsvEncoding::Utf8Bom ? kUtf8ByteOrderMark : std::string_view{};
    const bool made = output.Put(bom) && exporter.Export(decoded.bytes, [&](std::string_view piece) { return output.Put(piece); });
    return output.Finish() && made ? kExitOk : kExitBadData;
}

} // namespace rw

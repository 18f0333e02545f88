#include "cli/CliText.h"
#include "cli/CommandOutput.h"
#include "cli/Commands.h"
#include "cli/NameTextChoice.h"
#include "cli/SheetText.h"
#include "csv/CsvExport.h"
#include "csv/CsvTokenizer.h"
#include "data/DataFile.h"
#include "resources/Strings.h"
#include "sheet/SheetWriter.h"
#include "text/GbkTable.h"

#include <optional>

namespace rw {
namespace {

// Records read and written at a time by an export: about a megabyte of them.
constexpr std::size_t kPieceRecords = 4096;

// Once for the whole CSV: names a spreadsheet opening it may take for formulas.
void WarnOfFormulas(const std::string& csv, const FormulaLikeNames& names)
{
    if (names.count == 0) return;
    std::string name;
    GbkTable::Instance().AppendUtf8(names.firstName, name);
    Complain(Format<str::kCliFormulaNamesFormat>(csv, static_cast<long long>(names.count),
                                                 static_cast<long long>(names.firstId), name));
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
    const std::optional<KindFits> fits = ExamineOrComplain(dataFile);
    if (!fits) return kExitBadData;
    const ChosenDataFile chosen = ChooseDataFile(options, dataFile, *fits);
    if (!chosen.choice) return chosen.status;
    const std::optional<DataFileChoice>& choice = chosen.choice;
    if (!FitsOrComplain(dataFile, *fits, choice->kind)) return kExitBadData;
    const bool toStdout = !options.output || *options.output == "-";
    const bool sheet = FormatOf(options, toStdout ? "" : *options.output) == TableFormat::Xlsx;
    if (sheet && (toStdout || options.encoding != CsvEncoding::Utf8)) {
        Complain(toStdout ? str::kCliXlsxNotToStdout : str::kCliXlsxEncoding);
        return kExitBadUsage;
    }
    CommandOutput output(options.output);
    if (output.IsTheInput(dataFile)) return kExitBadUsage;
    if (sheet) {
        const std::optional<DecodedRecords> read = ReadOrComplain(dataFile, *choice);
        if (!read) return kExitBadData;
        WarnOfGaps(dataFile, read->report, choice->kind, GapUse::Export);
        return ExportSheet(*options.output, *choice, *read);
    }

    // A piece of the records at a time, read into the same buffer, so that memory stays the
    // same whatever the file's size.
    DataFileReader reader(PathFromUtf8(dataFile), choice->kind, choice->key);
    if (!reader.Report().loaded) {
        ComplainOfLoadFailure(dataFile, reader.Report());
        return kExitBadData;
    }
    WarnOfGaps(dataFile, reader.Report(), choice->kind, GapUse::Export);
    if (!output.Open()) return kExitBadData;
    CsvExporter exporter(choice->kind, NamesFor(options.encoding));
    const std::string_view bom = options.encoding == CsvEncoding::Utf8Bom ? kUtf8ByteOrderMark : std::string_view{};
    std::string header;
    exporter.AppendHeader(header);
    const auto sink = [&](std::string_view piece) { return output.Put(piece); };
    bool made = output.Put(bom) && output.Put(header);
    PageBuffer records(kPieceRecords * SchemaOf(choice->kind).recordSize);
    while (made) {
        const std::optional<std::size_t> n = reader.ReadRecords(records);
        if (!n) {
            // Not finished, so the output file is not put in place.
            ComplainOfLoadFailure(dataFile, reader.Report());
            return kExitBadData;
        }
        if (*n == 0) break;
        made = exporter.ExportRows({records.data(), *n * SchemaOf(choice->kind).recordSize}, sink);
    }
    if (!output.Finish() || !made) return kExitBadData;
    WarnOfFormulas(output.ShownName(), exporter.FormulaLike());
    return kExitOk;
}

} // namespace rw

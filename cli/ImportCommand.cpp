#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/ImportTarget.h"
#include "cli/NameTextChoice.h"
#include "cli/SheetText.h"
#include "csv/CsvFeed.h"
#include "csv/CsvMessage.h"
#include "data/DataFile.h"
#include "system/Platform.h"
#include "csv/RowImporter.h"
#include "resources/Strings.h"
#include "sheet/SheetReader.h"
#include "text/GbkTable.h"

namespace rw {
namespace {

// The quoted field for a message, as UTF-8 whatever the CSV's encoding.
[[nodiscard]] std::string AsUtf8(const std::string& text, CsvEncoding encoding)
{
    if (encoding != CsvEncoding::Gbk) return text;
    std::string utf8;
    GbkTable::Instance().AppendUtf8(text, utf8);
    return utf8;
}

// The program's words for each CSV message, in CsvMessageId's order.
constexpr const char* kCsvFormats[kCsvMessageCount] = {
    str::kCsvNoHeader,           str::kCsvSheetNoHeader,           str::kCsvBadHeaderFormat,
    str::kCsvBadAnyHeaderFormat, str::kCsvQuoteInsideField,        str::kCsvTextAfterQuote,
    str::kCsvUnclosedQuote,      str::kCsvStrayCarriageReturn,     str::kCsvRowTooLongFormat,
    str::kCsvFieldCountFormat,   str::kCsvBadNumberFormat,         str::kCsvBadRawFormat,
    str::kCsvNameNotWellFormedFormat, str::kCsvNameNotEncodedFormat, str::kCsvNameTooLongFormat,
    str::kCsvDuplicateIdFormat,  str::kCsvTooManyRecords,          str::kCsvNoRawColumn,
    str::kCsvFirstMonsterIdFormat, str::kCsvNoRecords,             str::kCsvWrongCellTypeFormat,
};

// Whether format's conversions (%s, %lld) take the arguments signature names ('t', 'n').
[[nodiscard]] constexpr bool FollowsSignature(std::string_view format, std::string_view signature)
{
    // Indexes rather than find(): a sanitizer's build cannot evaluate find's pointer test at compile time.
    const auto at = [&](std::size_t i, std::string_view text) { return format.substr(i, text.size()) == text; };
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (at(i + 1, "%")) {
            ++i;
            continue;
        }
        const char wanted = at(i + 1, "lld") ? 'n' : at(i + 1, "s") ? 't' : '?';
        if (next == signature.size() || signature[next++] != wanted) return false;
        i += wanted == 'n' ? 3 : 1;
    }
    return next == signature.size();
}

static_assert([] {
    for (std::size_t id = 0; id < kCsvMessageCount; ++id) {
        if (!FollowsSignature(kCsvFormats[id], Signature(static_cast<CsvMessageId>(id)))) return false;
    }
    return true;
}());

[[nodiscard]] const char* CellTypeText(CellType type)
{
    switch (type) {
    case CellType::Number: return str::kCsvCellNumber;
    case CellType::Boolean: return str::kCsvCellBoolean;
    case CellType::Error: return str::kCsvCellError;
    case CellType::Formula: return str::kCsvCellFormula;
    case CellType::Date:
    case CellType::Text: break;
    }
    return str::kCsvCellDate;
}

// The start of every kind's header, for a header that is none of them.
[[nodiscard]] std::string AnyHeaderTitles()
{
    std::vector<std::string> starts;
    for (const FileKind kind : kAllKinds) {
        const RecordSchema& schema = SchemaOf(kind);
        starts.push_back(Format<str::kCsvHeaderStartFormat>(schema.Column(kIdColumn).title, schema.Column(kNameColumn).title,
                                                            schema.fileName));
    }
    return ListOf({starts.begin(), starts.end()}, " or ");
}

[[nodiscard]] std::string ArgumentText(const CsvMessageArgument& argument, CsvEncoding encoding)
{
    switch (argument.kind) {
    case CsvMessageArgument::Kind::Quote: return AsUtf8(argument.text, encoding);
    case CsvMessageArgument::Kind::CellType: return CellTypeText(argument.cellType);
    case CsvMessageArgument::Kind::HeaderStarts: return AnyHeaderTitles();
    case CsvMessageArgument::Kind::Text:
    case CsvMessageArgument::Kind::Number: break;
    }
    return argument.text;
}

// kind: the importer's, None when no header told it.
[[nodiscard]] std::string Describe(const CsvIssue& issue, FileKind kind, CsvEncoding encoding, bool sheet)
{
    const CsvMessage message = MessageOf(issue, kind, sheet);
    std::string text;
    std::string_view format = kCsvFormats[static_cast<std::size_t>(message.id)];
    for (const CsvMessageArgument& argument : message.arguments) {
        detail::AppendUpToConversion(text, format);
        if (argument.kind == CsvMessageArgument::Kind::Number) {
            detail::AppendArgument(text, static_cast<long long>(argument.number));
        } else {
            detail::AppendArgument(text, ArgumentText(argument, encoding));
        }
    }
    detail::AppendUpToConversion(text, format);
    return message.inHeader ? Format<str::kCsvInHeaderFormat>(text) : text;
}

void Report(const std::string& csv, const CsvIssue& issue, FileKind kind, CsvEncoding encoding, bool sheet)
{
    const std::string where = issue.column > 0 ? Format<str::kCliWhereLineColumnFormat>(csv, static_cast<long long>(issue.line),
                                                        static_cast<long long>(issue.column))
                                               : Format<str::kCliWhereLineFormat>(csv, static_cast<long long>(issue.line));
    Complain(where, Describe(issue, kind, encoding, sheet));
}

// Every name that differs from its Raw's, then how many there were: a spreadsheet that
// reinterpreted names would otherwise rename records without a word.
void ReportNameChanges(const std::string& table, const RowImporter& importer, CsvEncoding encoding)
{
    for (const NameChange& change : importer.NameChanges()) {
        const std::string where = Format<str::kCliWhereLineColumnFormat>(table, static_cast<long long>(change.line),
                                                                         static_cast<long long>(kNameColumn + 1));
        const std::string stored = AsUtf8(change.storedText, encoding);
        const std::string text = AsUtf8(change.newText, encoding);
        Complain(where, importer.KeepsNames() ? Format<str::kCliNameKeptFormat>(static_cast<long long>(change.id), stored, text)
                                              : Format<str::kCliNameChangedFormat>(static_cast<long long>(change.id), stored, text));
    }
    const std::size_t count = importer.NameChangeCount();
    if (count > importer.NameChanges().size()) {
        Complain(Format<str::kCliMoreNameChangesFormat>(table, static_cast<long long>(count - importer.NameChanges().size())));
    }
    if (count == 0) return;
    Complain(importer.KeepsNames() ? Format<str::kCliNamesKeptFormat>(table, static_cast<long long>(count))
                                   : Format<str::kCliNamesChangedFormat>(table, static_cast<long long>(count)));
}

[[nodiscard]] InputFile OpenCsv(const std::string& csv)
{
    return csv == "-" ? InputFile::StandardInput() : InputFile(PathFromUtf8(csv), InputFile::Accept::AnyReadable);
}

// Reads the CSV or worksheet into the importer; false, having said why, when it could not.
[[nodiscard]] bool Read(const std::string& table, bool sheet, CsvEncoding encoding, RowImporter& importer)
{
    if (sheet) {
        const SheetResult read = ReadRecordSheet(table, importer, {});
        if (read.Ok()) return true;
        Complain(DescribeSheetFailure(table, read));
        return false;
    }
    InputFile input = OpenCsv(table);
    if (!input.IsOpen()) {
        Complain(Format<str::kCliCannotReadFormat>(table,
                        input.IsNotRegularFile() ? std::string(str::kCliIsFolder) : SystemText(input.Error())));
        return false;
    }
    if (FeedCsv(input, encoding != CsvEncoding::Gbk, importer, {}) == FeedResult::Done) return true;
    Complain(Format<str::kCliCannotReadFormat>(table, SystemText(input.Error())));
    return false;
}

} // namespace

int RunImport(const CliOptions& options)
{
    const std::string& csv = options.files.front();
    const std::string& target = *options.output;
    // --kind, or the name; a name that tells none (standard output's "-" included) takes the
    // kind whose titles the header holds.
    const FileKind named = options.kind != FileKind::None ? options.kind : KindByName(target);
    const bool sheet = FormatOf(options, csv) == TableFormat::Xlsx;
    if (sheet && (csv == "-" || options.encoding != CsvEncoding::Utf8)) {
        Complain(csv == "-" ? str::kCliXlsxNotFromStdin : str::kCliXlsxEncoding);
        return kExitBadUsage;
    }
    if (SameFile(IdentityOf(csv, kStandardInput), IdentityOf(target, kStandardOutput))) {
        Complain(csv == "-" ? Format<str::kCliStdinIsOutputFormat>(target) : Format<str::kCliOutputIsInputFormat>(target));
        return kExitBadUsage;
    }

    RowImporter importer(named, NamesFor(options.encoding));
    importer.SetKeepNames(options.keepNames);
    // The records go out as they are read, so that memory stays the same whatever the table's
    // size; the file takes the target's place only if all went well.
    ImportTarget output(options, target);
    importer.SetRecordSink([&](std::span<const std::uint8_t> record) {
        if (!output.IsOpen()) output.Open(importer.Kind());
        output.Append(record);
    });
    if (!Read(csv, sheet, options.encoding, importer)) return kExitBadData;
    if (named == FileKind::None && importer.Kind() != FileKind::None) {
        Complain(Format<str::kCliKindByHeaderFormat>(target, KindWord(importer.Kind()),
                                                     sheet ? str::kCliTheWorksheet : str::kCliTheCsv));
    }

    const FileKind kind = importer.Kind();
    for (const CsvIssue& issue : importer.Errors()) Report(csv, issue, kind, options.encoding, sheet);
    if (!importer.Ok()) {
        const std::size_t hidden = importer.ErrorCount() - importer.Errors().size();
        if (hidden > 0) Complain(Format<str::kCliMoreErrorsFormat>(csv, static_cast<long long>(hidden)));
        Complain(Format<str::kCliNotWrittenFormat>(target, static_cast<long long>(importer.ErrorCount()), csv));
        return kExitBadData;
    }
    // Without records the file would open nowhere: only on request, and then with a warning.
    const bool refuseEmpty = importer.RecordCount() == 0 && !options.allowEmpty;
    for (const CsvIssue& warning : importer.Warnings()) {
        if (!(refuseEmpty && warning.kind == CsvIssue::Kind::NoRecords)) Report(csv, warning, kind, options.encoding, sheet);
    }
    if (refuseEmpty) {
        Complain(Format<str::kCliEmptyNotWrittenFormat>(target, csv));
        return kExitBadData;
    }
    ReportNameChanges(csv, importer, options.encoding);
    if (!output.IsOpen()) output.Open(kind);
    return output.Finish();
}

} // namespace rw

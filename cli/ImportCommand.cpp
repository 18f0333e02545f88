#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/ImportTarget.h"
#include "cli/NameTextChoice.h"
#include "cli/SheetText.h"
#include "data/CsvFeed.h"
#include "data/CsvImport.h"
#include "data/DataFile.h"
#include "data/Platform.h"
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

[[nodiscard]] std::string HeaderTitles(const RecordSchema& schema)
{
    std::string titles;
    for (const ColumnSpec& column : schema.columns) {
        if (!titles.empty()) titles.push_back(',');
        titles.append(column.title);
    }
    return titles;
}

[[nodiscard]] std::string SyntaxText(CsvSyntax syntax)
{
    switch (syntax) {
    case CsvSyntax::QuoteInsideField: return str::kCsvQuoteInsideField;
    case CsvSyntax::TextAfterQuote: return str::kCsvTextAfterQuote;
    case CsvSyntax::UnclosedQuote: return str::kCsvUnclosedQuote;
    case CsvSyntax::RowTooLong:
        return Format<str::kCsvRowTooLongFormat>(static_cast<long long>(CsvTokenizer::kMaxRowBytes));
    case CsvSyntax::StrayCarriageReturn:
    case CsvSyntax::None: break;
    }
    return str::kCsvStrayCarriageReturn;
}

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

// kind: the importer's, None when no header told it.
[[nodiscard]] std::string Describe(const CsvIssue& issue, FileKind kind, CsvEncoding encoding, bool sheet)
{
    const std::string text = AsUtf8(issue.text, encoding);
    if (!IsDataKind(kind)) {
        // Nothing but the header was read.
        if (issue.kind == CsvIssue::Kind::BadHeader) return Format<str::kCsvBadAnyHeaderFormat>(AnyHeaderTitles(), text);
        kind = FileKind::Item;
    }
    const RecordSchema& schema = SchemaOf(kind);
    const std::string title = issue.column >= 1 && issue.column <= schema.ColumnCount()
                                  ? std::string(schema.Column(issue.column - 1).title)
                                  : std::string("Raw");
    switch (issue.kind) {
    case CsvIssue::Kind::NoHeader: return sheet ? str::kCsvSheetNoHeader : str::kCsvNoHeader;
    case CsvIssue::Kind::BadHeader:
        return Format<str::kCsvBadHeaderFormat>(schema.fileName, HeaderTitles(schema), text);
    case CsvIssue::Kind::Syntax:
        return issue.inHeader ? Format<str::kCsvInHeaderFormat>(SyntaxText(issue.syntax))
                              : SyntaxText(issue.syntax);
    case CsvIssue::Kind::FieldCount:
        return Format<str::kCsvFieldCountFormat>(static_cast<long long>(issue.number),
                      static_cast<long long>(issue.expected));
    case CsvIssue::Kind::BadNumber: return Format<str::kCsvBadNumberFormat>(title, text);
    case CsvIssue::Kind::BadRaw:
        return Format<str::kCsvBadRawFormat>(text, 2 * static_cast<long long>(schema.recordSize));
    case CsvIssue::Kind::NameNotWellFormed: return Format<str::kCsvNameNotWellFormedFormat>(title, text);
    case CsvIssue::Kind::NameNotEncoded: return Format<str::kCsvNameNotEncodedFormat>(title, text);
    case CsvIssue::Kind::NameTooLong:
        return Format<str::kCsvNameTooLongFormat>(title, text, static_cast<long long>(issue.number),
                      static_cast<long long>(schema.nameCapacity));
    case CsvIssue::Kind::DuplicateId:
        return Format<str::kCsvDuplicateIdFormat>(title, static_cast<long long>(issue.number),
                      static_cast<long long>(issue.otherLine));
    case CsvIssue::Kind::TooManyRecords: return str::kCsvTooManyRecords;
    case CsvIssue::Kind::NoRawColumn: return str::kCsvNoRawColumn;
    case CsvIssue::Kind::FirstMonsterId: return Format<str::kCsvFirstMonsterIdFormat>(static_cast<long long>(issue.number));
    case CsvIssue::Kind::NoRecords: return str::kCsvNoRecords;
    case CsvIssue::Kind::WrongCellType: return Format<str::kCsvWrongCellTypeFormat>(title, text, CellTypeText(issue.cellType));
    }
    return {};
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
void ReportNameChanges(const std::string& table, const CsvImporter& importer, CsvEncoding encoding)
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
[[nodiscard]] bool Read(const std::string& table, bool sheet, CsvEncoding encoding, CsvImporter& importer)
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

    CsvImporter importer(named, NamesFor(options.encoding));
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

#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NameTextChoice.h"
#include "data/CsvImport.h"
#include "data/DataFile.h"
#include "data/Platform.h"
#include "resources/Strings.h"
#include "text/GbkTable.h"

#include <unistd.h>

#include <cassert>
#include <cstring>
#include <vector>

namespace rw {
namespace {

// Room for the part of a row the importer leaves untaken (always less than a row may be)
// and a good read after it.
constexpr std::size_t kBufferBytes = 4 * CsvTokenizer::kMaxRowBytes;

// Feeds the CSV to the importer through one buffer of fixed size until the importer has
// seen enough. False, with the input's error set, when reading failed.
[[nodiscard]] bool Feed(InputFile& input, bool skipBom, CsvImporter& importer)
{
    std::vector<char> buffer(kBufferBytes);
    std::size_t held = 0;
    bool first = true;
    while (!importer.Finished()) {
        assert(held < buffer.size()); // the importer leaves less than a row, a quarter of it
        const std::optional<std::size_t> got = input.Read({buffer.data() + held, buffer.size() - held});
        if (!got) return false;
        held += *got;
        const bool atEnd = *got == 0;
        std::size_t bom = 0;
        if (first) {
            if (held < kUtf8ByteOrderMark.size() && !atEnd) continue;
            first = false;
            if (skipBom && std::string_view(buffer.data(), held).starts_with(kUtf8ByteOrderMark)) bom = kUtf8ByteOrderMark.size();
        }
        const std::size_t used = bom + importer.Consume({buffer.data() + bom, held - bom}, atEnd);
        if (atEnd) break;
        std::memmove(buffer.data(), buffer.data() + used, held - used);
        held -= used;
    }
    return true;
}

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

[[nodiscard]] std::string Describe(const CsvIssue& issue, FileKind kind, CsvEncoding encoding)
{
    const RecordSchema& schema = SchemaOf(kind);
    const std::string title = issue.column >= 1 && issue.column <= schema.ColumnCount()
                                  ? std::string(schema.Column(issue.column - 1).title)
                                  : std::string("Raw");
    const std::string text = AsUtf8(issue.text, encoding);
    switch (issue.kind) {
    case CsvIssue::Kind::NoHeader: return str::kCsvNoHeader;
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
    }
    return {};
}

void Report(const std::string& csv, const CsvIssue& issue, FileKind kind, CsvEncoding encoding)
{
    const std::string where = issue.column > 0 ? Format<str::kCliWhereLineColumnFormat>(csv, static_cast<long long>(issue.line),
                                                        static_cast<long long>(issue.column))
                                               : Format<str::kCliWhereLineFormat>(csv, static_cast<long long>(issue.line));
    Complain(where, Describe(issue, kind, encoding));
}

[[nodiscard]] InputFile OpenCsv(const std::string& csv)
{
    return csv == "-" ? InputFile::StandardInput() : InputFile(csv, InputFile::Accept::AnyReadable);
}

} // namespace

int RunImport(const CliOptions& options)
{
    const std::string& csv = options.files.front();
    const std::string& target = *options.output;
    const std::optional<DataFileChoice> choice = ChooseDataFile(options, target);
    if (!choice) return kExitBadUsage;
    if (SameFile(IdentityOf(csv, STDIN_FILENO), IdentityOf(target, std::nullopt))) {
        Complain(csv == "-" ? Format<str::kCliStdinIsOutputFormat>(target) : Format<str::kCliOutputIsInputFormat>(target));
        return kExitBadUsage;
    }

    InputFile input = OpenCsv(csv);
    if (!input.IsOpen()) {
        Complain(Format<str::kCliCannotReadFormat>(csv,
                        input.IsNotRegularFile() ? std::string(str::kCliIsFolder) : SystemText(input.Error())));
        return kExitBadData;
    }
    CsvImporter importer(choice->kind, NamesFor(options.encoding));
    if (!Feed(input, options.encoding != CsvEncoding::Gbk, importer)) {
        Complain(Format<str::kCliCannotReadFormat>(csv, SystemText(input.Error())));
        return kExitBadData;
    }

    for (const CsvIssue& issue : importer.Errors()) Report(csv, issue, choice->kind, options.encoding);
    if (!importer.Ok()) {
        const std::size_t hidden = importer.ErrorCount() - importer.Errors().size();
        if (hidden > 0) Complain(Format<str::kCliMoreErrorsFormat>(csv, static_cast<long long>(hidden)));
        Complain(Format<str::kCliNotWrittenFormat>(target, static_cast<long long>(importer.ErrorCount()), csv));
        return kExitBadData;
    }
    const RecordStore& records = importer.Records();
    // Without records the file would open nowhere: only on request, and then with a warning.
    const bool refuseEmpty = records.Count() == 0 && !options.allowEmpty;
    for (const CsvIssue& warning : importer.Warnings()) {
        if (!(refuseEmpty && warning.kind == CsvIssue::Kind::NoRecords)) Report(csv, warning, choice->kind, options.encoding);
    }
    if (refuseEmpty) {
        Complain(Format<str::kCliEmptyNotWrittenFormat>(target, csv));
        return kExitBadData;
    }

    const WriteReport written = EncodeFile(target, choice->kind, choice->key, records.Count(),
                                           [&](std::size_t i, std::span<std::uint8_t> record) {
                                               const auto from = records.RecordAt(i);
                                               std::copy(from.begin(), from.end(), record.begin());
                                           });
    if (written.written) return kExitOk;
    Complain(Format<str::kCliCannotWriteFormat>(target, written.error));
    return kExitBadData;
}

} // namespace rw

#include "view/CsvMessages.h"

#include "csv/CsvMessage.h"
#include "data/Schema.h"
#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QStringList>

namespace rw {
namespace {

// The editor's words for each CSV message, in CsvMessageId's order; a worksheet without rows
// is said as an empty CSV is.
constexpr const char* kFormats[kCsvMessageCount] = {
    str::kCsvZhNoHeader,           str::kCsvZhNoHeader,           str::kCsvZhBadHeaderFormat,
    str::kCsvZhBadAnyHeaderFormat, str::kCsvZhQuoteInsideField,   str::kCsvZhTextAfterQuote,
    str::kCsvZhUnclosedQuote,      str::kCsvZhStrayCarriageReturn, str::kCsvZhRowTooLongFormat,
    str::kCsvZhFieldCountFormat,   str::kCsvZhBadNumberFormat,    str::kCsvZhBadRawFormat,
    str::kCsvZhNameNotWellFormedFormat, str::kCsvZhNameNotEncodedFormat, str::kCsvZhNameTooLongFormat,
    str::kCsvZhDuplicateIdFormat,  str::kCsvZhTooManyRecords,     str::kCsvZhNoRawColumn,
    str::kCsvZhFirstMonsterIdFormat, str::kCsvZhNoRecords,        str::kCsvZhWrongCellTypeFormat,
};

// The places %1 ... %9 of format, which must be all of 1 to their count.
[[nodiscard]] constexpr std::size_t PlacesIn(std::string_view format)
{
    // Indexes rather than find(): a sanitizer's build cannot evaluate find's pointer test at compile time.
    unsigned seen = 0;
    for (std::size_t at = 0; at + 1 < format.size(); ++at) {
        if (format[at] == '%' && format[at + 1] >= '1' && format[at + 1] <= '9') seen |= 1U << (format[at + 1] - '1');
    }
    std::size_t count = 0;
    while (seen & (1U << count)) ++count;
    return seen == (1U << count) - 1 ? count : kCsvMessageCount + 1;
}

static_assert([] {
    for (std::size_t id = 0; id < kCsvMessageCount; ++id) {
        if (PlacesIn(kFormats[id]) != Signature(static_cast<CsvMessageId>(id)).size()) return false;
    }
    return true;
}());

[[nodiscard]] QString CellTypeText(CellType type)
{
    switch (type) {
    case CellType::Number: return Text(str::kCsvZhCellNumber);
    case CellType::Boolean: return Text(str::kCsvZhCellBoolean);
    case CellType::Error: return Text(str::kCsvZhCellError);
    case CellType::Formula: return Text(str::kCsvZhCellFormula);
    case CellType::Date:
    case CellType::Text: break;
    }
    return Text(str::kCsvZhCellDate);
}

[[nodiscard]] QString ArgumentText(const CsvMessageArgument& argument)
{
    switch (argument.kind) {
    case CsvMessageArgument::Kind::Number: return QString::number(argument.number);
    case CsvMessageArgument::Kind::CellType: return CellTypeText(argument.cellType);
    case CsvMessageArgument::Kind::HeaderStarts: {
        QStringList names;
        for (const FileKind kind : kAllKinds) names.push_back(Text(SchemaOf(kind).fileName));
        return names.join(QChar(0x3001)); // 、
    }
    case CsvMessageArgument::Kind::Text:
    case CsvMessageArgument::Kind::Quote: break;
    }
    return Text(std::string_view(argument.text));
}

// The format's places filled in one pass, so that an argument holding "%2" stays as it is.
[[nodiscard]] QString Filled(const char* format, const QStringList& arguments)
{
    const QString text = Text(format);
    QString filled;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype place = i + 1 < text.size() && text[i] == QLatin1Char('%') ? text[i + 1].digitValue() - 1 : -1;
        if (place >= 0 && place < arguments.size()) {
            filled += arguments[place];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

[[nodiscard]] QString What(const CsvIssue& issue, FileKind kind)
{
    const CsvMessage message = MessageOf(issue, kind, false);
    QStringList arguments;
    for (const CsvMessageArgument& argument : message.arguments) arguments.push_back(ArgumentText(argument));
    const QString what = Filled(kFormats[static_cast<std::size_t>(message.id)], arguments);
    return message.inHeader ? Text(str::kCsvZhInHeaderFormat, what) : what;
}

} // namespace

QString DescribeCsvIssue(const CsvIssue& issue, FileKind kind)
{
    return issue.column > 0 ? Text(str::kCsvLineColumnFormat, issue.line, issue.column, What(issue, kind))
                            : Text(str::kCsvLineFormat, issue.line, What(issue, kind));
}

QString DescribeCsvErrors(const RowImporter& importer, FileKind kind)
{
    QStringList lines;
    for (const CsvIssue& issue : importer.Errors()) lines.push_back(DescribeCsvIssue(issue, kind));
    if (importer.ErrorCount() > importer.Errors().size()) {
        lines.push_back(Text(str::kCsvMoreErrorsFormat, importer.ErrorCount() - importer.Errors().size()));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace rw

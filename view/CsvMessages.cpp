#include "view/CsvMessages.h"

#include "data/Schema.h"
#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QStringList>

namespace rw {
namespace {

[[nodiscard]] QString SyntaxText(CsvSyntax syntax)
{
    switch (syntax) {
    case CsvSyntax::QuoteInsideField: return Text(str::kCsvZhQuoteInsideField);
    case CsvSyntax::TextAfterQuote: return Text(str::kCsvZhTextAfterQuote);
    case CsvSyntax::UnclosedQuote: return Text(str::kCsvZhUnclosedQuote);
    case CsvSyntax::RowTooLong: return Text(str::kCsvZhRowTooLongFormat, CsvTokenizer::kMaxRowBytes);
    case CsvSyntax::StrayCarriageReturn:
    case CsvSyntax::None: break;
    }
    return Text(str::kCsvZhStrayCarriageReturn);
}

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

[[nodiscard]] QString What(const CsvIssue& issue, FileKind kind)
{
    const RecordSchema& schema = SchemaOf(kind);
    const QString title = issue.column >= 1 && issue.column <= schema.ColumnCount()
                              ? Text(schema.Column(issue.column - 1).title)
                              : QStringLiteral("Raw");
    const QString text = Text(std::string_view(issue.text));
    switch (issue.kind) {
    case CsvIssue::Kind::NoHeader: return Text(str::kCsvZhNoHeader);
    case CsvIssue::Kind::BadHeader: {
        QStringList titles;
        for (const ColumnSpec& column : schema.columns) titles.push_back(Text(column.title));
        return Text(str::kCsvZhBadHeaderFormat, schema.fileName, titles.join(QLatin1Char(',')), text);
    }
    case CsvIssue::Kind::Syntax:
        return issue.inHeader ? Text(str::kCsvZhInHeaderFormat, SyntaxText(issue.syntax)) : SyntaxText(issue.syntax);
    case CsvIssue::Kind::FieldCount: return Text(str::kCsvZhFieldCountFormat, issue.number, issue.expected);
    case CsvIssue::Kind::BadNumber: return Text(str::kCsvZhBadNumberFormat, title, text);
    case CsvIssue::Kind::BadRaw: return Text(str::kCsvZhBadRawFormat, text, 2 * schema.recordSize);
    case CsvIssue::Kind::NameNotWellFormed: return Text(str::kCsvZhNameNotWellFormedFormat, title, text);
    case CsvIssue::Kind::NameNotEncoded: return Text(str::kCsvZhNameNotEncodedFormat, title, text);
    case CsvIssue::Kind::NameTooLong:
        return Text(str::kCsvZhNameTooLongFormat, title, text, issue.number, schema.nameCapacity);
    case CsvIssue::Kind::DuplicateId: return Text(str::kCsvZhDuplicateIdFormat, title, issue.number, issue.otherLine);
    case CsvIssue::Kind::TooManyRecords: return Text(str::kCsvZhTooManyRecords);
    case CsvIssue::Kind::NoRawColumn: return Text(str::kCsvZhNoRawColumn);
    case CsvIssue::Kind::FirstMonsterId: return Text(str::kCsvZhFirstMonsterIdFormat, issue.number);
    case CsvIssue::Kind::NoRecords: return Text(str::kCsvZhNoRecords);
    case CsvIssue::Kind::WrongCellType: return Text(str::kCsvZhWrongCellTypeFormat, title, text, CellTypeText(issue.cellType));
    }
    return {};
}

} // namespace

QString DescribeCsvIssue(const CsvIssue& issue, FileKind kind)
{
    return issue.column > 0 ? Text(str::kCsvLineColumnFormat, issue.line, issue.column, What(issue, kind))
                            : Text(str::kCsvLineFormat, issue.line, What(issue, kind));
}

QString DescribeCsvErrors(const CsvImporter& importer, FileKind kind)
{
    QStringList lines;
    for (const CsvIssue& issue : importer.Errors()) lines.push_back(DescribeCsvIssue(issue, kind));
    if (importer.ErrorCount() > importer.Errors().size()) {
        lines.push_back(Text(str::kCsvMoreErrorsFormat, importer.ErrorCount() - importer.Errors().size()));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace rw

#include "csv/CsvMessage.h"

#include "csv/CsvExport.h"
#include "csv/CsvTokenizer.h"
#include "data/Schema.h"

#include <cassert>

namespace rw {
namespace {

using Argument = CsvMessageArgument;

[[nodiscard]] Argument Words(std::string_view text) { return {Argument::Kind::Text, std::string(text), 0, CellType::Text}; }
[[nodiscard]] Argument Quote(const std::string& text) { return {Argument::Kind::Quote, text, 0, CellType::Text}; }
[[nodiscard]] Argument Number(std::int64_t number) { return {Argument::Kind::Number, {}, number, CellType::Text}; }

[[nodiscard]] std::string JoinedTitles(const RecordSchema& schema)
{
    std::string titles;
    for (const ColumnSpec& column : schema.columns) {
        if (!titles.empty()) titles.push_back(',');
        titles.append(column.title);
    }
    return titles;
}

[[nodiscard]] CsvMessageId SyntaxMessage(CsvSyntax syntax)
{
    switch (syntax) {
    case CsvSyntax::QuoteInsideField: return CsvMessageId::QuoteInsideField;
    case CsvSyntax::TextAfterQuote: return CsvMessageId::TextAfterQuote;
    case CsvSyntax::UnclosedQuote: return CsvMessageId::UnclosedQuote;
    case CsvSyntax::RowTooLong: return CsvMessageId::RowTooLong;
    case CsvSyntax::StrayCarriageReturn:
    case CsvSyntax::None: break;
    }
    return CsvMessageId::StrayCarriageReturn;
}

[[nodiscard]] CsvMessage Worded(CsvMessageId id, std::vector<Argument> arguments)
{
    return {id, false, std::move(arguments)};
}

} // namespace

CsvMessage MessageOf(const CsvIssue& issue, FileKind kind, bool sheet)
{
    using K = CsvIssue::Kind;
    using M = CsvMessageId;
    if (!IsDataKind(kind)) {
        // Nothing but the header was read.
        if (issue.kind == K::BadHeader) {
            return Worded(M::BadAnyHeader, {{Argument::Kind::HeaderStarts, {}, 0, CellType::Text}, Quote(issue.text)});
        }
        kind = FileKind::Item;
    }
    const RecordSchema& schema = SchemaOf(kind);
    // The column's title, or Raw's for the column after the table's.
    const Argument title = Words(issue.column >= 1 && issue.column <= schema.ColumnCount()
                                     ? schema.Column(issue.column - 1).title
                                     : kRawColumnTitle);
    CsvMessage message;
    switch (issue.kind) {
    case K::NoHeader: message = Worded(sheet ? M::SheetNoHeader : M::NoHeader, {}); break;
    case K::BadHeader:
        message = Worded(M::BadHeader, {Words(schema.fileName), Words(JoinedTitles(schema)), Quote(issue.text)});
        break;
    case K::Syntax:
        message = Worded(SyntaxMessage(issue.syntax), {});
        if (issue.syntax == CsvSyntax::RowTooLong) {
            message.arguments.push_back(Number(static_cast<std::int64_t>(CsvTokenizer::kMaxRowBytes)));
        }
        message.inHeader = issue.inHeader;
        break;
    case K::FieldCount: message = Worded(M::FieldCount, {Number(issue.number), Number(issue.expected)}); break;
    case K::BadNumber: message = Worded(M::BadNumber, {title, Quote(issue.text)}); break;
    case K::BadRaw: message = Worded(M::BadRaw, {Quote(issue.text), Number(2 * std::int64_t{schema.recordSize})}); break;
    case K::NameNotWellFormed: message = Worded(M::NameNotWellFormed, {title, Quote(issue.text)}); break;
    case K::NameNotEncoded: message = Worded(M::NameNotEncoded, {title, Quote(issue.text)}); break;
    case K::NameTooLong:
        message = Worded(M::NameTooLong,
                         {title, Quote(issue.text), Number(issue.number), Number(std::int64_t{schema.nameCapacity})});
        break;
    case K::DuplicateId:
        message = Worded(M::DuplicateId, {title, Number(issue.number), Number(static_cast<std::int64_t>(issue.otherLine))});
        break;
    case K::TooManyRecords: message = Worded(M::TooManyRecords, {}); break;
    case K::NoRawColumn: message = Worded(M::NoRawColumn, {}); break;
    case K::FirstMonsterId: message = Worded(M::FirstMonsterId, {Number(issue.number)}); break;
    case K::NoRecords: message = Worded(M::NoRecords, {}); break;
    case K::WrongCellType:
        message = Worded(M::WrongCellType,
                         {title, Quote(issue.text), {Argument::Kind::CellType, {}, 0, issue.cellType}});
        break;
    }
    assert(message.arguments.size() == Signature(message.id).size());
    return message;
}

} // namespace rw

#pragma once

// Which message tells of a CSV issue, and what fills it in: decided here once, so that the
// command line and the editor say the same thing about it, each from its own string table.
// Each message's arguments come in one order (Signature), which every program's format of it
// follows.

#include "csv/CsvIssue.h"
#include "data/FileKind.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

enum class CsvMessageId : std::uint8_t {
    NoHeader,            // a CSV
    SheetNoHeader,       // a worksheet
    BadHeader,           // the table's file name, its titles joined by commas, the header found
    BadAnyHeader,        // every kind's header start, the header found
    QuoteInsideField,
    TextAfterQuote,
    UnclosedQuote,
    StrayCarriageReturn,
    RowTooLong,          // the most bytes a row may take
    FieldCount,          // fields found, the header's fields
    BadNumber,           // column title, field
    BadRaw,              // field, the hexadecimal digits a Raw holds
    NameNotWellFormed,   // column title, name
    NameNotEncoded,      // column title, name
    NameTooLong,         // column title, name, its GBK bytes, the most that fit
    DuplicateId,         // column title, ID, the line it first stood on
    TooManyRecords,
    NoRawColumn,
    FirstMonsterId,      // the ID
    NoRecords,
    WrongCellType,       // column title, what the cell held, how it was stored
};
inline constexpr std::size_t kCsvMessageCount = static_cast<std::size_t>(CsvMessageId::WrongCellType) + 1;

// The arguments' kinds in order: 't' a text (Text, Quote, CellType, HeaderStarts), 'n' a number.
[[nodiscard]] constexpr std::string_view Signature(CsvMessageId id)
{
    constexpr std::string_view kSignatures[kCsvMessageCount] = {
        "", "", "ttt", "tt", "", "", "", "", "n", "nn", "tt", "tn", "tt", "tt", "ttnn", "tnn", "", "", "n", "", "ttt"};
    return kSignatures[static_cast<std::size_t>(id)];
}

struct CsvMessageArgument {
    enum class Kind : std::uint8_t {
        Text,         // UTF-8: a column title, a file name
        Quote,        // a field as the CSV holds it, in its encoding
        Number,
        CellType,     // cellType: a word of each program's own
        HeaderStarts, // the start of every kind's header, as each program words it
    };
    Kind kind = Kind::Text;
    std::string text;
    std::int64_t number = 0;
    CellType cellType = CellType::Text;
};

struct CsvMessage {
    CsvMessageId id = CsvMessageId::NoHeader;
    // A syntax error of the header: nothing after it could be read.
    bool inHeader = false;
    std::vector<CsvMessageArgument> arguments;
};

// kind: the importer's, None when no header told it. sheet: the rows came from a worksheet.
[[nodiscard]] CsvMessage MessageOf(const CsvIssue& issue, FileKind kind, bool sheet);

} // namespace rw

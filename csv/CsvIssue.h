#pragma once

// What an import of CSV text or of a worksheet's rows finds wrong, and the names it finds changed.

#include "csv/CsvTokenizer.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace rw {

// The most of a field an issue quotes.
inline constexpr std::size_t kMaxIssueQuoteBytes = 40;

// How a worksheet stored a cell. A CSV field is always Text; a name or Raw must be, since
// a spreadsheet that stored one as anything else has already changed it.
enum class CellType : std::uint8_t { Text, Number, Boolean, Error, Formula, Date };

struct CsvIssue {
    enum class Kind : std::uint8_t {
        // errors
        NoHeader,          // the text is empty
        BadHeader,         // text: the header found; kind None: no table's titles, asked for any
        Syntax,            // syntax: what is wrong
        FieldCount,        // number: fields found; expected: the header's fields
        BadNumber,         // text: the field
        BadRaw,            // text: the field
        NameNotWellFormed, // text: the name; reported once, for the first such name
        NameNotEncoded,    // text: the name
        NameTooLong,       // text: the name; number: its bytes
        DuplicateId,       // number: the ID; otherLine: where it first stood
        TooManyRecords,    // more than a signed 32-bit count can announce
        // warnings
        NoRawColumn,       // every record's bytes that no column shows will be zero
        FirstMonsterId,    // number: the ID the file cannot keep
        NoRecords,         // the file will hold a count of 0, which no one can open
        // errors of worksheets only
        WrongCellType,     // text: what the cell held; cellType: how it was stored
    };
    Kind kind = Kind::NoHeader;
    std::size_t line = 0;  // 1-based
    int column = 0;        // 1-based; 0 for the whole row
    CsvSyntax syntax = CsvSyntax::None;
    bool inHeader = false; // nothing after it was read: there is no way to read rows without it
    std::string text;      // shortened to kMaxIssueQuoteBytes
    std::int64_t number = 0;
    std::int64_t expected = 0;
    std::size_t otherLine = 0;
    CellType cellType = CellType::Text;
};

// A record whose name column says something else than the name its Raw bytes hold.
struct NameChange {
    std::size_t line = 0;    // 1-based
    std::int32_t id = 0;     // as the row gives it (0 when it is no number)
    std::string storedText;  // the Raw name's text, as the transcoder gives it
    std::string newText;     // the name column's text
};

} // namespace rw

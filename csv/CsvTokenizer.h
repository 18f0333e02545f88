#pragma once

// Splits comma-separated text (RFC 4180) into rows of fields, one row at a time, so that a
// file of any size can be read through a buffer of modest size. Rows end at LF or CRLF; a
// field holding a comma, quote, CR or LF is quoted, with its quotes doubled.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

enum class CsvSyntax : std::uint8_t {
    None,
    QuoteInsideField,    // a quote in a field that does not start with one
    TextAfterQuote,      // something other than a comma or a line end after a closing quote
    UnclosedQuote,       // the text ends inside a quoted field
    StrayCarriageReturn, // a CR outside quotes that is not part of a CRLF line end
    RowTooLong,          // no row end within CsvTokenizer::kMaxRowBytes
};

struct CsvField {
    std::string_view text; // valid until the next ReadRow
    std::size_t line = 0;  // lines into the row (0: the row's first line)
};

struct CsvRow {
    enum class Status : std::uint8_t {
        Row,        // fields hold the row
        Incomplete, // the text ends before the row does: call again with more text
        Error,      // syntax holds what is wrong; the rest of that line is skipped
        Skipped,    // more of the line an error was on, passed over
        End,        // nothing left
    };
    Status status = Status::End;
    std::vector<CsvField> fields;
    bool blank = false;        // an empty line
    std::size_t next = 0;      // where the following row starts
    std::size_t lines = 0;     // line ends consumed up to next
    CsvSyntax syntax = CsvSyntax::None;
    int errorColumn = 0;       // 1-based field of the error
    std::size_t errorLine = 0; // lines into the row
};

class CsvTokenizer {
public:
    // delimiter: what parts the fields of a row: ',' for CSV, '\t' for the tab-separated text
    // spreadsheets put on the clipboard.
    explicit CsvTokenizer(char delimiter = ',') : m_delimiter(delimiter) {}

    // The most one row may take, its line end included. A record's row is a few hundred
    // bytes, under 2 KB with Raw, so this is generous; and since no row is held longer than
    // this, neither a reader's buffer nor the fields of a row can grow with the input.
    static constexpr std::size_t kMaxRowBytes = std::size_t{1} << 20;

    // Reads the row that starts at text[pos] into row. Without atEnd, a row must end with a
    // line end to be complete; with it, the end of the text ends the last row too. Incomplete
    // comes only while fewer than kMaxRowBytes bytes follow pos. After an Error the rest of
    // its line is skipped, in the calls that follow when the line goes on past the text: pass
    // the text from row.next on.
    void ReadRow(std::string_view text, std::size_t pos, bool atEnd, CsvRow& row);
    // Inside the line of an error, whose rest the next call passes over.
    [[nodiscard]] bool InsideSkippedLine() const { return m_skipping; }
    // Forgets such a line: the next text starts a row.
    void Restart() { m_skipping = false; }

private:
    // The common row, one line without quotes or stray carriage returns, read in one pass
    // that finds its line end and its delimiters together. False, its fields to be cleared,
    // when the row is anything else or does not end within the text and a row's
    // bytes: the general reading then takes it.
    [[nodiscard]] bool ReadPlainRow(std::string_view text, std::size_t pos, CsvRow& row);
    // Any other row, quoted fields over many lines included.
    void ReadQuotedRow(std::string_view text, std::size_t pos, bool atEnd, CsvRow& row);
    struct Piece {
        std::size_t begin = 0; // into the text, or into m_unquoted when copied
        std::size_t size = 0;
        bool copied = false;
        std::size_t line = 0;
    };
    // Where the reading of such a row stands.
    struct QuotedRow {
        std::string_view text;
        std::size_t pos;  // the row's start
        std::size_t end;  // nothing of the row may lie at or past it
        bool cut;         // the text goes on past end: a row that reaches it is too long
        bool atEnd;
        std::size_t i;    // where reading stands
        std::size_t line = 0;
        int column = 0;
    };
    // Reaching end with lines read: a row too long, or one whose text has not all come yet.
    // True when that stops the row, false when the end of the text ends it.
    [[nodiscard]] bool RunsOut(const QuotedRow& scan, std::size_t lines, CsvRow& row);
    // The field at scan.i, quoted or not, into piece; false when the row stopped there.
    [[nodiscard]] bool ReadQuotedField(QuotedRow& scan, Piece& piece, CsvRow& row);
    [[nodiscard]] bool ReadBareField(QuotedRow& scan, Piece& piece, CsvRow& row);
    // What follows a field: another field, the row's end, or a stop (an error, more text wanted).
    enum class FieldEnd : std::uint8_t { Next, RowEnd, Stopped };
    [[nodiscard]] FieldEnd EndField(QuotedRow& scan, CsvRow& row);
    void Fail(std::string_view text, std::size_t at, bool atEnd, CsvSyntax syntax, int column, std::size_t line,
              CsvRow& row);
    void SkipRestOfLine(std::string_view text, std::size_t pos, bool atEnd, CsvRow& row);

    char m_delimiter;
    bool m_skipping = false; // inside the line of an error whose end has not come yet
    std::vector<std::size_t> m_commas;
    std::vector<Piece> m_pieces;
    std::string m_unquoted; // fields whose doubled quotes were undone
};

// What spreadsheet programs on Chinese desktops need to read a CSV as UTF-8; skipped in front
// of UTF-8 text that is read.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Writes the field at out, quoted (its quotes doubled) when it holds the delimiter, a quote,
// CR or LF; answers the end. out has room for 2 × field.size() + 2 characters.
char* WriteCsvField(std::string_view field, char* out, char delimiter = ',');
// Appends the field, quoted when it must be.
void AppendCsvField(std::string& out, std::string_view field, char delimiter = ',');

} // namespace rw

#pragma once

// The record rows of CSV text read each on its own: its record's bytes, its ID, a name that
// differs from the one its Raw holds, and what is wrong with it. That needs nothing of the rows
// before it but the header, and it is most of an import's work, so two readers on two threads
// can take two runs of the same text at once; the importer then takes the runs in, in order,
// counting rows, IDs and errors. Lines in a run count from 0 at its start.

#include "csv/CsvIssue.h"
#include "csv/CsvTokenizer.h"
#include "data/FileKind.h"
#include "data/NameTranscoder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

// One row as either way in has it: split from text, or given as fields (a worksheet's).
struct FieldsRow {
    std::span<const CsvField> fields;
    std::span<const CellType> types; // or empty: all text
    std::size_t line = 0;
    const char* readableEnd = nullptr; // how far past its fields' ends may be read, if at all
};

// An issue of the row at a column (1-based; 0 for the whole row), its text shortened.
[[nodiscard]] CsvIssue RowIssue(CsvIssue::Kind kind, const FieldsRow& row, int column, std::string_view text = {});
// At most n bytes of text, cut before a UTF-8 continuation byte so that no character is split.
[[nodiscard]] std::string Shortened(std::string_view text, std::size_t n);

// What one row of a run was.
struct RunRow {
    enum class Type : std::uint8_t {
        Record,          // a record's row, well or badly formed
        WrongFieldCount, // fieldCount fields, not the header's
        Syntax,          // text that is no CSV row: syntax at column
    };
    Type type = Type::Record;
    std::size_t line = 0;
    std::size_t fieldCount = 0;
    CsvSyntax syntax = CsvSyntax::None;
    int column = 0;
    std::size_t errorLine = 0;      // Syntax: lines into the row
    bool idRead = false;
    std::int32_t id = 0;
    std::uint32_t issuesBegin = 0;  // its errors, in run.issues
    std::uint32_t issuesEnd = 0;
    std::int32_t nameChange = -1;   // in run.nameChanges, or -1
    std::size_t recordAt = 0;       // its record's bytes, in run.bytes
};

struct CsvRowRun {
    std::vector<RunRow> rows;
    std::vector<CsvIssue> issues;
    std::vector<NameChange> nameChanges;
    std::vector<std::uint8_t> bytes;
    std::size_t lines = 0;  // line ends passed
    std::size_t next = 0;   // where reading stopped in the text
    bool ended = false;     // the end of the text came, and it was the last
    bool clean = true;      // stopped at the start of a row, not inside a line an error is on

    void Clear();
};

class CsvRowReader {
public:
    CsvRowReader(const NameTranscoder& names, char delimiter);

    // What each row is to hold, once the header has told it.
    void SetTable(FileKind kind, bool hasRaw, bool keepNames);

    // For the rows before the record rows: the header and what comes before it.
    [[nodiscard]] CsvTokenizer& Tokenizer() { return m_tokenizer; }
    [[nodiscard]] CsvRow& Scratch() { return m_row; }

    // Reads the rows of text from pos on into run, as long as they are whole (with atEnd the
    // end of the text ends the last). Starts afresh: not inside a line an earlier call left.
    void ReadRows(std::string_view text, std::size_t pos, bool atEnd, CsvRowRun& run, bool afresh);
    // One record's row into run.
    void ReadRecord(const FieldsRow& row, CsvRowRun& run);

private:
    // Writes the name column's name over the one Raw put in record, unless it is that one,
    // and lists the change.
    void ReadName(const FieldsRow& row, bool fromRaw, std::int32_t id, std::uint8_t* record, RunRow& out, CsvRowRun& run);

    // The numeric columns, as the header has them.
    struct NumberColumn {
        std::size_t field;
        std::uint16_t offset;
        bool id;
    };

    const NameTranscoder& m_names;
    CsvTokenizer m_tokenizer;
    CsvRow m_row;
    FileKind m_kind = FileKind::None;
    bool m_hasRaw = false;
    bool m_keepNames = false;
    std::vector<NumberColumn> m_numbers;
    std::string m_nameText;  // scratch, kept for its capacity
    std::string m_nameBytes; // scratch
};

} // namespace rw

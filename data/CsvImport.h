#pragma once

// Records from CSV written by CsvExporter or edited in a spreadsheet. The header must be the
// kind's column titles, with or without a final "Raw". Each row starts from its Raw bytes
// when it has them, else from zeros; the ID and fields are then written, and the name only
// when its text differs from the text of the name Raw holds, so a name no one touched keeps
// its bytes exactly. Every problem is collected (the first kMaxErrors of them kept, in line
// order); the records are of use only when there was none. A header that cannot be read
// ends the reading, since no row can be checked without it.

#include "data/CsvTokenizer.h"
#include "data/FileKind.h"
#include "data/NameTranscoder.h"
#include "data/RecordStore.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rw {

struct CsvIssue {
    enum class Kind : std::uint8_t {
        // errors
        NoHeader,          // the text is empty
        BadHeader,         // text: the header found
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
    };
    Kind kind = Kind::NoHeader;
    std::size_t line = 0;  // 1-based
    int column = 0;        // 1-based; 0 for the whole row
    CsvSyntax syntax = CsvSyntax::None;
    bool inHeader = false; // nothing after it was read: there is no way to read rows without it
    std::string text;      // shortened to kMaxQuotedBytes
    std::int64_t number = 0;
    std::int64_t expected = 0;
    std::size_t otherLine = 0;
};

class CsvImporter {
public:
    static constexpr std::size_t kMaxErrors = 20;
    static constexpr std::size_t kMaxQuotedBytes = 40;

    // delimiter: ',' for CSV, '\t' for tab-separated text.
    CsvImporter(FileKind kind, const NameTranscoder& names, char delimiter = ',');

    // Takes the whole rows at the start of text and answers how many bytes they took; the
    // caller keeps the rest, always fewer than CsvTokenizer::kMaxRowBytes, and passes it again
    // with what follows. With atEnd the text is the last there is: everything is taken and the
    // checks over the whole table run. Once Finished, everything is taken unread.
    std::size_t Consume(std::string_view text, bool atEnd);

    // Nothing more will be read: the end came, or a header that cannot be read stopped it.
    [[nodiscard]] bool Finished() const { return m_finished; }
    [[nodiscard]] bool Ok() const { return m_finished && m_errorCount == 0; }
    [[nodiscard]] std::size_t ErrorCount() const { return m_errorCount; }
    [[nodiscard]] const std::vector<CsvIssue>& Errors() const { return m_errors; }
    [[nodiscard]] const std::vector<CsvIssue>& Warnings() const { return m_warnings; }
    [[nodiscard]] const RecordStore& Records() const { return m_records; }
    [[nodiscard]] std::size_t RowCount() const { return m_rows; }

private:
    void TakeHeader(const CsvRow& row);
    void TakeRecord(const CsvRow& row);
    void Finish();
    void AddError(CsvIssue issue);
    [[nodiscard]] CsvIssue Issue(CsvIssue::Kind kind, const CsvRow& row, int column, std::string_view text = {}) const;

    FileKind m_kind;
    const NameTranscoder& m_names;
    CsvTokenizer m_tokenizer;
    CsvRow m_row;
    std::size_t m_line = 1; // where the next row starts
    bool m_haveHeader = false;
    bool m_hasRaw = false;
    bool m_notWellFormedSeen = false;
    bool m_finished = false;
    std::size_t m_rows = 0;
    RecordStore m_records;
    std::vector<std::pair<std::int32_t, std::size_t>> m_ids; // (ID as it reads back, line)
    std::vector<CsvIssue> m_errors;
    std::size_t m_errorCount = 0;
    std::vector<CsvIssue> m_warnings;
    std::string m_nameText;  // scratch, kept for its capacity
    std::string m_nameBytes; // scratch
};

} // namespace rw

#pragma once

// Records from CSV written by CsvExporter or edited in a spreadsheet, or from the rows of a
// worksheet already split into cells. The header must be the kind's column titles, with or
// without a final "Raw". Each row starts from its Raw bytes when it has them, else from
// zeros; the ID and fields are then written, and the name only when its text differs from
// the text of the name Raw holds, so a name no one touched keeps its bytes exactly. Every
// such name change is listed, since a spreadsheet that turned "007" into "7" would otherwise
// rename a record without a word. Every problem is collected (the first kMaxErrors of them
// kept, in line order); the records are of use only when there was none. A header that
// cannot be read ends the reading, since no row can be checked without it.

#include "data/CsvTokenizer.h"
#include "data/FileKind.h"
#include "data/NameTranscoder.h"
#include "data/RecordStore.h"
#include "data/UniqueIds.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rw {

// How a worksheet stored a cell. A CSV field is always Text; a name or Raw must be, since
// a spreadsheet that stored one as anything else has already changed it.
enum class CellType : std::uint8_t { Text, Number, Boolean, Error, Formula, Date };

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
        // errors of worksheets only
        WrongCellType,     // text: what the cell held; cellType: how it was stored
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
    CellType cellType = CellType::Text;
};

// A record whose name column says something else than the name its Raw bytes hold.
struct NameChange {
    std::size_t line = 0;    // 1-based
    std::int32_t id = 0;     // as the row gives it (0 when it is no number)
    std::string storedText;  // the Raw name's text, as the transcoder gives it
    std::string newText;     // the name column's text
};

class CsvImporter {
public:
    static constexpr std::size_t kMaxErrors = 20;
    static constexpr std::size_t kMaxQuotedBytes = 40;
    static constexpr std::size_t kMaxNameChanges = 10'000;

    // delimiter: ',' for CSV, '\t' for tab-separated text.
    CsvImporter(FileKind kind, const NameTranscoder& names, char delimiter = ',');

    // Takes the whole rows at the start of text and answers how many bytes they took; the
    // caller keeps the rest, always fewer than CsvTokenizer::kMaxRowBytes, and passes it again
    // with what follows. With atEnd the text is the last there is: everything is taken and the
    // checks over the whole table run. Once Finished, everything is taken unread.
    std::size_t Consume(std::string_view text, bool atEnd);

    // The same for a row already split into fields, such as a worksheet's, with the same
    // checks and messages. line: where the row stands (1-based), for the messages; rows come
    // in rising order. types: how each field was stored, or empty when all are text. A row
    // without fields, or of one empty field, is passed over, as a CSV's blank line is.
    void TakeFields(std::span<const std::string_view> fields, std::size_t line, std::span<const CellType> types = {});
    // After the last TakeFields: the checks over the whole table run, and Finished() is true.
    void FinishFields();

    // With keep, a row that has Raw bytes keeps the name they hold whatever its name column
    // says: the name column is then not read at all. The differences are listed in
    // NameChanges() all the same, as names that were ignored rather than written.
    void SetKeepNames(bool keep) { m_keepNames = keep; }
    // Each record, as long as there has been no error, goes to sink as it is read instead of
    // being kept in Records(): for a caller that writes them as they come and throws the
    // output away when Ok() is false at the end. Set before the first row.
    using RecordSink = std::function<void(std::span<const std::uint8_t> record)>;
    void SetRecordSink(RecordSink sink) { m_sink = std::move(sink); }
    [[nodiscard]] bool KeepsNames() const { return m_keepNames; }

    // Nothing more will be read: the end came, or a header that cannot be read stopped it.
    [[nodiscard]] bool Finished() const { return m_finished; }
    [[nodiscard]] bool Ok() const { return m_finished && m_errorCount == 0; }
    [[nodiscard]] std::size_t ErrorCount() const { return m_errorCount; }
    [[nodiscard]] const std::vector<CsvIssue>& Errors() const { return m_errors; }
    [[nodiscard]] const std::vector<CsvIssue>& Warnings() const { return m_warnings; }
    [[nodiscard]] const RecordStore& Records() const { return m_records; }
    // The records taken, into Records() or the sink, while there was no error.
    [[nodiscard]] std::size_t RecordCount() const { return m_recordCount; }
    [[nodiscard]] std::size_t RowCount() const { return m_rows; }
    // Rows with Raw whose name differs from the Raw's name (written over it, or ignored with
    // SetKeepNames), in line order: the first kMaxNameChanges of them; the count is of all.
    [[nodiscard]] const std::vector<NameChange>& NameChanges() const { return m_nameChanges; }
    [[nodiscard]] std::size_t NameChangeCount() const { return m_nameChangeCount; }

private:
    // One row as either entry point has it.
    struct Row {
        std::span<const std::string_view> fields;
        std::span<const std::size_t> fieldLines; // lines into the row per field, or empty
        std::span<const CellType> types;         // or empty: all text
        std::size_t line = 0;
    };

    void TakeRow(const Row& row);
    void TakeHeader(const Row& row);
    void TakeRecord(const Row& row);
    // Writes the name column's name over the one Raw put in record, unless it is that one,
    // and lists the change.
    void TakeName(const Row& row, std::int32_t id, bool fromRaw, std::uint8_t* record);
    [[nodiscard]] static CellType TypeOf(const Row& row, std::size_t field);
    [[nodiscard]] CsvIssue WrongType(const Row& row, int column) const;
    void Finish();
    void AddError(CsvIssue issue);
    [[nodiscard]] CsvIssue Issue(CsvIssue::Kind kind, const Row& row, int column, std::string_view text = {}) const;

    FileKind m_kind;
    const NameTranscoder& m_names;
    CsvTokenizer m_tokenizer;
    CsvRow m_row;
    std::size_t m_line = 1; // where the next row starts
    std::vector<std::string_view> m_fields;  // the CSV row's, for TakeRow
    std::vector<std::size_t> m_fieldLines;
    bool m_haveHeader = false;
    bool m_keepNames = false;
    bool m_hasRaw = false;
    bool m_notWellFormedSeen = false;
    bool m_finished = false;
    std::size_t m_rows = 0;
    RecordStore m_records;
    RecordSink m_sink;
    std::size_t m_recordCount = 0;
    IdSequence m_ids; // ID as it reads back, by line
    std::vector<CsvIssue> m_errors;
    std::size_t m_errorCount = 0;
    std::vector<CsvIssue> m_warnings;
    std::vector<NameChange> m_nameChanges;
    std::size_t m_nameChangeCount = 0;
    std::string m_nameText;  // scratch, kept for its capacity
    std::string m_nameBytes; // scratch
};

} // namespace rw

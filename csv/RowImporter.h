#pragma once

// Records from rows of text: CSV written by CsvExporter or edited in a spreadsheet, rows
// pasted as tab-separated text, or the rows of a worksheet already split into cells. The header must be the kind's column titles, with or
// without a final "Raw". Each row starts from its Raw bytes when it has them, else from
// zeros; the ID and fields are then written, and the name only when its text differs from
// the text of the name Raw holds, so a name no one touched keeps its bytes exactly. Every
// such name change is listed, since a spreadsheet that turned "007" into "7" would otherwise
// rename a record without a word. Every problem is collected (the first kMaxErrors of them
// kept, in line order); the records are of use only when there was none. A header that
// cannot be read ends the reading, since no row can be checked without it. A large text's
// rows are read by two threads at once, the caller's and one of the importer's own; they are
// counted, checked against each other and handed to the sink in order on the caller's.

#include "csv/CsvIssue.h"
#include "csv/CsvRowReader.h"
#include "csv/CsvTokenizer.h"
#include "data/FileKind.h"
#include "data/NameTranscoder.h"
#include "data/RecordStore.h"
#include "system/SideThread.h"
#include "data/UniqueIds.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rw {

class RowImporter {
public:
    static constexpr std::size_t kMaxErrors = 20;
    static constexpr std::size_t kMaxQuotedBytes = kMaxIssueQuoteBytes;
    static constexpr std::size_t kMaxNameChanges = 10'000;

    // delimiter: ',' for CSV, '\t' for tab-separated text. kind None: the kind whose titles the
    // header holds, for a table whose kind nothing else tells.
    RowImporter(FileKind kind, const NameTranscoder& names, char delimiter = ',');
    RowImporter(RowImporter&&) noexcept;
    ~RowImporter();

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
    // When the rows are read by two threads: from minBytes of text on, and only where a second
    // processor is there for it unless onOneProcessor. Tests and fuzzers part a text of a few
    // kilobytes many times, on any machine.
    struct Parting {
        std::size_t minBytes = std::size_t{256} << 10; // less costs more to part than it saves
        bool onOneProcessor = false;
    };
    void SetParting(Parting parting) { m_parting = parting; }
    [[nodiscard]] bool KeepsNames() const { return m_keepNames; }
    // The kind of the records: as constructed, or once the header is read, the kind it names;
    // None while no header has told it.
    [[nodiscard]] FileKind Kind() const { return m_kind; }

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
    // The header (and what comes before it) at the start of text; where reading stopped.
    std::size_t ConsumeHeader(std::string_view text, bool atEnd);
    // The record rows of text from pos on; where reading stopped.
    std::size_t ConsumeRows(std::string_view text, std::size_t pos, bool atEnd);
    // Where the rows of text after pos may be parted in two for the two readers: after a line
    // end about halfway, if there is that much text (m_parting); npos otherwise. Whether a row
    // really starts there is known only once the earlier part is read.
    [[nodiscard]] std::size_t PartingPoint(std::string_view text, std::size_t pos) const;
    void TakeHeader(const FieldsRow& row);
    // The header has the kind's titles, with or without Raw after them (hasRaw says which).
    [[nodiscard]] static bool HeaderOf(FileKind kind, const FieldsRow& row, bool& hasRaw);
    // A run of the text's rows counted in, in order, its lines counting on from m_line.
    void TakeRun(const CsvRowRun& run);
    // The same, its lines from base.
    void TakeRows(const CsvRowRun& run, std::size_t base);
    void TakeRecord(const CsvRowRun& run, const RunRow& row, std::size_t base);
    void Finish();
    void AddError(CsvIssue issue);

    FileKind m_kind;
    std::size_t m_line = 1; // where the next row starts
    bool m_haveHeader = false;
    bool m_keepNames = false;
    bool m_hasRaw = false;
    bool m_notWellFormedSeen = false;
    bool m_finished = false;
    Parting m_parting;
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
    std::vector<CsvField> m_givenFields; // TakeFields's, as the readers take them
    // Two readers of rows and what each read: the second reads the later part of a large text
    // on the side thread, while the first reads the earlier part.
    std::array<std::unique_ptr<CsvRowReader>, 2> m_readers;
    std::array<CsvRowRun, 2> m_runs;
    std::unique_ptr<SideThread> m_side; // made when first needed
};

} // namespace rw

#include "csv/RowImporter.h"

#include "csv/CsvExport.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace rw {
namespace {

// The earlier part's share of the text: a little under half, since its reader also takes its
// rows in (the records to the sink, the IDs kept) while the later part is still being read.
constexpr std::size_t kEarlierPercent = 45;

// The header as read, for a message: shown with commas, whatever parted its fields.
[[nodiscard]] std::string JoinedFields(std::span<const CsvField> fields)
{
    std::string joined;
    for (const CsvField& field : fields) {
        if (!joined.empty()) joined.push_back(',');
        AppendCsvField(joined, field.text);
    }
    return joined;
}

} // namespace

RowImporter::RowImporter(FileKind kind, const NameTranscoder& names, char delimiter)
    : m_kind(kind),
      m_records(IsDataKind(kind) ? SchemaOf(kind).recordSize : 0),
      m_ids(kind),
      m_readers{std::make_unique<CsvRowReader>(names, delimiter), std::make_unique<CsvRowReader>(names, delimiter)}
{
}

RowImporter::RowImporter(RowImporter&&) noexcept = default;
RowImporter::~RowImporter() = default;

std::size_t RowImporter::Consume(std::string_view text, bool atEnd)
{
    if (m_finished) return text.size();
    const std::size_t pos = m_haveHeader ? 0 : ConsumeHeader(text, atEnd);
    if (m_finished || !m_haveHeader) return pos;
    return ConsumeRows(text, pos, atEnd);
}

std::size_t RowImporter::ConsumeHeader(std::string_view text, bool atEnd)
{
    CsvTokenizer& tokenizer = m_readers[0]->Tokenizer();
    CsvRow& row = m_readers[0]->Scratch();
    std::size_t pos = 0;
    while (!m_finished && !m_haveHeader) {
        tokenizer.ReadRow(text, pos, atEnd, row);
        switch (row.status) {
        case CsvRow::Status::Incomplete: return pos;
        case CsvRow::Status::End: Finish(); return text.size();
        case CsvRow::Status::Error: {
            // No row can be read without the header.
            CsvIssue issue = RowIssue(CsvIssue::Kind::Syntax, {{}, {}, m_line}, row.errorColumn);
            issue.line = m_line + row.errorLine;
            issue.syntax = row.syntax;
            issue.inHeader = true;
            AddError(std::move(issue));
            m_finished = true;
            return text.size();
        }
        case CsvRow::Status::Skipped: break;
        case CsvRow::Status::Row:
            if (!row.blank) TakeHeader({row.fields, {}, m_line});
            if (m_finished) return text.size();
            break;
        }
        m_line += row.lines;
        pos = row.next;
    }
    return pos;
}

std::size_t RowImporter::PartingPoint(std::string_view text, std::size_t pos) const
{
    if (text.size() - pos < m_parting.minBytes) return std::string_view::npos;
    if (!m_parting.onOneProcessor && !SideThread::Worthwhile()) return std::string_view::npos;
    const std::size_t lineEnd = text.find('\n', pos + (text.size() - pos) * kEarlierPercent / 100);
    return lineEnd == std::string_view::npos || lineEnd + 1 == text.size() ? std::string_view::npos : lineEnd + 1;
}

std::size_t RowImporter::ConsumeRows(std::string_view text, std::size_t pos, bool atEnd)
{
    CsvRowRun& first = m_runs[0];
    CsvRowRun& second = m_runs[1];
    if (const std::size_t parting = PartingPoint(text, pos); parting != std::string_view::npos) {
        if (!m_side) m_side = std::make_unique<SideThread>();
        first.Clear();
        second.Clear();
        CsvRowReader& later = *m_readers[1];
        m_side->Start([&] { later.ReadRows(text, parting, atEnd, second, true); });
        SideThread::Waiting waited(*m_side);
        // The earlier part alone, as if the text ended there: its rows are the same as in the
        // whole text as long as none goes on past it.
        m_readers[0]->ReadRows(text.substr(0, parting), pos, false, first, false);
        TakeRun(first);
        waited.Wait();
        if (first.next == parting && first.clean) {
            TakeRun(second);
            // The later reader is now where the text was left.
            std::swap(m_readers[0], m_readers[1]);
            if (second.ended) Finish();
            return second.ended ? text.size() : second.next;
        }
        // A quoted field or an error's line went on past the parting line end: the later part
        // does not start a row. The earlier reader reads on alone from where it stopped; parted
        // again from there, it could stop at the same place every time.
        pos = first.next;
    }
    first.Clear();
    m_readers[0]->ReadRows(text, pos, atEnd, first, false);
    TakeRun(first);
    if (first.ended) Finish();
    return first.ended ? text.size() : first.next;
}

void RowImporter::TakeFields(std::span<const std::string_view> fields, std::size_t line, std::span<const CellType> types)
{
    if (m_finished) return;
    m_line = line + 1;
    if (fields.empty() || (fields.size() == 1 && fields[0].empty())) return;
    m_givenFields.clear();
    for (const std::string_view field : fields) m_givenFields.push_back({field, 0});
    const FieldsRow row{m_givenFields, types, line};
    if (!m_haveHeader) {
        TakeHeader(row);
        return;
    }
    CsvRowRun& run = m_runs[0];
    run.Clear();
    m_readers[0]->ReadRecord(row, run);
    TakeRows(run, 0);
}

void RowImporter::FinishFields()
{
    if (!m_finished) Finish();
}

void RowImporter::AddError(CsvIssue issue)
{
    if (m_errorCount++ == 0) m_records.Clear(); // nothing will be written: free them now
    if (m_errors.size() < kMaxErrors) m_errors.push_back(std::move(issue));
}

bool RowImporter::HeaderOf(FileKind kind, const FieldsRow& row, bool& hasRaw)
{
    const RecordSchema& schema = SchemaOf(kind);
    const auto columns = static_cast<std::size_t>(schema.ColumnCount());
    hasRaw = row.fields.size() == columns + 1 && row.fields.back().text == kRawColumnTitle;
    bool matches = row.fields.size() == columns + (hasRaw ? 1 : 0);
    for (std::size_t k = 0; matches && k < columns; ++k) matches = row.fields[k].text == schema.columns[k].title;
    return matches;
}

void RowImporter::TakeHeader(const FieldsRow& row)
{
    m_haveHeader = true;
    bool matches = false;
    if (m_kind != FileKind::None) {
        matches = HeaderOf(m_kind, row, m_hasRaw);
    } else {
        for (const FileKind kind : kAllKinds) {
            if (!HeaderOf(kind, row, m_hasRaw)) continue;
            matches = true;
            m_kind = kind;
            m_records = RecordStore(SchemaOf(kind).recordSize);
            break;
        }
    }
    if (matches) {
        for (const auto& reader : m_readers) reader->SetTable(m_kind, m_hasRaw, m_keepNames);
        if (!m_hasRaw) m_warnings.push_back(RowIssue(CsvIssue::Kind::NoRawColumn, row, 0));
        return;
    }
    m_finished = true;
    CsvIssue issue = RowIssue(CsvIssue::Kind::BadHeader, row, 0);
    issue.text = Shortened(JoinedFields(row.fields), 2 * kMaxQuotedBytes);
    issue.inHeader = true;
    AddError(std::move(issue));
}

void RowImporter::TakeRun(const CsvRowRun& run)
{
    TakeRows(run, m_line);
    m_line += run.lines;
}

void RowImporter::TakeRows(const CsvRowRun& run, std::size_t base)
{
    for (const RunRow& row : run.rows) {
        switch (row.type) {
        case RunRow::Type::Syntax: {
            CsvIssue issue;
            issue.kind = CsvIssue::Kind::Syntax;
            issue.line = base + row.line + row.errorLine;
            issue.column = row.column;
            issue.syntax = row.syntax;
            AddError(std::move(issue));
            break;
        }
        case RunRow::Type::WrongFieldCount: {
            ++m_rows;
            CsvIssue issue;
            issue.kind = CsvIssue::Kind::FieldCount;
            issue.line = base + row.line;
            issue.number = static_cast<std::int64_t>(row.fieldCount);
            issue.expected = SchemaOf(m_kind).ColumnCount() + (m_hasRaw ? 1 : 0);
            AddError(std::move(issue));
            break;
        }
        case RunRow::Type::Record: TakeRecord(run, row, base); break;
        }
    }
}

void RowImporter::TakeRecord(const CsvRowRun& run, const RunRow& row, std::size_t base)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    const bool firstRecord = m_rows++ == 0;
    if (m_rows == std::size_t{std::numeric_limits<std::int32_t>::max()} + 1) {
        CsvIssue issue;
        issue.kind = CsvIssue::Kind::TooManyRecords;
        issue.line = base + row.line;
        AddError(std::move(issue));
    }
    const std::size_t errorsBefore = m_errorCount;
    for (std::uint32_t i = row.issuesBegin; i < row.issuesEnd; ++i) {
        CsvIssue issue = run.issues[i];
        // Text in another encoding than the one read by: every row would say so again.
        if (issue.kind == CsvIssue::Kind::NameNotWellFormed && std::exchange(m_notWellFormedSeen, true)) continue;
        issue.line += base;
        AddError(std::move(issue));
    }
    if (row.nameChange >= 0 && m_nameChangeCount++ < kMaxNameChanges) {
        NameChange change = run.nameChanges[static_cast<std::size_t>(row.nameChange)];
        change.line += base;
        m_nameChanges.push_back(std::move(change));
    }
    if (row.idRead) {
        std::int32_t id = row.id;
        // A monster file has no room for its first record's ID: it reads back as 0.
        if (m_kind == FileKind::Monster && firstRecord && id != 0) {
            CsvIssue warning;
            warning.kind = CsvIssue::Kind::FirstMonsterId;
            warning.line = base + row.line;
            warning.column = kIdColumn + 1;
            warning.number = id;
            m_warnings.push_back(std::move(warning));
            id = 0;
        }
        m_ids.Add(id, base + row.line);
    }
    if (m_errorCount == 0 && errorsBefore == 0) {
        ++m_recordCount;
        const std::span<const std::uint8_t> record(run.bytes.data() + row.recordAt, schema.recordSize);
        if (m_sink) {
            m_sink(record);
        } else {
            m_records.Append(record);
        }
    }
}
void RowImporter::Finish()
{
    m_finished = true;
    if (!m_haveHeader) {
        CsvIssue issue;
        issue.kind = CsvIssue::Kind::NoHeader;
        issue.line = 1;
        AddError(std::move(issue));
        return;
    }

    // A repeated ID is an error naming where the ID first stood; the errors stay in line order.
    const std::vector<IdSequence::Repeat> repeats = m_ids.TakeRepeats();
    if (!repeats.empty()) {
        if (m_errorCount == 0) m_records.Clear();
        const std::size_t total = m_errorCount + repeats.size();
        for (const IdSequence::Repeat& repeat : repeats) {
            CsvIssue issue;
            issue.kind = CsvIssue::Kind::DuplicateId;
            issue.line = repeat.position;
            issue.column = kIdColumn + 1;
            issue.number = repeat.id;
            issue.otherLine = repeat.first;
            m_errors.push_back(std::move(issue));
        }
        std::stable_sort(m_errors.begin(), m_errors.end(), [](const CsvIssue& a, const CsvIssue& b) { return a.line < b.line; });
        if (m_errors.size() > kMaxErrors) m_errors.resize(kMaxErrors);
        m_errorCount = total;
    }
    if (m_errorCount == 0 && m_recordCount == 0) {
        CsvIssue warning;
        warning.kind = CsvIssue::Kind::NoRecords;
        warning.line = m_line;
        m_warnings.push_back(std::move(warning));
    }
}

} // namespace rw

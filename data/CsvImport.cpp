#include "data/CsvImport.h"

#include "data/CsvExport.h"
#include "data/DecimalText.h"
#include "data/HexText.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace rw {
namespace {

// At most n bytes of text, cut before a UTF-8 continuation byte so no character is split.
[[nodiscard]] std::string Shortened(std::string_view text, std::size_t n)
{
    if (text.size() <= n) return std::string(text);
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return std::string(text.substr(0, n)) + "...";
}

// The header as read, for a message: shown with commas, whatever parted its fields.
[[nodiscard]] std::string JoinedFields(std::span<const std::string_view> fields)
{
    std::string joined;
    for (const std::string_view field : fields) {
        if (!joined.empty()) joined.push_back(',');
        AppendCsvField(joined, field);
    }
    return joined;
}

// Most fields are a few plain digits; those are read here without a call. The value comes
// back through a reference: an optional, stored in two parts and loaded whole, made the
// processor wait on every one of a million rows' thirty fields.
[[nodiscard]] bool ReadNumber(std::string_view text, std::int32_t& value)
{
    const auto parsed = [&] {
        const std::optional<std::int32_t> number = ParseStrictInt32(text);
        value = number.value_or(0);
        return number.has_value();
    };
    if (text.empty() || text.size() > 9) return parsed();
    std::int32_t digits = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return parsed();
        digits = digits * 10 + (c - '0');
    }
    value = digits;
    return true;
}

} // namespace

CsvImporter::CsvImporter(FileKind kind, const NameTranscoder& names, char delimiter)
    : m_kind(kind), m_names(names), m_tokenizer(delimiter), m_records(SchemaOf(kind).recordSize), m_ids(kind)
{
}

std::size_t CsvImporter::Consume(std::string_view text, bool atEnd)
{
    std::size_t pos = 0;
    while (!m_finished) {
        m_tokenizer.ReadRow(text, pos, atEnd, m_row);
        switch (m_row.status) {
        case CsvRow::Status::Incomplete: return pos;
        case CsvRow::Status::End: Finish(); return text.size();
        case CsvRow::Status::Error: {
            CsvIssue issue = Issue(CsvIssue::Kind::Syntax, Row{{}, {}, {}, m_line}, m_row.errorColumn);
            issue.line = m_line + m_row.errorLine;
            issue.syntax = m_row.syntax;
            issue.inHeader = !m_haveHeader;
            AddError(std::move(issue));
            if (!m_haveHeader) m_finished = true;
            break;
        }
        case CsvRow::Status::Skipped: break;
        case CsvRow::Status::Row:
            if (m_row.blank) break;
            m_fields.clear();
            m_fieldLines.clear();
            for (const CsvField& field : m_row.fields) {
                m_fields.push_back(field.text);
                m_fieldLines.push_back(field.line);
            }
            TakeRow({m_fields, m_fieldLines, {}, m_line});
            break;
        }
        m_line += m_row.lines;
        pos = m_row.next;
    }
    return text.size();
}

void CsvImporter::TakeFields(std::span<const std::string_view> fields, std::size_t line, std::span<const CellType> types)
{
    if (m_finished) return;
    m_line = line + 1;
    if (fields.empty() || (fields.size() == 1 && fields[0].empty())) return;
    TakeRow({fields, {}, types, line});
}

void CsvImporter::FinishFields()
{
    if (!m_finished) Finish();
}

void CsvImporter::TakeRow(const Row& row)
{
    if (!m_haveHeader) {
        TakeHeader(row);
    } else {
        TakeRecord(row);
    }
}

CsvIssue CsvImporter::Issue(CsvIssue::Kind kind, const Row& row, int column, std::string_view text) const
{
    CsvIssue issue;
    issue.kind = kind;
    issue.column = column;
    const std::size_t field = static_cast<std::size_t>(column) - 1;
    issue.line = row.line + (column > 0 && field < row.fieldLines.size() ? row.fieldLines[field] : 0);
    issue.text = Shortened(text, kMaxQuotedBytes);
    return issue;
}

void CsvImporter::AddError(CsvIssue issue)
{
    if (m_errorCount++ == 0) m_records.Clear(); // nothing will be written: free them now
    if (m_errors.size() < kMaxErrors) m_errors.push_back(std::move(issue));
}

void CsvImporter::TakeHeader(const Row& row)
{
    m_haveHeader = true;
    const RecordSchema& schema = SchemaOf(m_kind);
    const auto columns = static_cast<std::size_t>(schema.ColumnCount());
    m_hasRaw = row.fields.size() == columns + 1 && row.fields.back() == kRawColumnTitle;
    bool matches = row.fields.size() == columns + (m_hasRaw ? 1 : 0);
    for (std::size_t k = 0; matches && k < columns; ++k) matches = row.fields[k] == schema.columns[k].title;
    if (matches) {
        if (!m_hasRaw) m_warnings.push_back(Issue(CsvIssue::Kind::NoRawColumn, row, 0));
        return;
    }
    m_finished = true;
    CsvIssue issue = Issue(CsvIssue::Kind::BadHeader, row, 0);
    issue.text = Shortened(JoinedFields(row.fields), 2 * kMaxQuotedBytes);
    issue.inHeader = true;
    AddError(std::move(issue));
}

void CsvImporter::TakeRecord(const Row& row)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    const bool firstRecord = m_rows++ == 0;
    const auto columns = static_cast<std::size_t>(schema.ColumnCount());
    if (row.fields.size() != columns + (m_hasRaw ? 1 : 0)) {
        CsvIssue issue = Issue(CsvIssue::Kind::FieldCount, row, 0);
        issue.number = static_cast<std::int64_t>(row.fields.size());
        issue.expected = static_cast<std::int64_t>(columns + (m_hasRaw ? 1 : 0));
        AddError(std::move(issue));
        return;
    }
    if (m_rows == std::size_t{std::numeric_limits<std::int32_t>::max()} + 1) {
        AddError(Issue(CsvIssue::Kind::TooManyRecords, row, 0));
    }

    const std::size_t errorsBefore = m_errorCount;
    std::array<std::uint8_t, kMaxRecordSize> bytes{};
    bool fromRaw = false;
    if (m_hasRaw && !row.fields.back().empty()) {
        const std::string_view raw = row.fields.back();
        const int rawColumn = static_cast<int>(columns) + 1;
        if (TypeOf(row, columns) != CellType::Text) {
            AddError(WrongType(row, rawColumn));
        } else {
            fromRaw = ReadHex(raw, bytes.data(), schema.recordSize);
            if (!fromRaw) AddError(Issue(CsvIssue::Kind::BadRaw, row, rawColumn, raw));
            if (!fromRaw) bytes.fill(0);
        }
    }

    bool idRead = false;
    std::int32_t id = 0;
    for (std::size_t k = 0; k < columns; ++k) {
        const ColumnSpec& column = schema.columns[k];
        if (column.role == ColumnRole::Name) continue;
        const std::string_view text = row.fields[k];
        std::int32_t value = 0;
        if (!ReadNumber(text, value)) {
            AddError(Issue(CsvIssue::Kind::BadNumber, row, static_cast<int>(k) + 1, text));
            continue;
        }
        StoreInt32(bytes.data() + column.offset, value);
        if (column.role == ColumnRole::Id) idRead = true, id = value;
    }

    TakeName(row, id, fromRaw, bytes.data());

    if (idRead) {
        // A monster file has no room for its first record's ID: it reads back as 0.
        if (m_kind == FileKind::Monster && firstRecord && id != 0) {
            CsvIssue warning = Issue(CsvIssue::Kind::FirstMonsterId, row, kIdColumn + 1);
            warning.number = id;
            m_warnings.push_back(std::move(warning));
            id = 0;
        }
        m_ids.Add(id, row.line);
    }
    if (m_errorCount == 0 && errorsBefore == 0) {
        ++m_recordCount;
        if (m_sink) {
            m_sink({bytes.data(), schema.recordSize});
        } else {
            m_records.Append({bytes.data(), schema.recordSize});
        }
    }
}

void CsvImporter::TakeName(const Row& row, std::int32_t id, bool fromRaw, std::uint8_t* record)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    const std::string_view nameText = row.fields[kNameColumn];
    if (fromRaw) {
        m_nameText.clear();
        m_names.AppendText(ReadShortName(schema, record), m_nameText);
        if (m_nameText == nameText) return;
        if (m_nameChangeCount++ < kMaxNameChanges) {
            m_nameChanges.push_back({row.line, id, m_nameText, std::string(nameText)});
        }
        if (m_keepNames) return;
    }
    if (TypeOf(row, kNameColumn) != CellType::Text) {
        AddError(WrongType(row, kNameColumn + 1));
        return;
    }
    m_nameBytes.clear();
    const NameEncoding encoded = m_names.TryAppendNameBytes(nameText, m_nameBytes);
    if (encoded == NameEncoding::NotWellFormed) {
        // Text in another encoding than the one read by: every row would say so again.
        if (!std::exchange(m_notWellFormedSeen, true)) {
            AddError(Issue(CsvIssue::Kind::NameNotWellFormed, row, kNameColumn + 1, nameText));
        }
    } else if (encoded == NameEncoding::NoGbkForm || m_nameBytes.find('\0') != std::string::npos) {
        AddError(Issue(CsvIssue::Kind::NameNotEncoded, row, kNameColumn + 1, nameText));
    } else if (m_nameBytes.size() > schema.nameCapacity) {
        CsvIssue issue = Issue(CsvIssue::Kind::NameTooLong, row, kNameColumn + 1, nameText);
        issue.number = static_cast<std::int64_t>(m_nameBytes.size());
        AddError(std::move(issue));
    } else {
        WriteShortName(schema, record, m_nameBytes);
    }
}

CellType CsvImporter::TypeOf(const Row& row, std::size_t field)
{
    return field < row.types.size() ? row.types[field] : CellType::Text;
}

CsvIssue CsvImporter::WrongType(const Row& row, int column) const
{
    const auto field = static_cast<std::size_t>(column) - 1;
    CsvIssue issue = Issue(CsvIssue::Kind::WrongCellType, row, column, row.fields[field]);
    issue.cellType = TypeOf(row, field);
    return issue;
}

void CsvImporter::Finish()
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

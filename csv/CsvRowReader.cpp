#include "csv/CsvRowReader.h"

#include "csv/CsvExport.h"
#include "data/DecimalText.h"
#include "data/HexText.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace rw {
namespace {

// The value of 1 to 8 digits at text, read as one word, without a branch per digit: most of
// the thirty million fields of a million records are a few digits. p must be readable for 8
// bytes. False when any of the len bytes is no digit.
[[nodiscard]] bool ReadShortDigits(const char* p, std::size_t len, std::int32_t& value)
{
    // The first character in the lowest byte.
    std::uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, p, sizeof word);
    } else {
        for (unsigned i = 0; i < 8; ++i) word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
    // The digits to the top of the word, with '0's below them as leading zeros.
    const auto shift = static_cast<unsigned>(8 - len) * 8;
    word = shift == 0 ? word : (word << shift) | (0x3030303030303030ULL >> (64 - shift));
    const std::uint64_t high = word & 0xF0F0F0F0F0F0F0F0ULL;
    const std::uint64_t past9 = (word + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL;
    if ((high | (past9 >> 4)) != 0x3333333333333333ULL) return false;
    word -= 0x3030303030303030ULL;
    word = word * 10 + (word >> 8);
    word = ((word & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32)) +
            ((word >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32))) >> 32;
    value = static_cast<std::int32_t>(word);
    return true;
}

// readableEnd: how far past the text may be read (nothing, when null).
[[nodiscard]] bool ReadNumber(std::string_view text, const char* readableEnd, std::int32_t& value)
{
    if (!text.empty() && text.size() <= 8 && readableEnd && readableEnd - text.data() >= 8 &&
        ReadShortDigits(text.data(), text.size(), value)) {
        return true;
    }
    const std::optional<std::int32_t> number = ParseStrictInt32(text);
    value = number.value_or(0);
    return number.has_value();
}

[[nodiscard]] CellType TypeOf(const FieldsRow& row, std::size_t field)
{
    return field < row.types.size() ? row.types[field] : CellType::Text;
}

[[nodiscard]] CsvIssue WrongType(const FieldsRow& row, int column)
{
    const auto field = static_cast<std::size_t>(column) - 1;
    CsvIssue issue = RowIssue(CsvIssue::Kind::WrongCellType, row, column, row.fields[field].text);
    issue.cellType = TypeOf(row, field);
    return issue;
}

} // namespace

std::string Shortened(std::string_view text, std::size_t n)
{
    if (text.size() <= n) return std::string(text);
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return std::string(text.substr(0, n)) + "...";
}

CsvIssue RowIssue(CsvIssue::Kind kind, const FieldsRow& row, int column, std::string_view text)
{
    CsvIssue issue;
    issue.kind = kind;
    issue.column = column;
    const std::size_t field = static_cast<std::size_t>(column) - 1;
    issue.line = row.line + (column > 0 && field < row.fields.size() ? row.fields[field].line : 0);
    issue.text = Shortened(text, kMaxIssueQuoteBytes);
    return issue;
}

void CsvRowRun::Clear()
{
    rows.clear();
    issues.clear();
    nameChanges.clear();
    bytes.clear();
    lines = 0;
    next = 0;
    ended = false;
    clean = true;
}

CsvRowReader::CsvRowReader(const NameTranscoder& names, char delimiter) : m_names(names), m_tokenizer(delimiter) {}

void CsvRowReader::SetTable(FileKind kind, bool hasRaw, bool keepNames)
{
    m_kind = kind;
    m_hasRaw = hasRaw;
    m_keepNames = keepNames;
    m_numbers.clear();
    const RecordSchema& schema = SchemaOf(kind);
    for (std::size_t k = 0; k < schema.columns.size(); ++k) {
        const ColumnSpec& column = schema.columns[k];
        if (column.IsNumeric()) m_numbers.push_back({k, column.offset, column.role == ColumnRole::Id});
    }
}

void CsvRowReader::ReadRows(std::string_view text, std::size_t pos, bool atEnd, CsvRowRun& run, bool afresh)
{
    if (afresh) m_tokenizer.Restart();
    for (;;) {
        m_tokenizer.ReadRow(text, pos, atEnd, m_row);
        if (m_row.status == CsvRow::Status::Incomplete) break;
        if (m_row.status == CsvRow::Status::End) {
            run.ended = true;
            break;
        }
        if (m_row.status == CsvRow::Status::Error) {
            RunRow error;
            error.type = RunRow::Type::Syntax;
            error.line = run.lines;
            error.syntax = m_row.syntax;
            error.column = m_row.errorColumn;
            error.errorLine = m_row.errorLine;
            run.rows.push_back(error);
        } else if (m_row.status == CsvRow::Status::Row && !m_row.blank) {
            ReadRecord({m_row.fields, {}, run.lines, text.data() + text.size()}, run);
        }
        run.lines += m_row.lines;
        pos = m_row.next;
    }
    run.next = pos;
    run.clean = !m_tokenizer.InsideSkippedLine();
}

void CsvRowReader::ReadRecord(const FieldsRow& row, CsvRowRun& run)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    const auto columns = static_cast<std::size_t>(schema.ColumnCount());
    RunRow out;
    out.line = row.line;
    if (row.fields.size() != columns + (m_hasRaw ? 1 : 0)) {
        out.type = RunRow::Type::WrongFieldCount;
        out.fieldCount = row.fields.size();
        run.rows.push_back(out);
        return;
    }
    out.issuesBegin = static_cast<std::uint32_t>(run.issues.size());
    out.recordAt = run.bytes.size();
    run.bytes.resize(run.bytes.size() + schema.recordSize);
    std::uint8_t* bytes = run.bytes.data() + out.recordAt;

    bool fromRaw = false;
    if (m_hasRaw && !row.fields.back().text.empty()) {
        const std::string_view raw = row.fields.back().text;
        const int rawColumn = static_cast<int>(columns) + 1;
        if (TypeOf(row, columns) != CellType::Text) {
            run.issues.push_back(WrongType(row, rawColumn));
        } else {
            fromRaw = ReadHex(raw, bytes, schema.recordSize);
            if (!fromRaw) {
                run.issues.push_back(RowIssue(CsvIssue::Kind::BadRaw, row, rawColumn, raw));
                std::fill(bytes, bytes + schema.recordSize, std::uint8_t{0});
            }
        }
    }

    for (const NumberColumn& column : m_numbers) {
        const std::string_view text = row.fields[column.field].text;
        std::int32_t value = 0;
        if (!ReadNumber(text, row.readableEnd, value)) {
            run.issues.push_back(RowIssue(CsvIssue::Kind::BadNumber, row, static_cast<int>(column.field) + 1, text));
            continue;
        }
        StoreInt32(bytes + column.offset, value);
        if (column.id) out.idRead = true, out.id = value;
    }

    ReadName(row, fromRaw, out.id, bytes, out, run);
    out.issuesEnd = static_cast<std::uint32_t>(run.issues.size());
    run.rows.push_back(out);
}

void CsvRowReader::ReadName(const FieldsRow& row, bool fromRaw, std::int32_t id, std::uint8_t* record, RunRow& out,
                            CsvRowRun& run)
{
    const RecordSchema& schema = SchemaOf(m_kind);
    const std::string_view nameText = row.fields[kNameColumn].text;
    if (fromRaw) {
        m_nameText.clear();
        m_names.AppendText(ReadShortName(schema, record), m_nameText);
        if (m_nameText == nameText) return;
        out.nameChange = static_cast<std::int32_t>(run.nameChanges.size());
        run.nameChanges.push_back({row.line, id, m_nameText, std::string(nameText)});
        if (m_keepNames) return;
    }
    if (TypeOf(row, kNameColumn) != CellType::Text) {
        run.issues.push_back(WrongType(row, kNameColumn + 1));
        return;
    }
    m_nameBytes.clear();
    const NameEncoding encoded = m_names.TryAppendNameBytes(nameText, m_nameBytes);
    if (encoded == NameEncoding::NotWellFormed) {
        // The importer says so once: every row would say it again.
        run.issues.push_back(RowIssue(CsvIssue::Kind::NameNotWellFormed, row, kNameColumn + 1, nameText));
    } else if (encoded == NameEncoding::NoGbkForm || m_nameBytes.find('\0') != std::string::npos) {
        run.issues.push_back(RowIssue(CsvIssue::Kind::NameNotEncoded, row, kNameColumn + 1, nameText));
    } else if (m_nameBytes.size() > schema.nameCapacity) {
        CsvIssue issue = RowIssue(CsvIssue::Kind::NameTooLong, row, kNameColumn + 1, nameText);
        issue.number = static_cast<std::int64_t>(m_nameBytes.size());
        run.issues.push_back(std::move(issue));
    } else {
        WriteShortName(schema, record, m_nameBytes);
    }
}

} // namespace rw

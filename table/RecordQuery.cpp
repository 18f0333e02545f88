#include "table/RecordQuery.h"

#include "data/DecimalText.h"
#include "data/RecordBytes.h"
#include "table/NameOrder.h"

#include <algorithm>
#include <cstring>

namespace rw {
namespace {

[[nodiscard]] bool IsBlank(char c) { return c == ' ' || c == '\t'; }
[[nodiscard]] bool IsWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}
[[nodiscard]] char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
[[nodiscard]] bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// Whether the name holds the text at the start of one of its characters, ASCII letters in
// any case (text: its letters lowered; folds: where it holds such a letter). While the bytes
// agree from a character's start, the two share their characters' bounds, so a trail byte of
// the name is never taken for a letter.
[[nodiscard]] bool NameHolds(std::string_view name, std::string_view text, const std::vector<bool>& folds)
{
    if (text.size() > name.size()) return false;
    const std::size_t last = name.size() - text.size();
    for (std::size_t i = 0; i <= last;) {
        std::size_t k = 0;
        while (k < text.size() && (folds[k] ? Lower(name[i + k]) : name[i + k]) == text[k]) ++k;
        if (k == text.size()) return true;
        i += IsGbkLeadByte(static_cast<std::uint8_t>(name[i])) ? 2 : 1;
    }
    return false;
}

} // namespace

RecordQuery RecordQuery::Parse(std::string_view text, FileKind kind, const NameTranscoder& names)
{
    RecordQuery query;
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    query.m_empty = text.empty();
    if (query.m_empty) return query;

    // Conditions when the text holds an operator; else a text for names and IDs.
    if (text.find_first_of("=<>!") == std::string_view::npos) {
        query.m_id = ParseStrictInt32(text);
        std::string bytes;
        query.m_nameEncodes = names.AppendNameBytes(text, bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool lead = IsGbkLeadByte(static_cast<std::uint8_t>(bytes[i])) && i + 1 < bytes.size();
            query.m_nameBytes.push_back(lead ? bytes[i] : Lower(bytes[i]));
            query.m_folds.push_back(!lead);
            if (lead) {
                query.m_nameBytes.push_back(bytes[++i]);
                query.m_folds.push_back(false);
            }
        }
        return query;
    }

    const RecordSchema& schema = SchemaOf(kind);
    std::size_t i = 0;
    const auto fail = [&](QueryError::Kind errorKind, std::string_view what) {
        query.m_error = QueryError{errorKind, std::string(what)};
        query.m_conditions.clear();
        return query;
    };
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i == text.size()) break;
        const std::size_t nameStart = i;
        while (i < text.size() && IsWordChar(text[i])) ++i;
        const std::string_view title = text.substr(nameStart, i - nameStart);
        if (title.empty()) {
            std::size_t end = i;
            while (end < text.size() && !IsBlank(text[end])) ++end;
            return fail(QueryError::Kind::UnknownColumn, text.substr(i, end - i));
        }
        int column = -1;
        for (int k = 0; k < schema.ColumnCount(); ++k) {
            if (SameIgnoringAsciiCase(schema.Column(k).title, title)) column = k;
        }
        if (column < 0) return fail(QueryError::Kind::UnknownColumn, title);
        if (column == kNameColumn) return fail(QueryError::Kind::NameColumn, title);
        while (i < text.size() && IsBlank(text[i])) ++i;
        static constexpr std::pair<std::string_view, Op> kOps[] = {
            {"!=", Op::NotEqual}, {"<=", Op::LessOrEqual}, {">=", Op::GreaterOrEqual},
            {"=", Op::Equal},     {"<", Op::Less},         {">", Op::Greater},
        };
        const auto op = std::find_if(std::begin(kOps), std::end(kOps), [&](const auto& o) { return text.substr(i).starts_with(o.first); });
        if (op == std::end(kOps)) return fail(QueryError::Kind::NoOperator, title);
        i += op->first.size();
        while (i < text.size() && IsBlank(text[i])) ++i;
        const std::size_t numberStart = i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        const std::string_view number = text.substr(numberStart, end - numberStart);
        if (end != i || i == numberStart) return fail(QueryError::Kind::NoNumber, number);
        const std::optional<std::int32_t> value = ParseStrictInt32(number);
        if (!value) return fail(QueryError::Kind::NotInRange, number);
        query.m_conditions.push_back({schema.Column(column).offset, op->second, *value});
        i = end;
    }
    return query;
}

bool RecordQuery::Matches(const RecordTable& table, int row) const
{
    if (m_error) return false;
    if (m_empty) return true;
    if (m_conditions.empty()) {
        return (m_id && table.IdOfRow(row) == *m_id) || (m_nameEncodes && NameHolds(table.NameBytes(row), m_nameBytes, m_folds));
    }
    const std::uint8_t* record = table.RowBytes(row).data();
    for (const Condition& c : m_conditions) {
        const std::int32_t v = LoadInt32(record + c.offset);
        bool met = false;
        switch (c.op) {
        case Op::Equal: met = v == c.value; break;
        case Op::NotEqual: met = v != c.value; break;
        case Op::Less: met = v < c.value; break;
        case Op::LessOrEqual: met = v <= c.value; break;
        case Op::Greater: met = v > c.value; break;
        case Op::GreaterOrEqual: met = v >= c.value; break;
        }
        if (!met) return false;
    }
    return true;
}

std::vector<int> RecordQuery::MatchingRows(const RecordTable& table) const
{
    std::vector<int> rows;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (Matches(table, row)) rows.push_back(row);
    }
    return rows;
}

} // namespace rw

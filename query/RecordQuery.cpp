#include "query/RecordQuery.h"

#include "data/DecimalText.h"
#include "data/RecordBytes.h"
#include "data/NameOrder.h"

#include <algorithm>
#include <utility>

namespace rw {
namespace {

[[nodiscard]] bool IsBlank(char c) { return c == ' ' || c == '\t'; }
[[nodiscard]] bool IsOperatorChar(char c) { return c == '=' || c == '<' || c == '>' || c == '!'; }
[[nodiscard]] bool IsWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}
[[nodiscard]] char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
[[nodiscard]] std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}
// From at to the next blank or the end.
[[nodiscard]] std::size_t EndOfToken(std::string_view text, std::size_t at)
{
    while (at < text.size() && !IsBlank(text[at])) ++at;
    return at;
}
// From at to the next blank outside parentheses, or the end: an expression's extent.
[[nodiscard]] std::size_t EndOfExpression(std::string_view text, std::size_t at)
{
    int open = 0;
    for (; at < text.size() && (open > 0 || !IsBlank(text[at])); ++at) {
        if (text[at] == '(') ++open;
        if (text[at] == ')' && open > 0) --open;
    }
    return at;
}
// A whole number as it always was: a sign, then digits only.
[[nodiscard]] bool LooksWhole(std::string_view text)
{
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
// An expression as a condition writes it: in parentheses when it would read as a whole
// number, which a condition takes as one, within 32 bits (--2147483648 is 2147483648).
[[nodiscard]] std::string ExpressionText(const FieldExpression& expression)
{
    std::string text = expression.Text();
    return LooksWhole(text) ? "(" + text + ")" : text;
}
[[nodiscard]] std::size_t SkipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
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

[[nodiscard]] QueryError ErrorOf(QueryError::Kind kind, std::string_view text, std::string_view nearest = {})
{
    QueryError error;
    error.kind = kind;
    error.text = std::string(text);
    error.nearest = std::string(nearest);
    return error;
}

} // namespace

RecordQuery RecordQuery::Parse(std::string_view text, FileKind kind, const NameTranscoder& names)
{
    RecordQuery query;
    query.m_kind = kind;
    const RecordSchema& schema = SchemaOf(kind);
    if (Trimmed(text).empty()) return query;
    for (std::size_t start = 0;;) {
        const std::size_t bar = text.find('|', start);
        const std::string_view alternative = Trimmed(text.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (alternative.empty()) query.m_error = ErrorOf(QueryError::Kind::EmptyAlternative, {});
        if (query.m_error || !query.ParseAlternative(alternative, static_cast<std::size_t>(alternative.data() - text.data()), schema, names)) {
            query.m_alternatives.clear();
            return query;
        }
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return query;
}

RecordQuery::NamePart RecordQuery::MakeNamePart(std::string_view text, const NameTranscoder& names)
{
    NamePart part;
    part.text = std::string(text);
    part.id = ParseStrictInt32(text);
    std::string bytes;
    part.encodes = names.AppendNameBytes(text, bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool lead = IsGbkLeadByte(static_cast<std::uint8_t>(bytes[i])) && i + 1 < bytes.size();
        part.bytes.push_back(lead ? bytes[i] : Lower(bytes[i]));
        part.folds.push_back(!lead);
        if (lead) {
            part.bytes.push_back(bytes[++i]);
            part.folds.push_back(false);
        }
    }
    return part;
}

bool RecordQuery::ParseAlternative(std::string_view text, std::size_t base, const RecordSchema& schema, const NameTranscoder& names)
{
    Alternative alternative;
    // Without any operator it is a text as a whole, blanks inside included.
    if (std::none_of(text.begin(), text.end(), IsOperatorChar)) {
        alternative.names.push_back(MakeNamePart(text, names));
        m_alternatives.push_back(std::move(alternative));
        return true;
    }
    const auto fail = [&](QueryError::Kind errorKind, std::string_view what, std::string_view nearest = {}) {
        m_error = ErrorOf(errorKind, what, nearest);
        return false;
    };
    // Words of a name next to each other make one part, from the first word's start to the
    // last one's end.
    std::size_t nameStart = std::string_view::npos;
    std::size_t nameEnd = 0;
    const auto endName = [&] {
        if (nameStart == std::string_view::npos) return;
        alternative.names.push_back(MakeNamePart(text.substr(nameStart, nameEnd - nameStart), names));
        nameStart = std::string_view::npos;
    };
    static constexpr std::pair<std::string_view, Op> kOps[] = {
        {"!=", Op::NotEqual}, {"<=", Op::LessOrEqual}, {">=", Op::GreaterOrEqual},
        {"=", Op::Equal},     {"<", Op::Less},         {">", Op::Greater},
    };
    for (std::size_t i = SkipBlanks(text, 0); i < text.size(); i = SkipBlanks(text, i)) {
        std::size_t wordEnd = i;
        while (wordEnd < text.size() && IsWordChar(text[wordEnd])) ++wordEnd;
        const std::string_view word = text.substr(i, wordEnd - i);
        std::size_t at = SkipBlanks(text, wordEnd);
        const bool operatorFollows = at < text.size() && IsOperatorChar(text[at]);
        if (word.empty() && IsOperatorChar(text[i])) return fail(QueryError::Kind::UnknownColumn, text.substr(i, EndOfToken(text, i) - i));
        if (!word.empty() && !operatorFollows) {
            // A column's title and a number: a condition without its operator.
            const std::size_t next = EndOfToken(text, at);
            if (at > wordEnd && ColumnTitled(schema, word) >= 0 && ParseStrictInt32(text.substr(at, next - at))) {
                return fail(QueryError::Kind::NoOperator, word);
            }
        }
        if (word.empty() || !operatorFollows) {
            const std::size_t end = EndOfToken(text, i);
            if (nameStart == std::string_view::npos) nameStart = i;
            nameEnd = end;
            i = end;
            continue;
        }
        endName();
        const int column = ColumnTitled(schema, word);
        if (column < 0) return fail(QueryError::Kind::UnknownColumn, word, NearestColumnTitle(schema, word));
        if (column == kNameColumn) return fail(QueryError::Kind::NameColumn, word);
        const auto op = std::find_if(std::begin(kOps), std::end(kOps),
                                     [&](const auto& o) { return text.substr(at).starts_with(o.first); });
        if (op == std::end(kOps)) return fail(QueryError::Kind::NoOperator, word);
        at = SkipBlanks(text, at + op->first.size());
        const std::size_t end = EndOfExpression(text, at);
        const std::string_view right = text.substr(at, end - at);
        if (right.empty()) return fail(QueryError::Kind::NoNumber, word);
        Condition condition{column, schema.Column(column).offset, op->second, 0, std::nullopt};
        if (LooksWhole(right)) {
            const std::optional<std::int32_t> value = ParseStrictInt32(right);
            if (!value) return fail(QueryError::Kind::NotInRange, right);
            condition.value = *value;
        } else {
            ParsedExpression parsed = FieldExpression::Parse(right, schema.kind);
            if (parsed.error) {
                m_error = ErrorOf(QueryError::Kind::BadExpression, right);
                m_error->position = base + static_cast<std::size_t>(right.data() - text.data());
                m_error->expression = std::move(*parsed.error);
                return false;
            }
            condition.expression = std::move(parsed.expression);
        }
        alternative.conditions.push_back(std::move(condition));
        i = end;
    }
    endName();
    m_alternatives.push_back(std::move(alternative));
    return true;
}

std::string RecordQuery::CanonicalText() const
{
    static constexpr std::string_view kOpTexts[] = {"=", "!=", "<", "<=", ">", ">="};
    const RecordSchema& schema = SchemaOf(m_kind);
    std::string text;
    for (const Alternative& alternative : m_alternatives) {
        if (!text.empty()) text += " | ";
        std::string parts;
        const auto add = [&](std::string_view part) { parts.append(parts.empty() ? "" : " ").append(part); };
        // Each name part but the last followed by a condition, which keeps them apart.
        const std::size_t count = std::max(alternative.names.size(), alternative.conditions.size());
        for (std::size_t i = 0; i < count; ++i) {
            if (i < alternative.names.size()) add(alternative.names[i].text);
            if (i >= alternative.conditions.size()) continue;
            const Condition& c = alternative.conditions[i];
            add(std::string(schema.Column(c.column).title) + std::string(kOpTexts[static_cast<int>(c.op)]) +
                (c.expression ? ExpressionText(*c.expression) : FormatInt32(c.value)));
        }
        text += parts;
    }
    return text;
}

bool RecordQuery::Meets(const Alternative& alternative, const std::uint8_t* record) const
{
    for (const Condition& c : alternative.conditions) {
        const std::int32_t v = LoadInt32(record + c.offset);
        // How the field stands to what it is compared with: -1 below, 0 equal, 1 above.
        int order = (v > c.value) - (v < c.value);
        if (c.expression) {
            const std::optional<int> exact = c.expression->CompareWith(v, record);
            if (!exact) return false;
            order = *exact;
        }
        bool met = false;
        switch (c.op) {
        case Op::Equal: met = order == 0; break;
        case Op::NotEqual: met = order != 0; break;
        case Op::Less: met = order < 0; break;
        case Op::LessOrEqual: met = order <= 0; break;
        case Op::Greater: met = order > 0; break;
        case Op::GreaterOrEqual: met = order >= 0; break;
        }
        if (!met) return false;
    }
    for (const NamePart& name : alternative.names) {
        const bool met = (name.id && LoadInt32(record) == *name.id) ||
                         (name.encodes && NameHolds(ReadShortName(SchemaOf(m_kind), record), name.bytes, name.folds));
        if (!met) return false;
    }
    return true;
}

bool RecordQuery::Matches(std::span<const std::uint8_t> record) const
{
    if (m_error) return false;
    if (m_alternatives.empty()) return true;
    return std::any_of(m_alternatives.begin(), m_alternatives.end(),
                       [&](const Alternative& alternative) { return Meets(alternative, record.data()); });
}

} // namespace rw

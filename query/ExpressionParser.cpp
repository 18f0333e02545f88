#include "query/ExpressionParser.h"

#include "query/ColumnTitles.h"
#include "data/DecimalText.h"

#include <algorithm>

namespace rw {
namespace {

[[nodiscard]] bool IsBlank(char c) { return c == ' ' || c == '\t'; }
[[nodiscard]] bool IsDigit(char c) { return c >= '0' && c <= '9'; }
[[nodiscard]] bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
[[nodiscard]] bool IsWordChar(char c) { return IsWordStart(c) || IsDigit(c); }
[[nodiscard]] char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
[[nodiscard]] bool IsWord(std::string_view text, std::string_view lowered)
{
    return text.size() == lowered.size() &&
           std::equal(text.begin(), text.end(), lowered.begin(), [](char a, char b) { return Lower(a) == b; });
}

// The rest of a UTF-8 text from a byte on, as far as a person would see one token: up to the
// next blank, bracket or comma, at most 40 bytes, never cutting a character.
[[nodiscard]] std::string TokenAt(std::string_view text, std::size_t at)
{
    std::size_t end = at;
    while (end < text.size() && end - at < 40 && !IsBlank(text[end]) && text[end] != '(' && text[end] != ')' &&
           text[end] != ',') {
        ++end;
    }
    if (end == at && at < text.size()) ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return std::string(text.substr(at, end - at));
}

} // namespace

ExpressionParser::ExpressionParser(std::string_view text, FileKind kind) : m_text(text), m_schema(SchemaOf(kind)), m_out(kind) {}

ParsedExpression ExpressionParser::Run()
{
    if (Sum(0)) {
        Skip();
        if (m_at < m_text.size()) {
            Fail(ExpressionError::Kind::UnexpectedText, m_at, TokenAt(m_text, m_at));
        } else if (m_out.m_maxHeight > kMaxExpressionHeight) {
            Fail(ExpressionError::Kind::TooDeep, 0, {});
        }
    }
    if (m_error) return {std::nullopt, std::move(m_error)};
    return {std::move(m_out), std::nullopt};
}

void ExpressionParser::Skip()
{
    while (m_at < m_text.size() && IsBlank(m_text[m_at])) ++m_at;
}
bool ExpressionParser::Fail(ExpressionError::Kind kind, std::size_t at, std::string text, std::string nearest)
{
    if (!m_error) m_error = ExpressionError{kind, at, std::move(text), std::move(nearest)};
    return false;
}
bool ExpressionParser::Next(char c)
{
    Skip();
    if (m_at < m_text.size() && m_text[m_at] == c) {
        ++m_at;
        return true;
    }
    return false;
}
void ExpressionParser::Emit(FieldExpression::Code code, std::uint16_t operand) { m_out.Push({code, operand, 0}); }

bool ExpressionParser::Sum(int depth)
{
    if (!Product(depth)) return false;
    for (;;) {
        Skip();
        if (m_at >= m_text.size() || (m_text[m_at] != '+' && m_text[m_at] != '-')) return true;
        const bool add = m_text[m_at++] == '+';
        if (!Product(depth)) return false;
        Emit(add ? FieldExpression::Code::Add : FieldExpression::Code::Subtract);
    }
}

bool ExpressionParser::Product(int depth)
{
    if (!Signed(depth)) return false;
    for (;;) {
        Skip();
        if (m_at >= m_text.size() || (m_text[m_at] != '*' && m_text[m_at] != '/')) return true;
        const bool multiply = m_text[m_at++] == '*';
        if (!Signed(depth)) return false;
        Emit(multiply ? FieldExpression::Code::Multiply : FieldExpression::Code::Divide);
    }
}

bool ExpressionParser::Signed(int depth)
{
    Skip();
    if (m_at < m_text.size() && (m_text[m_at] == '-' || m_text[m_at] == '+')) {
        const bool minus = m_text[m_at] == '-';
        if (depth >= kMaxExpressionDepth) return Fail(ExpressionError::Kind::TooDeep, m_at, {});
        ++m_at;
        if (!Signed(depth + 1)) return false;
        if (minus) Negate();
        return true;
    }
    return Primary(depth);
}

// A number negated is the negative number, so that "-5" is written back as it was.
void ExpressionParser::Negate()
{
    std::vector<FieldExpression::Step>& steps = m_out.m_steps;
    if (steps.back().code == FieldExpression::Code::Number) {
        const std::uint16_t index = steps.back().operand;
        m_out.m_numbers[index] = Negated(m_out.m_numbers[index]);
        m_out.m_wholeNumbers[index] = -m_out.m_wholeNumbers[index];
        m_out.m_scaledNumbers[index].digits = -m_out.m_scaledNumbers[index].digits;
        return;
    }
    Emit(FieldExpression::Code::Negate);
}

bool ExpressionParser::Primary(int depth)
{
    Skip();
    if (m_at >= m_text.size()) return Fail(ExpressionError::Kind::NoValue, m_at, {});
    const char c = m_text[m_at];
    if (c == '(') {
        if (depth >= kMaxExpressionDepth) return Fail(ExpressionError::Kind::TooDeep, m_at, {});
        const std::size_t open = m_at++;
        if (!Sum(depth + 1)) return false;
        if (!Next(')')) return Fail(ExpressionError::Kind::NoClosingParenthesis, open, {});
        return true;
    }
    if (IsDigit(c) || c == '.') return Literal();
    if (IsWordStart(c)) return Word(depth);
    return Fail(ExpressionError::Kind::NoValue, m_at, TokenAt(m_text, m_at));
}

bool ExpressionParser::Literal()
{
    const std::size_t start = m_at;
    while (m_at < m_text.size() && (IsDigit(m_text[m_at]) || m_text[m_at] == '.')) ++m_at;
    const std::string_view digits = m_text.substr(start, m_at - start);
    const ParsedDecimal number = ParseDecimal(digits);
    switch (number.outcome) {
    case ParsedDecimal::Outcome::Done: break;
    case ParsedDecimal::Outcome::NotADecimal: return Fail(ExpressionError::Kind::NotANumber, start, std::string(digits));
    case ParsedDecimal::Outcome::TooManyDigits:
        return Fail(ExpressionError::Kind::TooManyDigits, start, std::string(digits));
    }
    m_out.PushNumber(number.value);
    return true;
}

bool ExpressionParser::Word(int depth)
{
    const std::size_t start = m_at;
    while (m_at < m_text.size() && IsWordChar(m_text[m_at])) ++m_at;
    const std::string_view word = m_text.substr(start, m_at - start);
    Skip();
    if (m_at < m_text.size() && m_text[m_at] == '(') return Function(word, start, depth);
    const int column = ColumnTitled(m_schema, word);
    if (column < 0) {
        return Fail(ExpressionError::Kind::UnknownField, start, std::string(word),
                    std::string(NearestColumnTitle(m_schema, word)));
    }
    if (column == kNameColumn) return Fail(ExpressionError::Kind::NameField, start, std::string(word));
    m_out.Push({FieldExpression::Code::Field, static_cast<std::uint16_t>(column), m_schema.Column(column).offset});
    return true;
}

bool ExpressionParser::Function(std::string_view word, std::size_t start, int depth)
{
    FieldExpression::Code code = FieldExpression::Code::Abs;
    if (IsWord(word, "min")) {
        code = FieldExpression::Code::Min;
    } else if (IsWord(word, "max")) {
        code = FieldExpression::Code::Max;
    } else if (!IsWord(word, "abs")) {
        return Fail(ExpressionError::Kind::UnknownFunction, start, std::string(word));
    }
    if (depth >= kMaxExpressionDepth) return Fail(ExpressionError::Kind::TooDeep, m_at, {});
    const std::size_t open = m_at++;
    std::size_t count = 0;
    do {
        if (!Sum(depth + 1)) return false;
        // A count that would not fit a step says itself as too many values at once.
        if (++count > kMaxExpressionHeight) return Fail(ExpressionError::Kind::TooDeep, start, {});
    } while (Next(','));
    if (!Next(')')) {
        Skip();
        return m_at < m_text.size() ? Fail(ExpressionError::Kind::UnexpectedText, m_at, TokenAt(m_text, m_at))
                                    : Fail(ExpressionError::Kind::NoClosingParenthesis, open, {});
    }
    if ((code == FieldExpression::Code::Abs) != (count == 1)) {
        return Fail(ExpressionError::Kind::ArgumentCount, start, std::string(word));
    }
    Emit(code, static_cast<std::uint16_t>(count));
    return true;
}

} // namespace rw

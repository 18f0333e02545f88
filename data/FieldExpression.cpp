#include "data/FieldExpression.h"

#include "data/ColumnTitles.h"
#include "data/DecimalText.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace rw {
namespace {

// The most values an expression holds at once while it is worked out; what the depth bound
// allows but for long lists of a function's values.
constexpr int kMaxHeight = 48;
// Room for two of them combined, as a change's column and its value are.
constexpr std::size_t kStackSize = 2 * kMaxHeight + 1;

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

[[nodiscard]] std::string WholeText(Int128 value) { return DecimalTextOf(*Rational::Fraction(value, 1)).value_or("0"); }

[[nodiscard]] std::string NumberText(const Rational& value)
{
    if (std::optional<std::string> decimal = DecimalTextOf(value)) return *decimal;
    return "(" + WholeText(value.Numerator()) + "/" + WholeText(value.Denominator()) + ")";
}

// How value stands to x: -1, 0 or 1, without a product that might not fit.
[[nodiscard]] int CompareExact(std::int64_t value, const Rational& x)
{
    // floor(x), and whether x is whole.
    Int128 floor = x.Numerator() / x.Denominator();
    const bool whole = x.Numerator() % x.Denominator() == 0;
    if (!whole && x.Numerator() < 0) --floor;
    if (Int128{value} < floor) return -1;
    if (Int128{value} > floor) return 1;
    return whole ? 0 : -1;
}

} // namespace

std::size_t CharacterNumber(std::string_view text, std::size_t byte)
{
    std::size_t characters = 1;
    for (std::size_t i = 0; i < byte && i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++characters;
    }
    return characters;
}

// Recursive descent over the text, each part read once; the steps are appended as the parts
// end, so that they come out in the order they are worked out (postfix).
class ExpressionParser {
public:
    ExpressionParser(std::string_view text, FileKind kind) : m_text(text), m_schema(SchemaOf(kind)), m_out(kind) {}

    [[nodiscard]] ParsedExpression Run()
    {
        if (Sum(0)) {
            Skip();
            if (m_at < m_text.size()) {
                Fail(ExpressionError::Kind::UnexpectedText, m_at, TokenAt(m_text, m_at));
            } else if (m_out.m_maxHeight > kMaxHeight) {
                Fail(ExpressionError::Kind::TooDeep, 0, {});
            }
        }
        if (m_error) return {std::nullopt, std::move(m_error)};
        return {std::move(m_out), std::nullopt};
    }

private:
    void Skip()
    {
        while (m_at < m_text.size() && IsBlank(m_text[m_at])) ++m_at;
    }
    bool Fail(ExpressionError::Kind kind, std::size_t at, std::string text, std::string nearest = {})
    {
        if (!m_error) m_error = ExpressionError{kind, at, std::move(text), std::move(nearest)};
        return false;
    }
    [[nodiscard]] bool Next(char c)
    {
        Skip();
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }
    void Emit(FieldExpression::Code code, std::uint16_t operand = 0) { m_out.Push({code, operand, 0}); }

    bool Sum(int depth)
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

    bool Product(int depth)
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

    bool Signed(int depth)
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
    void Negate()
    {
        std::vector<FieldExpression::Step>& steps = m_out.m_steps;
        if (steps.back().code == FieldExpression::Code::Number) {
            const std::uint16_t index = steps.back().operand;
            m_out.m_numbers[index] = Negated(m_out.m_numbers[index]);
            m_out.m_wholeNumbers[index] = -m_out.m_wholeNumbers[index];
            return;
        }
        Emit(FieldExpression::Code::Negate);
    }

    bool Primary(int depth)
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

    bool Literal()
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

    bool Word(int depth)
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

    bool Function(std::string_view word, std::size_t start, int depth)
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
            if (++count > kMaxHeight) return Fail(ExpressionError::Kind::TooDeep, start, {});
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

    std::string_view m_text;
    const RecordSchema& m_schema;
    std::size_t m_at = 0;
    FieldExpression m_out;
    std::optional<ExpressionError> m_error;
};

ParsedExpression FieldExpression::Parse(std::string_view text, FileKind kind) { return ExpressionParser(text, kind).Run(); }

FieldExpression FieldExpression::Number(FileKind kind, const Rational& value)
{
    FieldExpression expression(kind);
    expression.PushNumber(value);
    return expression;
}

FieldExpression FieldExpression::Field(FileKind kind, int column)
{
    FieldExpression expression(kind);
    const RecordSchema& schema = SchemaOf(kind);
    expression.Push({Code::Field, static_cast<std::uint16_t>(column), schema.Column(column).offset});
    return expression;
}

FieldExpression FieldExpression::Combined(const FieldExpression& left, Operator op, const FieldExpression& right)
{
    FieldExpression expression(left.m_kind);
    expression.Append(left);
    expression.Append(right);
    static constexpr Code kCodes[] = {Code::Add, Code::Subtract, Code::Multiply, Code::Divide};
    expression.Push({kCodes[static_cast<int>(op)], 0, 0});
    return expression;
}

void FieldExpression::Push(Step step)
{
    switch (step.code) {
    case Code::Number:
    case Code::Field: ++m_height; break;
    case Code::Add:
    case Code::Subtract:
    case Code::Multiply:
    case Code::Divide: --m_height; break;
    case Code::Min:
    case Code::Max: m_height -= step.operand - 1; break;
    case Code::Negate:
    case Code::Abs: break;
    }
    if (step.code == Code::Divide) m_whole = false;
    m_maxHeight = std::max(m_maxHeight, m_height);
    m_steps.push_back(step);
}

void FieldExpression::PushNumber(const Rational& value)
{
    const auto index = static_cast<std::uint16_t>(m_numbers.size());
    m_numbers.push_back(value);
    // Decimals of at most 18 digits: a whole one fits 64 bits.
    if (value.Denominator() != 1 || value.Numerator() > std::numeric_limits<std::int64_t>::max() ||
        value.Numerator() < -std::numeric_limits<std::int64_t>::max()) {
        m_whole = false;
    }
    m_wholeNumbers.push_back(m_whole ? static_cast<std::int64_t>(value.Numerator()) : 0);
    Push({Code::Number, index, 0});
}

void FieldExpression::Append(const FieldExpression& other)
{
    const int base = m_height;
    for (const Step& step : other.m_steps) {
        if (step.code == Code::Number) {
            PushNumber(other.m_numbers[step.operand]);
        } else {
            Push(step);
        }
    }
    m_maxHeight = std::max(m_maxHeight, base + other.m_maxHeight);
    m_whole = m_whole && other.m_whole;
}

std::string FieldExpression::Text() const
{
    // Each value written so far, with how tightly it binds: 1 a sum, 2 a product, 3 a sign,
    // 4 a field, a number or a function.
    std::vector<std::pair<std::string, int>> written;
    const RecordSchema& schema = SchemaOf(m_kind);
    const auto enclosed = [](const std::pair<std::string, int>& value, bool bare) {
        return bare ? value.first : "(" + value.first + ")";
    };
    for (const Step& step : m_steps) {
        switch (step.code) {
        case Code::Number: {
            const Rational& value = m_numbers[step.operand];
            const bool plain = value.Denominator() == 1 || DecimalTextOf(value).has_value();
            written.emplace_back(NumberText(value), value.Numerator() < 0 && plain ? 3 : 4);
            break;
        }
        case Code::Field: written.emplace_back(std::string(schema.Column(step.operand).title), 4); break;
        case Code::Add:
        case Code::Subtract:
        case Code::Multiply:
        case Code::Divide: {
            const int binds = step.code == Code::Add || step.code == Code::Subtract ? 1 : 2;
            static constexpr char kSigns[] = "+-*/";
            const auto right = std::move(written.back());
            written.pop_back();
            auto& left = written.back();
            // The right side in parentheses whenever it binds no tighter, so that the steps,
            // not only the value, come back the same.
            left.first = enclosed(left, left.second >= binds) + kSigns[static_cast<int>(step.code) - 2] +
                         enclosed(right, right.second > binds);
            left.second = binds;
            break;
        }
        case Code::Negate:
            written.back().first = "-" + enclosed(written.back(), written.back().second >= 3);
            written.back().second = 3;
            break;
        case Code::Min:
        case Code::Max:
        case Code::Abs: {
            std::string call = step.code == Code::Min ? "min(" : step.code == Code::Max ? "max(" : "abs(";
            const std::size_t first = written.size() - (step.code == Code::Abs ? 1 : step.operand);
            for (std::size_t i = first; i < written.size(); ++i) call.append(i == first ? "" : ",").append(written[i].first);
            written.resize(first);
            written.emplace_back(call + ")", 4);
            break;
        }
        }
    }
    return written.empty() ? std::string() : written.back().first;
}

std::optional<Rational> FieldExpression::Constant() const
{
    if (m_steps.size() == 1 && m_steps[0].code == Code::Number) return m_numbers[m_steps[0].operand];
    return std::nullopt;
}

std::optional<std::int64_t> FieldExpression::EvaluateInt64(const std::uint8_t* record) const
{
    std::array<std::int64_t, kStackSize> stack; // NOLINT: written before read
    int top = 0;
    for (const Step& step : m_steps) {
        switch (step.code) {
        case Code::Number: stack[top++] = m_wholeNumbers[step.operand]; break;
        case Code::Field: stack[top++] = LoadInt32(record + step.offset); break;
        case Code::Add:
            --top;
            if (__builtin_add_overflow(stack[top - 1], stack[top], &stack[top - 1])) return std::nullopt;
            break;
        case Code::Subtract:
            --top;
            if (__builtin_sub_overflow(stack[top - 1], stack[top], &stack[top - 1])) return std::nullopt;
            break;
        case Code::Multiply:
            --top;
            if (__builtin_mul_overflow(stack[top - 1], stack[top], &stack[top - 1])) return std::nullopt;
            break;
        case Code::Divide: return std::nullopt;
        case Code::Negate:
        case Code::Abs:
            if (stack[top - 1] == std::numeric_limits<std::int64_t>::min()) return std::nullopt;
            if (step.code == Code::Negate || stack[top - 1] < 0) stack[top - 1] = -stack[top - 1];
            break;
        case Code::Min:
        case Code::Max: {
            const int first = top - step.operand;
            std::int64_t kept = stack[first];
            for (int i = first + 1; i < top; ++i) kept = step.code == Code::Min ? std::min(kept, stack[i]) : std::max(kept, stack[i]);
            top = first;
            stack[top++] = kept;
            break;
        }
        }
    }
    return stack[0];
}

RationalResult FieldExpression::Evaluate(const std::uint8_t* record) const
{
    if (m_whole) {
        if (const std::optional<std::int64_t> value = EvaluateInt64(record)) return {Rational(*value)};
    }
    std::array<Rational, kStackSize> stack;
    int top = 0;
    const auto binary = [&](RationalResult (*operation)(const Rational&, const Rational&)) {
        --top;
        const RationalResult result = operation(stack[top - 1], stack[top]);
        stack[top - 1] = result.value;
        return result.fault;
    };
    for (const Step& step : m_steps) {
        ArithmeticFault fault = ArithmeticFault::None;
        switch (step.code) {
        case Code::Number: stack[top++] = m_numbers[step.operand]; break;
        case Code::Field: stack[top++] = Rational(LoadInt32(record + step.offset)); break;
        case Code::Add: fault = binary(&Add); break;
        case Code::Subtract: fault = binary(&Subtract); break;
        case Code::Multiply: fault = binary(&Multiply); break;
        case Code::Divide: fault = binary(&Divide); break;
        case Code::Negate: stack[top - 1] = Negated(stack[top - 1]); break;
        case Code::Abs:
            if (stack[top - 1].Numerator() < 0) stack[top - 1] = Negated(stack[top - 1]);
            break;
        case Code::Min:
        case Code::Max: {
            const int first = top - step.operand;
            Rational kept = stack[first];
            for (int i = first + 1; i < top; ++i) {
                // Which is less, by the sign of their difference.
                const RationalResult difference = Subtract(stack[i], kept);
                if (!difference.Ok()) return {Rational{}, difference.fault};
                const bool less = difference.value.Numerator() < 0;
                if (less == (step.code == Code::Min) && !difference.value.IsZero()) kept = stack[i];
            }
            top = first;
            stack[top++] = kept;
            break;
        }
        }
        if (fault != ArithmeticFault::None) return {Rational{}, fault};
    }
    return {stack[0]};
}

WholeValue FieldExpression::EvaluateWhole(const std::uint8_t* record) const
{
    Int128 rounded = 0;
    if (m_whole) {
        if (const std::optional<std::int64_t> value = EvaluateInt64(record)) {
            rounded = *value;
        } else if (const RationalResult exact = Evaluate(record); exact.Ok()) {
            rounded = RoundedHalfAwayFromZero(exact.value);
        } else {
            return {0, ValueFault::Overflow};
        }
    } else {
        const RationalResult exact = Evaluate(record);
        if (!exact.Ok()) {
            return {0, exact.fault == ArithmeticFault::DivisionByZero ? ValueFault::DivisionByZero : ValueFault::Overflow};
        }
        rounded = RoundedHalfAwayFromZero(exact.value);
    }
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max()) {
        return {0, ValueFault::OutOfRange};
    }
    return {static_cast<std::int32_t>(rounded)};
}

std::optional<int> FieldExpression::CompareWith(std::int64_t value, const std::uint8_t* record) const
{
    if (m_whole) {
        if (const std::optional<std::int64_t> exact = EvaluateInt64(record)) return (value > *exact) - (value < *exact);
    }
    const RationalResult exact = Evaluate(record);
    if (!exact.Ok()) return std::nullopt;
    return CompareExact(value, exact.value);
}

} // namespace rw

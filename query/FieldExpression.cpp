#include "query/FieldExpression.h"

#include "data/DecimalText.h"
#include "query/ExpressionParser.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace rw {
namespace {

// Room for two expressions combined, as a change's column and its value are.
constexpr std::size_t kStackSize = 2 * kMaxExpressionHeight + 1;

[[nodiscard]] std::string WholeText(Int128 value) { return DecimalTextOf(*Rational::Fraction(value, 1)).value_or("0"); }

[[nodiscard]] std::string NumberText(const Rational& value)
{
    if (std::optional<std::string> decimal = DecimalTextOf(value)) return *decimal;
    return "(" + WholeText(value.Numerator()) + "/" + WholeText(value.Denominator()) + ")";
}

// Ten to the power of 0 to 38, all that 128 bits hold.
constexpr std::array<Int128, 39> kPowersOfTen = [] {
    std::array<Int128, 39> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
    return powers;
}();
constexpr int kMostScale = 38;
constexpr Int128 kLeast = Int128{1} << 127; // the one value whose negation does not fit

// How value stands to numerator / denominator (denominator > 0): -1, 0 or 1, without a
// product that might not fit.
[[nodiscard]] int CompareExact(std::int64_t value, Int128 numerator, Int128 denominator)
{
    // floor(x), and whether x is whole.
    Int128 floor = numerator / denominator;
    const bool whole = numerator % denominator == 0;
    if (!whole && numerator < 0) --floor;
    if (Int128{value} < floor) return -1;
    if (Int128{value} > floor) return 1;
    return whole ? 0 : -1;
}

[[nodiscard]] int CompareExact(std::int64_t value, const Rational& x) { return CompareExact(value, x.Numerator(), x.Denominator()); }

// numerator / 10^scale to the nearest whole number, halves away from zero.
[[nodiscard]] Int128 RoundedScaled(Int128 digits, int scale)
{
    const Int128 power = kPowersOfTen[static_cast<std::size_t>(scale)];
    Int128 whole = digits / power;
    const Int128 rest = digits % power;
    const Int128 magnitude = rest < 0 ? -rest : rest;
    if (magnitude >= power - magnitude) whole += digits < 0 ? -1 : 1;
    return whole;
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
    if (step.code == Code::Divide) m_whole = m_decimal = false;
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
    // A decimal as digits and a scale: n / 2^a 5^b is n 10^e / (2^a 5^b) over 10^e.
    Scaled scaled;
    bool decimal = false;
    for (int scale = 0; scale <= 18 && !decimal; ++scale) {
        const Int128 power = kPowersOfTen[static_cast<std::size_t>(scale)];
        if (power % value.Denominator() != 0) continue;
        decimal = !__builtin_mul_overflow(value.Numerator(), power / value.Denominator(), &scaled.digits);
        scaled.scale = scale;
    }
    m_decimal = m_decimal && decimal;
    m_scaledNumbers.push_back(scaled);
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
    m_decimal = m_decimal && other.m_decimal;
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

std::optional<FieldExpression::Scaled> FieldExpression::EvaluateScaled(const std::uint8_t* record) const
{
    std::array<Scaled, kStackSize> stack; // NOLINT: written before read
    int top = 0;
    // The two on top at the one scale of the finer.
    const auto aligned = [&](Scaled& a, Scaled& b) {
        Scaled& coarser = a.scale < b.scale ? a : b;
        const int finer = std::max(a.scale, b.scale);
        if (__builtin_mul_overflow(coarser.digits, kPowersOfTen[static_cast<std::size_t>(finer - coarser.scale)], &coarser.digits)) {
            return false;
        }
        coarser.scale = finer;
        return true;
    };
    for (const Step& step : m_steps) {
        switch (step.code) {
        case Code::Number: stack[top++] = m_scaledNumbers[step.operand]; break;
        case Code::Field: stack[top++] = {LoadInt32(record + step.offset), 0}; break;
        case Code::Add:
        case Code::Subtract: {
            Scaled& a = stack[top - 2];
            Scaled& b = stack[--top];
            if (!aligned(a, b)) return std::nullopt;
            const bool fits = step.code == Code::Add ? !__builtin_add_overflow(a.digits, b.digits, &a.digits)
                                                     : !__builtin_sub_overflow(a.digits, b.digits, &a.digits);
            if (!fits || a.digits == kLeast) return std::nullopt;
            break;
        }
        case Code::Multiply: {
            Scaled& a = stack[top - 2];
            const Scaled& b = stack[--top];
            if (__builtin_mul_overflow(a.digits, b.digits, &a.digits) || a.digits == kLeast) return std::nullopt;
            a.scale += b.scale;
            if (a.scale > kMostScale) return std::nullopt;
            break;
        }
        case Code::Divide: return std::nullopt;
        case Code::Negate:
        case Code::Abs:
            if (step.code == Code::Negate || stack[top - 1].digits < 0) stack[top - 1].digits = -stack[top - 1].digits;
            break;
        case Code::Min:
        case Code::Max: {
            const int first = top - step.operand;
            Scaled kept = stack[first];
            for (int i = first + 1; i < top; ++i) {
                if (!aligned(kept, stack[i])) return std::nullopt;
                if ((stack[i].digits < kept.digits) == (step.code == Code::Min) && stack[i].digits != kept.digits) kept = stack[i];
            }
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
    } else if (m_decimal) {
        if (const std::optional<Scaled> value = EvaluateScaled(record)) {
            return {*Rational::Fraction(value->digits, kPowersOfTen[static_cast<std::size_t>(value->scale)])};
        }
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
    } else if (const std::optional<Scaled> scaled = m_decimal ? EvaluateScaled(record) : std::nullopt) {
        rounded = RoundedScaled(scaled->digits, scaled->scale);
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
    } else if (m_decimal) {
        if (const std::optional<Scaled> exact = EvaluateScaled(record)) {
            return CompareExact(value, exact->digits, kPowersOfTen[static_cast<std::size_t>(exact->scale)]);
        }
    }
    const RationalResult exact = Evaluate(record);
    if (!exact.Ok()) return std::nullopt;
    return CompareExact(value, exact.value);
}

} // namespace rw

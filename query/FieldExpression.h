#pragma once

// A value worked out from a record's own fields, such as "NeedLevel*120+Stdmode" or
// "max(Dc,Dc2)*1.5": the one small language of the find bar's comparisons, 批量修改's 公式 and
// recwright-cli's --where, --set and find.
// - a field by its column's title in any letter case (the ID's included, not the name's);
// - whole and decimal numbers ("120", "1.15", ".5"), of at most 18 digits as a factor;
// - + - * / with * and / before + and -, each left to right; parentheses; unary minus and plus;
// - min(a, b, ...) and max(a, b, ...) of two or more values, abs(x); function names in any case.
// Blanks may stand between the parts. Arithmetic is exact, on fractions of 128-bit integers:
// decimals are decimals, never binary fractions, and a value that does not fit them, or a
// division by zero, is a fault of that record, never a wrong number.
//
// The text is read once, in one pass, into steps over the fields' offsets; evaluating a record
// allocates nothing. An expression of whole numbers without division runs on 64-bit integers,
// one of decimals without division on 128-bit integers counted in powers of ten, each turning
// to fractions only when a value would not fit them; a division runs on fractions.

#include "data/FileKind.h"
#include "data/Rational.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

struct ExpressionError {
    enum class Kind : std::uint8_t {
        NoValue,          // nothing, or an operator, where a value should be; text: what is there
        UnexpectedText,   // text: what stands after a whole value
        UnknownField,     // text: the word; nearest: the title most likely meant, if any
        NameField,        // text: the name's title; a name is no number
        UnknownFunction,  // text: the word before "("
        ArgumentCount,    // text: the function (min and max take two or more values, abs one)
        NoClosingParenthesis,
        NotANumber,       // text: such as "1.2.3"
        TooManyDigits,    // text: the number
        TooDeep,          // nested deeper than kMaxExpressionDepth, or too many values at once
    };
    Kind kind = Kind::NoValue;
    std::size_t position = 0; // bytes into the text, from 0
    std::string text;
    std::string nearest;
};

// How deep parentheses, signs and functions may nest.
inline constexpr int kMaxExpressionDepth = 32;

// Where a byte of a UTF-8 text stands for a person: its character's number, from 1.
[[nodiscard]] std::size_t CharacterNumber(std::string_view text, std::size_t byte);

// Why a record gives no whole value.
enum class ValueFault : std::uint8_t {
    None,
    Overflow,       // a value on the way, or the exact result, does not fit 128-bit fractions
    DivisionByZero,
    OutOfRange,     // the result, rounded, is outside the signed 32-bit range
};

struct WholeValue {
    std::int32_t value = 0;
    ValueFault fault = ValueFault::None;
    [[nodiscard]] bool Ok() const { return fault == ValueFault::None; }
};

class FieldExpression;

struct ParsedExpression;

class FieldExpression {
public:
    enum class Operator : std::uint8_t { Add, Subtract, Multiply, Divide };

    // Zero.
    FieldExpression() : FieldExpression(Number(FileKind::Item, 0)) {}

    // text: as typed. kind: whose columns name the fields.
    [[nodiscard]] static ParsedExpression Parse(std::string_view text, FileKind kind);
    [[nodiscard]] static FieldExpression Number(FileKind kind, const Rational& value);
    // column: a numeric column of kind.
    [[nodiscard]] static FieldExpression Field(FileKind kind, int column);
    // left op right, as though written "(left)op(right)". Both of one kind.
    [[nodiscard]] static FieldExpression Combined(const FieldExpression& left, Operator op, const FieldExpression& right);

    [[nodiscard]] FileKind Kind() const { return m_kind; }
    // Written out in one form: the columns' titles as the kind has them, no blanks, only the
    // parentheses the meaning needs; it parses again to the same steps.
    [[nodiscard]] std::string Text() const;
    // The number it always is, when it names no field.
    [[nodiscard]] std::optional<Rational> Constant() const;

    // record: an image of the kind's size. The exact value, or why there is none.
    [[nodiscard]] RationalResult Evaluate(const std::uint8_t* record) const;
    // The exact value rounded once to the nearest whole number, halves away from zero (50 ×
    // 1.15 is 58, 7 / 2 is 4, -7 / 2 is -4), within the signed 32-bit range.
    [[nodiscard]] WholeValue EvaluateWhole(const std::uint8_t* record) const;
    // How value stands to the exact value, below (-1), equal (0) or above (1); empty when the
    // record gives none.
    [[nodiscard]] std::optional<int> CompareWith(std::int64_t value, const std::uint8_t* record) const;

    friend bool operator==(const FieldExpression&, const FieldExpression&) = default;

private:
    enum class Code : std::uint8_t { Number, Field, Add, Subtract, Multiply, Divide, Negate, Min, Max, Abs };
    struct Step {
        Code code = Code::Number;
        std::uint16_t operand = 0; // Number: its index; Field: the column; Min, Max: how many values
        std::uint16_t offset = 0;  // Field: where the record holds it
        friend bool operator==(const Step&, const Step&) = default;
    };
    friend class ExpressionParser;

    explicit FieldExpression(FileKind kind) : m_kind(kind) {}
    void PushNumber(const Rational& value);
    // A decimal: digits times ten to the power of -scale.
    struct Scaled {
        Int128 digits = 0;
        int scale = 0;
        friend bool operator==(const Scaled&, const Scaled&) = default;
    };
    // With no overflow on the way: the value of an expression whose steps are all whole.
    [[nodiscard]] std::optional<std::int64_t> EvaluateInt64(const std::uint8_t* record) const;
    // With no overflow on the way: the value of an expression of decimals without division.
    [[nodiscard]] std::optional<Scaled> EvaluateScaled(const std::uint8_t* record) const;
    void Push(Step step);
    void Append(const FieldExpression& other);

    FileKind m_kind = FileKind::Item;
    std::vector<Step> m_steps;
    std::vector<Rational> m_numbers;
    std::vector<std::int64_t> m_wholeNumbers; // m_numbers as 64-bit integers, where all are whole
    int m_height = 0;    // values on the stack after the steps so far
    int m_maxHeight = 0; // the most at any point
    std::vector<Scaled> m_scaledNumbers;      // m_numbers as decimals, where all are
    bool m_whole = true;   // no division, no fraction: 64-bit integers first
    bool m_decimal = true; // no division, decimals only: scaled 128-bit integers first
};

struct ParsedExpression {
    std::optional<FieldExpression> expression;
    std::optional<ExpressionError> error; // when expression is empty
};

} // namespace rw

#include "data/DecimalText.h"
#include "data/Rational.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace rw {
namespace {

[[nodiscard]] Rational Decimal(const char* text) { return ParseDecimal(text).value; }

[[nodiscard]] std::string Shown(const RationalResult& result)
{
    switch (result.fault) {
    case ArithmeticFault::Overflow: return "overflow";
    case ArithmeticFault::DivisionByZero: return "division by zero";
    case ArithmeticFault::None: break;
    }
    return DecimalTextOf(result.value).value_or("not a decimal");
}

// Sums, products and quotients of decimals are the decimals a person works out by hand; one
// that does not fit in 128 bits is said to, never wrapped.
TEST(Rational, ArithmeticIsExactAndSaysWhenItCannotBe)
{
    const Rational huge = *Rational::Fraction(Int128{1} << 100, 1);
    const Rational tiny = *Rational::Fraction(1, Int128{1} << 100);
    struct Case { RationalResult result; std::string shown; };
    const Case cases[] = {
        {Add(Decimal("0.1"), Decimal("0.2")), "0.3"},
        {Subtract(Decimal("0.3"), Decimal("0.1")), "0.2"},
        {Multiply(50, Decimal("1.15")), "57.5"},
        {Multiply(Decimal("-1.005"), 100), "-100.5"},
        {Divide(-7, 2), "-3.5"},
        {Multiply(Divide(1, 3).value, 3), "1"},
        {Divide(1, 3), "not a decimal"},
        {Divide(5, 0), "division by zero"},
        {Multiply(huge, huge), "overflow"},
        {Add(huge, Multiply(huge, 134217727).value), "overflow"},
        {Multiply(tiny, tiny), "overflow"},
        {Multiply(huge, tiny), "1"},
        {Subtract(Negated(huge), Multiply(huge, 134217727).value), "overflow"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Shown(cases[i].result), cases[i].shown) << "case " << i;
    EXPECT_FALSE(Rational::Fraction(1, 0));
}

TEST(Rational, RoundsHalvesAwayFromZero)
{
    struct Case { const char* value; long long rounded; };
    const Case cases[] = {{"2.5", 3}, {"-2.5", -3}, {"2.4999", 2}, {"-2.5001", -3}, {"0.5", 1}, {"-0.4", 0}, {"7", 7}, {"57.5", 58}};
    for (const Case& c : cases) EXPECT_EQ(static_cast<long long>(RoundedHalfAwayFromZero(Decimal(c.value))), c.rounded) << c.value;
    const Rational largest = *Rational::Fraction(~(Int128{1} << 127), 1);
    EXPECT_EQ(RoundedHalfAwayFromZero(largest), largest.Numerator());
    EXPECT_EQ(RoundedHalfAwayFromZero(*Rational::Fraction(largest.Numerator(), 2)), (largest.Numerator() >> 1) + 1);
}

} // namespace
} // namespace rw

#include "data/Rational.h"

#include <utility>

namespace rw {
namespace {

__extension__ using UInt128 = unsigned __int128;

// The one value whose negation does not fit is never held, so that signs can always change.
constexpr Int128 kMaxMagnitude = static_cast<Int128>(~UInt128{0} >> 1);
constexpr Int128 kUnheld = -kMaxMagnitude - 1;

[[nodiscard]] UInt128 Magnitude(Int128 value) { return value < 0 ? UInt128{0} - static_cast<UInt128>(value) : static_cast<UInt128>(value); }

[[nodiscard]] UInt128 GreatestCommonDivisor(UInt128 a, UInt128 b)
{
    while (b != 0) {
        a %= b;
        std::swap(a, b);
    }
    return a;
}

[[nodiscard]] RationalResult Failed(ArithmeticFault fault) { return {Rational{}, fault}; }

[[nodiscard]] RationalResult FractionOrOverflow(Int128 numerator, Int128 denominator)
{
    const std::optional<Rational> value = Rational::Fraction(numerator, denominator);
    return value ? RationalResult{*value} : Failed(ArithmeticFault::Overflow);
}

// a × b, or empty when that does not fit.
[[nodiscard]] std::optional<Int128> Product(Int128 a, Int128 b)
{
    Int128 product = 0;
    if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
    return product;
}

[[nodiscard]] std::optional<Int128> Sum(Int128 a, Int128 b)
{
    Int128 sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
    return sum;
}

[[nodiscard]] Int128 Divided(Int128 value, UInt128 divisor) { return value / static_cast<Int128>(divisor); }

void AppendWhole(std::string& text, UInt128 value)
{
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    text.append(digits.rbegin(), digits.rend());
}

} // namespace

std::optional<Rational> Rational::Fraction(Int128 numerator, Int128 denominator)
{
    if (denominator == 0 || numerator == kUnheld || denominator == kUnheld) return std::nullopt;
    const UInt128 common = GreatestCommonDivisor(Magnitude(numerator), Magnitude(denominator));
    Rational value;
    value.m_numerator = Divided(numerator, common);
    value.m_denominator = Divided(denominator, common);
    if (value.m_denominator < 0) {
        value.m_numerator = -value.m_numerator;
        value.m_denominator = -value.m_denominator;
    }
    return value;
}

RationalResult Add(const Rational& a, const Rational& b)
{
    // Over the least common denominator, so that sums of decimals stay small.
    const UInt128 common = GreatestCommonDivisor(static_cast<UInt128>(a.Denominator()), static_cast<UInt128>(b.Denominator()));
    const Int128 aScale = Divided(b.Denominator(), common);
    const Int128 bScale = Divided(a.Denominator(), common);
    const std::optional<Int128> left = Product(a.Numerator(), aScale);
    const std::optional<Int128> right = Product(b.Numerator(), bScale);
    const std::optional<Int128> numerator = left && right ? Sum(*left, *right) : std::nullopt;
    const std::optional<Int128> denominator = Product(a.Denominator(), aScale);
    if (!numerator || !denominator) return Failed(ArithmeticFault::Overflow);
    return FractionOrOverflow(*numerator, *denominator);
}

RationalResult Subtract(const Rational& a, const Rational& b) { return Add(a, Negated(b)); }

RationalResult Multiply(const Rational& a, const Rational& b)
{
    // Reduced across first, so that a product that fits is never refused for its factors.
    const UInt128 ab = GreatestCommonDivisor(Magnitude(a.Numerator()), static_cast<UInt128>(b.Denominator()));
    const UInt128 ba = GreatestCommonDivisor(Magnitude(b.Numerator()), static_cast<UInt128>(a.Denominator()));
    const std::optional<Int128> numerator = Product(Divided(a.Numerator(), ab), Divided(b.Numerator(), ba));
    const std::optional<Int128> denominator = Product(Divided(a.Denominator(), ba), Divided(b.Denominator(), ab));
    if (!numerator || !denominator) return Failed(ArithmeticFault::Overflow);
    return FractionOrOverflow(*numerator, *denominator);
}

RationalResult Divide(const Rational& a, const Rational& b)
{
    if (b.IsZero()) return Failed(ArithmeticFault::DivisionByZero);
    return Multiply(a, *Rational::Fraction(b.Denominator(), b.Numerator()));
}

Rational Negated(const Rational& a) { return *Rational::Fraction(-a.Numerator(), a.Denominator()); }

Int128 RoundedHalfAwayFromZero(const Rational& a)
{
    const UInt128 magnitude = Magnitude(a.Numerator());
    const auto denominator = static_cast<UInt128>(a.Denominator());
    UInt128 whole = magnitude / denominator;
    const UInt128 rest = magnitude % denominator;
    // rest / denominator >= 1/2, without doubling rest, which might not fit.
    if (rest >= denominator - rest) ++whole;
    const auto rounded = static_cast<Int128>(whole);
    return a.Numerator() < 0 ? -rounded : rounded;
}

std::optional<std::string> DecimalTextOf(const Rational& a)
{
    auto denominator = static_cast<UInt128>(a.Denominator());
    UInt128 rest = denominator;
    while (rest % 2 == 0) rest /= 2;
    while (rest % 5 == 0) rest /= 5;
    if (rest != 1) return std::nullopt;

    std::string text = a.Numerator() < 0 ? "-" : "";
    const UInt128 magnitude = Magnitude(a.Numerator());
    AppendWhole(text, magnitude / denominator);
    UInt128 remainder = magnitude % denominator;
    if (remainder != 0) text.push_back('.');
    // Each digit is the next tenth of what remains; it ends, the denominator being 2^i 5^j.
    while (remainder != 0) {
        if (remainder > ~UInt128{0} / 10) return std::nullopt;
        remainder *= 10;
        text.push_back(static_cast<char>('0' + static_cast<int>(remainder / denominator)));
        remainder %= denominator;
    }
    return text;
}

} // namespace rw

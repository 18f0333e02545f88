#pragma once

// An exact number: a fraction of two 128-bit integers in lowest terms. Decimals as a person
// types them are exact here (1.15 is 115/100, never the binary double nearest it, which is a
// little less, so that 50 × 1.15 would round to 57), and so is every sum, difference, product
// and quotient of them, until one result is rounded once at the end. An operation whose
// result does not fit says so instead of wrapping.

#include <cstdint>
#include <optional>
#include <string>

namespace rw {

__extension__ using Int128 = __int128;

enum class ArithmeticFault : std::uint8_t {
    None,
    Overflow,       // the exact result's numerator or denominator needs more than 127 bits
    DivisionByZero,
};

class Rational {
public:
    // Zero.
    constexpr Rational() = default;
    // A whole number.
    constexpr Rational(std::int64_t whole) : m_numerator(whole) {} // NOLINT: a whole number is a rational one

    // numerator / denominator in lowest terms; empty when the denominator is zero or either
    // is the one value whose negation does not fit.
    [[nodiscard]] static std::optional<Rational> Fraction(Int128 numerator, Int128 denominator);

    [[nodiscard]] Int128 Numerator() const { return m_numerator; }
    // Always positive.
    [[nodiscard]] Int128 Denominator() const { return m_denominator; }
    [[nodiscard]] bool IsZero() const { return m_numerator == 0; }

    friend bool operator==(const Rational&, const Rational&) = default;

private:
    Int128 m_numerator = 0;
    Int128 m_denominator = 1;
};

// A result, or why there is none (value is then zero).
struct RationalResult {
    Rational value;
    ArithmeticFault fault = ArithmeticFault::None;

    [[nodiscard]] bool Ok() const { return fault == ArithmeticFault::None; }
};

[[nodiscard]] RationalResult Add(const Rational& a, const Rational& b);
[[nodiscard]] RationalResult Subtract(const Rational& a, const Rational& b);
[[nodiscard]] RationalResult Multiply(const Rational& a, const Rational& b);
[[nodiscard]] RationalResult Divide(const Rational& a, const Rational& b);
[[nodiscard]] Rational Negated(const Rational& a);

// The nearest whole number, halves away from zero (2.5 is 3, -2.5 is -3). Always fits.
[[nodiscard]] Int128 RoundedHalfAwayFromZero(const Rational& a);

// As a decimal a person would type ("1.15", "-0.5", "3"), when it is one: its denominator
// has no prime factor but 2 and 5. Empty for 1/3 and its like.
[[nodiscard]] std::optional<std::string> DecimalTextOf(const Rational& a);

} // namespace rw

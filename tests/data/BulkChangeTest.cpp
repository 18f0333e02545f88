#include "data/BulkChange.h"
#include "data/DecimalText.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace rw {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// factor: a decimal as typed.
[[nodiscard]] BulkChange ChangeOf(BulkOperation operation, std::int64_t value, const char* factor = "1")
{
    BulkChange change;
    change.operation = operation;
    change.value = value;
    change.factor = ParseDecimal(factor).value;
    return change;
}

// Rounded to the nearest whole number, halves away from zero; refused outside 32 bits.
TEST(BulkChange, ValuesRoundToNearestAndStayWithin32Bits)
{
    struct Case { BulkChange change; std::int32_t now; std::optional<std::int32_t> wanted; };
    const Case cases[] = {
        {ChangeOf(BulkOperation::Set, -5), 100, -5},
        {ChangeOf(BulkOperation::Add, 1), kMax - 1, kMax},
        {ChangeOf(BulkOperation::Add, 1), kMax, std::nullopt},
        {ChangeOf(BulkOperation::Add, -1), kMin, std::nullopt},
        {ChangeOf(BulkOperation::Multiply, 0, "1.2"), 1000, 1200},
        {ChangeOf(BulkOperation::Multiply, 0, ".5"), 5, 3},
        {ChangeOf(BulkOperation::Multiply, 0, ".5"), -5, -3},
        // Factors no binary fraction holds: the product is exact, rounded once.
        {ChangeOf(BulkOperation::Multiply, 0, "1.15"), 50, 58},
        {ChangeOf(BulkOperation::Multiply, 0, "1.15"), 90, 104},
        {ChangeOf(BulkOperation::Multiply, 0, "0.7"), 45, 32},
        {ChangeOf(BulkOperation::Multiply, 0, "1.005"), 100, 101},
        {ChangeOf(BulkOperation::Multiply, 0, "-1.15"), 50, -58},
        {ChangeOf(BulkOperation::Multiply, 0, "0.000000000000000001"), kMax, 0},
        {ChangeOf(BulkOperation::Multiply, 0, "999999999999999999"), kMax, std::nullopt},
        {ChangeOf(BulkOperation::Multiply, 0, "2"), 1 << 30, std::nullopt},
        {ChangeOf(BulkOperation::Multiply, 0, "-1"), kMin, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, "2"), 7, 4},
        {ChangeOf(BulkOperation::Divide, 0, "2"), -7, -4},
        {ChangeOf(BulkOperation::Divide, 0, "3"), 10, 3},
        {ChangeOf(BulkOperation::Divide, 0, "0.3"), 10, 33},
        {ChangeOf(BulkOperation::Divide, 0, "0.7"), 35, 50},
        {ChangeOf(BulkOperation::Divide, 0, "0.5"), kMax, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, "-1"), kMin, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, "0.000000000000000001"), 1, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, "0"), 1, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, "0"), 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BulkChangedValue(c.change, c.now), c.wanted)
            << static_cast<int>(c.change.operation) << " " << c.change.value << " "
            << DecimalTextOf(c.change.factor).value_or("?") << " on " << c.now;
    }
}

// Records taking IDs at once may pass them among themselves, but not take one a record left
// alone holds, nor one another of them takes.
TEST(BulkChange, MembersSharingIdsAreNamedTogether)
{
    struct Case { std::vector<std::int32_t> ids; std::vector<std::size_t> sharing; };
    // Held: records 0, 1, 2 with IDs 10, 20, 30; the batch rewrites records 0 and 1.
    const Case cases[] = {
        {{20, 10}, {}},
        {{11, 12}, {}},
        {{30, 12}, {0}},
        {{15, 15}, {0, 1}},
        {{30, 30}, {0, 1}},
    };
    for (const Case& c : cases) {
        UniqueIds held(FileKind::Item);
        for (std::uint32_t i = 0; i < 3; ++i) (void)held.Claim(static_cast<std::int32_t>(10 * (i + 1)), i);
        const auto rewrites = [](std::uint32_t holder) { return holder < 2; };
        EXPECT_EQ(MembersSharingIds(held, rewrites, c.ids), c.sharing) << c.ids[0] << "," << c.ids[1];
    }
    UniqueIds spells(FileKind::Magic);
    EXPECT_TRUE(MembersSharingIds(spells, nullptr, std::vector<std::int32_t>{5, 5}).empty());
}

// Exactly the number written, as a fraction in lowest terms; what no person types refused.
TEST(DecimalText, DecimalsAsAPersonTypesThemAreExact)
{
    using Outcome = ParsedDecimal::Outcome;
    struct Case { const char* text; Outcome outcome; std::int64_t numerator = 0, denominator = 1; };
    const Case cases[] = {
        {"1.2", Outcome::Done, 6, 5}, {" -2 ", Outcome::Done, -2}, {".25", Outcome::Done, 1, 4}, {"3.", Outcome::Done, 3},
        {"+.5", Outcome::Done, 1, 2}, {"-.5", Outcome::Done, -1, 2}, {"\t7\t", Outcome::Done, 7}, {"1.15", Outcome::Done, 23, 20},
        {"-0", Outcome::Done, 0}, {"007.500", Outcome::Done, 15, 2},
        {"123456789012345678", Outcome::Done, 123456789012345678}, {"0.000000000000000001", Outcome::Done, 1, 1'000'000'000'000'000'000},
        {"100000000000000000000000000000.000", Outcome::TooManyDigits}, {"1234567890.123456789", Outcome::TooManyDigits},
        {"0.0000000000000000001", Outcome::TooManyDigits},
        {"", Outcome::NotADecimal}, {".", Outcome::NotADecimal}, {"-", Outcome::NotADecimal}, {"+-5", Outcome::NotADecimal},
        {"--5", Outcome::NotADecimal}, {"1e3", Outcome::NotADecimal}, {"1.2.3", Outcome::NotADecimal},
        {"inf", Outcome::NotADecimal}, {"nan", Outcome::NotADecimal}, {"1,5", Outcome::NotADecimal},
        {"0x10", Outcome::NotADecimal}, {"1 2", Outcome::NotADecimal},
    };
    for (const Case& c : cases) {
        const ParsedDecimal parsed = ParseDecimal(c.text);
        EXPECT_EQ(parsed.outcome, c.outcome) << "'" << c.text << "'";
        if (c.outcome == Outcome::Done) {
            EXPECT_EQ(parsed.value, *Rational::Fraction(c.numerator, c.denominator)) << "'" << c.text << "'";
        }
    }
}

} // namespace
} // namespace rw

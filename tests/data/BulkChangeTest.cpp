// Exact decimals: read as a person types them, worked out as fractions that say when they
// cannot be, and the change of many records' values built on them.

#include "query/BulkChange.h"
#include "data/DecimalText.h"
#include "data/Rational.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace rw {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

constexpr int kPrice = 29; // an item's Price column

// An item record whose Price is price.
[[nodiscard]] std::array<std::uint8_t, 184> ItemPriced(std::int32_t price)
{
    std::array<std::uint8_t, 184> record{};
    StoreInt32(record.data() + SchemaOf(FileKind::Item).Column(kPrice).offset, price);
    return record;
}

// operand: a decimal as typed.
[[nodiscard]] BulkChange ChangeOf(BulkOperation operation, const char* operand)
{
    return ChangeOf(FileKind::Item, kPrice, operation, FieldExpression::Number(FileKind::Item, ParseDecimal(operand).value));
}

// Rounded to the nearest whole number, halves away from zero; refused outside 32 bits.
TEST(BulkChange, ValuesRoundToNearestAndStayWithin32Bits)
{
    using enum BulkOperation;
    struct Case { BulkOperation operation; const char* operand; std::int32_t now; std::optional<std::int32_t> wanted; };
    const Case cases[] = {
        {Set, "-5", 100, -5},
        {Add, "1", kMax - 1, kMax}, {Add, "1", kMax, std::nullopt}, {Add, "-1", kMin, std::nullopt},
        {Subtract, "1", kMin, std::nullopt}, {Subtract, "-2147483648", -1, kMax},
        {Multiply, "1.2", 1000, 1200}, {Multiply, ".5", 5, 3}, {Multiply, ".5", -5, -3},
        // Factors no binary fraction holds: the product is exact, rounded once.
        {Multiply, "1.15", 50, 58}, {Multiply, "1.15", 90, 104}, {Multiply, "0.7", 45, 32}, {Multiply, "1.005", 100, 101},
        {Multiply, "-1.15", 50, -58}, {Multiply, "0.000000000000000001", kMax, 0},
        {Multiply, "999999999999999999", kMax, std::nullopt}, {Multiply, "2", 1 << 30, std::nullopt},
        {Multiply, "-1", kMin, std::nullopt},
        {Divide, "2", 7, 4}, {Divide, "2", -7, -4}, {Divide, "3", 10, 3}, {Divide, "0.3", 10, 33}, {Divide, "0.7", 35, 50},
        {Divide, "0.5", kMax, std::nullopt}, {Divide, "-1", kMin, std::nullopt},
        {Divide, "0.000000000000000001", 1, std::nullopt}, {Divide, "0", 1, std::nullopt}, {Divide, "0", 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto record = ItemPriced(c.now);
        const WholeValue value = ChangeOf(c.operation, c.operand).value.EvaluateWhole(record.data());
        EXPECT_EQ(value.Ok() ? std::optional<std::int32_t>(value.value) : std::nullopt, c.wanted)
            << static_cast<int>(c.operation) << " " << c.operand << " on " << c.now;
    }
}

// A change is planned whole: every record's value, or the records refused for the first fault
// met, all of them however many; the ID rule only when the IDs change.
TEST(BulkChange, PlansAreWholeOrNamesEveryRecordRefused)
{
    // Prices 0, 1, ..., 11; record 3's Stock is 0, the others' 1.
    std::vector<std::array<std::uint8_t, 184>> records;
    const RecordSchema& schema = SchemaOf(FileKind::Item);
    for (std::int32_t i = 0; i < 12; ++i) {
        records.push_back(ItemPriced(i));
        StoreInt32(records.back().data(), 100 + i);
        StoreInt32(records.back().data() + schema.Column(30).offset, i == 3 ? 0 : 1);
    }
    UniqueIds held(FileKind::Item);
    for (std::uint32_t i = 0; i < 12; ++i) (void)held.Claim(100 + static_cast<std::int32_t>(i), i);
    using O = BulkPlan::Outcome;
    struct Case { const char* formula; int column; O outcome; std::vector<std::size_t> members; std::vector<std::int32_t> values; };
    const Case cases[] = {
        {"Price*2+1", kPrice, O::Done, {}, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23}},
        {"Price/Stock", kPrice, O::DivisionByZero, {3}, {}},
        {"Price*2147483647*2147483647*2147483647*2147483647*2147483647", kPrice, O::Overflow,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {}},
        // The first fault met decides which records are named.
        {"2147483647+Price/Stock", kPrice, O::OutOfRange, {1, 2, 4, 5, 6, 7, 8, 9, 10, 11}, {}},
        {"ItemID+1", kIdColumn, O::Done, {}, {101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112}},
        {"max(ItemID,105)", kIdColumn, O::DuplicateId, {0, 1, 2, 3, 4, 5}, {}},
        {"max(ItemID,105)", kPrice, O::Done, {}, {105, 105, 105, 105, 105, 105, 106, 107, 108, 109, 110, 111}},
        {"ItemID-Price", kIdColumn, O::DuplicateId, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {}},
    };
    const BulkRecords over{records.size(), [&](std::size_t member) { return records[member].data(); }, &held,
                           [](std::uint32_t) { return true; }}; // every record is in the change
    for (const Case& c : cases) {
        const ParsedExpression parsed = FieldExpression::Parse(c.formula, FileKind::Item);
        ASSERT_TRUE(parsed.expression) << c.formula;
        const BulkPlan plan = PlanBulkChange(FormulaOf(FileKind::Item, c.column, *parsed.expression), over);
        EXPECT_EQ(std::tie(plan.outcome, plan.members, plan.values), std::tie(c.outcome, c.members, c.values)) << c.formula;
    }
    EXPECT_EQ(FormulaOf(FileKind::Item, kPrice, *FieldExpression::Parse(" needlevel * 120 ", FileKind::Item).expression).formula,
              "Price=NeedLevel*120");
}

// Records taking IDs at once may pass them among themselves, but not take one a record left
// alone holds, nor one another of them takes.
TEST(BulkChange, MembersSharingIdsAreNamedTogether)
{
    struct Case { std::vector<std::int32_t> ids; std::vector<std::size_t> sharing; };
    // Held: records 0, 1, 2 with IDs 10, 20, 30; the batch rewrites records 0 and 1.
    const Case cases[] = {{{20, 10}, {}}, {{11, 12}, {}}, {{30, 12}, {0}}, {{15, 15}, {0, 1}}, {{30, 30}, {0, 1}}};
    for (const Case& c : cases) {
        UniqueIds held(FileKind::Item);
        for (std::uint32_t i = 0; i < 3; ++i) (void)held.Claim(static_cast<std::int32_t>(10 * (i + 1)), i);
        const auto rewrites = [](std::uint32_t holder) { return holder < 2; };
        EXPECT_EQ(MembersSharingIds(held, rewrites, c.ids), c.sharing) << c.ids[0] << "," << c.ids[1];
    }
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

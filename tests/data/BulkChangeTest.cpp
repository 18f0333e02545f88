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

[[nodiscard]] BulkChange ChangeOf(BulkOperation operation, std::int64_t value, double factor = 1)
{
    BulkChange change;
    change.operation = operation;
    change.value = value;
    change.factor = factor;
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
        {ChangeOf(BulkOperation::Multiply, 0, 1.2), 1000, 1200},
        {ChangeOf(BulkOperation::Multiply, 0, 0.5), 5, 3},
        {ChangeOf(BulkOperation::Multiply, 0, 0.5), -5, -3},
        {ChangeOf(BulkOperation::Multiply, 0, 2), 1 << 30, std::nullopt},
        {ChangeOf(BulkOperation::Multiply, 0, -1), kMin, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, 2), 7, 4},
        {ChangeOf(BulkOperation::Divide, 0, 2), -7, -4},
        {ChangeOf(BulkOperation::Divide, 0, 3), 10, 3},
        {ChangeOf(BulkOperation::Divide, 0, 0.5), kMax, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, -1), kMin, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, 0), 1, std::nullopt},
        {ChangeOf(BulkOperation::Divide, 0, 0), 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BulkChangedValue(c.change, c.now), c.wanted)
            << static_cast<int>(c.change.operation) << " " << c.change.value << " " << c.change.factor << " on " << c.now;
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

TEST(DecimalText, DecimalsAsAPersonTypesThem)
{
    struct Case { const char* text; std::optional<double> value; };
    const Case cases[] = {
        {"1.2", 1.2}, {" -2 ", -2.0}, {".25", 0.25}, {"3.", 3.0}, {"+.5", 0.5}, {"-.5", -0.5}, {"\t7\t", 7.0},
        {"", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt}, {"+-5", std::nullopt}, {"--5", std::nullopt},
        {"1e3", std::nullopt}, {"1.2.3", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt},
        {"1,5", std::nullopt}, {"0x10", std::nullopt}, {"1 2", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << "'" << c.text << "'";
}

} // namespace
} // namespace rw

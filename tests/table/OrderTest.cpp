#include "table/IdIndex.h"
#include "table/NameOrder.h"
#include "table/SortState.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>

namespace rw {
namespace {

// Names from few distinct bytes, so that lead, trail, 0xFF and lone lead bytes meet often.
std::string RandomName(std::mt19937& rng)
{
    static constexpr unsigned char kBytes[] = {0x01, 'A', 'a', 0x7F, 0x80, 0x81, 0xA1, 0xFE, 0xFF};
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kBytes - 1);
    std::string name(static_cast<std::size_t>(length(rng)), '\0');
    for (char& c : name) c = static_cast<char>(kBytes[pick(rng)]);
    return name;
}

TEST(NameOrder, PrefixKeyAgreesWithTheComparison)
{
    std::mt19937 rng(936);
    for (int i = 0; i < 200000; ++i) {
        const std::string a = RandomName(rng);
        const std::string b = RandomName(rng);
        const int order = CompareNames(a, b);
        EXPECT_EQ(order, -CompareNames(b, a));
        const std::uint64_t ka = NamePrefixKey(a);
        const std::uint64_t kb = NamePrefixKey(b);
        SCOPED_TRACE(testing::PrintToString(a) + " vs " + testing::PrintToString(b));
        if (ka != kb) {
            ASSERT_EQ(order, ka < kb ? -1 : 1);
        } else if (a.size() < 8 && b.size() < 8) {
            ASSERT_EQ(order, 0);
        }
    }
}

TEST(IdIndex, AgreesWithAMapThroughInsertsAndErases)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> ids(-300, 300); // dense, so probe runs collide
    IdIndex index;
    std::unordered_map<std::int32_t, std::uint32_t> model;
    for (std::uint32_t step = 0; step < 100000; ++step) {
        const std::int32_t id = ids(rng);
        if (step % 3 == 0) {
            index.Erase(id);
            model.erase(id);
        } else {
            const auto it = model.find(id);
            EXPECT_EQ(index.Insert(id, step), it == model.end() ? IdIndex::kNone : it->second);
            model.emplace(id, step);
        }
        const std::int32_t probe = ids(rng);
        const auto it = model.find(probe);
        ASSERT_EQ(index.Find(probe), it == model.end() ? IdIndex::kNone : it->second);
    }
    EXPECT_EQ(index.Size(), model.size());
}

TEST(SortState, HeaderClicksToggleOrRestart)
{
    // column clicked, then direction and the column losing its arrow
    const std::vector<std::tuple<int, bool, int>> clicks{
        {3, true, -1}, {3, false, -1}, {3, true, -1}, {5, true, 3}, {5, false, -1}, {7, true, 5}};
    SortState state;
    EXPECT_EQ(state.Column(), -1);
    for (const auto& [column, ascending, cleared] : clicks) {
        const SortClick result = state.Click(column);
        EXPECT_EQ(result.column, column);
        EXPECT_EQ(result.ascending, ascending);
        EXPECT_EQ(result.clearedColumn, cleared);
        EXPECT_EQ(state.Ascending(), ascending);
    }
}

} // namespace
} // namespace rw

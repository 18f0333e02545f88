#include "data/IdIndex.h"
#include "data/UniqueIds.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace rw {
namespace {

constexpr std::uint32_t kNobody = UniqueIds::kNobody;
constexpr std::uint32_t kOutside = IdBatch::kHeldOutside;

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

// Items and monsters hold each ID once, spells any number of times; a claim names who holds
// the ID already, and a released ID is free again.
TEST(UniqueIds, ClaimsAnswerTheHolderWhereTheKindHoldsEachIdOnce)
{
    struct Case { FileKind kind; std::vector<std::uint32_t> claims; bool refused; };
    const Case cases[] = {{FileKind::Item, {kNobody, kNobody, 0, kNobody}, true}, {FileKind::Monster, {kNobody, kNobody, 0, kNobody}, true},
                          {FileKind::Magic, {kNobody, kNobody, kNobody, kNobody}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        UniqueIds ids(c.kind);
        // 5 by 0, 6 by 1, 5 again by 2; then 5 released and taken by 3.
        std::vector<std::uint32_t> claims{ids.Claim(5, 0), ids.Claim(6, 1), ids.Claim(5, 2)};
        ids.Release(5);
        claims.push_back(ids.Claim(5, 3));
        EXPECT_EQ(claims, c.claims);
        // 5 for a new record and for record 0 (3 holds it now), 5 for 3 itself, and a free ID.
        EXPECT_EQ((std::vector<bool>{ids.Refuses(5, kNobody), ids.Refuses(5, 0), ids.Refuses(5, 3), ids.Refuses(7, kNobody)}),
                  (std::vector<bool>{c.refused, c.refused, false, false}));
    }
}

// Many records given IDs at once against a table holding 10, 20 and 30, whose record 1 (ID
// 20) the batch writes over: an ID is refused when a record left alone holds it, or when an
// earlier record of the batch took it, however far apart the two stand.
TEST(UniqueIds, BatchesRefuseIdsHeldOutsideOrTakenEarlierInTheBatch)
{
    UniqueIds held(FileKind::Item);
    for (const std::uint32_t slot : {0u, 1u, 2u}) ASSERT_EQ(held.Claim(static_cast<std::int32_t>(slot + 1) * 10, slot), kNobody);
    struct Case { const char* what; std::vector<std::int32_t> ids; std::vector<std::uint32_t> answers; };
    const Case cases[] = {
        {"apart", {5, 6, 5}, {kNobody, kNobody, 0}}, {"side by side", {5, 5, 6}, {kNobody, 0, kNobody}},
        {"three times", {7, 8, 7, 7}, {kNobody, kNobody, 0, 0}}, {"held by a record left alone", {10, 30, 5}, {kOutside, kOutside, kNobody}},
        {"held by a record written over", {20, 20}, {kNobody, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IdBatch batch(held, [](std::uint32_t holder) { return holder == 1; });
        std::vector<std::uint32_t> answers;
        for (std::size_t i = 0; i < c.ids.size(); ++i) answers.push_back(batch.Claim(c.ids[i], static_cast<std::uint32_t>(i)));
        EXPECT_EQ(answers, c.answers);
    }
    // New records only: an ID held at all is held outside the batch.
    IdBatch fresh(held);
    EXPECT_EQ(fresh.Claim(20, 0), kOutside);
    // Spells may share IDs with the table and among themselves.
    const UniqueIds spells(FileKind::Magic);
    IdBatch magic(spells);
    EXPECT_EQ(magic.Claim(5, 0), kNobody);
    EXPECT_EQ(magic.Claim(5, 1), kNobody);
}

// Records read one after another and checked at the end: each repeat names where its ID first
// stood, in the order the repeats stand; a load claims in file order, the first keeping the ID.
TEST(UniqueIds, RecordsInOrderKeepTheFirstOfEachId)
{
    struct Case { FileKind kind; std::vector<std::int32_t> ids; std::vector<std::size_t> repeats, firsts, refused; };
    const Case cases[] = {{FileKind::Item, {5, 6, 5, 7, 5, 6}, {3, 5, 6}, {1, 1, 2}, {2, 4, 5}}, {FileKind::Monster, {0, 0}, {2}, {1}, {1}},
                          {FileKind::Magic, {5, 5}, {}, {}, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        IdSequence sequence(c.kind);
        for (std::size_t i = 0; i < c.ids.size(); ++i) sequence.Add(c.ids[i], i + 1); // lines from 1
        std::vector<std::size_t> repeats, firsts;
        for (const IdSequence::Repeat& repeat : sequence.TakeRepeats()) {
            EXPECT_EQ(repeat.id, c.ids[repeat.position - 1]);
            repeats.push_back(repeat.position);
            firsts.push_back(repeat.first);
        }
        EXPECT_EQ(repeats, c.repeats);
        EXPECT_EQ(firsts, c.firsts);

        std::vector<std::size_t> kept, refused;
        UniqueIds(c.kind).ClaimInOrder(
            static_cast<std::uint32_t>(c.ids.size()), [&](std::uint32_t i) { return c.ids[i]; },
            [&](std::uint32_t i) { kept.push_back(i); }, [&](std::uint32_t i) { refused.push_back(i); });
        EXPECT_EQ(refused, c.refused);
        EXPECT_EQ(kept.size() + refused.size(), c.ids.size());
    }
}

} // namespace
} // namespace rw

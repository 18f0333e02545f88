#include "data/KindFit.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(KindFitTest, ProposesTheKindWhoseSizeFits)
{
    struct Case { const char* what; std::int32_t count; std::uint64_t size; FileKind best; bool exact; };
    const Case cases[] = {
        {"items", 11, 4 + 11 * 184, FileKind::Item, true},
        {"spells", 7, 4 + 7 * 120, FileKind::Magic, true},
        {"monsters", 8, 8 * 252, FileKind::Monster, true},
        {"items cut short take the nearest", 11, 4 + 10 * 184, FileKind::Item, false},
        {"monsters with bytes after them", 8, 8 * 252 + 3, FileKind::Monster, false},
        {"no records", 0, 4, FileKind::None, false},
        {"a negative count", -5, 1000, FileKind::None, false},
    };
    for (const Case& c : cases) {
        const KindGuess guess = GuessKind(FitsOf(c.count, c.size));
        EXPECT_EQ(guess.best, c.best) << c.what;
        EXPECT_EQ(guess.exact, c.exact) << c.what;
    }
}

TEST(KindFitTest, CountsWhatIsMissingAndWhatIsLeftOver)
{
    const KindFits fits = FitsOf(8, 8 * 252); // eight monsters
    const KindFit& item = fits[0];
    EXPECT_EQ(item.kind, FileKind::Item);
    EXPECT_EQ(item.expectedSize, 4u + 8 * 184);
    EXPECT_EQ(item.ExtraBytes(), 8u * 252 - (4 + 8 * 184));
    EXPECT_EQ(item.MissingBytes(), 0u);
    const KindFit& magic = fits[1];
    EXPECT_EQ(magic.ExtraBytes(), 8u * 252 - (4 + 8 * 120));
    EXPECT_TRUE(fits[2].Exact());
    EXPECT_EQ(FitOfKind(FileKind::Item, 11, 4 + 10 * 184).MissingBytes(), 184u);
}

TEST(KindFitTest, AFileThatCannotBeATableOfTheKindIsToldApartFromADamagedOne)
{
    struct Case { const char* what; std::int32_t count; std::uint64_t size; FileKind kind; Misfit misfit; };
    const Case cases[] = {
        {"Items", 11, 4 + 11 * 184, FileKind::Item, Misfit::None},
        {"items cut short", 11, 4 + 5 * 184 + 100, FileKind::Item, Misfit::None},
        {"items with bytes after them", 11, 4 + 11 * 184 + 3, FileKind::Item, Misfit::None},
        {"monsters read as items", 8, 8 * 252, FileKind::Item, Misfit::OtherKind},
        {"items read as spells", 11, 4 + 11 * 184, FileKind::Magic, Misfit::OtherKind},
        {"a CSV: \"Item\" read as a count", 1'835'365'449, 1210, FileKind::Item, Misfit::CountTooLarge},
        {"a workbook: \"PK\\3\\4\" read as a count", 67'324'752, 900'000, FileKind::Monster, Misfit::CountTooLarge},
        {"a table that large, whole", 30'000'000, 4 + 30'000'000ull * 184, FileKind::Item, Misfit::None},
        {"NoRecords", 0, 4, FileKind::Item, Misfit::NoRecords},
        {"a negative count", -3, 1000, FileKind::Monster, Misfit::NoRecords},
    };
    for (const Case& c : cases) EXPECT_EQ(MisfitOf(FitsOf(c.count, c.size), c.kind), c.misfit) << c.what;
}

} // namespace
} // namespace rw

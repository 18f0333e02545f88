#include "data/KindFit.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

// The kind whose size fits, else the nearest, with what its fit lacks or holds over.
TEST(KindFitTest, ProposesTheKindWhoseSizeFits)
{
    struct Case { const char* what; std::int32_t count; std::uint64_t size; FileKind best; bool exact; std::uint64_t missing, extra; };
    const Case cases[] = {
        {"items", 11, 4 + 11 * 184, FileKind::Item, true, 0, 0},
        {"spells", 7, 4 + 7 * 120, FileKind::Magic, true, 0, 0},
        {"monsters", 8, 8 * 252, FileKind::Monster, true, 0, 0},
        {"items cut short take the nearest", 11, 4 + 10 * 184, FileKind::Item, false, 184, 0},
        {"monsters with bytes after them", 8, 8 * 252 + 3, FileKind::Monster, false, 0, 3},
        {"no records", 0, 4, FileKind::None, false, 0, 0},
        {"a negative count", -5, 1000, FileKind::None, false, 0, 0},
    };
    for (const Case& c : cases) {
        const KindFits fits = FitsOf(c.count, c.size);
        const KindGuess guess = GuessKind(fits);
        EXPECT_EQ(guess.best, c.best) << c.what;
        EXPECT_EQ(guess.exact, c.exact) << c.what;
        if (c.best != FileKind::None) {
            EXPECT_EQ(FitFor(fits, c.best).MissingBytes(), c.missing) << c.what;
            EXPECT_EQ(FitFor(fits, c.best).ExtraBytes(), c.extra) << c.what;
        }
    }
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

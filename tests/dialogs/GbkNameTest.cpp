#include "dialogs/GbkNameValidator.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

TEST(FitGbk, KeepsWholeCharactersThatFitAndDropsThoseWithoutGbkForm)
{
    struct Case {
        const char* text;
        int maxBytes;
        const char* kept;
        const char* bytes;
    };
    const Case cases[] = {
        {"ab", 5, "ab", "ab"},
        {"a龙b", 2, "a", "a"},           // stops before a character that would cross the limit
        {"a龙b", 3, "a龙", "a\xC1\xFA"},
        {"\xF0\x9F\x98\x80x", 1, "x", "x"}, // the emoji has no GBK form
        {"龙", 0, "", ""},
    };
    for (const Case& c : cases) {
        const GbkFit fit = FitGbk(QString::fromUtf8(c.text), c.maxBytes);
        EXPECT_EQ(fit.text, QString::fromUtf8(c.kept)) << c.text;
        EXPECT_EQ(fit.bytes, c.bytes) << c.text;
    }
}

} // namespace
} // namespace rw

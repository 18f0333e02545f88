// Names between UTF-8 and GBK through the table, on every system.

#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace rw {
namespace {

TEST(GbkNames, Utf8NamesRoundTripAndRefuseWhatGbkCannotHold)
{
    const Utf8NameTranscoder names;
    struct Case { std::string_view utf8; std::optional<std::string_view> gbk; };
    const Case cases[] = {
        {"Practice Sword", "Practice Sword"},
        {"霜纹长剑", "\xcb\xaa\xce\xc6\xb3\xa4\xbd\xa3"},
        {"€·", "\x80\xa1\xa4"},
        // Beside the refusals CsvImport.ErrorsNameLineAndColumn tells apart (no GBK form, not UTF-8):
        {"\xE0\x80\xAF", std::nullopt},         // overlong, three bytes
        {"\xE9\x9C", std::nullopt},             // cut short
        {"\x80", std::nullopt},                 // a lone continuation byte
    };
    for (const Case& c : cases) {
        std::string bytes = "keep";
        const bool ok = names.AppendNameBytes(c.utf8, bytes);
        ASSERT_EQ(ok, c.gbk.has_value()) << c.utf8;
        EXPECT_EQ(bytes, ok ? "keep" + std::string(*c.gbk) : "keep") << c.utf8;
        if (!ok) continue;
        std::string text;
        names.AppendText(*c.gbk, text);
        EXPECT_EQ(text, c.utf8);
    }
    std::string text;
    names.AppendText("\xcb\xaa\xff\x81", text); // a valid character, 0xFF, a lone lead byte
    EXPECT_EQ(text, "霜\xEF\xA3\xB5\xEF\xBF\xBD");
}

} // namespace
} // namespace rw

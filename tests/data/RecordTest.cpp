#include "data/DataFile.h"
#include "data/DecimalText.h"
#include "data/KeySet.h"
#include "data/Record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace rw {
namespace {

TEST(ShortName, ReadRuleStopsAtZeroLengthOrFieldEnd)
{
    // The field's first bytes (the rest zero), the length byte (-1: the capacity) and the name
    // read; "*" is the whole field without a zero.
    struct Case { const char* label; std::string fieldBytes; int lengthByte; std::string expected; };
    const Case cases[] = {
        {"length larger than text", "ab", 5, "ab"},
        {"length smaller than text", "abcdef", 3, "abc"},
        {"length zero", "abc", 0, ""},
        {"bytes after the terminator ignored", std::string("ab\0zz", 5), 200, "ab"},
        {"full field without zero", "*", -1, "*"},
    };
    for (const FileKind kind : kAllKinds) {
        const RecordSchema& schema = SchemaOf(kind);
        const std::string full(schema.nameCapacity, 'N');
        for (const Case& c : cases) {
            Record record(kind);
            const std::string field = c.fieldBytes == "*" ? full : c.fieldBytes;
            std::memcpy(record.Bytes().data() + schema.nameOffset, field.data(), field.size());
            record.Bytes()[schema.nameLengthOffset] = static_cast<std::uint8_t>(c.lengthByte < 0 ? schema.nameCapacity : c.lengthByte);
            // The field ends the record: the next record's bytes must never be read.
            EXPECT_EQ(record.Name(), c.expected == "*" ? full : c.expected) << c.label << " kind " << int(kind);
        }
    }
}

TEST(ShortName, WriteRuleClearsFieldAndRefusesOverlong)
{
    for (const FileKind kind : kAllKinds) {
        const RecordSchema& schema = SchemaOf(kind);
        Record record(kind);
        ASSERT_TRUE(record.SetName(std::string(schema.nameCapacity, 'x')));
        EXPECT_EQ(record.Name().size(), schema.nameCapacity);
        ASSERT_TRUE(record.SetName("ab"));
        EXPECT_EQ(record.Name(), "ab");
        EXPECT_EQ(record.Bytes()[schema.nameLengthOffset], 2);
        EXPECT_EQ(record.Bytes()[schema.nameOffset + 2], 0) << "the rest of the field is cleared";
        EXPECT_FALSE(record.SetName(std::string(schema.nameCapacity + 1u, 'x')));
        EXPECT_EQ(record.Name(), "ab");
    }
}

TEST(DecimalText, StrictParsingAndKeys)
{
    struct Case { std::string_view text; std::optional<std::int32_t> strict; std::optional<std::uint8_t> key; };
    constexpr std::int32_t kMin = -2147483647 - 1, kMax = 2147483647;
    const Case cases[] = {
        {"12abc", std::nullopt, std::nullopt}, {"", std::nullopt, std::nullopt},     {"-7", -7, std::nullopt},
        {"  +5 ", 5, 5},                       {"\t-0\t", 0, 0},                     {"abc", std::nullopt, std::nullopt},
        {"- 1", std::nullopt, std::nullopt},   {"2147483647", kMax, std::nullopt},   {"-2147483648", kMin, std::nullopt},
        {"2147483648", std::nullopt, std::nullopt}, {"-2147483649", std::nullopt, std::nullopt},
        {"00000000000000000042", 42, 42},      {"99999999999999999999999", std::nullopt, std::nullopt},
        {"1 2", std::nullopt, std::nullopt},   {"\n3", std::nullopt, std::nullopt},  {"+", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},     {" - ", std::nullopt, std::nullopt},  {"+-1", std::nullopt, std::nullopt},
        {"255", 255, 255},                     {"256", 256, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseStrictInt32(c.text), c.strict) << c.text;
        EXPECT_EQ(ParseKey(c.text), c.key) << c.text;
    }
    EXPECT_EQ(FormatInt32(kMin), "-2147483648");
}

TEST(FileKinds, ByWholeBareNameIgnoringCase)
{
    const std::pair<std::string_view, FileKind> cases[] = {
        {"stditem.dat", FileKind::Item},   {"STDITEM.DAT", FileKind::Item},     {"Magic.Dat", FileKind::Magic},
        {"monster.dat", FileKind::Monster}, {"stditem.bak", FileKind::None},    {"c:\\data\\stditem.dat", FileKind::None},
        {"data/magic.dat", FileKind::None}, {" magic.dat", FileKind::None},     {"monster.dat2", FileKind::None},
        {"", FileKind::None},
    };
    for (const auto& [name, kind] : cases) EXPECT_EQ(KindFromName(name), kind) << name;
}

} // namespace
} // namespace rw

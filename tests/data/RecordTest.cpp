#include "data/DataFile.h"
#include "data/DecimalText.h"
#include "data/KeySet.h"
#include "data/Record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace rw {
namespace {

// The name field's bytes and the length byte in front of them, for every kind.
struct NameCase {
    const char* label;
    std::string fieldBytes; // written from the field's start; the rest is zero
    int lengthByte;         // -1: the field's capacity
    std::string expected;   // "*": the whole field
};

TEST(ShortName, ReadRuleStopsAtZeroLengthOrFieldEnd)
{
    const NameCase cases[] = {
        {"length larger than text", std::string("ab"), 5, "ab"},
        {"length smaller than text", "abcdef", 3, "abc"},
        {"length zero", "abc", 0, ""},
        {"bytes after the terminator ignored", std::string("ab\0zz", 5), 200, "ab"},
        {"full field without zero", "*", -1, "*"},
    };
    for (const FileKind kind : kAllKinds) {
        const RecordSchema& schema = SchemaOf(kind);
        for (const NameCase& c : cases) {
            Record record(kind);
            auto bytes = record.Bytes();
            const std::string full(schema.nameCapacity, 'N');
            const std::string field = c.fieldBytes == "*" ? full : c.fieldBytes;
            std::memcpy(bytes.data() + schema.nameOffset, field.data(), field.size());
            bytes[schema.nameLengthOffset] = static_cast<std::uint8_t>(c.lengthByte < 0 ? schema.nameCapacity : c.lengthByte);
            // The next record's bytes must never be read: the field ends the record.
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

TEST(Record, ValuesAreLittleEndianAtTheSchemaOffsets)
{
    Record record(FileKind::Item);
    record.SetValue(30, -2); // Stock, the last item field
    record.SetId(0x01020304);
    const auto bytes = record.Bytes();
    EXPECT_EQ(bytes[148], 0xFE);
    EXPECT_EQ(bytes[151], 0xFF);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(record.Value(30), -2);
    EXPECT_EQ(record.Id(), 0x01020304);
}

TEST(DecimalText, AtolAndStrictParsing)
{
    struct Case {
        std::string_view text;
        std::int32_t atol;
        std::optional<std::int32_t> strict;
    };
    const Case cases[] = {
        {"12abc", 12, std::nullopt},
        {"", 0, std::nullopt},
        {"-7", -7, -7},
        {"  +5 ", 5, 5},
        {"\t-0\t", 0, 0},
        {"abc", 0, std::nullopt},
        {"- 1", 0, std::nullopt},
        {"2147483647", 2147483647, 2147483647},
        {"-2147483648", -2147483647 - 1, -2147483647 - 1},
        {"2147483648", 2147483647, std::nullopt},
        {"-2147483649", -2147483647 - 1, std::nullopt},
        {"00000000000000000042", 42, 42},
        {"99999999999999999999999", 2147483647, std::nullopt},
        {"1 2", 1, std::nullopt},
        {"\n3", 3, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AtolInt32(c.text), c.atol) << c.text;
        EXPECT_EQ(ParseStrictInt32(c.text), c.strict) << c.text;
    }
    EXPECT_EQ(FormatInt32(-2147483647 - 1), "-2147483648");
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

TEST(FileKinds, KeySetOrderAndInitialKeys)
{
    KeySet keys;
    EXPECT_EQ(keys.keys, (std::array<std::uint8_t, 3>{203, 241, 173})); // magic, monster, item
    keys.Set(FileKind::Item, 7);
    EXPECT_EQ(keys.keys[2], 7);
    EXPECT_EQ(keys.For(FileKind::Item), 7);
}

} // namespace
} // namespace rw

// A record's name rule, IDs and keys as typed, the Raw field's hex digits, and the kind of a
// file by its name and by its size.

#include "data/DataFile.h"
#include "data/DecimalText.h"
#include "data/HexText.h"
#include "data/KeySet.h"
#include "data/KindFit.h"
#include "data/Record.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

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

// Every byte value at every place of a block read sixteen digits at a time and of the rest
// read one by one, in either letter case; and every character that is no digit refused
// wherever it stands.
TEST(HexText, ReadsWhatItWritesAndRefusesAnythingElse)
{
    for (const std::size_t n : {std::size_t{1}, std::size_t{8}, std::size_t{13}, std::size_t{184}}) {
        std::vector<std::uint8_t> bytes(n);
        for (int start = 0; start < 256; start += 7) {
            for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(start + 37 * i);
            std::string text(2 * n, '?');
            WriteHex(bytes.data(), n, text.data());
            std::string upper = text;
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            for (const std::string& digits : {text, upper}) {
                std::vector<std::uint8_t> read(n);
                ASSERT_TRUE(ReadHex(digits, read.data(), n)) << digits;
                EXPECT_EQ(read, bytes) << digits;
            }
        }
        std::vector<std::uint8_t> read(n);
        for (std::size_t at = 0; at < 2 * n; at += n / 2 + 1) {
            for (int c = 0; c < 256; ++c) {
                if (std::isxdigit(c)) continue;
                std::string digits(2 * n, 'a');
                digits[at] = static_cast<char>(c);
                EXPECT_FALSE(ReadHex(digits, read.data(), n)) << n << " " << at << " " << c;
            }
        }
        EXPECT_FALSE(ReadHex(std::string(2 * n - 1, '0'), read.data(), n));
    }
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

// The kind whose size fits, else the nearest, with what its fit lacks or holds over.
TEST(KindFit, ProposesTheKindWhoseSizeFits)
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

TEST(KindFit, AFileThatCannotBeATableOfTheKindIsToldApartFromADamagedOne)
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

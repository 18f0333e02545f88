// A record's name rule, IDs and keys as typed, the Raw field's hex digits, and the kind of a
// file by its name and by its size.

#include "data/DataFile.h"
#include "data/DecimalText.h"
#include "data/HexText.h"
#include "data/KeySet.h"
#include "data/KindFit.h"
#include "data/Record.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace rw {
namespace {

TEST(ShortName, ReadRuleStopsAtZeroLengthOrFieldEnd)
{
    // The field's first bytes (the rest zero), the length byte (-1: the capacity) and the name
    // read; "*" is the whole field without a zero.
    struct Case { const char* label; std::string fieldBytes; int lengthByte; std::string expected; };
    const Case cases[] = {
        {"length larger than text", "ab", 5, "ab"}, {"length smaller than text", "abcdef", 3, "abc"}, {"length zero", "abc", 0, ""},
        {"bytes after the terminator ignored", std::string("ab\0zz", 5), 200, "ab"}, {"full field without zero", "*", -1, "*"},
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
        EXPECT_EQ(std::make_tuple(record.Name(), int{record.Bytes()[schema.nameLengthOffset]}, int{record.Bytes()[schema.nameOffset + 2]}),
                  std::make_tuple(std::string("ab"), 2, 0)) << "the length byte set, the rest of the field cleared";
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

// The kind whose size fits, else the one that leaves the fewest bytes unexplained, with what its
// fit lacks or holds over; and, for each kind, why the file cannot be its table at all.
TEST(KindFit, ProposesTheKindWhoseSizeFitsAndToldApartFromADamagedOne)
{
    using M = Misfit;
    constexpr FileKind kItem = FileKind::Item, kMagic = FileKind::Magic, kMonster = FileKind::Monster;
    struct Case { const char* what; std::int32_t count; std::uint64_t size; FileKind best; bool exact; std::uint64_t missing, extra;
                  std::array<M, 3> misfits; }; // misfits: as items, spells, monsters
    const Case cases[] = {
        {"items", 11, 4 + 11 * 184, kItem, true, 0, 0, {M::None, M::OtherKind, M::OtherKind}},
        {"spells", 7, 4 + 7 * 120, kMagic, true, 0, 0, {M::OtherKind, M::None, M::OtherKind}},
        {"monsters", 8, 8 * 252, kMonster, true, 0, 0, {M::OtherKind, M::OtherKind, M::None}},
        {"items cut short", 11, 4 + 10 * 184, kItem, false, 184, 0, {M::None, M::None, M::None}},
        {"monsters with bytes after them", 8, 8 * 252 + 3, kMonster, false, 0, 3, {M::None, M::None, M::None}},
        {"no records", 0, 4, FileKind::None, false, 0, 0, {M::NoRecords, M::NoRecords, M::NoRecords}},
        {"a negative count", -5, 1000, FileKind::None, false, 0, 0, {M::NoRecords, M::NoRecords, M::NoRecords}},
        {"a CSV: \"Item\" read as a count", 1'835'365'449, 1210, kMagic, false, 4 + 1'835'365'449ull * 120 - 1210, 0,
         {M::CountTooLarge, M::CountTooLarge, M::CountTooLarge}},
        {"a workbook: \"PK\\3\\4\" read as a count", 67'324'752, 900'000, kMagic, false, 4 + 67'324'752ull * 120 - 900'000, 0,
         {M::CountTooLarge, M::CountTooLarge, M::CountTooLarge}},
        {"a table that large, whole", 30'000'000, 4 + 30'000'000ull * 184, kItem, true, 0, 0, {M::None, M::OtherKind, M::OtherKind}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const KindFits fits = FitsOf(c.count, c.size);
        const KindGuess guess = GuessKind(fits);
        EXPECT_EQ(std::make_pair(guess.best, guess.exact), std::make_pair(c.best, c.exact));
        if (c.best != FileKind::None) {
            EXPECT_EQ(std::make_pair(FitFor(fits, c.best).MissingBytes(), FitFor(fits, c.best).ExtraBytes()), std::make_pair(c.missing, c.extra));
        }
        for (std::size_t k = 0; k < kAllKinds.size(); ++k) EXPECT_EQ(MisfitOf(fits, kAllKinds[k]), c.misfits[k]) << int(kAllKinds[k]);
    }
}

} // namespace
} // namespace rw

// Round trips: whatever bytes the records hold, file -> records -> file and file -> CSV -> file
// give back the same file; names go from UTF-8 to GBK and back through the table.

#include "csv/CsvExport.h"
#include "csv/RowImporter.h"
#include "data/DataFile.h"
#include "tests/data/TestFiles.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string_view>

namespace rw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Records with random bytes throughout; names are random GBK-looking bytes, garbage
// included, and the length byte random, so that invalid text and stale bytes occur.
Bytes RandomRecords(FileKind kind, std::size_t count, std::mt19937& random)
{
    const RecordSchema& schema = SchemaOf(kind);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes records(count * schema.recordSize);
    for (auto& b : records) b = static_cast<std::uint8_t>(byte(random));
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* record = records.data() + i * schema.recordSize;
        StoreInt32(record, static_cast<std::int32_t>(i * 3 + 1)); // unique IDs
        if (byte(random) < 128) record[schema.nameLengthOffset] = static_cast<std::uint8_t>(byte(random) % (schema.nameCapacity + 3));
        if (byte(random) < 64) record[schema.nameOffset + static_cast<std::size_t>(byte(random)) % schema.nameCapacity] = 0;
    }
    if (kind == FileKind::Monster && count > 0) StoreInt32(records.data(), 0); // has no room in the file
    return records;
}

RecordSource From(const Bytes& records)
{
    return [&records](std::size_t i, std::span<std::uint8_t> r) {
        std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * r.size()), r.size(), r.begin());
    };
}

// Exports, then imports the text in pieces of random size, as a reader with a small buffer would.
Bytes ThroughCsv(FileKind kind, const Bytes& records, const NameTranscoder& names, std::mt19937& random)
{
    std::string csv;
    CsvExporter(kind, names).Export(records, [&](std::string_view piece) { return csv.append(piece), true; });
    RowImporter importer(kind, names);
    std::size_t taken = 0;
    for (std::size_t held = 0; held < csv.size();) {
        held = std::min(csv.size(), held + std::uniform_int_distribution<std::size_t>(1, 3000)(random));
        taken += importer.Consume(std::string_view(csv).substr(taken, held - taken), false);
    }
    importer.Consume(std::string_view(csv).substr(taken), true);
    EXPECT_TRUE(importer.Ok()) << (importer.Errors().empty() ? "" : importer.Errors().front().text);
    Bytes out;
    for (std::size_t i = 0; i < importer.Records().Count(); ++i) {
        const auto r = importer.Records().RecordAt(i);
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

TEST(RoundTrip, RandomRecordsOfEveryKindAndKey)
{
    std::mt19937 random(12345);
    const Utf8NameTranscoder utf8;
    test::TempDir dir;
    for (int round = 0; round < 30; ++round) {
        for (const FileKind kind : kAllKinds) {
            const auto key = static_cast<std::uint8_t>(random());
            const std::size_t count = 1 + random() % 60;
            const Bytes records = RandomRecords(kind, count, random);
            const Bytes image = EncodeBytes(kind, key, count, From(records));

            const auto decoded = DecodeBytes(image, kind, key);
            ASSERT_EQ(decoded.Count(), count);
            ASSERT_EQ(decoded.bytes, records) << "file -> records -> file";

            const auto path = dir / SchemaOf(kind).fileName;
            ASSERT_TRUE(EncodeFile(path, kind, key, count, From(records)).written);
            ASSERT_EQ(test::ReadFile(path), image);
            ASSERT_EQ(ReadDataFile(path, kind, key).bytes, records);

            ASSERT_EQ(ThroughCsv(kind, records, utf8, random), records) << "file -> CSV -> file";
        }
    }
}

// The writers that take a record at a time give the file EncodeBytes makes, over more than
// one piece of their own: into a file, and through a spill file for an output that must have
// the count first.
TEST(RoundTrip, RecordsWrittenOneAtATimeGiveTheEncodedFile)
{
    std::mt19937 random(777);
    test::TempDir dir;
    for (const FileKind kind : kAllKinds) {
        SCOPED_TRACE(SchemaOf(kind).fileName);
        const std::size_t count = 9000; // over a megabyte of every kind
        const Bytes records = RandomRecords(kind, count, random);
        const Bytes image = EncodeBytes(kind, 77, count, From(records));
        const std::size_t size = SchemaOf(kind).recordSize;

        DataFileWriter writer(dir / "written.dat", kind, 77);
        SpilledDataFile spill(kind, 77);
        ASSERT_TRUE(writer.CanWrite());
        ASSERT_TRUE(spill.Ok()) << spill.Error();
        for (std::size_t i = 0; i < count; ++i) {
            writer.Append(std::span(records).subspan(i * size, size));
            spill.Append(std::span(records).subspan(i * size, size));
        }
        ASSERT_TRUE(writer.Commit().written);
        EXPECT_EQ(test::ReadFile(dir / "written.dat"), image);
        Bytes emitted;
        ASSERT_TRUE(spill.Emit([&](std::span<const std::uint8_t> piece) { return emitted.insert(emitted.end(), piece.begin(), piece.end()), true; }));
        EXPECT_EQ(emitted, image);
    }
}

TEST(GbkNames, Utf8NamesRoundTripAndRefuseWhatGbkCannotHold)
{
    const Utf8NameTranscoder names;
    struct Case { std::string_view utf8; std::optional<std::string_view> gbk; };
    const Case cases[] = {
        {"Practice Sword", "Practice Sword"}, {"霜纹长剑", "\xcb\xaa\xce\xc6\xb3\xa4\xbd\xa3"}, {"€·", "\x80\xa1\xa4"},
        // Beside the refusals CsvImport.ErrorsNameLineAndColumn tells apart (no GBK form, not UTF-8):
        // overlong in three bytes, a character cut short, a lone continuation byte.
        {"\xE0\x80\xAF", std::nullopt}, {"\xE9\x9C", std::nullopt}, {"\x80", std::nullopt},
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

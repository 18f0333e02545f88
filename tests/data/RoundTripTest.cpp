// Randomised round trips: whatever bytes the records hold, file -> records -> file and
// file -> CSV -> file give back the same file.

#include "data/CsvExport.h"
#include "data/CsvImport.h"
#include "data/PassThroughNames.h"
#include "data/DataFile.h"
#include "tests/data/TestFiles.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

#include <random>

namespace rw {
namespace {

// Records with random bytes throughout; names are random GBK-looking bytes, garbage
// included, and the length byte random, so that invalid text and stale bytes occur.
std::vector<std::uint8_t> RandomRecords(FileKind kind, std::size_t count, std::mt19937& random)
{
    const RecordSchema& schema = SchemaOf(kind);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> records(count * schema.recordSize);
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

std::vector<std::uint8_t> Encode(FileKind kind, std::uint8_t key, const std::vector<std::uint8_t>& records)
{
    const std::size_t size = SchemaOf(kind).recordSize;
    return EncodeBytes(kind, key, records.size() / size, [&](std::size_t i, std::span<std::uint8_t> r) {
        std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * size), size, r.begin());
    });
}

std::string ExportText(FileKind kind, const std::vector<std::uint8_t>& records, const NameTranscoder& names)
{
    std::string csv;
    CsvExporter(kind, names).Export(records, [&](std::string_view piece) {
        csv.append(piece);
        return true;
    });
    return csv;
}

// Feeds the text in pieces of random size, as a reader with a small buffer would.
std::vector<std::uint8_t> ImportInPieces(FileKind kind, std::string_view csv, const NameTranscoder& names,
                                         std::mt19937& random)
{
    CsvImporter importer(kind, names);
    std::size_t taken = 0;
    std::size_t held = 0;
    while (held < csv.size()) {
        held = std::min(csv.size(), held + std::uniform_int_distribution<std::size_t>(1, 3000)(random));
        taken += importer.Consume(csv.substr(taken, held - taken), false);
    }
    importer.Consume(csv.substr(taken), true);
    EXPECT_TRUE(importer.Ok()) << (importer.Errors().empty() ? "" : importer.Errors().front().text);
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < importer.Records().Count(); ++i) {
        const auto r = importer.Records().At(i);
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

TEST(RoundTrip, RandomRecordsOfEveryKindAndKey)
{
    std::mt19937 random(12345);
    const Utf8NameTranscoder utf8;
    const PassThroughNames gbk;
    test::TempDir dir;
    for (int round = 0; round < 30; ++round) {
        for (const FileKind kind : kAllKinds) {
            const auto key = static_cast<std::uint8_t>(random());
            const std::size_t count = 1 + random() % 60;
            const auto records = RandomRecords(kind, count, random);
            const auto image = Encode(kind, key, records);

            const auto decoded = DecodeBytes(image, kind, key);
            ASSERT_EQ(decoded.Count(), count);
            ASSERT_EQ(decoded.bytes, records) << "file -> records";
            ASSERT_EQ(Encode(kind, key, decoded.bytes), image) << "records -> file";

            const auto path = dir / std::string(SchemaOf(kind).fileName);
            ASSERT_TRUE(EncodeFile(path, kind, key, count, [&](std::size_t i, std::span<std::uint8_t> r) {
                            const auto from = decoded.RecordAt(i);
                            std::copy(from.begin(), from.end(), r.begin());
                        }).written);
            ASSERT_EQ(test::ReadFileBytes(path), image);
            ASSERT_EQ(ReadDataFile(path, kind, key).bytes, records);

            for (const NameTranscoder* names : {static_cast<const NameTranscoder*>(&utf8), static_cast<const NameTranscoder*>(&gbk)}) {
                const std::string csv = ExportText(kind, records, *names);
                ASSERT_EQ(ImportInPieces(kind, csv, *names, random), records) << "file -> CSV -> file";
            }
        }
    }
}

TEST(RoundTrip, SamplesThroughCsv)
{
    const Utf8NameTranscoder utf8;
    std::mt19937 random(7);
    for (const FileKind kind : kAllKinds) {
        const auto path = std::filesystem::path(RECWRIGHT_SAMPLES_DIR) / std::string(SchemaOf(kind).fileName);
        const auto image = test::ReadFileBytes(path);
        const std::uint8_t key = SchemaOf(kind).initialKey;
        const auto decoded = DecodeBytes(image, kind, key);
        ASSERT_TRUE(decoded.report.loaded && !decoded.report.Truncated()) << path;
        const auto records = ImportInPieces(kind, ExportText(kind, decoded.bytes, utf8), utf8, random);
        EXPECT_EQ(Encode(kind, key, records), image) << path;
    }
}

} // namespace
} // namespace rw

// Records through a worksheet and back: our own sheets, one a spreadsheet program saved again,
// and sheets made cell by cell to show how each kind of cell is read.

#include "data/DataFile.h"
#include "data/KeySet.h"
#include "data/Record.h"
#include "sheet/SheetReader.h"
#include "sheet/SheetWriter.h"
#include "sheet/ZipArchive.h"
#include "tests/data/TestFiles.h"
#include "tests/sheet/WorkbookBytes.h"
#include "text/Utf8NameTranscoder.h"
#include "tests/Platforms.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace rw {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Utf8NameTranscoder kNames;
const std::filesystem::path kFixtures = RECWRIGHT_SHEET_FIXTURES;

// Names a spreadsheet would read as something else, and bytes that are no GBK text.
const std::vector<std::string> kTrickyNames = {
    "007", "1e5", "=1+1", "3/4", "\xb3\xbf\xc2\xb6\xd2\xa9\xbc\xc1" /* 晨露药剂 */, "TRUE", "-0", " a ", "a\r\nb",
    "\x01", "_x0041_", "", "\x81\x7f", "ab\xb3", "1,5", "#REF!",
};

// Records of random bytes, the tricky names among them, IDs unique.
Bytes Records(FileKind kind, std::size_t count, unsigned seed)
{
    const RecordSchema& schema = SchemaOf(kind);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes records(count * schema.recordSize);
    for (auto& b : records) b = static_cast<std::uint8_t>(byte(random));
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* record = records.data() + i * schema.recordSize;
        StoreInt32(record, static_cast<std::int32_t>(i * 7 + 1));
        if (i < kTrickyNames.size()) WriteShortName(schema, record, kTrickyNames[i]);
    }
    if (kind == FileKind::Monster) StoreInt32(records.data(), 0); // has no room in the file
    return records;
}

std::filesystem::path Write(const test::TempDir& dir, FileKind kind, const Bytes& records)
{
    const std::size_t size = SchemaOf(kind).recordSize;
    const std::filesystem::path path = dir / "records.xlsx";
    const SheetResult written = WriteRecordSheet(path.string(), kind, records.size() / size,
                                                 [&](std::size_t i) { return std::span(records).subspan(i * size, size); },
                                                 kNames, {});
    EXPECT_TRUE(written.Ok()) << written.detail;
    return path;
}

Bytes Flat(const RecordStore& store)
{
    Bytes bytes;
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const auto record = store.RecordAt(i);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

std::string DescribeErrors(const RowImporter& importer)
{
    std::string text;
    for (const CsvIssue& i : importer.Errors()) {
        text += std::to_string(i.line) + ":" + std::to_string(i.column) + " kind " + std::to_string(int(i.kind));
        text += " '" + i.text + "'\n";
    }
    return text;
}

TEST(Sheet, WritingAndReadingGiveTheRecordsBack)
{
    test::TempDir dir;
    for (const FileKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const Bytes records = Records(kind, 300, 7 + static_cast<unsigned>(kind));
        const std::filesystem::path path = Write(dir, kind, records);
        std::vector<std::pair<std::uint64_t, std::uint64_t>> told;
        RowImporter fromFile(kind, kNames);
        const auto tell = [&](std::uint64_t done, std::uint64_t total) { return told.emplace_back(done, total), true; };
        const SheetResult read = ReadRecordSheet(path.string(), fromFile, tell);
        ASSERT_TRUE(read.Ok()) << static_cast<int>(read.failure) << " " << read.detail;
        ASSERT_TRUE(fromFile.Ok()) << DescribeErrors(fromFile);
        EXPECT_EQ(fromFile.NameChangeCount(), 0u) << fromFile.NameChanges().at(0).newText;
        EXPECT_TRUE(fromFile.Warnings().empty());
        EXPECT_EQ(Flat(fromFile.Records()), records);
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told.back().first, told.back().second);

        RowImporter fromMemory(kind, kNames);
        ASSERT_TRUE(ReadRecordSheet(test::ReadFile(path), fromMemory, {}).Ok());
        EXPECT_EQ(Flat(fromMemory.Records()), records);
    }
}

// A part of the written workbook, whole.
std::string PartOf(const std::filesystem::path& workbook, const std::string& name)
{
    const ZipArchive zip(workbook.string());
    const std::optional<ZipArchive::Part> part = zip.Find(name);
    std::string text;
    const auto append = [&](std::string_view piece) { return text.append(piece), true; };
    if (part) { EXPECT_TRUE(zip.Unpack(*part, std::uint64_t{1} << 30, append).Ok()); }
    return text;
}

// The style a cell of the worksheet's XML names ("" for none), by its reference.
std::string StyleOfCell(const std::string& sheetXml, const std::string& reference)
{
    const std::size_t cell = sheetXml.find("<c r=\"" + reference + "\"");
    if (cell == std::string::npos) return "?";
    const std::size_t end = sheetXml.find('>', cell);
    const std::size_t style = sheetXml.find(" s=\"", cell);
    if (style == std::string::npos || style > end) return "";
    return sheetXml.substr(style + 4, sheetXml.find('"', style + 4) - style - 4);
}

// Names and Raw are written as text cells in the text format (that of the Raw column), so a
// spreadsheet keeps "007" and "3/4" as they are when it saves the workbook again; the numbers
// carry no format.
TEST(Sheet, NamesAndRawAreCellsOfTheTextFormat)
{
    test::TempDir dir;
    for (const FileKind kind : kAllKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const std::filesystem::path path = Write(dir, kind, Records(kind, 3, 1));
        const std::string sheet = PartOf(path, "xl/worksheets/sheet1.xml");
        const std::string raw = test::ColumnLetters(SchemaOf(kind).ColumnCount());
        for (const char* row : {"2", "4"}) {
            const std::string name = StyleOfCell(sheet, "B" + std::string(row));
            EXPECT_NE(name, "") << row;
            EXPECT_EQ(name, StyleOfCell(sheet, raw + row)) << row;
            EXPECT_EQ(StyleOfCell(sheet, "C" + std::string(row)), "") << row;
        }
    }
}

TEST(Sheet, ASheetSavedAgainByASpreadsheetProgramGivesTheSameFile)
{
    // Made by scripts/make-sheet-fixture.sh: LibreOffice Calc's shared strings, its styles,
    // and names such as 007, =1+1 and 3/4 kept as text.
    const DecodedRecords expected = ReadDataFile(kFixtures / "stditem.dat", FileKind::Item, KeySet{}.For(FileKind::Item));
    ASSERT_TRUE(expected.report.loaded);
    RowImporter importer(FileKind::Item, kNames);
    const SheetResult read = ReadRecordSheet((kFixtures / "stditem-libreoffice.xlsx").string(), importer, {});
    ASSERT_TRUE(read.Ok()) << read.detail;
    ASSERT_TRUE(importer.Ok()) << DescribeErrors(importer);
    EXPECT_EQ(importer.NameChangeCount(), 0u);
    EXPECT_EQ(Flat(importer.Records()), expected.bytes);
}

TEST(Sheet, CellsAreReadAsTheSpreadsheetShowsThem)
{
    constexpr FileKind kItem = FileKind::Item;
    using K = CsvIssue::Kind;
    const std::string header = test::HeaderRow(kItem);
    // ID, name and fields after a given Stdmode (column C), as cells without references.
    auto recordWith = [](const std::string& name, const std::string& stdmode) {
        std::string cells = "<c><v>1</v></c>" + name + stdmode;
        for (int k = 3; k < kItemSchema.ColumnCount(); ++k) cells += "<c><v>0</v></c>";
        return "<row>" + cells + "</row>";
    };
    const std::string name = "<c t=\"inlineStr\"><is><t>a</t></is></c>";
    struct Case { const char* label; std::string rows; std::optional<std::string> sharedStrings; std::int32_t stdmode;
                  K issue; int column; std::string text; };
    const Case cases[] = {
        {"whole number written with an exponent", recordWith(name, "<c><v>1E+5</v></c>"), {}, 100000, K::NoHeader, 0, ""},
        {"number given as text", recordWith(name, "<c t=\"inlineStr\"><is><t>007</t></is></c>"), {}, 7, K::NoHeader, 0, ""},
        {"text from shared strings", recordWith("<c t=\"s\"><v>0</v></c>", "<c t=\"s\"><v>1</v></c>"),
         "<sst><si><t>a</t></si><si><r><t>4</t></r><r><t>2</t></r><rPh><t>9</t></rPh></si></sst>", 42, K::NoHeader, 0, ""},
        {"a formula's number", recordWith(name, "<c><f>6*7</f><v>42</v></c>"), {}, 42, K::NoHeader, 0, ""},
        {"truth value", recordWith(name, "<c t=\"b\"><v>1</v></c>"), {}, 0, K::BadNumber, 3, "TRUE"},
        {"missing cell", [] { std::string r = test::RecordRow(kItem, 2, "1", "a");
             return r.erase(r.find("<c r=\"C2\""), test::NumberCell(2, 2, "0").size()); }(), {}, 0, K::BadNumber, 3, ""},
        // A fraction (kept whole: CellTextTest) and a name stored as a number: CliSafetyTest's, with their words.
        {"name as a date", recordWith("<c t=\"d\"><v>2024-03-04</v></c>", "<c><v>0</v></c>"), {}, 0, K::WrongCellType, 2,
         "2024-03-04"},
        {"name as a formula", recordWith("<c t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>", "<c><v>0</v></c>"), {}, 0,
         K::WrongCellType, 2, "ab"},
        {"name as an error", recordWith("<c t=\"e\"><v>#N/A</v></c>", "<c><v>0</v></c>"), {}, 0, K::WrongCellType, 2, "#N/A"},
        {"a cell past Raw", "<row r=\"2\">" + test::NumberCell(2, 0, "1") + test::TextCell(2, 40, "x") + "</row>", {}, 0,
         K::FieldCount, 0, ""},
        {"lines are the sheet's rows", "<row r=\"9\"></row>" + test::RecordRow(kItem, 12, "x", "a"), {}, 0, K::BadNumber, 1,
         "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RowImporter importer(kItem, kNames);
        const SheetResult read = ReadRecordSheet(test::Workbook(test::SheetXml(header + c.rows), c.sharedStrings), importer, {});
        ASSERT_TRUE(read.Ok()) << static_cast<int>(read.failure) << " " << read.detail;
        if (c.column == 0 && c.issue == K::NoHeader) {
            ASSERT_TRUE(importer.Ok()) << DescribeErrors(importer);
            EXPECT_EQ(ReadColumnValue(kItemSchema, importer.Records().RecordAt(0).data(), 2), c.stdmode); // Stdmode
            EXPECT_EQ(Record(kItem, importer.Records().RecordAt(0)).Name(), "a");
            continue;
        }
        ASSERT_EQ(importer.ErrorCount(), 1u) << DescribeErrors(importer);
        const CsvIssue& issue = importer.Errors()[0];
        EXPECT_EQ(std::tuple(issue.kind, issue.column, issue.text), std::tuple(c.issue, c.column, c.text));
        EXPECT_EQ(issue.line, c.rows.starts_with("<row r=\"9\"") ? 12u : 2u);
    }
}

TEST(Sheet, WritingFailsWholeOrNotAtAll)
{
    test::TempDir dir;
    const Bytes records = Records(FileKind::Item, 5000, 3);
    const auto recordAt = [&](std::size_t i) { return std::span(records).subspan(i * 184, 184); };
    const std::string target = (dir / "items.xlsx").string();
    test::WriteFile(target, std::string("before"));

    const SheetResult tooMany = WriteRecordSheet(target, FileKind::Item, 1'048'576, recordAt, kNames, {});
    EXPECT_EQ(std::pair(tooMany.failure, tooMany.limit), std::pair(SheetFailure::TooManyRows, std::uint64_t{1'048'575}));
    const SheetResult cancelled = WriteRecordSheet(target, FileKind::Item, 5000, recordAt, kNames,
                                                   [](std::uint64_t done, std::uint64_t) { return done < 4096; });
    EXPECT_EQ(cancelled.failure, SheetFailure::Cancelled);
    const SheetResult noFolder = WriteRecordSheet((dir / "none" / "items.xlsx").string(), FileKind::Item, 5000, recordAt,
                                                  kNames, {});
    EXPECT_EQ(noFolder.failure, SheetFailure::CannotWrite);
    EXPECT_EQ(noFolder.detail, test::MissingWords(test::Missing::kFolder));

    EXPECT_EQ(test::ReadFile<std::string>(target), "before");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file left";
}

} // namespace
} // namespace rw

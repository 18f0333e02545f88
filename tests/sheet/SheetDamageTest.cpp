// Damaged and hostile workbooks: each refused with its reason, in bounded time and memory.

#include "data/CsvImport.h"
#include "sheet/SheetReader.h"
#include "sheet/SheetLimits.h"
#include "tests/sheet/WorkbookBytes.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace rw {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The sizes an archive's local header and directory give for a part, set to size.
Bytes WithDeclaredSize(Bytes zip, const std::string& part, std::uint32_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(zip.data()), zip.size());
    for (std::size_t at = all.find(part); at != std::string_view::npos; at = all.find(part, at + 1)) {
        const std::uint32_t signature = zip[at - 30] | zip[at - 29] << 8 | zip[at - 28] << 16 | std::uint32_t{zip[at - 27]} << 24;
        const std::size_t field = signature == 0x04034b50 ? at - 30 + 22 : at - 46 + 24;
        for (int i = 0; i < 4; ++i) zip[field + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    return zip;
}

TEST(SheetDamage, EachIsRefusedWithItsReason)
{
    using F = SheetFailure;
    using P = SheetXmlProblem;
    const std::string header = test::HeaderRow(FileKind::Item);
    const std::string sheet = test::SheetXml(header + test::RecordRow(FileKind::Item, 2, "1", "a"));
    const std::string bomb = test::SheetXml(header + std::string(std::size_t{64} << 20, ' '));
    std::string manyStrings = "<sst>";
    for (std::uint64_t i = 0; i <= sheet_limits::kMaxSharedStrings; ++i) manyStrings += "<si/>";
    manyStrings += "</sst>";
    test::Parts noWorkbook = test::WorkbookParts(sheet);
    noWorkbook.erase(noWorkbook.begin() + 1);
    struct Case { const char* label; Bytes bytes; F failure; P problem = P::NotWellFormed; std::uint64_t line = 0; };
    const Case cases[] = {
        {"empty", {}, F::NotZip},
        {"CSV", BytesOf("ItemID,ItemName\n1,a\n"), F::NotZip},
        {"cut short", [&] { Bytes b = test::Workbook(sheet); b.resize(b.size() / 2); return b; }(), F::NotZip},
        {"no workbook", test::ZipOf(noWorkbook), F::NoWorksheet},
        {"not a workbook", test::ZipOf({{"readme.txt", "hello"}}), F::NoWorksheet},
        {"no sheets", test::ZipOf({{"xl/workbook.xml", "<workbook/>"}, {"xl/_rels/workbook.xml.rels", "<Relationships/>"}}),
         F::NoWorksheet},
        {"not well-formed", test::Workbook(test::SheetXml(header + "<row r=\"2\"><c>")), F::BadXml, P::NotWellFormed},
        {"entities", test::Workbook("<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>" + sheet),
         F::BadXml, P::DocumentType},
        {"rows out of order", test::Workbook(test::SheetXml(header + "<row r=\"1\"/>")), F::BadXml, P::RowOutOfOrder},
        {"a cell outside its row", test::Workbook(test::SheetXml(header + "<row r=\"2\"><c r=\"A3\"/></row>")), F::BadXml,
         P::BadCellReference},
        {"cells out of order", test::Workbook(test::SheetXml(header + "<row r=\"2\"><c r=\"B2\"/><c r=\"A2\"/></row>")),
         F::BadXml, P::CellOutOfOrder},
        {"a shared string not there", test::Workbook(test::SheetXml(header + "<row><c t=\"s\"><v>1</v></c></row>"),
                                                     "<sst><si><t>a</t></si></sst>"), F::BadXml, P::NoSuchSharedString},
        {"a row past the last", test::Workbook(test::SheetXml(header + "<row r=\"1048577\"/>")), F::TooManyRows, P{},
         1'048'577},
        {"a cell longer than any", test::Workbook(test::SheetXml(header + "<row>" +
                                                                 test::TextCell(2, 0, std::string(200'000, 'x')) + "</row>")),
         F::CellTooLong, P{}, 2},
        {"too many shared strings", test::ZipOf(test::WorkbookParts(sheet, manyStrings), true), F::TooManyStrings},
        {"zip bomb", test::Workbook(bomb), F::PackedTooDensely},
        {"a part that says it is huge", WithDeclaredSize(test::Workbook(sheet), "xl/workbook.xml", 0x7FFFFFFF), F::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        static const Utf8NameTranscoder names;
        CsvImporter importer(FileKind::Item, names);
        const SheetResult read = ReadRecordSheet(c.bytes, importer, {});
        EXPECT_EQ(read.failure, c.failure) << read.detail;
        if (c.failure == F::BadXml) {
            EXPECT_EQ(read.problem, c.problem) << read.detail;
        }
        if (c.line != 0) {
            EXPECT_EQ(read.line, c.line);
        }
    }
}

TEST(SheetDamage, APartIsNeverTrustedToBeTheSizeItSays)
{
    // A part that unpacks to far more than its directory entry says: the reading stops where
    // the entry says it ends, and the checksum tells the rest.
    const std::string bomb = test::SheetXml(test::HeaderRow(FileKind::Item) + std::string(std::size_t{64} << 20, ' '));
    const Bytes lying = WithDeclaredSize(test::Workbook(bomb), "xl/worksheets/sheet1.xml", 100'000);
    static const Utf8NameTranscoder names;
    CsvImporter importer(FileKind::Item, names);
    std::uint64_t unpacked = 0;
    const SheetResult read = ReadRecordSheet(lying, importer, [&](std::uint64_t done, std::uint64_t) {
        unpacked = done;
        return true;
    });
    EXPECT_FALSE(read.Ok());
    EXPECT_TRUE(read.failure == SheetFailure::DamagedZip || read.failure == SheetFailure::PackedTooDensely)
        << static_cast<int>(read.failure);
    EXPECT_LE(unpacked, std::uint64_t{2} << 20);
}

} // namespace
} // namespace rw

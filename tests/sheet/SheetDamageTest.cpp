// Damaged and hostile workbooks: each refused with its reason, in bounded time and memory.

#include "csv/RowImporter.h"
#include "sheet/SheetReader.h"
#include "sheet/SheetLimits.h"
#include "sheet/XmlStream.h"
#include "data/RecordBytes.h"
#include "tests/Platforms.h"
#include "tests/sheet/WorkbookBytes.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <new>
#include <optional>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace rw {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

#ifndef _WIN32
// The process's virtual memory now, as the address space limit counts it.
std::size_t AddressSpaceInUse()
{
    std::ifstream status("/proc/self/statm");
    std::size_t pages = 0;
    status >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}
#endif

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
        RowImporter importer(FileKind::Item, names);
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

// The last row a worksheet has is a row like any other; the one after it is refused above.
TEST(SheetDamage, TheLastRowOfAWorksheetIsRead)
{
    const std::string rows = test::HeaderRow(FileKind::Item) + test::RecordRow(FileKind::Item, 1'048'576, "7", "last");
    static const Utf8NameTranscoder names;
    RowImporter importer(FileKind::Item, names);
    const SheetResult read = ReadRecordSheet(test::Workbook(test::SheetXml(rows)), importer, {});
    ASSERT_TRUE(read.Ok()) << read.detail;
    ASSERT_TRUE(importer.Ok());
    ASSERT_EQ(importer.Records().Count(), 1u);
    EXPECT_EQ(LoadInt32(importer.Records().RecordAt(0).data()), 7);
}

TEST(SheetDamage, APartIsNeverTrustedToBeTheSizeItSays)
{
    // A part that unpacks to far more than its directory entry says: the reading stops where
    // the entry says it ends, and the checksum tells the rest.
    const std::string bomb = test::SheetXml(test::HeaderRow(FileKind::Item) + std::string(std::size_t{64} << 20, ' '));
    const Bytes lying = WithDeclaredSize(test::Workbook(bomb), "xl/worksheets/sheet1.xml", 100'000);
    static const Utf8NameTranscoder names;
    RowImporter importer(FileKind::Item, names);
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

// The bytes with every occurrence of one name replaced by another of the same length: an
// archive's names are not under its checksums.
Bytes Renamed(Bytes zip, const std::string& from, const std::string& to)
{
    const std::string_view all(reinterpret_cast<const char*>(zip.data()), zip.size());
    for (std::size_t at = all.find(from); at != std::string_view::npos; at = all.find(from, at + 1)) {
        std::copy(to.begin(), to.end(), zip.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return zip;
}

// The usual package with one part's content replaced.
test::Parts With(test::Parts parts, const std::string& name, const std::string& content)
{
    for (auto& part : parts) {
        if (part.first == name) part.second = content;
    }
    return parts;
}

// A workbook's sheets, the first of them with these attributes besides its name.
std::string WorkbookXml(const std::string& firstSheetAttributes)
{
    return "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
           "<sheet name=\"records\" sheetId=\"1\" r:id=\"rId1\" " + firstSheetAttributes + "/></sheets></workbook>";
}

std::string Relationships(std::size_t count, const std::string& worksheetTarget)
{
    std::string xml = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                      "relationships/worksheet\" Target=\"" + worksheetTarget + "\"/>";
    for (std::size_t i = 2; i <= count; ++i) {
        xml += "<Relationship Id=\"rId" + std::to_string(i) + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
               "2006/relationships/image\" Target=\"media/image" + std::to_string(i) + ".png\"/>";
    }
    return xml + "</Relationships>";
}

SheetResult Read(const Bytes& bytes, RowImporter& importer) { return ReadRecordSheet(bytes, importer, {}); }

// Markup shaped to cost the parser time or memory without bound, or a package of more sheets,
// relationships or members than any workbook: each refused at its limit, and the same shapes
// just within the limits read.
TEST(SheetDamage, HostileShapesAreRefusedAtTheirLimits)
{
    using B = SheetBeyond;
    const std::string header = test::HeaderRow(FileKind::Item);
    const std::string row = test::RecordRow(FileKind::Item, 2, "1", "a");
    const std::string longName(sheet_limits::kMaxXmlNameBytes, 'n');
    test::Parts manyMembers = test::WorkbookParts(test::SheetXml(header + row));
    while (manyMembers.size() <= sheet_limits::kMaxMembers) manyMembers.emplace_back("m/" + std::to_string(manyMembers.size()), "");
    struct Case { const char* label; Bytes bytes; std::optional<B> beyond; std::uint64_t limit = 0; };
    const Case cases[] = {
        {"a token past the limit", test::WorkbookWithLongToken(sheet_limits::kMaxXmlTokenBytes + (std::size_t{300} << 10)),
         B::TokenBytes, sheet_limits::kMaxXmlTokenBytes},
        {"a token within it", test::WorkbookWithLongToken(sheet_limits::kMaxXmlTokenBytes - 1000), std::nullopt},
        {"nested too deep", test::WorkbookWithNesting(sheet_limits::kMaxXmlDepth), B::Depth, sheet_limits::kMaxXmlDepth},
        {"nested within it", test::WorkbookWithNesting(sheet_limits::kMaxXmlDepth - 10), std::nullopt},
        {"a name too long", test::Workbook(test::SheetXml(header + row + "<" + longName + "x/>")), B::NameBytes,
         sheet_limits::kMaxXmlNameBytes},
        {"too many sheets", test::WorkbookWithSheets(sheet_limits::kMaxSheets + 1), B::Sheets, sheet_limits::kMaxSheets},
        {"sheets within it", test::WorkbookWithSheets(sheet_limits::kMaxSheets), std::nullopt},
        {"too many relationships",
         test::ZipOf(With(test::WorkbookParts(test::SheetXml(header + row)), "xl/_rels/workbook.xml.rels",
                          Relationships(sheet_limits::kMaxRelationships + 1, "worksheets/sheet1.xml"))),
         B::Relationships, sheet_limits::kMaxRelationships},
        {"too many members", test::ZipOf(manyMembers, true), B::Members, sheet_limits::kMaxMembers},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        static const Utf8NameTranscoder names;
        RowImporter importer(FileKind::Item, names);
        const SheetResult read = Read(c.bytes, importer);
        if (!c.beyond) {
            EXPECT_TRUE(read.Ok()) << static_cast<int>(read.failure);
            EXPECT_EQ(importer.RecordCount(), 1u);
            continue;
        }
        EXPECT_EQ(read.failure, SheetFailure::BeyondLimit);
        EXPECT_EQ(read.beyond, *c.beyond);
        EXPECT_EQ(read.limit, c.limit);
    }
}

// What a spreadsheet program would show is what is read, or the workbook is refused with the
// reason: never another member than the one the relationships name, nor a sheet it hides.
TEST(SheetDamage, OnlyTheSheetASpreadsheetShowsIsRead)
{
    using F = SheetFailure;
    const std::string header = test::HeaderRow(FileKind::Item);
    const std::string real = test::SheetXml(header + test::RecordRow(FileKind::Item, 2, "1", "real"));
    const std::string planted = test::SheetXml(header + test::RecordRow(FileKind::Item, 2, "666", "planted"));
    const test::Parts parts = test::WorkbookParts(real);
    test::Parts caseTwin = parts;
    caseTwin.insert(caseTwin.begin(), {"XL/WORKSHEETS/SHEET1.XML", planted});
    test::Parts storedTwice = parts;
    storedTwice.insert(storedTwice.begin(), {"xl/worksheets/sheetX.xml", planted});
    struct Case { const char* label; Bytes bytes; F failure; std::string detail; };
    const Case cases[] = {
        {"a case twin placed first", test::ZipOf(caseTwin), F::DuplicateMember, "xl/worksheets/sheet1.xml"},
        {"a member stored twice", Renamed(test::ZipOf(storedTwice), "sheetX.xml", "sheet1.xml"), F::DuplicateMember,
         "xl/worksheets/sheet1.xml"},
        {"a name the relationships spell otherwise",
         test::ZipOf(With(parts, "xl/_rels/workbook.xml.rels", Relationships(1, "worksheets/Sheet1.xml"))), F::NoWorksheet,
         ""},
        {"the first sheet hidden", test::ZipOf(With(parts, "xl/workbook.xml", WorkbookXml("state=\"hidden\""))),
         F::HiddenSheet, "records"},
        {"the first sheet very hidden", test::ZipOf(With(parts, "xl/workbook.xml", WorkbookXml("state=\"veryHidden\""))),
         F::HiddenSheet, "records"},
        {"a worksheet that is the workbook",
         test::ZipOf(With(parts, "xl/_rels/workbook.xml.rels", Relationships(1, "workbook.xml"))), F::NotAWorksheet,
         "workbook"},
        {"the first sheet shown", test::ZipOf(With(parts, "xl/workbook.xml", WorkbookXml("state=\"visible\""))), F::None,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        static const Utf8NameTranscoder names;
        RowImporter importer(FileKind::Item, names);
        const SheetResult read = Read(c.bytes, importer);
        EXPECT_EQ(read.failure, c.failure) << read.detail;
        if (!c.detail.empty()) {
            EXPECT_EQ(read.detail, c.detail);
        }
        if (read.Ok()) {
            ASSERT_EQ(importer.Records().Count(), 1u);
            EXPECT_EQ(LoadInt32(importer.Records().RecordAt(0).data()), 1);
        }
    }
}

// Memory that runs out while a part is parsed is said as that, whether the parser or the
// reading of what it hands over ran out.
class ThrowingHandler final : public XmlHandler {
public:
    bool Start(std::string_view name, const XmlAttributes&) override
    {
        if (name == "row") throw std::bad_alloc();
        return true;
    }
    bool End(std::string_view) override { return true; }
    bool Text(std::string_view) override { return true; }
};

TEST(SheetDamage, MemoryThatRunsOutIsSaidAsThat)
{
    ThrowingHandler handler;
    XmlStream xml(handler);
    EXPECT_FALSE(xml.Feed("<worksheet><sheetData><row>", true));
    EXPECT_EQ(xml.Stopped(), XmlStream::Stop::OutOfMemory);
#if !defined(_WIN32) && !defined(RECWRIGHT_ASAN)
    // The parser's own memory: a token it must hold whole, under an address space that has
    // room for less.
    const std::string piece(std::size_t{8} << 20, 'a');
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        XmlLimits unlimited;
        unlimited.tokenBytes = std::uint64_t{1} << 40;
        ThrowingHandler quiet;
        XmlStream stream(quiet, unlimited);
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = static_cast<rlim_t>(AddressSpaceInUse() + (std::size_t{64} << 20));
        ::setrlimit(RLIMIT_AS, &limit);
        bool fed = stream.Feed("<worksheet a=\"", false);
        for (int i = 0; fed && i < 64; ++i) fed = stream.Feed(piece, false);
        ::_exit(!fed && stream.Stopped() == XmlStream::Stop::OutOfMemory ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
}

} // namespace
} // namespace rw

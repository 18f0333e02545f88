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

#include <fstream>
#include <functional>
#include <new>
#include <tuple>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace rw {
namespace {

using Bytes = std::vector<std::uint8_t>;

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

// The bytes with fix applied at each place the name occurs (an archive's names are not under
// its checksums): at is where the name starts.
Bytes AtEachName(Bytes zip, const std::string& name, const std::function<void(Bytes&, std::size_t at)>& fix)
{
    const std::string_view all(reinterpret_cast<const char*>(zip.data()), zip.size());
    for (std::size_t at = all.find(name); at != std::string_view::npos; at = all.find(name, at + 1)) fix(zip, at);
    return zip;
}

// The sizes an archive's local header and directory give for a part, set to size.
Bytes WithDeclaredSize(const Bytes& zip, const std::string& part, std::uint32_t size)
{
    return AtEachName(zip, part, [&](Bytes& b, std::size_t at) {
        const std::uint32_t signature = b[at - 30] | b[at - 29] << 8 | b[at - 28] << 16 | std::uint32_t{b[at - 27]} << 24;
        const std::size_t field = signature == 0x04034b50 ? at - 30 + 22 : at - 46 + 24;
        for (int i = 0; i < 4; ++i) b[field + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    });
}

// The package with the first from in part index (1: the workbook, 2: its relationships) made to.
test::Parts Edited(test::Parts parts, std::size_t index, const std::string& from, const std::string& to)
{
    std::string& xml = parts[index].second;
    xml.replace(xml.find(from), from.size(), to);
    return parts;
}

// What a read should come to: refused for failure, naming detail or line; XML of a problem;
// beyond a limit.
SheetResult Refused(SheetFailure failure, std::string detail = {}, std::uint64_t line = 0)
{
    SheetResult want;
    std::tie(want.failure, want.detail, want.line) = std::tuple(failure, std::move(detail), line);
    return want;
}

SheetResult BadXml(SheetXmlProblem problem)
{
    SheetResult want = Refused(SheetFailure::BadXml);
    want.problem = problem;
    return want;
}

SheetResult Beyond(SheetBeyond beyond, std::uint64_t limit)
{
    SheetResult want = Refused(SheetFailure::BeyondLimit);
    std::tie(want.beyond, want.limit) = std::pair(beyond, limit);
    return want;
}

// Each workbook read, or refused with its reason: the failure, and what the failure names
// (the XML problem, the limit gone beyond, the line, the detail). What is read is one record.
TEST(SheetDamage, EachIsReadOrRefusedWithItsReason)
{
    using F = SheetFailure;
    using P = SheetXmlProblem;
    using B = SheetBeyond;
    namespace limits = sheet_limits;
    const std::string header = test::HeaderRow(FileKind::Item);
    const std::string row = test::RecordRow(FileKind::Item, 2, "1", "a");
    const std::string sheet = test::SheetXml(header + row);
    const auto workbookOf = [&](const std::string& rows) { return test::Workbook(test::SheetXml(header + rows)); };
    const std::string bomb = test::SheetXml(header + std::string(std::size_t{64} << 20, ' '));
    std::string manyStrings = "<sst>";
    for (std::uint64_t i = 0; i <= limits::kMaxSharedStrings; ++i) manyStrings += "<si/>";
    manyStrings += "</sst>";
    const test::Parts parts = test::WorkbookParts(sheet);
    test::Parts noWorkbook = parts;
    noWorkbook.erase(noWorkbook.begin() + 1);
    test::Parts manyMembers = parts;
    while (manyMembers.size() <= limits::kMaxMembers) manyMembers.emplace_back("m/" + std::to_string(manyMembers.size()), "");
    std::string images; // past the worksheet's, as many as the limit
    for (std::uint64_t i = 2; i <= limits::kMaxRelationships + 1; ++i) {
        images += "<Relationship Id=\"rId" + std::to_string(i) + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                  "2006/relationships/image\" Target=\"media/image" + std::to_string(i) + ".png\"/>";
    }
    // What a spreadsheet program would not show: a second member under the name the
    // relationships give.
    const std::string planted = test::SheetXml(header + test::RecordRow(FileKind::Item, 2, "666", "planted"));
    test::Parts storedTwice = parts;
    storedTwice.insert(storedTwice.begin(), {"xl/worksheets/sheetX.xml", planted});
    const auto renamedToSheet1 = [](Bytes& b, std::size_t at) { std::copy_n("sheet1", 6, b.begin() + std::ptrdiff_t(at)); };

    struct Case { const char* label; Bytes bytes; SheetResult want; std::int32_t id = 1; };
    const Case cases[] = {
        // An empty file opens as an empty archive; only the reader refuses it.
        {"empty", {}, Refused(F::NotZip)},
        {"cut short", [&] { Bytes b = test::Workbook(sheet); b.resize(b.size() / 2); return b; }(), Refused(F::NotZip)},
        {"no workbook", test::ZipOf(noWorkbook), Refused(F::NoWorksheet)},
        {"not a workbook", test::ZipOf({{"readme.txt", "hello"}}), Refused(F::NoWorksheet)},
        {"no sheets", test::ZipOf({{"xl/workbook.xml", "<workbook/>"}, {"xl/_rels/workbook.xml.rels", "<Relationships/>"}}),
         Refused(F::NoWorksheet)},
        {"not well-formed", workbookOf("<row r=\"2\"><c>"), BadXml(P::NotWellFormed)},
        {"entities", test::Workbook("<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>" + sheet),
         BadXml(P::DocumentType)},
        {"rows out of order", workbookOf("<row r=\"1\"/>"), BadXml(P::RowOutOfOrder)},
        {"a cell outside its row", workbookOf("<row r=\"2\"><c r=\"A3\"/></row>"), BadXml(P::BadCellReference)},
        {"cells out of order", workbookOf("<row r=\"2\"><c r=\"B2\"/><c r=\"A2\"/></row>"), BadXml(P::CellOutOfOrder)},
        {"a shared string not there", test::Workbook(test::SheetXml(header + "<row><c t=\"s\"><v>1</v></c></row>"),
                                                     "<sst><si><t>a</t></si></sst>"), BadXml(P::NoSuchSharedString)},
        {"the last row a worksheet has", workbookOf(test::RecordRow(FileKind::Item, 1'048'576, "7", "last")), {}, 7},
        {"a row past the last", workbookOf("<row r=\"1048577\"/>"), Refused(F::TooManyRows, {}, 1'048'577)},
        {"a cell longer than any", workbookOf("<row>" + test::TextCell(2, 0, std::string(200'000, 'x')) + "</row>"),
         Refused(F::CellTooLong, {}, 2)},
        {"too many shared strings", test::ZipOf(test::WorkbookParts(sheet, manyStrings), true), Refused(F::TooManyStrings)},
        {"zip bomb", test::Workbook(bomb), Refused(F::PackedTooDensely)},
        {"a part that says it is huge", WithDeclaredSize(test::Workbook(sheet), "xl/workbook.xml", 0x7FFFFFFF),
         Refused(F::TooLarge)},
        // Markup shaped to cost the parser time or memory without bound, or a package of more
        // sheets, relationships or members than any workbook; the same shapes just within.
        {"a token past the limit", test::WorkbookWithLongToken(limits::kMaxXmlTokenBytes + (std::size_t{300} << 10)),
         Beyond(B::TokenBytes, limits::kMaxXmlTokenBytes)},
        {"a token within it", test::WorkbookWithLongToken(limits::kMaxXmlTokenBytes - 1000), {}},
        {"nested too deep", test::WorkbookWithNesting(limits::kMaxXmlDepth), Beyond(B::Depth, limits::kMaxXmlDepth)},
        {"nested within it", test::WorkbookWithNesting(limits::kMaxXmlDepth - 10), {}},
        {"a name too long", workbookOf(row + "<" + std::string(limits::kMaxXmlNameBytes, 'n') + "x/>"),
         Beyond(B::NameBytes, limits::kMaxXmlNameBytes)},
        {"too many sheets", test::WorkbookWithSheets(limits::kMaxSheets + 1), Beyond(B::Sheets, limits::kMaxSheets)},
        {"sheets within it", test::WorkbookWithSheets(limits::kMaxSheets), {}},
        {"too many relationships", test::ZipOf(Edited(parts, 2, "</Relationships>", images + "</Relationships>")),
         Beyond(B::Relationships, limits::kMaxRelationships)},
        {"too many members", test::ZipOf(manyMembers, true), Beyond(B::Members, limits::kMaxMembers)},
        // Never another member than the one the relationships name, nor a sheet the workbook hides
        // (a case twin placed first, a hidden sheet and a worksheet that is the workbook are
        // CliSafetyTest's, with their words).
        {"a member stored twice", AtEachName(test::ZipOf(storedTwice), "sheetX", renamedToSheet1),
         Refused(F::DuplicateMember, "xl/worksheets/sheet1.xml")},
        {"a name the relationships spell otherwise", test::ZipOf(Edited(parts, 2, "sheet1.xml", "Sheet1.xml")),
         Refused(F::NoWorksheet)},
        {"the first sheet very hidden", test::ZipOf(Edited(parts, 1, "r:id", "state=\"veryHidden\" r:id")),
         Refused(F::HiddenSheet, "s")},
        {"the first sheet shown", test::ZipOf(Edited(parts, 1, "r:id", "state=\"visible\" r:id")), {}},
    };
    static const Utf8NameTranscoder names;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RowImporter importer(FileKind::Item, names);
        const SheetResult read = ReadRecordSheet(c.bytes, importer, {});
        EXPECT_EQ(read.failure, c.want.failure) << read.detail;
        if (c.want.failure == F::BadXml) { EXPECT_EQ(read.problem, c.want.problem) << read.detail; }
        if (c.want.failure == F::BeyondLimit) { EXPECT_EQ(std::pair(read.beyond, read.limit), std::pair(c.want.beyond, c.want.limit)); }
        if (c.want.line != 0) { EXPECT_EQ(read.line, c.want.line); }
        if (!c.want.detail.empty()) { EXPECT_EQ(read.detail, c.want.detail); }
        if (c.want.Ok() && read.Ok()) {
            ASSERT_TRUE(importer.Ok());
            ASSERT_EQ(importer.Records().Count(), 1u);
            EXPECT_EQ(LoadInt32(importer.Records().RecordAt(0).data()), c.id);
        }
    }
}

TEST(SheetDamage, APartIsNeverTrustedToBeTheSizeItSays)
{
    // A part that unpacks to far more than its directory entry says: the reading stops where
    // the entry says it ends, and the checksum tells the rest.
    const std::string bomb = test::SheetXml(test::HeaderRow(FileKind::Item) + std::string(std::size_t{64} << 20, ' '));
    static const Utf8NameTranscoder names;
    RowImporter importer(FileKind::Item, names);
    std::uint64_t unpacked = 0;
    const Bytes lying = WithDeclaredSize(test::Workbook(bomb), "xl/worksheets/sheet1.xml", 100'000);
    const SheetResult read = ReadRecordSheet(lying, importer, [&](std::uint64_t done, std::uint64_t) { return unpacked = done, true; });
    EXPECT_TRUE(read.failure == SheetFailure::DamagedZip || read.failure == SheetFailure::PackedTooDensely)
        << static_cast<int>(read.failure);
    EXPECT_LE(unpacked, std::uint64_t{2} << 20);
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

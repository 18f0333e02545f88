#include "tests/sheet/WorkbookBytes.h"

#include "data/Schema.h"

#include <zip.h>

#include <cstdlib>

namespace rw::test {
namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelationshipTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A relationship of the office document's type, and a part of such relationships.
std::string Relationship(const std::string& id, const char* type, const std::string& target)
{
    return "<Relationship Id=\"rId" + id + "\" Type=\"" + kRelationshipTypes + "/" + type + "\" Target=\"" + target + "\"/>";
}

std::string Relationships(const std::string& relationships)
{
    return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + relationships +
           "</Relationships>";
}

// xl/workbook.xml listing these sheets, and sheet n of relationship rId<n>.
std::string WorkbookXml(const std::string& sheets)
{
    return std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" + kRelationshipTypes + "\"><sheets>" + sheets +
           "</sheets></workbook>";
}

std::string Sheet(const std::string& n, const std::string& name)
{
    return "<sheet name=\"" + name + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
}

// A worksheet part holding this markup.
std::string Worksheet(const std::string& inside)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"") + kMain + "\">" + inside + "</worksheet>";
}

// Mostly one letter, the other one time in 2^bits: text that packs less densely than the
// reader allows a worksheet to.
std::string Sprinkled(std::size_t length, int bits)
{
    std::string text(length, 'a');
    std::uint64_t state = 1;
    for (char& c : text) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        if ((state >> (64 - bits)) == 0) c = 'b';
    }
    return text;
}

[[nodiscard]] std::string OneRecordRows() { return HeaderRow(FileKind::Item) + RecordRow(FileKind::Item, 2, "1", "a"); }

} // namespace

std::vector<std::uint8_t> ZipOf(const Parts& parts, bool stored)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    Require(memory != nullptr);
    zip_source_keep(memory);
    zip_t* archive = zip_open_from_source(memory, ZIP_TRUNCATE, &error);
    Require(archive != nullptr);
    for (const auto& [name, content] : parts) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        Require(index >= 0);
        if (stored) Require(zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) == 0);
    }
    Require(zip_close(archive) == 0);
    Require(zip_source_open(memory) == 0 && zip_source_seek(memory, 0, SEEK_END) == 0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(zip_source_tell(memory)));
    Require(zip_source_seek(memory, 0, SEEK_SET) == 0);
    Require(zip_source_read(memory, bytes.data(), bytes.size()) == static_cast<zip_int64_t>(bytes.size()));
    zip_source_close(memory);
    zip_source_free(memory);
    zip_error_fini(&error);
    return bytes;
}

Parts WorkbookParts(const std::string& sheetXml, const std::optional<std::string>& sharedStringsXml)
{
    std::string links = Relationship("1", "worksheet", "worksheets/sheet1.xml");
    if (sharedStringsXml) links += Relationship("2", "sharedStrings", "sharedStrings.xml");
    Parts parts = {
        {"_rels/.rels", Relationships(Relationship("1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml", WorkbookXml(Sheet("1", "s"))},
        {"xl/_rels/workbook.xml.rels", Relationships(links)},
        {"xl/worksheets/sheet1.xml", sheetXml},
    };
    if (sharedStringsXml) parts.emplace_back("xl/sharedStrings.xml", *sharedStringsXml);
    return parts;
}

std::vector<std::uint8_t> Workbook(const std::string& sheetXml, const std::optional<std::string>& sharedStringsXml)
{
    return ZipOf(WorkbookParts(sheetXml, sharedStringsXml));
}

std::string SheetXml(const std::string& rows) { return Worksheet("<sheetData>" + rows + "</sheetData>"); }

std::string ColumnLetters(int k)
{
    std::string letters;
    for (int n = k + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string TextCell(int r, int k, const std::string& text)
{
    return "<c r=\"" + ColumnLetters(k) + std::to_string(r) + "\" t=\"inlineStr\"><is><t>" + Escaped(text) + "</t></is></c>";
}

std::string NumberCell(int r, int k, const std::string& value)
{
    return "<c r=\"" + ColumnLetters(k) + std::to_string(r) + "\"><v>" + value + "</v></c>";
}

std::string HeaderRow(FileKind kind)
{
    const RecordSchema& schema = SchemaOf(kind);
    std::string row = "<row r=\"1\">";
    for (int k = 0; k < schema.ColumnCount(); ++k) row += TextCell(1, k, std::string(schema.Column(k).title));
    return row + TextCell(1, schema.ColumnCount(), "Raw") + "</row>";
}

std::string RecordRow(FileKind kind, int r, const std::string& id, const std::string& name, const std::string& raw)
{
    const RecordSchema& schema = SchemaOf(kind);
    std::string row = "<row r=\"" + std::to_string(r) + "\">" + NumberCell(r, 0, id) + TextCell(r, 1, name);
    for (int k = 2; k < schema.ColumnCount(); ++k) row += NumberCell(r, k, "0");
    if (!raw.empty()) row += TextCell(r, schema.ColumnCount(), raw);
    return row + "</row>";
}

std::vector<std::uint8_t> WorkbookWithLongToken(std::size_t tokenBytes)
{
    return Workbook(Worksheet("<sheetData x=\"" + Sprinkled(tokenBytes, 7) + "\">" + OneRecordRows() + "</sheetData>"));
}

std::vector<std::uint8_t> WorkbookWithNesting(std::size_t depth)
{
    const std::string names = Sprinkled(depth, 4);
    std::string nested;
    nested.reserve(7 * depth);
    for (const char name : names) (nested += '<') += name, nested += '>';
    for (auto name = names.rbegin(); name != names.rend(); ++name) (nested += "</") += *name, nested += '>';
    return Workbook(Worksheet("<sheetData>" + OneRecordRows() + "</sheetData><extLst>" + nested + "</extLst>"));
}

std::vector<std::uint8_t> WorkbookWithSheets(std::size_t sheets)
{
    Parts parts = WorkbookParts(SheetXml(OneRecordRows()));
    std::string list, links;
    for (std::size_t i = 1; i <= sheets; ++i) {
        const std::string n = std::to_string(i);
        list += Sheet(n, "s" + n);
        // Every sheet but the last is a chart: each lookup of one passes every relationship.
        links += i == sheets ? Relationship(n, "worksheet", "worksheets/sheet1.xml")
                             : Relationship(n, "chartsheet", "chartsheets/sheet" + n + ".xml");
    }
    parts[1].second = WorkbookXml(list);
    parts[2].second = Relationships(links);
    return ZipOf(parts);
}

} // namespace rw::test

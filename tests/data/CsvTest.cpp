#include "data/CsvExport.h"
#include "data/CsvImport.h"
#include "data/PassThroughNames.h"
#include "data/CsvTokenizer.h"
#include "data/HexText.h"
#include "data/Record.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

// All rows of a text, read whole; errors appear as a row "!<syntax>@<line>:<column>".
std::vector<std::vector<std::string>> Rows(std::string_view text)
{
    CsvTokenizer tokenizer;
    CsvRow row;
    std::vector<std::vector<std::string>> rows;
    std::size_t pos = 0;
    std::size_t line = 1;
    for (;;) {
        tokenizer.ReadRow(text, pos, true, row);
        if (row.status == CsvRow::Status::End) break;
        if (row.status == CsvRow::Status::Error) {
            rows.push_back({"!" + std::to_string(static_cast<int>(row.syntax)) + "@" + std::to_string(line + row.errorLine) +
                            ":" + std::to_string(row.errorColumn)});
        } else if (!row.blank) {
            std::vector<std::string> fields;
            for (const CsvField& f : row.fields) fields.emplace_back(f.text);
            rows.push_back(fields);
        }
        line += row.lines;
        pos = row.next;
    }
    return rows;
}

TEST(CsvTokenizer, Rfc4180)
{
    using R = std::vector<std::vector<std::string>>;
    const std::string quoteInside = "!" + std::to_string(int(CsvSyntax::QuoteInsideField));
    const std::string afterQuote = "!" + std::to_string(int(CsvSyntax::TextAfterQuote));
    const std::string unclosed = "!" + std::to_string(int(CsvSyntax::UnclosedQuote));
    const std::string strayCr = "!" + std::to_string(int(CsvSyntax::StrayCarriageReturn));
    const std::pair<std::string_view, R> cases[] = {
        {"a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}},
        {"a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}},
        {",\n", {{"", ""}}},
        {"\"a,b\",\"say \"\"hi\"\"\",\"\"\n", {{"a,b", "say \"hi\"", ""}}},
        {"\"two\nlines\",x\r\ny\n", {{"two\nlines", "x"}, {"y"}}},
        {"a\n\n\r\nb\n", {{"a"}, {"b"}}},
        {"ab\"c,d\ne\n", {{quoteInside + "@1:1"}, {"e"}}},
        {"\"ab\"c,d\ne\n", {{afterQuote + "@1:1"}, {"e"}}},
        {"x,\"never\nclosed", {{unclosed + "@1:2"}}},
        {"a\rb,c\nd\n", {{strayCr + "@1:1"}, {"d"}}},
        {"1,\"a\nb\nc\",\"d\"e\nf\n", {{afterQuote + "@3:3"}, {"f"}}},
        {"\"x\"\r", {{"x"}}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(Rows(text), expected) << text;
}

TEST(CsvTokenizer, IncompleteRowsWaitForMoreText)
{
    CsvTokenizer tokenizer;
    CsvRow row;
    for (std::string_view partial : {"a,b", "\"a\nb", "\"a\"", "a\r", "\"a\"\""}) {
        tokenizer.ReadRow(partial, 0, false, row);
        EXPECT_EQ(row.status, CsvRow::Status::Incomplete) << partial;
    }
}

TEST(CsvTokenizer, FieldsAreQuotedOnlyWhenNeeded)
{
    std::string out;
    for (std::string_view f : {"plain", "a,b", "say \"hi\"", "cr\r", "lf\n", ""}) {
        AppendCsvField(out, f);
        out.push_back('|');
    }
    EXPECT_EQ(out, "plain|\"a,b\"|\"say \"\"hi\"\"\"|\"cr\r\"|\"lf\n\"||");
}

// Import: the header, a zero record's Raw, and rows built from them.
class CsvImport : public ::testing::Test {
protected:
    Utf8NameTranscoder m_names;

    static std::string Header(FileKind kind, bool raw = true)
    {
        std::string header;
        CsvExporter(kind, PassThroughNames{}).AppendHeader(header);
        if (!raw) header.erase(header.rfind(",Raw"), 4);
        return header;
    }
    // A row of the kind with the ID, the name and every field 0, without Raw and line end.
    static std::string Fields(FileKind kind, std::string_view id, std::string_view name)
    {
        std::string row = std::string(id) + "," + std::string(name);
        for (int k = 2; k < SchemaOf(kind).ColumnCount(); ++k) row += ",0";
        return row;
    }
    static std::string Row(FileKind kind, std::string_view id, std::string_view name, std::string_view raw = "")
    {
        return Fields(kind, id, name) + "," + std::string(raw) + "\n";
    }
    CsvImporter Import(FileKind kind, const std::string& text)
    {
        CsvImporter importer(kind, m_names);
        importer.Consume(text, true);
        return importer;
    }
};

TEST_F(CsvImport, RowsStartFromRawOrZeros)
{
    Record stored(FileKind::Item);
    stored.Bytes()[4] = 0x99;          // a hidden byte
    ASSERT_TRUE(stored.SetName("ab"));
    stored.Bytes()[153 + 3] = 0x7A;    // a stale byte after the terminator
    std::string raw(2 * 184, '0');
    WriteHex(stored.Bytes().data(), 184, raw.data());

    const std::string text = Header(FileKind::Item) + Row(FileKind::Item, "1", "ab", raw) + Row(FileKind::Item, "2", "cd", raw) +
                             Row(FileKind::Item, " 3 ", "\"霜,纹\"");
    const CsvImporter importer = Import(FileKind::Item, text);
    ASSERT_TRUE(importer.Ok());
    ASSERT_EQ(importer.Records().Count(), 3u);
    const Record kept(FileKind::Item, importer.Records().At(0));
    EXPECT_EQ(kept.Bytes()[4], 0x99);
    EXPECT_EQ(kept.Bytes()[156], 0x7A) << "an untouched name keeps its bytes";
    const Record renamed(FileKind::Item, importer.Records().At(1));
    EXPECT_EQ(renamed.Bytes()[4], 0x99);
    EXPECT_EQ(renamed.Name(), "cd");
    EXPECT_EQ(renamed.Bytes()[156], 0) << "a changed name is written by the rule";
    const Record fresh(FileKind::Item, importer.Records().At(2));
    EXPECT_EQ(fresh.Id(), 3);
    EXPECT_EQ(fresh.Name(), "\xcb\xaa,\xce\xc6");
    EXPECT_EQ(fresh.Bytes()[4], 0);


    const CsvImporter withoutRaw = Import(FileKind::Magic, Header(FileKind::Magic, false) + Fields(FileKind::Magic, "7", "fire") + "\r\n");
    ASSERT_TRUE(withoutRaw.Ok());
    EXPECT_EQ(Record(FileKind::Magic, withoutRaw.Records().At(0)).Name(), "fire");
}

TEST_F(CsvImport, ErrorsNameLineAndColumn)
{
    struct Case {
        const char* label;
        FileKind kind;
        std::string body; // after the header
        CsvIssue::Kind issue;
        std::size_t line;
        int column;
    };
    const std::string tooLong(32, 'x');
    const Case cases[] = {
        {"field count", FileKind::Item, "1,a,2\n", CsvIssue::Kind::FieldCount, 2, 0},
        {"letters", FileKind::Item, Row(FileKind::Item, "1", "a") + Row(FileKind::Item, "2a", "b"), CsvIssue::Kind::BadNumber, 3, 1},
        {"out of range", FileKind::Magic, Row(FileKind::Magic, "2147483648", "a"), CsvIssue::Kind::BadNumber, 2, 1},
        {"empty number", FileKind::Monster, Row(FileKind::Monster, "", "a"), CsvIssue::Kind::BadNumber, 2, 1},
        {"raw too short", FileKind::Item, Row(FileKind::Item, "1", "a", "00"), CsvIssue::Kind::BadRaw, 2, 32},
        {"raw not hex", FileKind::Magic, Row(FileKind::Magic, "1", "a", std::string(239, '0') + "g"), CsvIssue::Kind::BadRaw, 2, 24},
        {"name too long", FileKind::Item, Row(FileKind::Item, "1", tooLong), CsvIssue::Kind::NameTooLong, 2, 2},
        {"name without GBK form", FileKind::Item, Row(FileKind::Item, "1", "\xF0\x9F\x98\x80"), CsvIssue::Kind::NameNotEncoded, 2, 2},
        {"name not UTF-8", FileKind::Item, Row(FileKind::Item, "1", "\xC3"), CsvIssue::Kind::NameNotEncoded, 2, 2},
        {"name with NUL", FileKind::Item, Row(FileKind::Item, "1", std::string("a\0b", 3)), CsvIssue::Kind::NameNotEncoded, 2, 2},
        {"duplicate item ID", FileKind::Item, Row(FileKind::Item, "4", "a") + "\n" + Row(FileKind::Item, "4", "b"), CsvIssue::Kind::DuplicateId, 4, 1},
        {"monster first ID reads as 0", FileKind::Monster, Row(FileKind::Monster, "9", "a") + Row(FileKind::Monster, "0", "b"), CsvIssue::Kind::DuplicateId, 3, 1},
        {"syntax", FileKind::Item, "1,\"a\"b\n", CsvIssue::Kind::Syntax, 2, 2},
        {"multi-line name", FileKind::Item, Row(FileKind::Item, "x", "\"a\nb\""), CsvIssue::Kind::BadNumber, 2, 1},
    };
    for (const Case& c : cases) {
        const CsvImporter importer = Import(c.kind, Header(c.kind) + c.body);
        ASSERT_FALSE(importer.Ok()) << c.label;
        ASSERT_EQ(importer.ErrorCount(), 1u) << c.label;
        const CsvIssue& issue = importer.Errors().front();
        EXPECT_EQ(issue.kind, c.issue) << c.label;
        EXPECT_EQ(issue.line, c.line) << c.label;
        EXPECT_EQ(issue.column, c.column) << c.label;
        EXPECT_EQ(importer.Records().Count(), 0u) << c.label;
    }
    // Magic IDs may repeat.
    EXPECT_TRUE(Import(FileKind::Magic, Header(FileKind::Magic) + Row(FileKind::Magic, "4", "a") + Row(FileKind::Magic, "4", "b")).Ok());
}

TEST_F(CsvImport, HeaderAndWholeFileProblems)
{
    EXPECT_EQ(Import(FileKind::Item, "").Errors().at(0).kind, CsvIssue::Kind::NoHeader);
    EXPECT_EQ(Import(FileKind::Item, "\n\n").Errors().at(0).kind, CsvIssue::Kind::NoHeader);
    EXPECT_EQ(Import(FileKind::Item, Header(FileKind::Magic)).Errors().at(0).kind, CsvIssue::Kind::BadHeader);
    EXPECT_EQ(Import(FileKind::Item, "\"unclosed\n").Errors().at(0).kind, CsvIssue::Kind::Syntax);
    const std::string header = Header(FileKind::Item);
    const std::string reordered = "ItemName,ItemID" + header.substr(header.find(",Stdmode"));
    EXPECT_EQ(Import(FileKind::Item, reordered).Errors().at(0).kind, CsvIssue::Kind::BadHeader);

    const CsvImporter empty = Import(FileKind::Item, Header(FileKind::Item, false));
    EXPECT_TRUE(empty.Ok());
    ASSERT_EQ(empty.Warnings().size(), 1u);
    EXPECT_EQ(empty.Warnings()[0].kind, CsvIssue::Kind::NoRecords);

    const CsvImporter monster = Import(FileKind::Monster, Header(FileKind::Monster) + Row(FileKind::Monster, "12", "a"));
    EXPECT_TRUE(monster.Ok());
    ASSERT_EQ(monster.Warnings().size(), 1u);
    EXPECT_EQ(monster.Warnings()[0].kind, CsvIssue::Kind::FirstMonsterId);
    EXPECT_EQ(monster.Warnings()[0].number, 12);
}

TEST_F(CsvImport, KeepsFirstTwentyErrorsInLineOrder)
{
    std::string text = Header(FileKind::Item);
    for (int i = 0; i < 30; ++i) text += Row(FileKind::Item, "5", "a"); // 29 duplicates
    text += Row(FileKind::Item, "x", "a");                               // and a bad number
    const CsvImporter importer = Import(FileKind::Item, text);
    EXPECT_EQ(importer.ErrorCount(), 30u);
    ASSERT_EQ(importer.Errors().size(), CsvImporter::kMaxErrors);
    EXPECT_EQ(importer.Errors().front().line, 3u);
    EXPECT_EQ(importer.Errors().front().otherLine, 2u);
    EXPECT_EQ(importer.Errors().back().line, 22u);
}

} // namespace
} // namespace rw

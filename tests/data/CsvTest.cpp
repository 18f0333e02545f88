// The CSV tokenizer, the exporter's formula warning, and the importer: from text, from a
// worksheet's fields, its name changes and keep-names, and the feed loop over a file.

#include "csv/CsvFeed.h"
#include "csv/CsvTokenizer.h"
#include "data/PassThroughNames.h"
#include "tests/data/CsvRows.h"
#include "tests/data/TestFiles.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace rw {
namespace {

using namespace test;

// All rows of a text, read as through a buffer: pieces of the given size (all of it by default)
// added to what the tokenizer left untaken, which must always be less than a row may be. An
// error appears as a row "!<syntax>@<line>:<column>".
Rows ReadInPieces(std::string_view text, std::size_t piece = std::string_view::npos)
{
    CsvTokenizer tokenizer;
    CsvRow row;
    Rows rows;
    std::string held;
    std::size_t line = 1;
    for (std::size_t at = 0;;) {
        held.append(text.substr(at, piece));
        at = std::min(text.size(), at + piece);
        const bool atEnd = at == text.size();
        std::size_t pos = 0;
        for (;; pos = row.next) {
            tokenizer.ReadRow(held, pos, atEnd, row);
            if (row.status == CsvRow::Status::Incomplete || row.status == CsvRow::Status::End) break;
            if (row.status == CsvRow::Status::Error) {
                rows.push_back({"!" + std::to_string(static_cast<int>(row.syntax)) + "@" + std::to_string(line + row.errorLine) + ":" +
                                std::to_string(row.errorColumn)});
            } else if (row.status == CsvRow::Status::Row && !row.blank) {
                rows.emplace_back();
                for (const CsvField& field : row.fields) rows.back().emplace_back(field.text);
            }
            line += row.lines;
        }
        held.erase(0, pos);
        EXPECT_LT(held.size(), CsvTokenizer::kMaxRowBytes);
        if (atEnd) return rows;
    }
}

TEST(CsvTokenizer, Rfc4180)
{
    const auto error = [](CsvSyntax syntax, const char* at) { return "!" + std::to_string(int(syntax)) + at; };
    const std::pair<std::string_view, Rows> cases[] = {
        {"a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}}, {"a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}}, {",\n", {{"", ""}}},
        {"\"a,b\",\"say \"\"hi\"\"\",\"\"\n", {{"a,b", "say \"hi\"", ""}}},
        {"\"two\nlines\",x\r\ny\n", {{"two\nlines", "x"}, {"y"}}},
        {"a\n\n\r\nb\n", {{"a"}, {"b"}}}, {"\"x\"\r", {{"x"}}},
        {"ab\"c,d\ne\n", {{error(CsvSyntax::QuoteInsideField, "@1:1")}, {"e"}}},
        {"\"ab\"c,d\ne\n", {{error(CsvSyntax::TextAfterQuote, "@1:1")}, {"e"}}},
        {"x,\"never\nclosed", {{error(CsvSyntax::UnclosedQuote, "@1:2")}}},
        {"a\rb,c\nd\n", {{error(CsvSyntax::StrayCarriageReturn, "@1:1")}, {"d"}}},
        {"1,\"a\nb\nc\",\"d\"e\nf\n", {{error(CsvSyntax::TextAfterQuote, "@3:3")}, {"f"}}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ReadInPieces(text), expected) << text;
        EXPECT_EQ(ReadInPieces(text, 1), expected) << "a byte at a time: " << text;
    }
}

TEST(CsvTokenizer, RowsLongerThanTheLimitArePassedOverNotHeld)
{
    constexpr std::size_t kMax = CsvTokenizer::kMaxRowBytes;
    const std::string tooLong = "!" + std::to_string(int(CsvSyntax::RowTooLong));
    const std::string commas(kMax, ',');
    const std::pair<std::string, Rows> cases[] = {
        {std::string(kMax - 1, 'a') + "\nb", {{std::string(kMax - 1, 'a')}, {"b"}}}, // the line end makes kMax
        {"x\n" + std::string(kMax, 'a') + "\nb\n", {{"x"}, {tooLong + "@2:1"}, {"b"}}},
        {commas + commas + "\nb", {{tooLong + "@1:" + std::to_string(kMax + 1)}, {"b"}}},
        {std::string(kMax, 'a'), {{tooLong + "@1:1"}}}, // the last row, without a line end
        {"x,\"a\n" + std::string(kMax, 'b') + "\"\nc\n", {{tooLong + "@2:2"}, {"c"}}},
        // Another error found first is the one reported; the long rest is passed over.
        {"a\"b" + commas + commas + "\nc\n", {{"!" + std::to_string(int(CsvSyntax::QuoteInsideField)) + "@1:1"}, {"c"}}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ReadInPieces(text), expected) << text.substr(0, 20);
        EXPECT_EQ(ReadInPieces(text, 65536), expected) << text.substr(0, 20);
    }
}

const Utf8NameTranscoder kNames;

RowImporter Import(FileKind kind, const std::string& text)
{
    RowImporter importer(kind, kNames);
    importer.Consume(text, true);
    return importer;
}

// The rows through TakeFields, numbered as lines from 1.
void TakeAll(RowImporter& importer, const Rows& rows, const std::vector<std::vector<CellType>>& types = {})
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<std::string_view> fields(rows[r].begin(), rows[r].end());
        importer.TakeFields(fields, r + 1, r < types.size() ? std::span<const CellType>(types[r]) : std::span<const CellType>());
    }
    importer.FinishFields();
}

// Names a spreadsheet may take for formulas are counted as they are written, the first kept
// with its ID; the rows stay as they are.
TEST(CsvExport, NamesThatMayReadAsFormulasAreCounted)
{
    const std::pair<const char*, bool> names[] = {
        {"a=b", false}, {"", false}, {" =1", false}, {"=1+1", true}, {"+5", true}, {"-3", true}, {"@SUM(A1)", true},
    };
    std::vector<std::uint8_t> records;
    std::int32_t id = 10;
    for (const auto& [name, formula] : names) {
        Record record(FileKind::Magic);
        record.SetId(id++);
        ASSERT_TRUE(record.SetName(name));
        records.insert(records.end(), record.Bytes().begin(), record.Bytes().end());
    }
    const PassThroughNames gbk;
    CsvExporter exporter(FileKind::Magic, gbk);
    std::string csv;
    ASSERT_TRUE(exporter.ExportRows(records, [&](std::string_view piece) { return csv.append(piece), true; }));
    const auto& like = exporter.FormulaLike();
    EXPECT_EQ(std::tie(like.count, like.firstId, like.firstName), std::make_tuple(std::size_t{4}, 13, std::string("=1+1")));
    EXPECT_NE(csv.find("\n13,=1+1,"), std::string::npos) << csv;
    for (const auto& [name, formula] : names) EXPECT_EQ(MayReadAsFormula(name), formula) << name;
}

TEST(CsvImport, RowsStartFromRawOrZeros)
{
    Record stored(FileKind::Item);
    stored.Bytes()[4] = 0x99;          // a hidden byte
    ASSERT_TRUE(stored.SetName("ab"));
    stored.Bytes()[153 + 3] = 0x7A;    // a stale byte after the terminator

    // The round trips show that an untouched name keeps its bytes; a changed one is written anew.
    const std::string text = Header(FileKind::Item) + Row(FileKind::Item, "2", "cd", RawOf(stored)) + Row(FileKind::Item, " 3 ", "霜,纹");
    const RowImporter importer = Import(FileKind::Item, text);
    ASSERT_TRUE(importer.Ok());
    ASSERT_EQ(importer.Records().Count(), 2u);
    const Record renamed(FileKind::Item, importer.Records().RecordAt(0));
    EXPECT_EQ(std::make_tuple(int{renamed.Bytes()[4]}, renamed.Name(), int{renamed.Bytes()[156]}), std::make_tuple(0x99, std::string("cd"), 0))
        << "the hidden byte kept, the changed name written by the rule";
    const Record fresh(FileKind::Item, importer.Records().RecordAt(1));
    EXPECT_EQ(std::make_tuple(fresh.Id(), fresh.Name(), int{fresh.Bytes()[4]}), std::make_tuple(3, std::string("\xcb\xaa,\xce\xc6"), 0));

    const RowImporter withoutRaw = Import(FileKind::Magic, Header(FileKind::Magic, false) + Row(FileKind::Magic, "7", "fire", std::nullopt));
    ASSERT_TRUE(withoutRaw.Ok());
    EXPECT_EQ(Record(FileKind::Magic, withoutRaw.Records().RecordAt(0)).Name(), "fire");
    ASSERT_EQ(withoutRaw.Warnings().size(), 1u);
    EXPECT_EQ(std::tie(withoutRaw.Warnings()[0].kind, withoutRaw.Warnings()[0].line), std::make_tuple(CsvIssue::Kind::NoRawColumn, 1u));
}

// Numbers are read the same whatever their length, the characters after them, and whether
// the text goes on after them at all (the last field of a CSV without Raw or a line end).
TEST(CsvImport, NumbersOfAnyShape)
{
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"0", 0}, {"7", 7}, {"12", 12}, {"1234567", 1234567}, {"12345678", 12345678}, {"99999999", 99999999},
        {"00000001", 1}, {"123456789", 123456789}, {"2147483647", 2147483647}, {"-2147483648", -2147483648},
        {"-5", -5}, {"+5", 5}, {" 5", 5}, {"5\t", 5}, {"0x10", std::nullopt}, {"1e3", std::nullopt},
        {"1234567a", std::nullopt}, {"a1234567", std::nullopt}, {"12:45", std::nullopt}, {"2147483648", std::nullopt},
        {"/", std::nullopt}, {"", std::nullopt}, {"+", std::nullopt}, {"-", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        // As the ID, followed by the name; as the last field, followed by a line end or by nothing.
        std::vector<std::string> fields = RowFields(FileKind::Magic, "1", "a", std::nullopt);
        fields.back() = text;
        const std::string last = AsCsv({fields});
        const int lastColumn = kMagicSchema.ColumnCount() - 1;
        const std::pair<std::string, int> bodies[] = {
            {Row(FileKind::Magic, text, "a", std::nullopt), kIdColumn}, {last, lastColumn}, {last.substr(0, last.size() - 1), lastColumn}};
        for (const auto& [body, column] : bodies) {
            const RowImporter importer = Import(FileKind::Magic, Header(FileKind::Magic, false) + body);
            ASSERT_EQ(importer.Ok(), value.has_value()) << "'" << text << "' in " << body;
            if (value) {
                EXPECT_EQ(Record(FileKind::Magic, importer.Records().RecordAt(0)).Value(column), *value) << text;
            }
        }
    }
}

// A name takes its whole field, its length byte counting it; one byte more is refused.
TEST(CsvImport, ANameMayFillItsFieldExactly)
{
    for (const FileKind kind : kAllKinds) {
        const std::size_t capacity = SchemaOf(kind).nameCapacity;
        SCOPED_TRACE(SchemaOf(kind).fileName);
        const RowImporter full = Import(kind, Header(kind) + Row(kind, "1", std::string(capacity, 'x')));
        ASSERT_TRUE(full.Ok());
        EXPECT_EQ(Record(kind, full.Records().RecordAt(0)).Name(), std::string(capacity, 'x'));
        const RowImporter over = Import(kind, Header(kind) + Row(kind, "1", std::string(capacity + 1, 'x')));
        ASSERT_EQ(over.ErrorCount(), 1u);
        EXPECT_EQ(std::tie(over.Errors()[0].kind, over.Errors()[0].line, over.Errors()[0].column), std::make_tuple(CsvIssue::Kind::NameTooLong, 2u, 2));
    }
}

TEST(CsvImport, ErrorsNameLineAndColumn)
{
    struct Case { const char* label; FileKind kind; std::string body; CsvIssue::Kind issue; std::size_t line; int column; };
    // Text that is not UTF-8 is told from characters without a GBK form.
    using K = CsvIssue::Kind;
    constexpr FileKind kItem = FileKind::Item, kMagic = FileKind::Magic, kMonster = FileKind::Monster;
    const Case cases[] = {
        {"field count", kItem, "1,a,2\n", K::FieldCount, 2, 0},
        {"letters", kItem, Row(kItem, "1", "a") + Row(kItem, "2a", "b"), K::BadNumber, 3, 1},
        {"empty number", kMonster, Row(kMonster, "", "a"), K::BadNumber, 2, 1},
        {"raw too short", kItem, Row(kItem, "1", "a", "00"), K::BadRaw, 2, 32},
        {"raw not hex", kMagic, Row(kMagic, "1", "a", std::string(239, '0') + "g"), K::BadRaw, 2, 24},
        {"name without GBK form", kItem, Row(kItem, "1", "\xF0\x9F\x98\x80"), K::NameNotEncoded, 2, 2},
        {"name of U+FFFD", kItem, Row(kItem, "1", "\xEF\xBF\xBD"), K::NameNotEncoded, 2, 2},
        {"name cut short", kItem, Row(kItem, "1", "\xC3"), K::NameNotWellFormed, 2, 2},
        {"name overlong", kItem, Row(kItem, "1", "\xC0\xAF"), K::NameNotWellFormed, 2, 2},
        {"name of a surrogate", kItem, Row(kItem, "1", "\xED\xA0\x80"), K::NameNotWellFormed, 2, 2},
        {"names in GBK, reported once", kItem, Row(kItem, "1", "x") + Row(kItem, "2", "\xb3\xbf") + Row(kItem, "3", "\xbd\xa3"),
         K::NameNotWellFormed, 3, 2},
        {"name with NUL", kItem, Row(kItem, "1", std::string("a\0b", 3)), K::NameNotEncoded, 2, 2},
        {"duplicate item ID", kItem, Row(kItem, "4", "a") + "\n" + Row(kItem, "4", "b"), K::DuplicateId, 4, 1},
        {"monster first ID reads as 0", kMonster, Row(kMonster, "9", "a") + Row(kMonster, "0", "b"), K::DuplicateId, 3, 1},
        {"syntax", kItem, "1,\"a\"b\n", K::Syntax, 2, 2},
        {"multi-line name", kItem, Row(kItem, "x", "a\nb"), K::BadNumber, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const RowImporter importer = Import(c.kind, Header(c.kind) + c.body);
        ASSERT_FALSE(importer.Ok());
        ASSERT_EQ(importer.ErrorCount(), 1u);
        const CsvIssue& issue = importer.Errors().front();
        EXPECT_EQ(std::tie(issue.kind, issue.line, issue.column), std::tie(c.issue, c.line, c.column));
        EXPECT_EQ(importer.Records().Count(), 0u);
    }
    // The header's fields are counted with Raw when it has one.
    for (const bool raw : {true, false}) EXPECT_EQ(Import(kItem, Header(kItem, raw) + "1,a,2\n").Errors().at(0).expected, raw ? 32 : 31);
    // Magic IDs may repeat.
    EXPECT_TRUE(Import(kMagic, Header(kMagic) + Row(kMagic, "4", "a") + Row(kMagic, "4", "b")).Ok());

    // Of many errors the first twenty are kept, in line order, and all are counted.
    std::string many = Header(kItem);
    for (int i = 0; i < 30; ++i) many += Row(kItem, "5", "a"); // 29 duplicates
    many += Row(kItem, "x", "a");                               // and a bad number
    const RowImporter importer = Import(kItem, many);
    EXPECT_EQ(importer.ErrorCount(), 30u);
    ASSERT_EQ(importer.Errors().size(), RowImporter::kMaxErrors);
    EXPECT_EQ(std::tie(importer.Errors().front().line, importer.Errors().front().otherLine, importer.Errors().back().line),
              std::make_tuple(3u, 2u, 22u));
}

TEST(CsvImport, HeaderAndWholeFileProblems)
{
    const std::string header = Header(FileKind::Item);
    const std::string rows = Row(FileKind::Item, "x", "a") + "\"\n";
    const std::pair<std::string, CsvIssue::Kind> cases[] = {
        {"", CsvIssue::Kind::NoHeader}, {"\n\n", CsvIssue::Kind::NoHeader}, {"\"unclosed\n", CsvIssue::Kind::Syntax},
        {"a\"b\n" + rows, CsvIssue::Kind::Syntax},
        {std::string(CsvTokenizer::kMaxRowBytes, 'x') + "\n" + rows, CsvIssue::Kind::Syntax},
        {Header(FileKind::Magic) + rows, CsvIssue::Kind::BadHeader},
        {"ItemName,ItemID" + header.substr(header.find(",Stdmode")), CsvIssue::Kind::BadHeader},
    };
    for (const auto& [text, kind] : cases) {
        const RowImporter importer = Import(FileKind::Item, text);
        EXPECT_EQ(importer.Errors().at(0).kind, kind) << text.substr(0, 40);
        EXPECT_EQ(importer.ErrorCount(), 1u) << "nothing is read after a header that cannot be: " << text.substr(0, 40);
    }
    // A bad header is quoted back as CSV, quoted only where a field needs it.
    EXPECT_EQ(Import(FileKind::Item, "plain,\"a,b\",\"say \"\"hi\"\"\",\"cr\r\",\"lf\n\",\n").Errors().at(0).text,
              "plain,\"a,b\",\"say \"\"hi\"\"\",\"cr\r\",\"lf\n\",");
    // It ends the reading at once: endless input is not read to its end.
    RowImporter stopped(FileKind::Item, kNames);
    const std::string zeros(CsvTokenizer::kMaxRowBytes, '\0');
    EXPECT_EQ(stopped.Consume(zeros, false), zeros.size());
    EXPECT_EQ(std::make_tuple(stopped.Finished(), stopped.Errors().at(0).inHeader, stopped.Errors().at(0).syntax),
              std::make_tuple(true, true, CsvSyntax::RowTooLong));

    const RowImporter empty = Import(FileKind::Item, header);
    EXPECT_EQ(std::make_tuple(empty.Ok(), empty.Warnings().size(), empty.Warnings().at(0).kind),
              std::make_tuple(true, std::size_t{1}, CsvIssue::Kind::NoRecords));
}

TEST(CsvRows, FieldsGiveTheSameIssuesAsCsvText)
{
    constexpr FileKind kItem = FileKind::Item;
    const Rows cases[] = {
        {HeaderFields(kItem), RowFields(kItem, "1", "a"), RowFields(kItem, "2x", "b"), {"3", "c"}},
        {HeaderFields(kItem), RowFields(kItem, "4", "a"), {}, RowFields(kItem, "4", std::string(40, 'n'), "00")},
        {{"ItemName", "ItemID"}, RowFields(kItem, "1", "a")},
        {},
        {HeaderFields(kItem)},
    };
    for (const Rows& rows : cases) {
        RowImporter fromText(kItem, kNames);
        fromText.Consume(AsCsv(rows), true);
        RowImporter fromFields(kItem, kNames);
        TakeAll(fromFields, rows);
        SCOPED_TRACE(AsCsv(rows));
        ExpectSameImport(fromText, fromFields);
    }
}

TEST(CsvRows, ANameOrRawStoredAsAnythingButTextIsRefused)
{
    constexpr FileKind kMagic = FileKind::Magic;
    Record stored(kMagic);
    ASSERT_TRUE(stored.SetName("007"));
    const std::string raw = RawOf(stored);
    const std::size_t rawField = static_cast<std::size_t>(SchemaOf(kMagic).ColumnCount());
    struct Case { const char* label; std::string name; std::string raw; std::size_t field; CellType type; int errorColumn; };
    const Case cases[] = {
        {"name as a number", "7", "", kNameColumn, CellType::Number, 2},
        {"name as a formula", "2", "", kNameColumn, CellType::Formula, 2},
        {"Raw as a number", "a", "1E+30", rawField, CellType::Number, static_cast<int>(rawField) + 1},
        {"a number column as text is fine", "a", "", 2, CellType::Text, 0},
        {"a number column as a number is fine", "a", "", 2, CellType::Number, 0},
        {"a name that Raw holds already", "007", raw, kNameColumn, CellType::Text, 0},
        {"a name stored as a number, not read", "7", raw, kNameColumn, CellType::Number, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<CellType> types(rawField + 1, CellType::Text);
        types[c.field] = c.type;
        RowImporter importer(kMagic, kNames);
        TakeAll(importer, {HeaderFields(kMagic), RowFields(kMagic, "1", c.name, c.raw)}, {{}, types});
        if (c.errorColumn == 0) {
            EXPECT_TRUE(importer.Ok());
            continue;
        }
        ASSERT_EQ(importer.ErrorCount(), 1u);
        const CsvIssue& issue = importer.Errors()[0];
        EXPECT_EQ(std::tie(issue.kind, issue.column, issue.cellType, issue.text),
                  std::make_tuple(CsvIssue::Kind::WrongCellType, c.errorColumn, c.type, c.field == kNameColumn ? c.name : c.raw));
    }
}

TEST(CsvRows, NameChangesAreListedAndKeptOnRequest)
{
    constexpr FileKind kItem = FileKind::Item;
    Record first(kItem);
    ASSERT_TRUE(first.SetName("\xb3\xbf\xc2\xb6")); // 晨露
    Record second(kItem);
    ASSERT_TRUE(second.SetName("007"));
    const Rows rows = {
        HeaderFields(kItem),
        RowFields(kItem, "1", "晨露", RawOf(first)),   // untouched
        RowFields(kItem, "2", "7", RawOf(second)),     // a spreadsheet's doing
        RowFields(kItem, "3", "new"),                   // no Raw: nothing to change
        RowFields(kItem, "x", "晨", RawOf(first)),      // listed even on a row with an error
    };
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "keep names" : "take names");
        RowImporter fromText(kItem, kNames), fromFields(kItem, kNames), good(kItem, kNames);
        for (RowImporter* importer : {&fromText, &fromFields, &good}) importer->SetKeepNames(keep);
        fromText.Consume(AsCsv(rows), true);
        TakeAll(fromFields, rows);
        ExpectSameImport(fromText, fromFields);
        EXPECT_EQ(fromText.NameChangeCount(), 2u);
        ASSERT_EQ(fromText.NameChanges().size(), 2u);
        const NameChange& change = fromText.NameChanges()[0];
        EXPECT_EQ(std::tie(change.line, change.id, change.storedText, change.newText),
                  std::make_tuple(std::size_t{3}, 2, std::string("007"), std::string("7")));
        EXPECT_EQ(fromText.NameChanges()[1].id, 0) << "an ID that is no number";

        TakeAll(good, {rows.begin(), rows.begin() + 4});
        ASSERT_TRUE(good.Ok());
        EXPECT_EQ(Record(kItem, good.Records().RecordAt(1)).Name(), keep ? "007" : "7");
        EXPECT_EQ(Record(kItem, good.Records().RecordAt(2)).Name(), "new") << "without Raw, always the column";
    }

    // Of very many, the first kMaxNameChanges are kept and all are counted.
    RowImporter many(kItem, kNames);
    std::string text = Header(kItem);
    for (std::size_t i = 0; i <= RowImporter::kMaxNameChanges; ++i) text += Row(kItem, std::to_string(i), "x", RawOf(second));
    many.Consume(text, true);
    EXPECT_EQ(std::make_tuple(many.Ok(), many.NameChangeCount(), many.NameChanges().size()),
              std::make_tuple(true, RowImporter::kMaxNameChanges + 1, RowImporter::kMaxNameChanges));
}

TEST(CsvFeed, ReadsAnySizeAndStopsWhenAskedTo)
{
    TempDir dir;
    std::string text = "\xEF\xBB\xBF" + Header(FileKind::Magic);
    while (text.size() < (std::size_t{5} << 20)) text += Row(FileKind::Magic, std::to_string(text.size()), "a");
    WriteFile(dir / "magic.csv", text);
    for (const int stopAfter : {0, 2}) {
        InputFile input(dir / "magic.csv", InputFile::Accept::RegularFile);
        RowImporter importer(FileKind::Magic, kNames);
        std::vector<std::uint64_t> told;
        const FeedResult result = FeedCsv(input, true, importer, [&](std::uint64_t bytes) {
            told.push_back(bytes);
            return stopAfter == 0 || static_cast<int>(told.size()) < stopAfter;
        });
        if (stopAfter == 0) {
            ASSERT_GE(told.size(), 5u) << "about once a megabyte";
            EXPECT_EQ(std::make_tuple(result, importer.Ok(), told.back()), std::make_tuple(FeedResult::Done, true, std::uint64_t{text.size()}));
        } else {
            EXPECT_EQ(std::make_tuple(result, importer.Finished(), told.size()), std::make_tuple(FeedResult::Cancelled, false, std::size_t{2}));
        }
    }
}

} // namespace
} // namespace rw

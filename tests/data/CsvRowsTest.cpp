// The importer's rows from fields, its name-change list and keep-names, and the feed loop.

#include "csv/CsvExport.h"
#include "csv/CsvFeed.h"
#include "csv/RowImporter.h"
#include "data/HexText.h"
#include "data/Record.h"
#include "tests/data/TestFiles.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

namespace rw {
namespace {

const Utf8NameTranscoder kNames;

// The kind's header fields, with Raw.
std::vector<std::string> HeaderFields(FileKind kind)
{
    std::vector<std::string> fields;
    for (const ColumnSpec& column : SchemaOf(kind).columns) fields.emplace_back(column.title);
    fields.emplace_back(kRawColumnTitle);
    return fields;
}

// A record row: the ID, the name, every field 0 and the Raw field.
std::vector<std::string> RowFields(FileKind kind, std::string id, std::string name, std::string raw = "")
{
    std::vector<std::string> fields{std::move(id), std::move(name)};
    fields.resize(static_cast<std::size_t>(SchemaOf(kind).ColumnCount()), "0");
    fields.push_back(std::move(raw));
    return fields;
}

std::string AsCsv(const std::vector<std::vector<std::string>>& rows)
{
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (k > 0) text += ',';
            AppendCsvField(text, row[k]);
        }
        text += '\n';
    }
    return text;
}

// The rows through TakeFields, numbered as lines from 1.
void TakeAll(RowImporter& importer, const std::vector<std::vector<std::string>>& rows,
             const std::vector<std::vector<CellType>>& types = {})
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<std::string_view> fields(rows[r].begin(), rows[r].end());
        importer.TakeFields(fields, r + 1, r < types.size() ? std::span<const CellType>(types[r]) : std::span<const CellType>());
    }
    importer.FinishFields();
}

std::string RawOf(const Record& record)
{
    std::string raw(2 * record.Bytes().size(), '0');
    WriteHex(record.Bytes().data(), record.Bytes().size(), raw.data());
    return raw;
}

TEST(CsvRows, FieldsGiveTheSameIssuesAsCsvText)
{
    constexpr FileKind kItem = FileKind::Item;
    using Rows = std::vector<std::vector<std::string>>;
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
        ASSERT_TRUE(fromFields.Finished());
        ASSERT_EQ(fromFields.ErrorCount(), fromText.ErrorCount()) << AsCsv(rows);
        for (std::size_t i = 0; i < fromText.Errors().size(); ++i) {
            const CsvIssue& a = fromText.Errors()[i];
            const CsvIssue& b = fromFields.Errors()[i];
            EXPECT_EQ(std::tie(a.kind, a.line, a.column, a.text, a.number, a.otherLine),
                      std::tie(b.kind, b.line, b.column, b.text, b.number, b.otherLine)) << i << "\n" << AsCsv(rows);
        }
        ASSERT_EQ(fromFields.Warnings().size(), fromText.Warnings().size());
        if (!fromText.Warnings().empty()) {
            EXPECT_EQ(fromFields.Warnings()[0].line, fromText.Warnings()[0].line);
        }
        EXPECT_EQ(fromFields.Records().Count(), fromText.Records().Count());
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
        EXPECT_EQ(issue.kind, CsvIssue::Kind::WrongCellType);
        EXPECT_EQ(issue.column, c.errorColumn);
        EXPECT_EQ(issue.cellType, c.type);
        EXPECT_EQ(issue.text, c.field == kNameColumn ? c.name : c.raw);
    }
}

TEST(CsvRows, NameChangesAreListedAndKeptOnRequest)
{
    constexpr FileKind kItem = FileKind::Item;
    Record first(kItem);
    ASSERT_TRUE(first.SetName("\xb3\xbf\xc2\xb6")); // 晨露
    Record second(kItem);
    ASSERT_TRUE(second.SetName("007"));
    const std::vector<std::vector<std::string>> rows = {
        HeaderFields(kItem),
        RowFields(kItem, "1", "晨露", RawOf(first)),   // untouched
        RowFields(kItem, "2", "7", RawOf(second)),     // a spreadsheet's doing
        RowFields(kItem, "3", "new"),                   // no Raw: nothing to change
        RowFields(kItem, "x", "晨", RawOf(first)),      // listed even on a row with an error
    };
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "keep names" : "take names");
        for (const bool csv : {true, false}) {
            RowImporter importer(kItem, kNames);
            importer.SetKeepNames(keep);
            if (csv) {
                importer.Consume(AsCsv(rows), true);
            } else {
                TakeAll(importer, rows);
            }
            EXPECT_EQ(importer.NameChangeCount(), 2u);
            ASSERT_EQ(importer.NameChanges().size(), 2u);
            const NameChange& change = importer.NameChanges()[0];
            EXPECT_EQ(std::tie(change.line, change.id, change.storedText, change.newText),
                      std::make_tuple(std::size_t{3}, 2, std::string("007"), std::string("7")));
            EXPECT_EQ(importer.NameChanges()[1].id, 0) << "an ID that is no number";

            RowImporter good(kItem, kNames);
            good.SetKeepNames(keep);
            TakeAll(good, {rows.begin(), rows.begin() + 4});
            ASSERT_TRUE(good.Ok());
            EXPECT_EQ(Record(kItem, good.Records().RecordAt(1)).Name(), keep ? "007" : "7");
            EXPECT_EQ(Record(kItem, good.Records().RecordAt(2)).Name(), "new") << "without Raw, always the column";
        }
    }

    // Of very many, the first kMaxNameChanges are kept and all are counted.
    RowImporter many(kItem, kNames);
    std::string text = AsCsv({HeaderFields(kItem)});
    for (std::size_t i = 0; i <= RowImporter::kMaxNameChanges; ++i) {
        text += AsCsv({RowFields(kItem, std::to_string(i), "x", RawOf(second))});
    }
    many.Consume(text, true);
    EXPECT_TRUE(many.Ok());
    EXPECT_EQ(many.NameChangeCount(), RowImporter::kMaxNameChanges + 1);
    EXPECT_EQ(many.NameChanges().size(), RowImporter::kMaxNameChanges);
}

TEST(CsvFeed, ReadsAnySizeAndStopsWhenAskedTo)
{
    test::TempDir dir;
    std::string text = "\xEF\xBB\xBF" + AsCsv({HeaderFields(FileKind::Magic)});
    while (text.size() < (std::size_t{5} << 20)) {
        text += AsCsv({RowFields(FileKind::Magic, std::to_string(text.size()), "a")});
    }
    test::WriteFile(dir / "magic.csv", text);
    for (const int stopAfter : {0, 2}) {
        InputFile input(dir / "magic.csv", InputFile::Accept::RegularFile);
        RowImporter importer(FileKind::Magic, kNames);
        std::vector<std::uint64_t> told;
        const FeedResult result = FeedCsv(input, true, importer, [&](std::uint64_t bytes) {
            told.push_back(bytes);
            return stopAfter == 0 || static_cast<int>(told.size()) < stopAfter;
        });
        if (stopAfter == 0) {
            EXPECT_EQ(result, FeedResult::Done);
            EXPECT_TRUE(importer.Ok());
            EXPECT_GE(told.size(), 5u) << "about once a megabyte";
            EXPECT_EQ(told.back(), text.size());
        } else {
            EXPECT_EQ(result, FeedResult::Cancelled);
            EXPECT_FALSE(importer.Finished());
            EXPECT_EQ(told.size(), 2u);
        }
    }
}

} // namespace
} // namespace rw

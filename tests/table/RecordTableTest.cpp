#include "data/NameOrder.h"
#include "table/ChangeBaseline.h"
#include "table/RecordTable.h"
#include "data/PassThroughNames.h"
#include "query/RecordQuery.h"
#include "data/DataFile.h"
#include "data/KeySet.h"
#include "resources/Strings.h"
#include "tests/table/TableTestSupport.h"
#include "text/Utf8NameTranscoder.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <random>
#include <tuple>

namespace rw {
namespace {

using test::Column;
using test::MakeRecord;
using test::MakeTable;
using Ids = std::vector<std::int32_t>;

// Item rows with IDs 0, 1, ... and the given names or values of column 2.
RecordTable Numbered(const std::vector<std::string>& names, const Ids& values)
{
    std::vector<Record> records;
    for (std::size_t i = 0; i < std::max(names.size(), values.size()); ++i) {
        records.push_back(MakeRecord(FileKind::Item, static_cast<std::int32_t>(i), i < names.size() ? names[i] : "",
                                     i < values.size() ? values[i] : 0));
    }
    return test::TableOf(FileKind::Item, records);
}

TEST(RecordTable, GetMaxIdAndFindRowById)
{
    const std::vector<std::pair<Ids, std::int32_t>> maxima{{{3, 12, 7}, 12}, {{}, -1}, {{-5, -9}, -1}, {{INT_MIN, INT_MAX}, INT_MAX}};
    for (const auto& [ids, expected] : maxima) EXPECT_EQ(MakeTable(FileKind::Magic, ids).GetMaxId(), expected);

    // The exact "%d" text of the ID, whether an index (item) or a search (magic) finds it.
    const std::vector<std::pair<const char*, int>> cases{
        {"12", 1}, {"+12", -1}, {"012", -1}, {" 12", -1}, {"12 ", -1}, {"", -1}, {"-3", 2}, {"-0", -1},
        {"0", 3}, {"-2147483648", 4}, {"2147483648", -1}, {"12abc", -1}, {"99", -1}};
    for (const FileKind kind : {FileKind::Item, FileKind::Magic}) {
        const RecordTable table = MakeTable(kind, {7, 12, -3, 0, INT_MIN});
        for (const auto& [text, row] : cases) EXPECT_EQ(table.FindRowById(text), row) << text;
    }
    // Of repeated magic IDs (and names) the first row in current order is found.
    RecordTable magic = test::TableOf(FileKind::Magic, {MakeRecord(FileKind::Magic, 5, "b", 2),
                                                        MakeRecord(FileKind::Magic, 5, "b", 1)});
    EXPECT_EQ(magic.Value(magic.FindRowById("5"), 2), 2);
    EXPECT_EQ(magic.FindRowByName("b"), 0);
    magic.Sort(2, true);
    EXPECT_EQ(magic.Value(magic.FindRowById("5"), 2), 1);
    EXPECT_EQ(magic.FindRowByName("B"), -1);
    // Byte for byte: a trailing lone lead byte is part of the name here.
    (void)magic.AppendRows(test::StoreOf(FileKind::Magic, {MakeRecord(FileKind::Magic, 6, "c\x81", 0)}));
    EXPECT_EQ(magic.FindRowByName("c"), -1);
    EXPECT_EQ(magic.FindRowByName("c\x81"), 2);
}

TEST(RecordTable, NumericSortIsSignedAndStable)
{
    struct Case { Ids values; bool ascending; Ids sorted; };
    const std::vector<Case> cases{
        {{10, 9, 100, -1}, true, {-1, 9, 10, 100}},
        {{INT_MAX, 0, INT_MIN, -1}, true, {INT_MIN, -1, 0, INT_MAX}},
        {{INT_MAX, 0, INT_MIN, -1}, false, {INT_MAX, 0, -1, INT_MIN}},
        {{}, true, {}},
    };
    for (const auto& [values, ascending, sorted] : cases) {
        RecordTable table = Numbered({}, values);
        table.Sort(2, ascending);
        EXPECT_EQ(Column(table, 2), sorted);
    }
    // Equal values keep their current order either way.
    RecordTable ties = Numbered({}, {0, 1, 0, 1, 0, 1});
    ties.Sort(2, false);
    EXPECT_EQ(Column(ties, 0), (Ids{1, 3, 5, 0, 2, 4}));
    ties.Sort(0, false);
    ties.Sort(2, true);
    EXPECT_EQ(Column(ties, 0), (Ids{4, 2, 0, 5, 3, 1}));
}

TEST(RecordTable, NameSortFollowsCodePage936Characters)
{
    const std::string zhong = "\xD6\xD0"; // 中
    const std::string ah = "\xB0\xA1";    // 啊
    // Names, then rows ascending and descending: unequal names reverse, equal ones keep their order.
    const std::vector<std::tuple<std::vector<std::string>, Ids, Ids>> cases{
        {{zhong, "Sword", "", ah, "axe"}, {2, 1, 4, 3, 0}, {0, 3, 4, 1, 2}}, // empty first, Latin before Chinese
        {{"b\x81", "b", "b\x01"}, {0, 1, 2}, {2, 0, 1}},                   // a lone lead byte ends the name
        {{"\x81\x40", "\xFF", "\x80"}, {2, 1, 0}, {0, 1, 2}},              // single 0xFF below double-byte
        {{"\x81\xFF", "\x81\x40", "\x81\x7F"}, {1, 2, 0}, {0, 2, 1}},      // trail bytes under one lead
        {{"Longname-b", "Longname-a", "Longname", "Longname-a"}, {2, 1, 3, 0}, {0, 1, 3, 2}}, // past eight bytes
    };
    for (const auto& [names, ascending, descending] : cases) {
        RecordTable table = Numbered(names, {});
        table.Sort(kNameColumn, true);
        EXPECT_EQ(Column(table, 0), ascending);
        table.Sort(kNameColumn, false);
        EXPECT_EQ(Column(table, 0), descending);
    }
}

TEST(RecordTable, RowKeysFollowRecordsAndAreNeverReused)
{
    RecordTable table = MakeTable(FileKind::Item, {30, 10, 20});
    const RowKey k30 = table.KeyOfRow(0), k10 = table.KeyOfRow(1), k20 = table.KeyOfRow(2);
    table.Sort(0, true);
    EXPECT_EQ(std::pair(table.RowOfKey(k10), table.RowOfKey(k30)), std::pair(0, 2));
    (void)table.RemoveRows(std::array{0});
    EXPECT_EQ(std::pair(table.RowOfKey(k10), table.RowOfKey(k20)), std::pair(-1, 0));
    (void)table.AppendRows(test::StoreOf(FileKind::Item, {MakeRecord(FileKind::Item, 10)}));
    EXPECT_NE(table.KeyOfRow(2), k10);
    const PutResult put = table.CheckPutByKey(MakeRecord(FileKind::Item, 31), k30);
    EXPECT_TRUE(put.Accepted());
    EXPECT_EQ(put.row, 1);
    EXPECT_EQ(table.CheckPutByKey(MakeRecord(FileKind::Item, 32), k10).outcome, PutOutcome::NoSuchRow);
    EXPECT_EQ(table.CheckPutByKey(MakeRecord(FileKind::Magic, 32), k10).outcome, PutOutcome::WrongKind);
    EXPECT_EQ(table.RowOfKey(kNoRowKey), -1);

    // A key names nothing in a table of another generation (a document gives each table it
    // loads a new one).
    RecordTable next = MakeTable(FileKind::Item, {30, 10, 20});
    next.SetGeneration(1);
    EXPECT_EQ(next.RowOfKey(k20), -1);
    EXPECT_EQ(next.RowOfKey(next.KeyOfRow(2)), 2);
}

// What changed since the baseline, as the table's primitives change it, each write heard of
// first as the document's steps do: a record changed and changed back is unchanged, whatever
// came between; added rows and deleted ones count, a new order does not.
TEST(ChangeBaseline, FollowsWritesAddedAndDeletedRows)
{
    RecordTable table = MakeTable(FileKind::Item, {10, 20, 30});
    ChangeBaseline baseline(kItemSchema.recordSize);
    baseline.Mark(table);
    const auto write = [&](int row, const std::function<void(Record&)>& change) {
        const std::uint32_t slot = table.SlotOfRow(row);
        baseline.BeforeWrite(table, slot);
        Record record = table.ReadRow(row);
        change(record);
        table.WriteSlots(std::span<const std::uint32_t>(&slot, 1), [&](std::size_t, std::span<std::uint8_t> bytes) {
            std::copy(record.Bytes().begin(), record.Bytes().end(), bytes.begin());
        });
    };
    const auto setField = [](int value) { return [value](Record& r) { r.SetValue(2, value); }; };
    const auto changedCells = [&](int row) {
        std::vector<int> columns;
        for (int column = 0; column < table.ColumnCount(); ++column) {
            if (baseline.IsCellChanged(table, row, column)) columns.push_back(column);
        }
        return columns;
    };
    using Columns = std::vector<int>;

    write(1, setField(5));
    EXPECT_EQ(changedCells(1), Columns{2});
    EXPECT_EQ(baseline.ChangesOf(table, 1).columns, std::uint64_t{1} << 2);
    EXPECT_EQ(baseline.ChangedRecordCount(table), 1u);
    write(1, setField(6));
    write(1, setField(0)); // back to the baseline's value, through another
    EXPECT_EQ(changedCells(1), Columns{});
    EXPECT_EQ(baseline.ChangedRecordCount(table), 0u);

    write(0, [](Record& r) { (void)r.SetName("n"); });
    write(2, [](Record& r) { r.Bytes()[r.Schema().hidden[0].begin] ^= 1; });
    EXPECT_EQ(changedCells(0), Columns{kNameColumn});
    EXPECT_EQ(changedCells(2), Columns{});
    EXPECT_TRUE(baseline.ChangesOf(table, 2).hiddenBytes);
    EXPECT_EQ(baseline.ChangedRecordCount(table), 2u);

    (void)table.AppendRows(test::StoreOf(FileKind::Item, {MakeRecord(FileKind::Item, 40)}));
    EXPECT_TRUE(baseline.IsAddedRow(table, 3));
    EXPECT_FALSE(baseline.IsAddedRow(table, 0) || baseline.IsAddedRow(table, 4));
    EXPECT_EQ(changedCells(3), Columns{});
    EXPECT_EQ(baseline.ChangedRecordCount(table), 3u);
    const std::vector<RecordTable::RowSlot> removed = table.RemoveRows(std::array{0});
    EXPECT_EQ(baseline.ChangedRecordCount(table), 3u) << "the changed row 0 is now a deleted one";
    table.SetOrder({table.Order().rbegin(), table.Order().rend()});
    EXPECT_EQ(baseline.ChangedRecordCount(table), 3u);
    table.ReinsertRows(removed);
    EXPECT_EQ(baseline.ChangedRecordCount(table), 3u);

    baseline.Mark(table);
    EXPECT_EQ(baseline.ChangedRecordCount(table), 0u);
    EXPECT_FALSE(baseline.IsAddedRow(table, 3));
    write(3, setField(9));
    EXPECT_EQ(baseline.ChangedRecordCount(table), 1u);
}

// Names from few distinct bytes, so that lead, trail, 0xFF and lone lead bytes meet often.
std::string RandomName(std::mt19937& rng)
{
    static constexpr unsigned char kBytes[] = {0x01, 'A', 'a', 0x7F, 0x80, 0x81, 0xA1, 0xFE, 0xFF};
    std::uniform_int_distribution<int> length(0, 31);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kBytes - 1);
    std::string name(static_cast<std::size_t>(length(rng)), '\0');
    for (char& c : name) c = static_cast<char>(kBytes[pick(rng)]);
    return name;
}

TEST(NameOrder, PrefixKeyAgreesWithTheComparison)
{
    std::mt19937 rng(936);
    for (int i = 0; i < 200000; ++i) {
        const std::string a = RandomName(rng);
        const std::string b = RandomName(rng);
        const int order = CompareNames(a, b);
        EXPECT_EQ(order, -CompareNames(b, a));
        const std::uint64_t ka = NamePrefixKey(a);
        const std::uint64_t kb = NamePrefixKey(b);
        SCOPED_TRACE(testing::PrintToString(a) + " vs " + testing::PrintToString(b));
        if (ka != kb) {
            ASSERT_EQ(order, ka < kb ? -1 : 1);
        } else if (a.size() < 8 && b.size() < 8) {
            ASSERT_EQ(order, 0);
        }
        const NameKeys fa = FullNameKeys(a);
        const NameKeys fb = FullNameKeys(b);
        ASSERT_EQ(fa[0], ka);
        ASSERT_EQ(order, fa < fb ? -1 : fa == fb ? 0 : 1);
    }
}

struct QueryCase {
    const char* query;
    std::vector<int> rows;
    std::optional<QueryError::Kind> error;
};

// Rows of ID and name, Stdmode 10 × the ID; each query finds its rows or names its error.
void ExpectQueries(std::initializer_list<std::pair<std::int32_t, std::string>> rows, std::initializer_list<QueryCase> cases)
{
    std::vector<Record> records;
    for (const auto& [id, name] : rows) records.push_back(MakeRecord(FileKind::Item, id, name, id * 10));
    const RecordTable table = test::TableOf(FileKind::Item, records);
    const PassThroughNames gbk;
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(c.query);
        const RecordQuery query = RecordQuery::Parse(c.query, FileKind::Item, gbk);
        EXPECT_EQ(query.MatchingRows(table), c.rows);
        ASSERT_EQ(query.Error().has_value(), c.error.has_value());
        if (c.error) {
            EXPECT_EQ(query.Error()->kind, *c.error);
            continue;
        }
        // Written out in its own form, it is the same query.
        const RecordQuery again = RecordQuery::Parse(query.CanonicalText(), FileKind::Item, gbk);
        EXPECT_EQ(again.MatchingRows(table), c.rows) << query.CanonicalText();
        EXPECT_EQ(again.CanonicalText(), query.CanonicalText());
    }
}

// The find bar's queries: a text finds names holding it (ASCII in any case, never across a
// character) or the ID; conditions must all hold; a malformed query says what is wrong.
TEST(RecordQuery, TextsAndConditions)
{
    using E = QueryError::Kind;
    // 铁剑; a character whose trail byte is 'A'
    ExpectQueries({{1, "Iron Sword"}, {2, "iron"}, {12, "\xCC\xFA\xBD\xA3"}, {3, "\x81\x41x"}, {4, "A"}},
                  {
                      {"", {0, 1, 2, 3, 4}, {}}, {"IRON", {0, 1}, {}}, {"sword", {0}, {}},
                      {"\xBD\xA3", {2}, {}}, {"a", {4}, {}},             // 剑; "a" is not the trail byte of row 3
                      {"12", {2}, {}}, {"  2 ", {1}, {}},                // the ID; no name holds "12"
                      {"Stdmode>=30", {2, 3, 4}, {}}, {"stdmode >= 20 ItemID!=12", {1, 3, 4}, {}}, {"Stdmode<0", {}, {}},
                      // each operator at its edge: Stdmode 10, 20, 120, 30, 40
                      {"Stdmode<30", {0, 1}, {}}, {"Stdmode<=30", {0, 1, 3}, {}}, {"Stdmode>30", {2, 4}, {}},
                      {"Stdmode=30", {3}, {}}, {"Stdmode!=30", {0, 1, 2, 4}, {}}, {"Stdmode <= 30", {0, 1, 3}, {}},
                      {"Price=0 Stdmode=10", {0}, {}},
                      {"Levle>3", {}, E::UnknownColumn}, {"ItemName=iron", {}, E::NameColumn},
                      {"Stdmode 10 Price=1", {}, E::NoOperator}, {"Stdmode 10", {}, {}}, // no operator anywhere: a text no name holds
                      {"Stdmode>1x", {}, E::BadExpression}, {"Stdmode>", {}, E::NoNumber},
                      {"Stdmode>99999999999", {}, E::NotInRange}, {">3", {}, E::UnknownColumn},
                  });
    const PassThroughNames gbk;
    EXPECT_EQ(RecordQuery::Parse("Levle>3", FileKind::Item, gbk).Error()->text, "Levle");
}

// A column compared with what the row's own fields give, exactly and unrounded; a row for
// which the expression divides by zero meets no such condition. Stdmode is 10 × the ID.
TEST(RecordQuery, ConditionsComparingFields)
{
    using E = QueryError::Kind;
    const std::vector<int> all{0, 1, 2, 3, 4};
    ExpectQueries({{1, "Iron Sword"}, {2, "iron"}, {12, "Ring"}, {3, "Iron Ring"}, {4, "Ring"}},
                  {
                      {"Stdmode=ItemID*10", all, {}}, {"Stdmode<ItemID*10", {}, {}},
                      {"Stdmode<ItemID*10+0.5", all, {}}, {"Stdmode>ItemID*10-0.5", all, {}}, // not rounded to the same
                      {"Stdmode=Stdmode", all, {}}, {"Stdmode<Stdmode", {}, {}},               // a field with itself
                      {"Stdmode!=Stdmode", {}, {}}, {"Stdmode>=Stdmode", all, {}}, {"Stdmode>=ItemID*ItemID*10", {0}, {}},
                      {"ItemID<Stdmode/ItemID", {0, 1, 3, 4}, {}},
                      {"Price<Stdmode/Price", {}, {}}, {"Price>=Stdmode/Price", {}, {}},        // division by zero: none
                      {"iron Stdmode>ItemID*5 | ItemID=12", {0, 1, 2, 3}, {}},
                      {"Stdmode>=-ItemID Price=-Price ring", {2, 3, 4}, {}},
                      {"Stdmode<(99999999999)", all, {}}, {"Stdmode>--2147483648", {}, {}}, // beyond 32 bits, as expressions
                      {"Stdmode>Prcie*2", {}, E::BadExpression}, // each fault of an expression: FieldExpressionTest
                  });
    const PassThroughNames gbk;
    const RecordQuery query = RecordQuery::Parse("ring Stdmode>Prcie*2", FileKind::Item, gbk);
    ASSERT_TRUE(query.Error());
    EXPECT_EQ(query.Error()->position, 13u);
    EXPECT_EQ(query.Error()->expression.nearest, "Price");
    EXPECT_EQ(RecordQuery::Parse("Stdmode>=max(ItemID, 2)", FileKind::Item, gbk).CanonicalText(), "Stdmode>=max(ItemID,2)");
}

// A part of a name and conditions together, all to be met; alternatives after "|", one to
// be met; a malformed or empty alternative makes the whole query malformed.
TEST(RecordQuery, NamePartsConditionsAndAlternatives)
{
    using E = QueryError::Kind;
    ExpectQueries({{1, "Iron Sword"}, {2, "iron"}, {12, "\xCC\xFA\xBD\xA3"}, {3, "Iron  Ring"}, {4, "Ring"}}, // 铁剑
                  {
                      {"iron Stdmode>=20", {1, 3}, {}}, {"Stdmode>=20 iron", {1, 3}, {}},
                      {"Stdmode >= 20 IRON ItemID<3", {1}, {}},
                      {"\xBD\xA3 Stdmode>=100", {2}, {}},  // 剑 and a condition
                      {"iron sword Stdmode<100", {0}, {}}, // the words together, as one part
                      {"sword Stdmode<100 iron", {0}, {}}, // two parts, each held
                      {"Iron  Ring Stdmode>0", {3}, {}},   // the blanks between words kept
                      {"12 Stdmode>0", {2}, {}},           // a number is an ID here too
                      {"Stdmode=10 | Stdmode=30", {0, 3}, {}}, {"sword | ring", {0, 3, 4}, {}},
                      {"ring Stdmode>30 | ItemID=1", {0, 4}, {}},
                      // An empty alternative would meet every row.
                      {"Stdmode=10 |", {}, E::EmptyAlternative}, {"|", {}, E::EmptyAlternative}, {"||", {}, E::EmptyAlternative},
                      {" \t| ", {}, E::EmptyAlternative}, {"ring | | iron", {}, E::EmptyAlternative},
                      {"sword | Levle>3", {}, E::UnknownColumn}, {"ring Stdmode 10 Price>1", {}, E::NoOperator},
                      {"ring Stdmode>x", {}, E::BadExpression}, {"ring >3", {}, E::UnknownColumn},
                  });
}

TEST(RecordQuery, AnUnknownColumnNamesTheNearestOne)
{
    const PassThroughNames gbk;
    const std::tuple<FileKind, const char*, const char*> cases[] = {
        // The ways of a near name are the NearestName tests'; here each kind's own titles.
        {FileKind::Item, "Prcie<5", "Price"}, {FileKind::Monster, "level>=40 Pirce<5", ""}, // Level is a monster's
        {FileKind::Magic, "Level>=40", ""},
    };
    for (const auto& [kind, text, nearest] : cases) {
        const std::optional<QueryError> error = RecordQuery::Parse(text, kind, gbk).Error();
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(error->kind, QueryError::Kind::UnknownColumn);
        EXPECT_EQ(error->nearest, nearest) << text;
    }
}

// The examples the find bar gives for each kind, and those of the README, each parse and
// find records in the sample tables.
TEST(RecordQuery, EveryExampleFindsSampleRecords)
{
    // The README's, and recwright-cli update's usage.
    std::vector<std::pair<FileKind, std::string>> examples{
        {FileKind::Item, "NeedLevel>=16 Price<2500"}, {FileKind::Magic, "Job=2 NeedL1<20"},
        {FileKind::Monster, "Level>=30 HP<2000"},     {FileKind::Monster, "Level=40"},
        {FileKind::Item, "Stdmode=1"},
    };
    for (const FileKind kind : kAllKinds) {
        const str::QueryExamples& e = str::kQueryExamples[static_cast<std::size_t>(kind)];
        for (const char* text : {e.namePart, e.id, e.condition, e.together, e.either}) {
            examples.emplace_back(kind, text);
        }
    }
    const Utf8NameTranscoder names;
    for (const auto& [kind, text] : examples) {
        const DecodedRecords sample =
            ReadDataFile(std::filesystem::path(RECWRIGHT_SAMPLES_DIR) / SchemaOf(kind).fileName, kind, KeySet{}.For(kind));
        ASSERT_TRUE(sample.report.loaded);
        const RecordQuery query = RecordQuery::Parse(text, kind, names);
        ASSERT_FALSE(query.Error()) << text;
        std::size_t found = 0;
        for (std::size_t i = 0; i < sample.Count(); ++i) found += query.Matches(sample.RecordAt(i)) ? 1 : 0;
        EXPECT_GT(found, 0u) << text;
        EXPECT_LT(found, sample.Count()) << text; // an example that finds everything shows nothing
    }
}

} // namespace
} // namespace rw

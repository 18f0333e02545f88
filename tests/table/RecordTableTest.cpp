#include "table/NameOrder.h"
#include "table/RecordTable.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>

namespace rw {
namespace {

using test::Column;
using test::MakeRecord;
using test::MakeTable;
using Ids = std::vector<std::int32_t>;

TEST(RecordTable, PutFollowsTheDuplicateIdRule)
{
    struct Case {
        const char* what;
        FileKind kind;
        int row;
        std::int32_t id;
        PutOutcome outcome;
        Ids after;
    };
    const std::vector<Case> cases{
        {"own ID into its row", FileKind::Item, 4, 14, PutOutcome::Accepted, {10, 11, 12, 13, 14, 15}},
        {"another row's ID", FileKind::Item, 4, 15, PutOutcome::DuplicateId, {10, 11, 12, 13, 14, 15}},
        {"new ID into a row", FileKind::Item, 4, 99, PutOutcome::Accepted, {10, 11, 12, 13, 99, 15}},
        {"appended new ID", FileKind::Monster, -1, 99, PutOutcome::Accepted, {10, 11, 12, 13, 14, 15, 99}},
        {"appended present ID", FileKind::Monster, -1, 10, PutOutcome::DuplicateId, {10, 11, 12, 13, 14, 15}},
        {"magic keeps duplicates", FileKind::Magic, -1, 10, PutOutcome::Accepted, {10, 11, 12, 13, 14, 15, 10}},
        {"magic row takes another's ID", FileKind::Magic, 4, 15, PutOutcome::Accepted, {10, 11, 12, 13, 15, 15}},
        {"row past the end", FileKind::Item, 6, 99, PutOutcome::NoSuchRow, {10, 11, 12, 13, 14, 15}},
        {"duplicate before no such row", FileKind::Item, 6, 12, PutOutcome::DuplicateId, {10, 11, 12, 13, 14, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordTable table = MakeTable(c.kind, {10, 11, 12, 13, 14, 15});
        const Record record = MakeRecord(c.kind, c.id, "new", 7);
        const PutResult result = table.PutRecord(record, c.row);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.idText, std::to_string(c.id));
        EXPECT_EQ(Column(table, 0), c.after);
        if (result.Accepted()) {
            EXPECT_EQ(table.ReadRow(result.row), record); // hidden bytes too
        }
    }
}

TEST(RecordTable, TheIdIndexFollowsChangedAndDeletedIds)
{
    RecordTable table = MakeTable(FileKind::Item, {1, 2, 3});
    EXPECT_EQ(table.PutRecord(MakeRecord(FileKind::Magic, 9), -1).outcome, PutOutcome::WrongKind);
    ASSERT_TRUE(table.PutRecord(MakeRecord(FileKind::Item, 20), 1).Accepted());
    EXPECT_TRUE(table.PutRecord(MakeRecord(FileKind::Item, 2), -1).Accepted());
    EXPECT_EQ(table.PutRecord(MakeRecord(FileKind::Item, 20), -1).outcome, PutOutcome::DuplicateId);
    ASSERT_TRUE(table.DeleteRow(0));
    EXPECT_TRUE(table.PutRecord(MakeRecord(FileKind::Item, 1), -1).Accepted());
    EXPECT_FALSE(table.DeleteRow(4));
    EXPECT_EQ(Column(table, 0), (Ids{20, 3, 2, 1}));
}

TEST(RecordTable, GetMaxIdStartsAtMinusOne)
{
    const std::vector<std::pair<Ids, std::int32_t>> cases{
        {{3, 12, 7}, 12}, {{}, -1}, {{-5, -9}, -1}, {{INT_MIN, INT_MAX}, INT_MAX}};
    for (const auto& [ids, expected] : cases) EXPECT_EQ(MakeTable(FileKind::Magic, ids).GetMaxId(), expected);
}

TEST(RecordTable, FindRowByIdMatchesTheExactIdText)
{
    const std::vector<std::pair<const char*, int>> cases{
        {"12", 1}, {"+12", -1}, {"012", -1}, {" 12", -1}, {"12 ", -1}, {"", -1}, {"-3", 2}, {"-0", -1},
        {"0", 3}, {"-2147483648", 4}, {"2147483648", -1}, {"12abc", -1}, {"99", -1}};
    for (const FileKind kind : {FileKind::Item, FileKind::Magic}) {
        const RecordTable table = MakeTable(kind, {7, 12, -3, 0, INT_MIN});
        for (const auto& [text, row] : cases) EXPECT_EQ(table.FindRowById(text), row) << text;
    }
    // Of repeated magic IDs (and names) the first row in current order is found.
    RecordTable magic(FileKind::Magic);
    magic.PutRecord(MakeRecord(FileKind::Magic, 5, "b", 2), -1);
    magic.PutRecord(MakeRecord(FileKind::Magic, 5, "b", 1), -1);
    EXPECT_EQ(magic.Value(magic.FindRowById("5"), 2), 2);
    EXPECT_EQ(magic.FindRowByName("b"), 0);
    magic.Sort(2, true);
    EXPECT_EQ(magic.Value(magic.FindRowById("5"), 2), 1);
    EXPECT_EQ(magic.FindRowByName("B"), -1);
    // Byte for byte: a trailing lone lead byte is part of the name here.
    magic.PutRecord(MakeRecord(FileKind::Magic, 6, "c\x81", 0), -1);
    EXPECT_EQ(magic.FindRowByName("c"), -1);
    EXPECT_EQ(magic.FindRowByName("c\x81"), 2);
}

TEST(RecordTable, NumericSortIsSignedAndStable)
{
    struct Case {
        Ids values;
        bool ascending;
        Ids sorted;
    };
    const std::vector<Case> cases{
        {{10, 9, 100, -1}, true, {-1, 9, 10, 100}},
        {{INT_MAX, 0, INT_MIN, -1}, true, {INT_MIN, -1, 0, INT_MAX}},
        {{INT_MAX, 0, INT_MIN, -1}, false, {INT_MAX, 0, -1, INT_MIN}},
        {{}, true, {}},
    };
    for (const auto& [values, ascending, sorted] : cases) {
        RecordTable table(FileKind::Item);
        for (std::size_t i = 0; i < values.size(); ++i) {
            table.PutRecord(MakeRecord(FileKind::Item, static_cast<std::int32_t>(i), {}, values[i]), -1);
        }
        table.Sort(2, ascending);
        EXPECT_EQ(Column(table, 2), sorted);
    }
    // Equal values keep their order either way.
    RecordTable ties(FileKind::Item);
    for (std::int32_t id = 0; id < 6; ++id) ties.PutRecord(MakeRecord(FileKind::Item, id, {}, id % 2), -1);
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
    const std::vector<std::pair<std::vector<std::string>, Ids>> cases{
        {{zhong, "Sword", "", ah, "axe"}, {2, 1, 4, 3, 0}},        // empty first, Latin before Chinese
        {{"b\x81", "b", "b\x01"}, {0, 1, 2}},                      // a lone lead byte ends the name
        {{"\x81\x40", "\xFF", "\x80"}, {2, 1, 0}},                 // single 0xFF below double-byte
        {{"\x81\xFF", "\x81\x40", "\x81\x7F"}, {1, 2, 0}},         // trail bytes under one lead
        {{"Longname-b", "Longname-a", "Longname", "Longname-a"}, {2, 1, 3, 0}}, // past eight bytes
    };
    for (const auto& [names, ascending] : cases) {
        RecordTable table(FileKind::Item);
        for (std::size_t i = 0; i < names.size(); ++i) {
            table.PutRecord(MakeRecord(FileKind::Item, static_cast<std::int32_t>(i), names[i]), -1);
        }
        table.Sort(kNameColumn, true);
        EXPECT_EQ(Column(table, 0), ascending);
        // Descending reverses unequal names; equal ones keep file order.
        Ids descending(names.size());
        std::iota(descending.begin(), descending.end(), 0);
        std::stable_sort(descending.begin(), descending.end(), [&](std::int32_t x, std::int32_t y) {
            return CompareNames(names[static_cast<std::size_t>(y)], names[static_cast<std::size_t>(x)]) < 0;
        });
        table.Sort(kNameColumn, false);
        EXPECT_EQ(Column(table, 0), descending);
    }
}

TEST(RecordTable, RowKeysFollowRecordsAndAreNeverReused)
{
    RecordTable table = MakeTable(FileKind::Item, {30, 10, 20});
    const RowKey k30 = table.KeyOfRow(0);
    const RowKey k10 = table.KeyOfRow(1);
    const RowKey k20 = table.KeyOfRow(2);
    table.Sort(0, true);
    EXPECT_EQ(table.RowOfKey(k10), 0);
    EXPECT_EQ(table.RowOfKey(k30), 2);
    ASSERT_TRUE(table.DeleteRow(0));
    EXPECT_EQ(table.RowOfKey(k10), -1);
    EXPECT_EQ(table.RowOfKey(k20), 0);
    table.PutRecord(MakeRecord(FileKind::Item, 10), -1);
    EXPECT_NE(table.KeyOfRow(2), k10);
    EXPECT_TRUE(table.PutRecordByKey(MakeRecord(FileKind::Item, 31), k30).Accepted());
    EXPECT_EQ(table.Value(1, 0), 31);
    EXPECT_EQ(table.PutRecordByKey(MakeRecord(FileKind::Item, 32), k10).outcome, PutOutcome::NoSuchRow);
    EXPECT_EQ(MakeTable(FileKind::Item, {30, 10, 20}).RowOfKey(k20), -1);
    table.ClearTable();
    EXPECT_EQ(table.RowOfKey(k20), -1);

    // Two tables growing in turn never share a key.
    RecordTable a(FileKind::Magic);
    RecordTable b(FileKind::Magic);
    for (std::int32_t id = 0; id < 4; ++id) {
        a.PutRecord(MakeRecord(FileKind::Magic, id), -1);
        b.PutRecord(MakeRecord(FileKind::Magic, id), -1);
    }
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(a.RowOfKey(a.KeyOfRow(row)), row);
        EXPECT_EQ(b.RowOfKey(a.KeyOfRow(row)), -1);
    }
}

} // namespace
} // namespace rw

#include "table/TableDocument.h"
#include "table/TableEdits.h"
#include "tests/table/TableTestSupport.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <functional>

namespace rw {
namespace {

using test::MakeRecord;

class ModelTest : public testing::Test {
protected:
    ModelTest()
    {
        std::vector<Record> records;
        for (std::int32_t id : {30, 10, 20, 40}) records.push_back(MakeRecord(FileKind::Item, id, "n", -id));
        records[1].SetName("\xB5\xB6"); // 刀
        records[2].SetName("a\x81");    // a lead byte without its trail
        test::WriteRecords(m_dir / "stditem.dat", FileKind::Item, KeySet{}.For(FileKind::Item), records);
    }
    QString Text(int row, int column) const { return m_model.index(row, column).data().toString(); }
    bool Load(std::string name) { return m_document.Load(m_dir / name, name).Loaded(); }

    test::TempDir m_dir;
    TableDocument m_document;
    TableEdits m_edits{m_document};
    RecordTableModel& m_model = m_document.Model();
    QAbstractItemModelTester m_tester{&m_model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ModelTest, ShowsTextsAndHeadersFromTheRecords)
{
    QSignalSpy reset(&m_model, &QAbstractItemModel::modelReset);
    ASSERT_TRUE(Load("stditem.dat"));
    EXPECT_FALSE(Load("magic.dat")); // announces nothing
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(m_model.rowCount(), 4);
    EXPECT_EQ(Text(0, 2), "-30");
    EXPECT_EQ(Text(1, 1), QString::fromUtf8("刀"));
    EXPECT_EQ(Text(2, 1), QString("a") + QChar(0xFFFD));
    EXPECT_EQ(m_model.index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
}

// An edit cycle: selections follow their records, the session knows what changed, and a
// save writes every row whole in the order shown.
TEST_F(ModelTest, SelectionsFollowRecordsThroughPutsDeletesAndSorts)
{
    ASSERT_TRUE(Load("stditem.dat"));
    const QPersistentModelIndex on20 = m_model.index(2, 1);
    const QPersistentModelIndex on40 = m_model.index(3, 0);
    QSignalSpy inserted(&m_model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);
    QSignalSpy header(&m_model, &QAbstractItemModel::headerDataChanged);

    EXPECT_EQ(m_edits.Put(MakeRecord(FileKind::Item, 10), -1).outcome, PutOutcome::DuplicateId);
    EXPECT_FALSE(m_edits.DeleteRow(4));
    EXPECT_FALSE(m_document.Modified()) << "refusals change nothing";
    EXPECT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 5), -1).Accepted());
    EXPECT_TRUE(m_edits.Put(MakeRecord(FileKind::Item, 41, "m"), 3).Accepted());
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    // A modify dialog puts by the record's key: the views hear of that row too.
    EXPECT_TRUE(m_edits.PutByKey(MakeRecord(FileKind::Item, 20, "a\x81", 99), m_model.Table().KeyOfRow(2)).Accepted());
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.back().at(0).value<QModelIndex>().row(), 2);
    EXPECT_EQ(Text(2, 2), "99");
    ASSERT_TRUE(m_document.WriteFile(m_dir / "saved.dat").Saved());

    m_edits.ClickHeader(0); // 5 10 20 30 41
    EXPECT_EQ(std::pair(on20.row(), on20.column()), std::pair(2, 1));
    EXPECT_FALSE(m_edits.ClickHeader(0).ascending); // 41 30 20 10 5
    EXPECT_EQ(on40.row(), 0);
    EXPECT_EQ(header.count(), 2);

    EXPECT_TRUE(m_edits.DeleteRow(0));
    EXPECT_FALSE(on40.isValid());
    EXPECT_EQ(on20.row(), 1);
    EXPECT_EQ(m_edits.ClickHeader(kNameColumn).clearedColumn, 0); // "", "a\x81", "n", 刀
    EXPECT_EQ(Text(0, 0) + " " + Text(3, 0), "5 10");
    EXPECT_EQ(on20.row(), 1);

    KeySet keys;
    keys.Set(FileKind::Item, 99);
    m_document.SetKeys(keys);
    ASSERT_TRUE(m_document.WriteFile(m_dir / "saved.dat").Saved());
    const DecodedRecords back = ReadDataFile(m_dir / "saved.dat", FileKind::Item, 99);
    ASSERT_EQ(back.Count(), 4u);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Record(FileKind::Item, back.RecordAt(row)), m_model.Table().ReadRow(row));
}

// A row's differences from the compared file are worked out once for all its cells: whatever
// moves, changes, removes or brings back rows is seen at once by the row asked next.
TEST_F(ModelTest, CompareMarksFollowEveryChangeOfTheRows)
{
    ASSERT_TRUE(Load("stditem.dat")); // 30 10 20 40, field 2 = -ID
    Record ten = MakeRecord(FileKind::Item, 10, "\xB5\xB6", -10);
    test::WriteRecords(m_dir / "other.dat", FileKind::Item, KeySet{}.For(FileKind::Item),
                       {ten, MakeRecord(FileKind::Item, 20, "a\x81", 5)});
    ASSERT_TRUE(m_document.CompareWith(m_dir / "other.dat", "other.dat").loaded);
    QUndoStack& history = m_document.History();
    struct Step { const char* what; std::function<void()> change; int row, column; bool differs; };
    const Step steps[] = {
        {"as loaded: 30 has no counterpart", [] {}, 0, kIdColumn, true},
        {"sorted: 10 20 30 40", [&] { m_edits.ClickHeader(kIdColumn); }, 0, kIdColumn, false},
        {"20 differs in field 2", [] {}, 1, 2, true},
        {"edited to the other file's value", [&] { (void)m_edits.EditCell(1, 2, "5"); }, 1, 2, false},
        {"the edit undone", [&] { history.undo(); }, 1, 2, true},
        {"10 deleted: 20 moves up", [&] { m_edits.DeleteRows({0}); }, 0, 2, true},
        {"the deletion undone", [&] { history.undo(); }, 0, 2, false},
        {"10 pasted again after its deletion", [&] { m_edits.DeleteRows({0}), (void)m_edits.PasteRecords({ten}); }, 3, kIdColumn, false},
        {"the comparison cleared", [&] { m_document.ClearComparison(); }, 0, 2, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        (void)m_model.MarksOf(step.row, step.column); // what the list painted last
        step.change();
        EXPECT_EQ(m_model.MarksOf(step.row, step.column).differs, step.differs);
    }
}

} // namespace
} // namespace rw

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

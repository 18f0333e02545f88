// What changed and what differs, as the user goes through it: 查看's filters of the changed
// rows and of the rows that differ from a compared file, F8 and Shift+F8 from cell to cell, and
// 接收此值 taking the compared file's values.

#include "resources/Strings.h"
#include "text/GbkCodec.h"
#include "tests/ui/UiTestSupport.h"
#include "view/RecordFinder.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <functional>
#include <map>

namespace rw::test {
namespace {

class DifferencesTest : public FrameFixture {
protected:
    const int price = ColumnTitled(FileKind::Item, "Price");
    const int weight = ColumnTitled(FileKind::Item, "Weight");

    // A file of items 1 to 6 beside the table, its records as WriteSample makes them, with the
    // values given by ID and column ("" for the name column: that text).
    QString WriteOther(const std::map<std::int32_t, std::map<int, std::int32_t>>& values, const char* name = nullptr,
                       std::int32_t namedId = 0)
    {
        const QString path = Write(QStringLiteral("other.dat"), {.ids = {1, 2, 3, 4, 5, 6}});
        DecodedRecords records = ReadDataFile(QFile::encodeName(path).toStdString(), FileKind::Item, KeySet{}.For(FileKind::Item));
        std::vector<Record> changed;
        for (std::size_t i = 0; i < records.Count(); ++i) {
            Record record(FileKind::Item, records.RecordAt(i));
            if (const auto found = values.find(record.Id()); found != values.end()) {
                for (const auto& [column, value] : found->second) record.SetValue(column, value);
            }
            if (name && record.Id() == namedId) (void)record.SetName(*GbkCodec::Instance().Encode(U(name)));
            changed.push_back(record);
        }
        const std::vector<std::uint8_t> bytes =
            EncodeBytes(FileKind::Item, KeySet{}.For(FileKind::Item), changed.size(), [&](std::size_t i, std::span<std::uint8_t> out) {
                std::copy(changed[i].Bytes().begin(), changed[i].Bytes().end(), out.begin());
            });
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }
    void Compare(const QString& path)
    {
        prompter.fileAnswers.push_back(path);
        frame.CommandAction(ids::kCmdCompare)->trigger();
        ASSERT_NE(document.CurrentComparison(), nullptr);
    }
    QAction& Command(int id) { return *frame.CommandAction(id); }
    // The IDs of the rows the list shows, in its order.
    [[nodiscard]] std::vector<std::int32_t> ShownIds()
    {
        std::vector<std::int32_t> shown;
        for (int row = 0; row < view.List()->model()->rowCount(); ++row) {
            shown.push_back(Table().IdOfRow(view.Finder()->TableRow(row)));
        }
        return shown;
    }
    void SetCell(std::int32_t id, int column, std::int32_t value)
    {
        ASSERT_TRUE(edits.EditCell(RowOfId(id), column, QString::number(value)).Accepted());
    }
    void AddRecord(std::int32_t id)
    {
        Record record(FileKind::Item);
        record.SetId(id);
        ASSERT_TRUE(edits.Put(record, -1).Accepted());
    }
    void ShowActive()
    {
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    // The current cell as "ID/column".
    [[nodiscard]] QString Current()
    {
        const QModelIndex cell = view.List()->currentIndex();
        if (!cell.isValid()) return QStringLiteral("none");
        return QStringLiteral("%1/%2").arg(Table().IdOfRow(view.Finder()->TableRow(cell.row()))).arg(cell.column());
    }
    void SetCurrent(std::int32_t id, int column)
    {
        const QModelIndex cell = view.List()->model()->index(view.Finder()->ListRow(RowOfId(id)), column);
        view.List()->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    using Ids = std::vector<std::int32_t>;
};

// 只显示修改过的记录 shows the rows changed or added since the load or save, and follows every
// edit, undo and save; another file stops it.
TEST_F(DifferencesTest, TheChangedRowsFilterFollowsEditsUndoAndSaves)
{
    Open({.ids = {1, 2, 3, 4, 5, 6}});
    frame.show();
    QAction& only = Command(ids::kCmdOnlyChanged);
    only.setChecked(true);
    const struct {
        const char* what;
        std::function<void()> change;
        Ids shown;
    } steps[] = {
        {"nothing changed yet", [] {}, {}},
        {"an edit", [&] { SetCell(4, price, 50); }, {4}},
        {"an added row", [&] { AddRecord(9); }, {4, 9}},
        {"an edit of another row", [&] { SetCell(2, weight, 3); }, {2, 4, 9}},
        {"an edit back to the loaded value", [&] { SetCell(4, price, 0); }, {2, 9}},
        {"undo", [&] { document.History().undo(); }, {2, 4, 9}},
        {"undo of the edit", [&] { document.History().undo(); }, {4, 9}},
        {"redo", [&] { document.History().redo(); }, {2, 4, 9}},
        {"a save", [&] { ASSERT_TRUE(frame.Saver().SaveToOpenedFile(&view)); }, {}},
        {"undo after the save", [&] { document.History().undo(); }, {2}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        QCoreApplication::processEvents();
        EXPECT_EQ(ShownIds(), step.shown);
        EXPECT_EQ(frame.ShownPane()->text(), U("显示 %1 / %2 条").arg(step.shown.size()).arg(Table().RowCount()));
    }
    prompter.answers = {Answer::Discard};
    Open({.ids = {1, 2}});
    EXPECT_FALSE(only.isChecked());
    EXPECT_EQ(ShownIds(), (Ids{1, 2}));
}

// After 与文件比较, 只显示不同的记录 shows the rows that differ from that file and follows every
// edit; it can be had only while there is a comparison, and goes with it. The current cell
// stays where it was.
TEST_F(DifferencesTest, TheDifferingRowsFilterFollowsEditsAndEndsWithTheComparison)
{
    QAction& only = Command(ids::kCmdOnlyDiffering);
    Open({.ids = {1, 2, 3, 4, 5, 6}});
    EXPECT_FALSE(only.isEnabled());
    Compare(WriteOther({{3, {{price, 30}}}, {5, {{weight, 7}}}}));
    EXPECT_TRUE(only.isEnabled());
    // The cell the user was on stays current as the rows around it go.
    SetCurrent(5, weight);
    const QString current = QStringLiteral("5/%1").arg(weight);
    only.setChecked(true);
    EXPECT_EQ(Current(), current);
    const struct {
        const char* what;
        std::function<void()> change;
        Ids shown;
    } steps[] = {
        {"as compared", [] {}, {3, 5}},
        {"edited to the other file's value", [&] { SetCell(3, price, 30); }, {5}},
        {"undo", [&] { document.History().undo(); }, {3, 5}},
        {"edited away from it", [&] { SetCell(1, price, 1); }, {1, 3, 5}},
        {"an added row, which the other file lacks", [&] { AddRecord(9); }, {1, 3, 5, 9}},
        {"both filters: changed and differing", [&] { Command(ids::kCmdOnlyChanged).setChecked(true); }, {1, 9}},
        {"the changed filter off", [&] { Command(ids::kCmdOnlyChanged).setChecked(false); }, {1, 3, 5, 9}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        QCoreApplication::processEvents();
        EXPECT_EQ(ShownIds(), step.shown);
    }
    SetCurrent(3, price);
    frame.CommandAction(ids::kCmdClearCompare)->trigger();
    EXPECT_FALSE(only.isChecked());
    EXPECT_FALSE(only.isEnabled());
    EXPECT_EQ(ShownIds(), (Ids{1, 2, 3, 4, 5, 6, 9}));
    EXPECT_EQ(Current(), QStringLiteral("3/%1").arg(price));
}

// F8 goes to the next marked cell in reading order and Shift+F8 to the previous, wrapping
// around and saying so: with a comparison the cells that differ from the other file, without
// one the cells changed since the load or save (an added row in its ID cell). Hidden columns
// are passed over, and the filtered list is walked as it shows.
TEST_F(DifferencesTest, F8AndShiftF8GoFromDifferenceToDifferenceAndWrap)
{
    Open({.ids = {1, 2, 3, 4, 5, 6}});
    ShowActive();
    EXPECT_EQ(Command(ids::kCmdNextDifference).shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(Command(ids::kCmdPreviousDifference).shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F8));
    const QString name = QString::number(kNameColumn), priced = QString::number(price), weighed = QString::number(weight);
    const QString wrapped = U(str::kDifferenceWrapped);
    struct Key {
        Qt::KeyboardModifiers modifiers;
        QString cell;
        QString status; // after the key; empty: not a wrap
    };
    const auto F8 = [](QString cell, QString status = {}) { return Key{Qt::NoModifier, cell, status}; };
    const auto ShiftF8 = [](QString cell, QString status = {}) { return Key{Qt::ShiftModifier, cell, status}; };

    // Nothing changed: nothing to go to.
    SetCurrent(1, 0);
    QTest::keyClick(view.List(), Qt::Key_F8);
    EXPECT_EQ(Current(), QStringLiteral("1/0"));
    EXPECT_EQ(frame.StatusPane(0)->text(), U(str::kNoChangedCells));

    SetCell(4, price, 50);
    SetCell(2, weight, 3);
    ASSERT_TRUE(edits.EditCell(RowOfId(2), kNameColumn, U("新名")).Accepted());
    AddRecord(9);
    const std::vector<Key> changed = {
        F8(U("2/") + name), F8(U("2/") + weighed), F8(U("4/") + priced), F8(U("9/0")),
        F8(U("2/") + name, wrapped), ShiftF8(U("9/0"), wrapped), ShiftF8(U("4/") + priced),
    };
    for (const Key& key : changed) {
        QTest::keyClick(view.List(), Qt::Key_F8, key.modifiers);
        EXPECT_EQ(Current(), key.cell);
        if (!key.status.isEmpty()) {
            EXPECT_EQ(frame.StatusPane(0)->text(), key.status) << key.cell.toStdString();
        }
    }

    // With a comparison: what differs from the other file, not what changed.
    Compare(WriteOther({{3, {{price, 30}, {weight, 1}}}, {5, {{weight, 7}}}}));
    view.List()->hideColumn(weight);
    SetCurrent(1, 0);
    const std::vector<Key> differing = {
        F8(U("2/") + name),   // its weight differs too, in a hidden column
        F8(U("3/") + priced), // and so does this row's
        F8(U("4/") + priced), F8(U("9/0")), F8(U("2/") + name, wrapped),
    };
    for (const Key& key : differing) {
        QTest::keyClick(view.List(), Qt::Key_F8, key.modifiers);
        EXPECT_EQ(Current(), key.cell);
        if (!key.status.isEmpty()) {
            EXPECT_EQ(frame.StatusPane(0)->text(), key.status) << key.cell.toStdString();
        }
    }
    // Only the rows the list shows: 只显示修改过的记录 leaves 3 out.
    view.List()->showColumn(weight);
    Command(ids::kCmdOnlyChanged).setChecked(true);
    SetCurrent(2, kNameColumn);
    for (const Key& key : {F8(U("2/") + weighed), F8(U("4/") + priced), F8(U("9/0"))}) {
        QTest::keyClick(view.List(), Qt::Key_F8, key.modifiers);
        EXPECT_EQ(Current(), key.cell);
    }
}

// 接收此值 gives the selected rows' cells of the current column the other file's values, only
// where they differ, as one step of the history; where no selected cell differs it says so and
// changes nothing.
TEST_F(DifferencesTest, TakingTheOtherValuesIsOneStepAndOnlyWhereTheyDiffer)
{
    Open({.ids = {1, 2, 3, 4, 5, 6}});
    frame.show();
    QAction& take = Command(ids::kCmdTakeOtherValue);
    EXPECT_FALSE(take.isEnabled());
    Compare(WriteOther({{3, {{price, 30}}}, {5, {{price, 50}, {weight, 7}}}}, "别处", 6));
    ASSERT_TRUE(take.isEnabled());
    EXPECT_TRUE(view.List()->actions().contains(&take)) << "in the context menu";
    const int stepsBefore = document.History().count();

    struct Case {
        const char* what;
        Ids selected;
        int column;
        QString refusal;            // the warning, or empty when values were taken
        std::map<std::int32_t, QString> after; // ID -> the cell's text
    };
    const Case cases[] = {
        {"a column no selected row differs in", {1, 2, 3}, weight,
         U("所选记录的[Weight]与[other.dat]没有不同，没有可接收的值。"), {{3, U("0")}}},
        {"the prices of three rows, two of them differing", {2, 3, 5}, price, {},
         {{2, U("0")}, {3, U("30")}, {5, U("50")}}},
        {"a name", {6}, kNameColumn, {}, {{6, U("别处")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.messages.clear();
        std::vector<int> rows;
        for (const std::int32_t id : c.selected) rows.push_back(RowOfId(id));
        SetCurrent(c.selected.front(), c.column);
        Select({});
        for (const int row : rows) {
            view.List()->selectionModel()->select(document.Model().index(row, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        const int steps = document.History().count();
        take.trigger();
        EXPECT_EQ(LastMessage(), c.refusal.isEmpty() ? QString() : Shown(str::kCaptionWarning, c.refusal));
        EXPECT_EQ(document.History().count(), steps + (c.refusal.isEmpty() ? 1 : 0));
        for (const auto& [id, text] : c.after) EXPECT_EQ(Cell(RowOfId(id), c.column), text) << id;
    }
    EXPECT_EQ(document.History().undoText(), U("接收 ItemName"));
    document.History().undo();
    EXPECT_EQ(Cell(RowOfId(6), kNameColumn), U("N6"));
    EXPECT_EQ(document.History().undoText(), U("接收 Price"));
    document.History().undo();
    EXPECT_EQ(Cell(RowOfId(3), price), U("0"));
    EXPECT_EQ(Cell(RowOfId(5), price), U("0"));
    EXPECT_EQ(document.History().count(), stepsBefore + 2);
    EXPECT_FALSE(document.Modified());
}

} // namespace
} // namespace rw::test

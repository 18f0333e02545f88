// What changed and what differs, as the user goes through it: 查看's filters of the changed
// rows and of the rows that differ from a compared file, F8 and Shift+F8 from cell to cell, and
// 接收此值 taking the compared file's values.

#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <functional>

namespace rw::test {
namespace {

class DifferencesTest : public FrameFixture {
protected:
    using IdList = std::vector<std::int32_t>;
    const int price = ColumnTitled(FileKind::Item, "Price");
    const int weight = ColumnTitled(FileKind::Item, "Weight");

    void SetUp() override { Open({.ids = {1, 2, 3, 4, 5, 6}}); }
    // The table as opened, compared with items 1 to 6 as edit() leaves them.
    void CompareWithEdited(const std::function<void()>& edit)
    {
        const QString other = dir.filePath(QStringLiteral("other.dat"));
        for (const bool edited : {true, false}) {
            prompter.answers = {Answer::Discard};
            Open({.ids = {1, 2, 3, 4, 5, 6}});
            prompter.answers.clear();
            if (edited) {
                edit();
                prompter.fileAnswers.push_back(other);
                view.OnSave();
                ASSERT_TRUE(QFile::exists(other));
            }
        }
        prompter.fileAnswers.push_back(other);
        frame.CommandAction(ids::kCmdCompare)->trigger();
        ASSERT_TRUE(frame.CommandAction(ids::kCmdClearCompare)->isEnabled());
    }
    QAction& Command(int id) { return *frame.CommandAction(id); }
    // Typed over in place; a row 查看's filters hide is edited with them off for the moment.
    void SetCell(std::int32_t id, int column, const char* text)
    {
        QAction& changed = Command(ids::kCmdOnlyChanged);
        QAction& differing = Command(ids::kCmdOnlyDiffering);
        const bool filters[] = {changed.isChecked(), differing.isChecked()};
        if (RowOfId(id) < 0) changed.setChecked(false), differing.setChecked(false);
        EditCell(RowOfId(id), column, U(text));
        changed.setChecked(filters[0]), differing.setChecked(filters[1]);
    }
    // Through the add dialog.
    void AddRecord(std::int32_t id)
    {
        view.OnAdd();
        Box(kIdColumn).setText(QString::number(id));
        Commit();
        ASSERT_NE(RowOfId(id), -1);
    }
    // The current cell as "ID/column title".
    [[nodiscard]] std::string Current()
    {
        const QModelIndex cell = view.List()->currentIndex();
        if (!cell.isValid()) return "none";
        return std::to_string(IdAt(cell.row())) + "/" + std::string(SchemaOf(FileKind::Item).Column(cell.column()).title);
    }
    void SetCurrent(std::int32_t id, int column)
    {
        const QModelIndex cell = Model().index(RowOfId(id), column);
        view.List()->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
};

// 只显示修改过的记录 and 只显示不同的记录 follow every edit, undo and save, alone and together; the
// cell the user is on stays current; ending the comparison ends its filter.
TEST_F(DifferencesTest, TheFiltersFollowEditsUndoAndSaves)
{
    QAction& changed = Command(ids::kCmdOnlyChanged);
    QAction& differing = Command(ids::kCmdOnlyDiffering);
    EXPECT_FALSE(differing.isEnabled());
    CompareWithEdited([&] { SetCell(3, price, "30"), SetCell(5, weight, "7"); });
    const struct { const char* what; std::function<void()> change; IdList shown; } steps[] = {
        {"only the changed rows: none yet", [&] { changed.setChecked(true); }, {}},
        {"an edit", [&] { SetCell(4, price, "50"); }, {4}},
        {"an added row", [&] { AddRecord(9); }, {4, 9}},
        {"an edit back to the loaded value", [&] { SetCell(4, price, "0"); }, {9}},
        {"undo", [&] { Undo(); }, {4, 9}}, {"a save", [&] { SaveOver(); }, {}},
        {"redo after the save", [&] { Redo(); }, {4}},
        {"only the differing rows", [&] { changed.setChecked(false), differing.setChecked(true); }, {3, 5, 9}},
        {"edited away from the other file's value", [&] { SetCell(1, price, "1"); }, {1, 3, 5, 9}},
        {"both filters", [&] { changed.setChecked(true); }, {1}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(Ids(), step.shown);
        EXPECT_EQ(Pane("shown").text(), U("显示 %1 / %2 条").arg(step.shown.size()).arg(Count()));
    }
    SetCurrent(1, price);
    changed.setChecked(false);
    EXPECT_EQ(Current(), "1/Price");
    frame.CommandAction(ids::kCmdClearCompare)->trigger();
    EXPECT_FALSE(differing.isChecked() || differing.isEnabled());
    EXPECT_EQ(Ids(), (IdList{1, 2, 3, 4, 5, 6, 9}));
    EXPECT_EQ(Current(), "1/Price");
}

// F8 and Shift+F8 go through the marked cells row by row, left to right, wrapping with a note:
// without a comparison the cells changed since the load or save (an added row's ID), with one
// the cells that differ from the other file. Hidden columns and rows are passed over.
TEST_F(DifferencesTest, F8AndShiftF8GoFromDifferenceToDifferenceAndWrap)
{
    ShowActive();
    const auto press = [&](std::initializer_list<std::pair<Qt::KeyboardModifiers, std::string>> keys) {
        for (const auto& [modifiers, cell] : keys) {
            QTest::keyClick(view.List(), Qt::Key_F8, modifiers);
            EXPECT_EQ(Current(), cell);
        }
    };
    const Qt::KeyboardModifiers next = Qt::NoModifier, previous = Qt::ShiftModifier;
    SetCurrent(1, 0);
    press({{next, "1/ItemID"}});
    EXPECT_EQ(MessageLine(), U(str::kNoChangedCells));

    SetCell(4, price, "50");
    SetCell(2, weight, "3");
    SetCell(2, kNameColumn, "新名");
    AddRecord(9);
    SetCurrent(1, 0); // where the first F8 left it
    press({{next, "2/ItemName"}, {next, "2/Weight"}, {next, "4/Price"}, {next, "9/ItemID"}, {next, "2/ItemName"}});
    EXPECT_EQ(MessageLine(), U(str::kDifferenceWrappedToStart));
    press({{previous, "9/ItemID"}});
    EXPECT_EQ(MessageLine(), U(str::kDifferenceWrappedToEnd));
    press({{previous, "4/Price"}});

    CompareWithEdited([&] { SetCell(3, price, "30"), SetCell(3, weight, "1"), SetCell(5, weight, "7"); });
    view.List()->hideColumn(weight);
    SetCurrent(1, 0);
    // The only marked cell: each key wraps round to it, and says so.
    press({{next, "3/Price"}, {next, "3/Price"}});
    EXPECT_EQ(MessageLine(), U(str::kDifferenceWrappedToStart));
    press({{previous, "3/Price"}});
    EXPECT_EQ(MessageLine(), U(str::kDifferenceWrappedToEnd));
    view.List()->showColumn(weight);
    Command(ids::kCmdOnlyDiffering).setChecked(true);
    SetCell(3, price, "30");
    SetCurrent(3, price); // Enter went on to the row below
    // From 3/Price, the other rows gone.
    press({{next, "5/Weight"}, {next, "3/Weight"}});
    EXPECT_EQ(MessageLine(), U(str::kDifferenceWrappedToStart));
}

// 接收此值 gives the selected rows' cells of the current column the other file's values where
// they differ, as one step; where no selected cell differs it says so and changes nothing.
TEST_F(DifferencesTest, TakingTheOtherValuesIsOneStepAndOnlyWhereTheyDiffer)
{
    QAction& take = Command(ids::kCmdTakeOtherValue);
    EXPECT_FALSE(take.isEnabled());
    CompareWithEdited([&] { SetCell(3, price, "30"), SetCell(5, price, "50"), SetCell(6, kNameColumn, "别处"); });
    ASSERT_TRUE(take.isEnabled());
    EXPECT_TRUE(view.List()->actions().contains(&take)) << "in the context menu";
    // A refusal, or null: taken; the cells of the selected rows after, joined.
    const struct { const char* what; IdList selected; int column; const char* refusal; QString after; } cases[] = {
        {"no selected cell differs", {1, 3}, weight, "所选记录的[Weight]与[other.dat]没有不同，没有可接收的值。", U("0 0")},
        {"two of three differ", {2, 3, 5}, price, nullptr, U("0 30 50")}, {"a name", {6}, kNameColumn, nullptr, U("别处")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.messages.clear();
        SetCurrent(c.selected.front(), c.column);
        std::vector<int> rows;
        for (const std::int32_t id : c.selected) rows.push_back(RowOfId(id));
        for (const int row : rows) view.List()->selectionModel()->select(Model().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QString undo = UndoText();
        take.trigger();
        EXPECT_EQ(LastMessage(), c.refusal ? Shown(str::kCaptionWarning, c.refusal) : QString());
        EXPECT_EQ(UndoText() != undo, c.refusal == nullptr);
        QStringList cells;
        for (const int row : rows) cells.push_back(Cell(row, c.column));
        EXPECT_EQ(cells.join(QLatin1Char(' ')), c.after);
    }
    Undo();
    EXPECT_EQ(UndoText(), U("撤销 接收 Price"));
    Undo();
    EXPECT_EQ(Cell(RowOfId(3), price) + Cell(RowOfId(5), price), U("00"));
    EXPECT_FALSE(Unsaved());
}

} // namespace
} // namespace rw::test

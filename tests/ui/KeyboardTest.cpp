// The list from the keyboard: its keys, the current cell shown, the context menu from keys,
// editing in place that shows, refuses and moves on, and where a paste and 批量修改 go.

#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"
#include "view/FindBar.h"
#include "view/FrozenColumns.h"
#include "view/SortHeader.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>

namespace rw::test {
namespace {

class KeyboardTest : public FrameFixture {
protected:
    void SetUp() override
    {
        Open({.ids = {1, 2, 3, 4}});
        ShowActive();
        List().setFocus();
    }
    RecordList& List() { return *view.List(); }
    void SetCurrent(int row, int column) { List().setCurrentIndex(List().model()->index(row, column)); }
    [[nodiscard]] int Column(const char* title) { return ColumnTitled(FileKind::Item, title); }
};

// Del, which the 编辑 menu shows, asks once and deletes every selected row, in the list only:
// in the ID box it deletes a character, no record.
TEST_F(KeyboardTest, TheDeleteKeyAsksOnceAndDeletesEverySelectedRowInTheListOnly)
{
    QAction* remove = view.ListCommand(ids::kCmdDeleteRows);
    EXPECT_EQ(remove->shortcut(), QKeySequence(QKeySequence::Delete));
    EXPECT_TRUE(frame.menuBar()->actions()[1]->menu()->actions().contains(remove));
    auto& idBox = *FindControl<QLineEdit>(view, ids::kIdBox);
    idBox.setText(QStringLiteral("12"));
    idBox.setFocus();
    idBox.setCursorPosition(0);
    List().selectRow(0);
    QTest::keyClick(&idBox, Qt::Key_Delete);
    EXPECT_EQ(idBox.text(), QStringLiteral("2"));
    EXPECT_TRUE(prompter.questions.empty());

    List().setFocus();
    Select({3, 1});
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        prompter.questions.clear();
        prompter.answers = {answer};
        QTest::keyClick(&List(), Qt::Key_Delete);
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0].text, U("确定要删除选中的2条记录吗？"));
    }
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(Count(), QStringLiteral("2"));
}

// The current cell's column title is bold, over the frozen columns too; the context menu opens
// from the keyboard.
TEST_F(KeyboardTest, TheCurrentCellShowsAndTheContextMenuOpensFromTheKeyboard)
{
    SetCurrent(1, kNameColumn);
    QTest::keyClick(&List(), Qt::Key_Right);
    EXPECT_EQ(view.List()->Header()->CurrentColumn(), 2);
    EXPECT_EQ(List().Frozen()->Header()->CurrentColumn(), 2);
    // Its 复制为新记录 copies the current row each time.
    List().selectRow(1);
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTimer::singleShot(50, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* entry : menu->actions()) {
                    if (entry->data() == ids::kCmdCopyAsNew) menu->setActiveAction(entry);
                }
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        QTest::keyClick(&List(), key, modifiers);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));
}

// The ID and name are edited over the frozen columns, where the editor shows; the name stops at
// its field's capacity in GBK; Enter goes on to the cell below, Tab and Shift+Tab edit the next
// and previous cell, at the ends of the columns too.
TEST_F(KeyboardTest, InPlaceEditingShowsItsEditorAndMovesOn)
{
    FrozenColumns& frozen = *List().Frozen();
    const auto editorIsInSight = [&] {
        QLineEdit* editor = Editor();
        if (!editor || !frozen.viewport()->isAncestorOf(editor)) return false;
        const QRect shown(editor->mapTo(&List(), QPoint(0, 0)), editor->size());
        return List().rect().contains(shown);
    };
    SetCurrent(1, kIdColumn);
    QTest::keyClick(&List(), Qt::Key_F2);
    ASSERT_TRUE(editorIsInSight());
    EXPECT_EQ(Editor()->text(), QStringLiteral("2"));
    Editor()->selectAll();
    QTest::keyClicks(Editor(), QStringLiteral("20"));
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(Cell(1, kIdColumn), QStringLiteral("20"));
    EXPECT_EQ(frame.CommandAction(ids::kCmdEditUndo)->text(), U("撤销 修改 ItemID")) << "one step, named by the column";
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(List().currentIndex(), List().model()->index(2, kIdColumn)) << "the cell below";
    EXPECT_TRUE(List().hasFocus());

    // Typing on the name edits it there too; the box takes no more than the field holds.
    SetCurrent(0, kNameColumn);
    QTest::keyClick(&List(), Qt::Key_A);
    ASSERT_TRUE(editorIsInSight());
    Editor()->selectAll();
    // 剑, two bytes each, as an input method delivers it (keyClicks takes Latin-1 only).
    for (int i = 0; i < 40; ++i) QTest::sendKeyEvent(QTest::Click, Editor(), Qt::Key_unknown, QString(QChar(0x5251)), Qt::NoModifier);
    EXPECT_EQ(Editor()->text(), QString(15, QChar(0x5251)));
    QTest::keyClick(Editor(), Qt::Key_Tab);
    EXPECT_EQ(Cell(0, kNameColumn), QString(15, QChar(0x5251)));
    EXPECT_EQ(List().currentIndex().column(), 2);
    ASSERT_NE(Editor(), nullptr) << "the next cell is open";
    QTest::keyClick(Editor(), Qt::Key_Backtab);
    EXPECT_EQ(List().currentIndex().column(), kNameColumn);
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_Escape);

    // The last row and the last column: the cell stays where it is.
    const int last = List().model()->columnCount() - 1;
    SetCurrent(3, last);
    QTest::keyClick(&List(), Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_Tab);
    EXPECT_EQ(List().currentIndex(), List().model()->index(3, last));
    QTest::keyClick(&List(), Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(List().currentIndex(), List().model()->index(3, last));
}

// Typing replaces the cell's text; a text that is no whole 32-bit number keeps the editor open
// with the message (which texts are numbers is the record library's test); Escape takes nothing
// back into the table.
TEST_F(KeyboardTest, ARefusedNumberKeepsTheEditorOpenAndEscapeTakesNothing)
{
    SetCurrent(0, 2);
    QTest::keyClick(&List(), Qt::Key_7);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), QStringLiteral("7"));
    QTest::keyClick(Editor(), Qt::Key_Period);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(LastMessage(), Shown(str::kCaptionWarning, "Stdmode列只能填写-2147483648到2147483647之间的整数，“7.”不是。"));
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_Escape);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("0"));
    EXPECT_EQ(UndoText(), U("撤销")) << "nothing to undo";
}

// Under the find bar's filter, a row an edit takes out of the list leaves the next row in its
// place: Enter makes that row's cell current.
TEST_F(KeyboardTest, EnterAfterAnEditThatHidesTheRowGoesToTheRowInItsPlace)
{
    view.ShowFindBar();
    view.findChild<FindBar*>()->findChild<QLineEdit*>()->setText(QStringLiteral("N"));
    view.findChild<FindBar*>()->SetOnlyMatching(true);
    ASSERT_EQ(List().model()->rowCount(), 4);
    SetCurrent(1, kNameColumn);
    QTest::keyClick(&List(), Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    Editor()->selectAll();
    QTest::keyClicks(Editor(), QStringLiteral("x"));
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(List().model()->rowCount(), 3);
    EXPECT_EQ(List().currentIndex().row(), 1);
    EXPECT_EQ(List().currentIndex().data().toString(), QStringLiteral("N3"));
}

// A column of values goes into the current cell's column, which the list shows; a single value
// into every selected cell of it; with no current cell there is no column to take it, and
// nothing changes.
TEST_F(KeyboardTest, AOneColumnPasteGoesIntoTheCurrentCellsColumn)
{
    const int price = Column("Price");
    for (const int column : {price, kNameColumn}) {
        SCOPED_TRACE(column);
        List().selectionModel()->clearSelection();
        SetCurrent(1, column);
        QTest::keyClick(&List(), Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(view.List()->Header()->CurrentColumn(), column);
        QGuiApplication::clipboard()->setText(QStringLiteral("71\n72\n"));
        QTest::keySequence(&List(), QKeySequence::Paste);
        EXPECT_EQ(QStringList({Cell(1, column), Cell(2, column)}), QStringList({U("71"), U("72")}));
    }
    EXPECT_EQ(Cell(1, kIdColumn), QStringLiteral("2"));
    Select({0, 1});
    List().selectionModel()->setCurrentIndex(Model().index(0, price), QItemSelectionModel::NoUpdate);
    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    view.ListCommand(ids::kCmdPaste)->trigger();
    EXPECT_EQ(QStringList({Cell(0, price), Cell(1, price), Cell(2, price)}), QStringList({U("9"), U("9"), U("72")}));

    List().setCurrentIndex(QModelIndex());
    List().selectRow(3);
    List().setCurrentIndex(QModelIndex());
    ASSERT_FALSE(SelectedIds().empty());
    const QString undo = UndoText();
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    view.ListCommand(ids::kCmdPaste)->trigger();
    EXPECT_EQ(LastMessage(), Shown(str::kCaptionWarning, str::kPasteWithoutColumn));
    EXPECT_EQ(UndoText(), undo);
}

TEST_F(KeyboardTest, BulkChangeStartsOnTheCurrentColumnAndRemembersTheLastOperation)
{
    QStringList seen; // the column and the value each time
    const auto bulk = [&](int column, const char* value) {
        WhenModalOpens([&, value](QWidget* modal) {
            auto* box = modal->findChild<QLineEdit*>();
            seen << modal->findChild<QComboBox*>()->currentText() << box->text();
            modal->findChildren<QRadioButton*>()[1]->setChecked(true); // 加上
            if (value) box->setText(QString::fromLatin1(value));
            QTest::keyClick(box, Qt::Key_Return);
        });
        SetCurrent(0, column);
        List().selectAll();
        QTest::keySequence(&List(), QKeySequence(QStringLiteral("Ctrl+B")));
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        List().setFocus();
    };
    bulk(Column("Price"), "5");
    bulk(kNameColumn, nullptr); // not a number: the column changed last
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Price"), QString(), QStringLiteral("Price"), QStringLiteral("5")}));
    EXPECT_EQ(Cell(0, Column("Price")), QStringLiteral("10"));
}

} // namespace
} // namespace rw::test

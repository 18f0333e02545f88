// The form's commands, the frame's commits and what keeps edits from being lost.

#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"
#include "view/SortHeader.h"

#include <QClipboard>
#include <QComboBox>
#include <QRadioButton>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QDir>
#include <QTest>

#include <climits>
#include <map>
#include <numeric>

namespace rw::test {
namespace {

class EditTest : public FrameFixture {
protected:
    void DoubleClick(QPoint at)
    {
        QTest::mouseClick(view.List()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view.List()->viewport(), Qt::LeftButton, {}, at);
    }
    [[nodiscard]] std::vector<Record> ReadBack(const QString& path, FileKind kind)
    {
        const DecodedRecords decoded = ReadDataFile(path.toStdString(), kind, KeySet{}.For(kind));
        std::vector<Record> records;
        for (std::size_t i = 0; i < decoded.Count(); ++i) records.emplace_back(kind, decoded.RecordAt(i));
        return records;
    }
    static int Price() { return SchemaOf(FileKind::Item).ColumnCount() - 2; }
    [[nodiscard]] QStringList Prices() const
    {
        QStringList cells;
        for (int row = 0; row < RowCount(); ++row) cells << Cell(row, Price());
        return cells;
    }
    // 批量修改 of the selected rows' Price through its dialog, OK pressed (and the dialog then
    // closed if it stays): what its preview said.
    QString Bulk(const char* operation, const char* value, bool close = false)
    {
        QString preview;
        WhenModalOpens([&, operation, value, close](QWidget* modal) {
            for (QRadioButton* button : modal->findChildren<QRadioButton*>()) {
                if (button->text() == U(operation)) button->setChecked(true);
            }
            modal->findChild<QComboBox*>()->setCurrentText(QStringLiteral("Price"));
            auto* box = modal->findChild<QLineEdit*>();
            box->setText(U(value));
            for (QLabel* label : modal->findChildren<QLabel*>()) {
                for (const char* start : {"将修改", "不能修改", "第", "没有"}) {
                    if (label->text().startsWith(U(start))) preview = label->text();
                }
            }
            QTest::keyClick(box, Qt::Key_Return);
            if (close) static_cast<QDialog*>(modal)->reject();
        });
        view.ListCommand(ids::kCmdBulkChange)->trigger();
        return preview;
    }
    void Paste(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        view.ListCommand(ids::kCmdPaste)->trigger();
    }
};

// Captions and buttons of each mode are the record dialog's own tests.
TEST_F(EditTest, AddProposesOnePastTheLargestIdAndModifyTakesTheFirstSelectedRow)
{
    // The largest ID of an empty or all-negative table is the table's test.
    struct Case { FileKind kind; std::vector<std::int32_t> ids; std::int32_t proposed; };
    const Case cases[] = {{FileKind::Item, {3, 10, 7}, 11}, {FileKind::Monster, {0, INT_MAX, 1}, INT_MIN}}; // the last wraps
    for (const Case& c : cases) {
        Open({.kind = c.kind, .ids = c.ids});
        for (const FileKind kind : kAllKinds) EXPECT_FALSE(DialogOf(kind).isVisible()); // a load hides them
        view.OnAdd();
        EXPECT_TRUE(Dialog().isVisible() && !Dialog().IsModify());
        EXPECT_EQ(Box(kIdColumn).text(), QString::number(c.proposed));
        Select({2, 1});
        view.OnModify();
        EXPECT_TRUE(Dialog().IsModify());
        EXPECT_EQ(Box(kIdColumn).text(), QString::number(c.ids[1]));
        EXPECT_EQ(Box(kNameColumn).text(), QStringLiteral("N%1").arg(c.ids[1]));
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(EditTest, CommandGuardsWarnInTheirOrder)
{
    frame.show();
    const QPoint belowRows(20, view.List()->viewport()->height() - 4);
    const auto check = [&](const std::vector<std::pair<std::function<void()>, const char*>>& steps) {
        for (const auto& [command, text] : steps) {
            prompter.messages.clear();
            command();
            ASSERT_EQ(prompter.messages.size(), 1u) << text;
            EXPECT_EQ(LastMessage(), Shown(str::kCaptionWarning, text));
            EXPECT_EQ(prompter.messages[0].owner, &view);
        }
    };
    check({{[&] { view.OnAdd(); }, str::kAddWithoutFile}, {[&] { view.OnModify(); }, str::kModifyWithoutFile},
           {[&] { DoubleClick(belowRows); }, str::kModifyWithoutFile}, {[&] { view.OnDelete(); }, str::kDeleteWithoutSelection}});
    Open({.ids = {1, 2, 3}});
    check({{[&] { view.OnModify(); }, str::kModifyWithoutSelection}, {[&] { DoubleClick(belowRows); }, str::kModifyWithoutSelection},
           {[&] { view.OnDelete(); }, str::kDeleteWithoutSelection}, {[&] { view.OnSearchId(); }, str::kSearchIdEmpty},
           {[&] { view.OnSearchName(); }, str::kSearchNameEmpty}});
    for (const FileKind kind : kAllKinds) EXPECT_FALSE(DialogOf(kind).isVisible());
}

// Refused by the table (a duplicate ID), a commit leaves the dialog open and the table as it was;
// the message is the dialog's, and the box it names has the keys again, its text selected, so
// that what is typed next goes there (as after a bad number, the dialog's own test).
TEST_F(EditTest, RefusedCommitsKeepTheDialogOpenUntilTheIdIsFree)
{
    Open({.ids = {1, 2, 3}});
    frame.show();
    struct Step { bool add; const char* text; QString message; std::vector<std::int32_t> ids; };
    const Step steps[] = {
        {false, "2", Shown(str::kCaptionError, "已存在[ID=2]的记录,请重新输入ID！"), {1, 2, 3}}, {false, "9", {}, {9, 2, 3}},
        {true, "3", Shown(str::kCaptionError, "已存在[ID=3]的记录,请重新输入ID！"), {9, 2, 3}}, {true, "4", {}, {9, 2, 3, 4}},
    };
    for (const Step& step : steps) {
        prompter.messages.clear();
        if (!Dialog().isVisible()) {
            Select({0});
            step.add ? view.OnAdd() : view.OnModify();
        }
        Box(kIdColumn).setText(U(step.text));
        Commit();
        EXPECT_EQ(LastMessage(), step.message) << step.text;
        EXPECT_EQ(Dialog().isVisible(), !step.message.isEmpty()) << step.text;
        if (!step.message.isEmpty()) {
            EXPECT_EQ(prompter.messages.back().owner, &Dialog()) << step.text;
            EXPECT_EQ(Dialog().focusWidget(), &Box(kIdColumn)) << step.text;
            EXPECT_EQ(Box(kIdColumn).selectedText(), U(step.text)) << step.text;
        }
        EXPECT_EQ(Ids(), step.ids) << step.text;
        EXPECT_EQ(Count(), QString::number(step.ids.size())) << step.text;
        EXPECT_EQ(Unsaved(), step.ids[0] == 9) << step.text;
    }
}

// A name whose length byte counts fewer bytes than its field holds: the dialog shows the name
// the list shows, and a commit that leaves it alone keeps its bytes, the hidden rest included
// (for every kind in the record dialog's own test).
TEST_F(EditTest, ModifyDialogShowsTheNameTheListShows)
{
    Record record(FileKind::Item);
    record.SetId(2);
    ASSERT_TRUE(record.SetName("abcdef"));
    record.Bytes()[record.Schema().nameLengthOffset] = 3;
    const QString path = OpenRecords({Record(FileKind::Item), record});
    ASSERT_EQ(Cell(1, kNameColumn), QStringLiteral("abc"));
    Select({1});
    view.OnModify();
    EXPECT_EQ(Box(kNameColumn).text(), QStringLiteral("abc"));
    Box(2).setText(QStringLiteral("7"));
    Commit();
    record.SetValue(2, 7);
    EXPECT_EQ(Cell(1, kNameColumn), QStringLiteral("abc"));
    SaveOver();
    EXPECT_EQ(ReadBack(path, FileKind::Item).at(1), record);
}

// A double click opens the row in the modify dialog, which stays on its record through a sort
// (and deletes, the table's test), and refuses once it is gone.
TEST_F(EditTest, ModifyDialogStaysOnItsRecordThroughSortsAndRefusesOnceItIsGone)
{
    Open({.ids = {1, 2, 3, 4}});
    frame.show();
    DoubleClick(view.List()->visualRect(Model().index(2, 3)).center());
    ASSERT_TRUE(Dialog().isVisible() && Dialog().IsModify());
    EXPECT_EQ(Box(kIdColumn).text(), QStringLiteral("3"));
    view.OnHeaderItemClick(kIdColumn);
    view.OnHeaderItemClick(kIdColumn); // 4 3 2 1
    Box(2).setText(QStringLiteral("33"));
    Commit();
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Cell(RowOfId(3), 2).toInt(), 33);
    EXPECT_EQ(Cell(RowOfId(4), 2).toInt(), 0);

    Select({RowOfId(1)});
    view.OnModify();
    view.OnDelete();
    Box(2).setText(QStringLiteral("11"));
    Commit();
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(LastMessage(), Shown(str::kCaptionError, str::kRecordGone));
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{4, 3, 2}));

    prompter.answers = {Answer::Discard};
    view.OnRefresh();
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{1, 2, 3, 4}));
}

// The question offers saving first; Return saves, Escape cancels, and nothing is dropped
// unless the user says so.
TEST_F(EditTest, UnsavedChangesAreSavedOrDroppedOnlyWhenTheUserSays)
{
    const QString path = Open({.ids = {1, 2, 3}});
    const QString saved = dir.filePath(QStringLiteral("saved.dat"));
    // Exit closes the window like its close box.
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"close", [&] { frame.close(); }}, {"open", [&] { OpenPath(path); }}, {"refresh", [&] { view.OnRefresh(); }}};
    for (const auto& [name, run] : commands) {
        for (const Answer answer : {Answer::Cancel, Answer::Discard, Answer::Save}) {
            SCOPED_TRACE(testing::Message() << name << " " << int(answer));
            frame.show();
            DeleteFirstRow();
            QFile::remove(saved);
            prompter.questions.clear();
            prompter.buttonsAsked.clear();
            prompter.answers = {answer};
            if (answer == Answer::Save) prompter.fileAnswers.push_back(saved);
            run();
            prompter.fileAnswers.clear();
            ASSERT_EQ(prompter.questions.size(), 1u) << prompter.questions.back().text.toStdString();
            EXPECT_EQ(prompter.questions[0].text, U(str::kSaveChangesQuestion));
            EXPECT_EQ(prompter.questions[0].caption, U(str::kCaptionWarning));
            EXPECT_EQ(prompter.buttonsAsked[0].buttons, (std::vector<Answer>{Answer::Save, Answer::Discard, Answer::Cancel}));
            EXPECT_EQ(prompter.buttonsAsked[0].defaultAnswer, Answer::Save);
            EXPECT_EQ(prompter.buttonsAsked[0].escapeAnswer, Answer::Cancel);
            const bool proceeded = answer != Answer::Cancel;
            const bool closed = proceeded && name == std::string("close");
            EXPECT_EQ(frame.isVisible(), !closed);
            EXPECT_EQ(RowCount(), proceeded && !closed ? 3 : 2);
            EXPECT_EQ(QFileInfo::exists(saved), answer == Answer::Save);
            if (answer == Answer::Save) {
                EXPECT_EQ(ReadBack(saved, FileKind::Item).size(), 2u);
            }
            prompter.answers = {Answer::Discard};
            view.OnRefresh();
        }
    }
}

// The 编辑 menu takes back and does again what the form did, naming the step (what the status
// bar then says is the save tests').
TEST_F(EditTest, UndoAndRedoFromTheEditMenuAndTheirKeys)
{
    Open({.ids = {1, 2, 3}});
    ShowActive();
    QAction& undo = *frame.CommandAction(ids::kCmdEditUndo);
    QAction& redo = *frame.CommandAction(ids::kCmdEditRedo);
    EXPECT_EQ(undo.text(), U("撤销"));
    EXPECT_FALSE(undo.isEnabled() || redo.isEnabled());

    Select({1});
    view.OnDelete();
    view.OnHeaderItemClick(kNameColumn);
    EXPECT_EQ(undo.text(), U("撤销 排序 ItemName"));

    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(undo.text(), U("撤销 删除 [ID=2]"));
    EXPECT_EQ(redo.text(), U("重做 排序 ItemName"));
    EXPECT_EQ(view.List()->Header()->ArrowColumn(), -1);
    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{1, 2, 3}));
    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+Y")));
    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(view.List()->Header()->ArrowColumn(), kNameColumn);
}

TEST_F(EditTest, ANameLeftAsItWasKeepsItsBytes)
{
    Record odd(FileKind::Item);
    ASSERT_TRUE(odd.SetName("a\x81"));
    OpenRecords({odd});
    EditCell(0, kNameColumn, Cell(0, kNameColumn));
    EXPECT_EQ(UndoText(), U("撤销")) << "nothing changed";
}

// 批量修改 through its dialog sets the selected rows' cells; one that would leave the range
// changes nothing and names the rows. 公式 gives the column each row's value by the formula over
// the row's own fields: the dialog shows beforehand how many rows change and their old and new
// values, or why the change would be refused; the change is one step named by its formula; a
// malformed formula is refused with where it goes wrong and changes nothing.
TEST_F(EditTest, BulkChangeThroughItsDialogIsWholeOrNothing)
{
    Open({.ids = {1, 3, 5}});
    ShowActive();
    Select({0, 2});
    Bulk("设为(&S)", "1000");
    EXPECT_EQ(Prices(), (QStringList{U("1000"), U("0"), U("1000")}));
    prompter.messages.clear();
    Bulk("乘以(&M)", "3000000");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, U("批量修改后，下列记录的Price将超出32位整数的范围，没有做任何修改：\n[ID=1], [ID=5]"));
    EXPECT_EQ(Prices(), (QStringList{U("1000"), U("0"), U("1000")}));
    EXPECT_EQ(UndoText(), U("撤销 批量修改 Price"));

    // A factor no binary fraction holds comes through the dialog exact: rounded once, halves
    // away from zero (each operation's rounding is the bulk change's own test).
    Select({0, 1, 2});
    view.List()->selectionModel()->setCurrentIndex(Model().index(0, Price()), QItemSelectionModel::NoUpdate);
    Paste(QStringLiteral("50\n90\n-50\n"));
    Bulk("乘以(&M)", "1.15");
    EXPECT_EQ(Prices(), (QStringList{U("58"), U("104"), U("-58")}));

    Paste(QStringLiteral("0\n7\n0\n"));
    const char* const formula = "公式(&F)";
    EXPECT_EQ(Bulk(formula, "ItemID*100+Price"), U("将修改3条记录：\n[ID=1] 0 → 100\n[ID=3] 7 → 307\n[ID=5] 0 → 500"));
    EXPECT_EQ(Prices(), (QStringList{U("100"), U("307"), U("500")}));
    EXPECT_EQ(UndoText(), U("撤销 公式 Price=ItemID*100+Price"));
    EXPECT_EQ(Bulk(formula, "Price/3*3"), U("没有记录会改变。"));
    prompter.messages.clear();
    // Nothing refused becomes a step: the last one stays the one to undo.
    const QString undo = UndoText();
    EXPECT_EQ(Bulk(formula, "Price/(ItemID-3)"), U("不能修改：除以零"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, U("批量修改时，下列记录的公式除以零，没有做任何修改：\n[ID=3]"));
    EXPECT_EQ(Bulk(formula, "ItemID*", true), U("第8个字符处：缺少数值"));
    EXPECT_EQ(prompter.messages.back().text, U("第8个字符处：缺少数值"));
    EXPECT_EQ(Bulk(formula, "NeedLevl*2", true), U("第1个字符处：没有名为“NeedLevl”的列；是指“NeedLevel”吗？"));
    EXPECT_EQ(UndoText(), undo);
    EXPECT_EQ(Cell(1, Price()), QStringLiteral("307"));
}

// Ctrl+D copies the selected rows with IDs past the largest, at the end of the table, and
// leaves the copies selected and in sight, however far down.
TEST_F(EditTest, CopyAsNewSelectsTheCopiesIdsPastTheLargest)
{
    std::vector<std::int32_t> ids(300);
    std::iota(ids.begin(), ids.end(), 1);
    ids[2] = 500;
    Open({.ids = ids});
    ShowActive();
    view.List()->setFocus();
    Select({0, 2});
    QTest::keySequence(view.List(), QKeySequence(Qt::CTRL | Qt::Key_D));
    EXPECT_EQ(std::make_tuple(RowCount(), IdAt(300), IdAt(301)), std::make_tuple(302, 501, 502));
    EXPECT_EQ(SelectedIds(), (std::vector<std::int32_t>{501, 502}));
    EXPECT_EQ(view.List()->currentIndex().row(), 300);
    const QRect shown = view.List()->viewport()->rect();
    for (const int row : {300, 301}) {
        EXPECT_TRUE(shown.contains(view.List()->visualRect(Model().index(row, 2)))) << row;
    }
}

// Ctrl+C puts the selected rows on the clipboard in table order, as tab-separated text with the
// CSV header and Raw. Pasted back, rows with IDs the table holds are refused and named; with new
// IDs they go in whole, Raw and all, as one step.
TEST_F(EditTest, CopiedRowsPasteInWholeUnlessTheirIdsAreTaken)
{
    const QString path = Open({.ids = {1, 2, 3}});
    QClipboard& clipboard = *QGuiApplication::clipboard();
    Select({2, 0});
    view.ListCommand(ids::kCmdCopy)->trigger();
    const QStringList lines = clipboard.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("ItemID\tItemName\tStdmode")) && lines[0].endsWith(QStringLiteral("\tRaw")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1\tN1\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("3\tN3\t")));
    view.ListCommand(ids::kCmdPaste)->trigger();
    EXPECT_EQ(LastMessage(), Shown(str::kCaptionError, "下列记录的ID在表格中已经存在，没有粘贴：\n[ID=1], [ID=3]"));
    EXPECT_EQ(UndoText(), U("撤销")) << "nothing pasted";
    Paste(QString(clipboard.text()).replace(QStringLiteral("\n1\tN1\t"), QStringLiteral("\n7\tN1\t")));
    ASSERT_EQ(Ids(), (std::vector<std::int32_t>{1, 2, 3, 7}));
    EXPECT_EQ(UndoText(), U("撤销 粘贴 1 条记录"));
    SaveOver();
    std::vector<Record> saved = ReadBack(path, FileKind::Item);
    saved.at(3).SetId(1);
    EXPECT_EQ(saved[3], saved[0]) << "every byte came across";
}

// Bad text changes nothing and says what is wrong. A value is quoted by its first 40
// characters: a pasted megabyte is neither laid out nor read whole. A character GBK has no
// form for is refused, not dropped.
TEST_F(EditTest, PastedTextThatDoesNotFitChangesNothingAndSaysWhy)
{
    Open({.ids = {1, 2, 3}});
    Select({0, 1});
    const QString digits(1'000'000, QLatin1Char('9'));
    const struct { int column; QString text; const char* message; } bad[] = {
        {Price(), U("1\n2\n3\n"), "剪贴板中有3个数值，但选中了2条记录。"},
        {Price(), digits, "第1个数值“9999999999999999999999999999999999999999…”不是-2147483648到2147483647之间的整数，表格没有改变。"},
        {kNameColumn, U("甲\n乙😀") + digits, "第2个数值“乙😀9999999999999999999999999999999999999…”中有GBK无法表示的字符，表格没有改变。"},
        {Price(), U("MagID\tMagName\n1\tfire\n"), nullptr},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.text.left(20).toStdString());
        const QString before = UndoText();
        view.List()->selectionModel()->setCurrentIndex(Model().index(0, c.column), QItemSelectionModel::NoUpdate);
        Paste(c.text);
        if (c.message) {
            EXPECT_EQ(LastMessage(), Shown(str::kCaptionError, c.message));
        } else {
            EXPECT_TRUE(LastMessage().startsWith(U("错误|剪贴板中的文字无法粘贴，表格没有改变：\n第1行："))) << LastMessage().toStdString();
        }
        EXPECT_EQ(UndoText(), before);
    }
}

// Two saves that ask first, default 否, which writes nothing: over a file another program
// changed since the load (that our own save is the new baseline is the document's test), and
// of an empty table, which makes a file nothing opens again (asked before the file dialog).
TEST_F(EditTest, SavesThatWouldLoseSomethingAskFirst)
{
    for (const bool empty : {false, true}) {
        SCOPED_TRACE(empty);
        const QString path = Open({.ids = empty ? std::vector<std::int32_t>{1} : std::vector<std::int32_t>{1, 2}});
        const QString target = empty ? dir.filePath(QStringLiteral("empty.dat")) : path;
        if (!empty) WriteSample(path, {.ids = {1, 2, 3}});
        const QByteArray before = Bytes(target);
        DeleteFirstRow();
        const QString question = empty ? U(str::kSaveEmptyTable)
                                       : U("文件[%1]在载入后已被其他程序修改。保存将覆盖那些修改，是否仍然保存？").arg(QDir::toNativeSeparators(path));
        for (const Answer answer : {Answer::No, Answer::Yes}) {
            prompter.questions.clear();
            prompter.buttonsAsked.clear();
            prompter.savesAsked.clear();
            prompter.answers = {answer};
            prompter.fileAnswers = {target};
            view.OnSave();
            ASSERT_EQ(prompter.questions.size(), 1u);
            EXPECT_EQ(prompter.questions[0].text, question);
            EXPECT_EQ(prompter.buttonsAsked[0].defaultAnswer, Answer::No);
            EXPECT_EQ(Bytes(target) == before, answer == Answer::No);
            if (empty) {
                EXPECT_EQ(prompter.savesAsked.size(), answer == Answer::Yes ? 1u : 0u);
            }
        }
        EXPECT_EQ(QFileInfo(target).size(), empty ? 4 : 4 + 184);
        prompter.answers = {Answer::Discard};
    }
}

// The writer's own tests try every kind of failure; here the form reports one, in its own
// words where the reason is a common one, and keeps the edits.
TEST_F(EditTest, SaveFailureNamesTheFileAndTheReasonAndLeavesWhatWasThere)
{
    Open({.ids = {1, 2, 3}});
    DeleteFirstRow();
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("taken.dat/inside")));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const auto& [target, reason] : {std::pair{"missing/out.dat", "它所在的文件夹不存在"}, std::pair{"taken.dat", "它是一个文件夹"}}) {
        const QString path = dir.filePath(U(target));
        prompter.messages.clear();
        prompter.fileAnswers.push_back(path);
        view.OnSave();
        ASSERT_EQ(prompter.messages.size(), 1u) << target;
        EXPECT_EQ(LastMessage(), Shown(str::kCaptionError, U("文件[%1]保存失败：%2").arg(QDir::toNativeSeparators(path), U(reason))));
        EXPECT_TRUE(Unsaved());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("taken.dat/inside"))));
}

// A save proposes the stem and asks before a monster file's first ID is lost. It leaves nothing
// unsaved; 刷新 then reads the opened file again, not the one saved; once that is gone, the
// table stays.
TEST_F(EditTest, SaveProposesTheStemAndAsksBeforeAMonsterFilesFirstIdIsLostAndRefreshReadsTheOpenedFile)
{
    const QString opened = Open({.kind = FileKind::Monster, .ids = {0, 5, 7}});
    view.OnSave(); // a first ID of 0 loses nothing: no question, the dialog cancelled
    EXPECT_TRUE(prompter.questions.empty());
    prompter.savesAsked.clear();
    view.OnHeaderItemClick(kIdColumn);
    view.OnHeaderItemClick(kIdColumn); // 7 5 0
    const QString out = dir.filePath(QStringLiteral("sub/monster2.dat"));
    QDir(dir.path()).mkpath(QStringLiteral("sub"));
    prompter.answers = {Answer::No};
    view.OnSave();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text, U("第一条记录的ID(7)无法保存在monster.dat文件中，重新打开后将变为0。是否仍然保存？"));
    EXPECT_EQ(prompter.questions[0].caption, U(str::kCaptionWarning));
    EXPECT_TRUE(prompter.savesAsked.empty());

    prompter.answers = {Answer::Yes};
    prompter.fileAnswers.push_back(out);
    view.OnSave();
    ASSERT_EQ(prompter.savesAsked.size(), 1u);
    EXPECT_EQ(prompter.savesAsked[0], (QStringList{QStringLiteral("monster2"), QStringLiteral("Data Files (*.dat)"),
                                                   QStringLiteral("*.dat"), QStringLiteral("dat")}));
    EXPECT_EQ(prompter.foldersAsked.back(), dir.path());
    std::vector<std::int32_t> savedIds;
    for (const Record& record : ReadBack(out, FileKind::Monster)) savedIds.push_back(record.Id());
    EXPECT_EQ(savedIds, (std::vector<std::int32_t>{0, 5, 0}));
    EXPECT_FALSE(Unsaved()) << "the sort is saved";

    prompter.messages.clear();
    view.OnRefresh();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{0, 5, 7}));
    ASSERT_TRUE(QFile::remove(opened));
    view.OnHeaderItemClick(kIdColumn);
    view.OnHeaderItemClick(kIdColumn); // 7 5 0
    prompter.questions.clear();
    prompter.answers = {Answer::Discard};
    view.OnRefresh();
    EXPECT_EQ(prompter.questions.size(), 1u) << "the sort is unsaved";
    EXPECT_EQ(LastMessage(), Shown(str::kCaptionError, QStringLiteral("无法重新读取文件[%1]，表格保持不变：文件不存在！")
                                                           .arg(QDir::toNativeSeparators(opened))));
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{7, 5, 0}));
}

// The table's own tests try the ways an ID or name can differ; here the form hands over the
// typed text untouched and shows what was found.
TEST_F(EditTest, SearchesMatchTheWholeTextExactlyAndSelectTheFoundRow)
{
    std::vector<std::int32_t> ids{3, 7, 10, 70};
    for (std::int32_t id = 100; id < 400; ++id) ids.push_back(id);
    Open({.ids = ids});
    frame.show();
    view.OnAdd();
    Box(kIdColumn).setText(QStringLiteral("99"));
    Box(kNameColumn).setText(U("木剑"));
    Commit();
    struct Case { int box; const char* text; std::int32_t foundId; }; // -1: not found
    const Case cases[] = {{ids::kIdBox, "7", 7},    {ids::kIdBox, " 7", -1},    {ids::kIdBox, "300", 300},
                          {ids::kNameBox, "N7", 7}, {ids::kNameBox, "N7 ", -1}, {ids::kNameBox, "木剑", 99}};
    for (const Case& c : cases) {
        prompter.messages.clear();
        Select({});
        SetSearchText(c.box, U(c.text));
        c.box == ids::kIdBox ? view.OnSearchId() : view.OnSearchName();
        if (c.foundId == -1) {
            EXPECT_EQ(LastMessage(), Shown(str::kCaptionWarning, str::kNotFound)) << c.text;
            continue;
        }
        EXPECT_TRUE(prompter.messages.empty()) << c.text;
        const int row = RowOfId(c.foundId);
        EXPECT_EQ(SelectedIds(), std::vector<std::int32_t>{c.foundId}) << c.text;
        EXPECT_EQ(view.List()->currentIndex().row(), row);
        EXPECT_TRUE(view.List()->viewport()->rect().contains(view.List()->visualRect(Model().index(row, 0))));
    }
    // Only the first selected row gives way to the found one.
    Select({0, 2});
    SetSearchText(ids::kIdBox, QStringLiteral("70"));
    view.OnSearchId();
    EXPECT_EQ(SelectedIds(), (std::vector<std::int32_t>{10, 70}));
    // Delete takes the first selected row only.
    view.OnDelete();
    EXPECT_EQ(Ids()[2], 70);
    EXPECT_EQ(SelectedIds(), std::vector<std::int32_t>{70});
}

// With the find bar open, every Alt+letter of the window still means one thing: a letter
// taken twice makes Qt do nothing at all for it, the File menu included.
TEST_F(EditTest, EveryAltLetterOfTheWindowIsTakenOnceWithTheFindBarOpen)
{
    Open({.ids = {1, 2}});
    view.ShowFindBar();
    std::map<QChar, QString> owners;
    const auto take = [&](const QString& text) {
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at < 0 || at + 1 >= text.size()) return;
        const QChar letter = text.at(at + 1).toUpper();
        const auto [place, fresh] = owners.emplace(letter, text);
        EXPECT_TRUE(fresh) << "Alt+" << QString(letter).toStdString() << ": " << place->second.toStdString()
                           << " and " << text.toStdString();
    };
    for (const QAction* menu : frame.menuBar()->actions()) take(menu->text());
    // Dialogs the frame owns have keys of their own.
    const auto inFrame = [&](const QWidget* widget) { return widget->window() == &frame; };
    for (const QAbstractButton* button : frame.findChildren<QAbstractButton*>()) if (inFrame(button)) take(button->text());
    for (const QLabel* label : frame.findChildren<QLabel*>()) if (inFrame(label) && label->buddy()) take(label->text());
}

} // namespace
} // namespace rw::test

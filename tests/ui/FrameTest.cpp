// The main window: before any file, Open and its messages, status bar, menu, keys, geometry;
// and the program's real message box, open dialog and about box, answered through their widgets.

#include "resources/Strings.h"
#include "shell/CAboutDlg.h"
#include "shell/CEditorApp.h"
#include "ui/FileChooser.h"
#include "ui/FileDialogHistory.h"
#include "ui/QtPrompter.h"
#include "ui/TextFit.h"
#include "shell/StatusTexts.h"
#include "tests/ui/UiTestSupport.h"
#include "view/FindBar.h"
#include "view/FrozenColumns.h"
#include "view/SortHeader.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <numeric>

namespace rw::test {
namespace {

QString TitleFor(const QString& bareName) { return U(str::kAppTitle) + U(str::kTitleFileOpen) + bareName + U(str::kTitleFileClose); }

class FrameTest : public FrameFixture {
protected:
    [[nodiscard]] int EnabledCommands() const
    {
        const int commands[] = {ids::kSearchId, ids::kSearchName, ids::kRefresh, ids::kModify,
                                ids::kDelete,   ids::kAdd,        ids::kSave};
        return static_cast<int>(std::count_if(std::begin(commands), std::end(commands),
                                              [&](int id) { return FindControl(view, id)->isEnabled(); }));
    }
    // Files dropped on the window; whether it took them in.
    bool Drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &event);
        return enter.isAccepted();
    }
};

TEST_F(FrameTest, BeforeAnyFileTheItemColumnsShowNoRowsAndAFailedFirstOpenKeepsTheCommandsOff)
{
    OpenPath(dir.filePath(QStringLiteral("stditem.dat"))); // missing
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(frame.windowTitle(), U(str::kAppTitle));
    EXPECT_EQ(Model().headerData(1, Qt::Horizontal).toString(), QStringLiteral("ItemName"));
    EXPECT_EQ(Model().rowCount(), 0);
    EXPECT_EQ(Count(), QString());
    EXPECT_EQ(EnabledCommands(), 0);
    EXPECT_TRUE(FindControl(view, ids::kIdBox)->isEnabled() && FindControl(view, ids::kNameBox)->isEnabled());
}

TEST_F(FrameTest, OpenLoadsEachKindByNameInAnyLetterCaseAndNamesItInTheTitle)
{
    struct Case { const char* name; FileKind kind; std::vector<std::int32_t> ids; };
    const Case cases[] = {{"stditem.dat", FileKind::Item, {4, 9, 2}}, {"MAGIC.DAT", FileKind::Magic, {7, 7}},
                          {"Monster.Dat", FileKind::Monster, {0, 3, 5, 6}}};
    for (const Case& c : cases) {
        OpenPath(Write(U(c.name), {.kind = c.kind, .ids = c.ids}));
        EXPECT_EQ(frame.windowTitle(), TitleFor(U(c.name)));
        EXPECT_EQ(KindShown(), c.kind); // by the name column's title
        EXPECT_EQ(Ids(), c.ids);
        EXPECT_EQ(Cell(1, 1), QStringLiteral("N%1").arg(c.ids[1]));
        EXPECT_EQ(Count(), QString::number(c.ids.size()));
        EXPECT_EQ(EnabledCommands(), 7);
    }
    EXPECT_EQ(prompter.messages.size(), 0u);
    // The next dialog starts where the last file was chosen.
    OpenPath(std::nullopt);
    EXPECT_EQ(prompter.foldersAsked.front(), QDir::currentPath());
    EXPECT_EQ(prompter.foldersAsked.back(), dir.path());
    // A key set in the key dialog decodes the next load (its cancel and bad values are its own tests).
    SetItemKey("9");
    OpenPath(Write(QStringLiteral("stditem.dat"), {.ids = {11, 12}, .key = 9}));
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{11, 12}));
}

// A name that is none of the three gets the old message; every other failure says which
// file and why, with the system's own words where it has some. The table stays as it was.
TEST_F(FrameTest, AFailedOpenSaysWhyAndChangesNothing)
{
    OpenPath(Write(QStringLiteral("monster.dat"), {.kind = FileKind::Monster, .ids = {0, 1, 2}}));
    const QString title = frame.windowTitle();
    const auto folder = [&](const char* name) {
        EXPECT_TRUE(QDir(dir.path()).mkpath(U(name)));
        return dir.filePath(U(name));
    };
    // A file whose records need more memory than any machine has: the most records a count
    // can announce. Sparse, so it takes no disk.
    const QString huge = WriteSample(folder("huge") + QStringLiteral("/stditem.dat"), {.ids = {}, .header = INT32_MAX});
    const qint64 hugeSize = 4 + qint64{184} * INT32_MAX;
    ASSERT_TRUE(QFile::resize(huge, hugeSize));
    const QString noRecords = U("文件头中的记录数为0，没有可以载入的记录");
    std::vector<std::pair<QString, QString>> attempts = {
        {Write(QStringLiteral("stditem.txt"), {.ids = {1}}), QString()},
        {dir.filePath(QStringLiteral("magic.dat")), U("文件不存在")},
        {WriteSample(folder("count0") + QStringLiteral("/stditem.dat"), {.ids = {1}, .header = 0}), noRecords},
        {folder("stditem.dat"), U(str::kReasonNotRegularFile)},
        {huge, U("文件太大（%1），载入它所需的内存超过了可用的内存")
                   .arg(QLocale(QLocale::Chinese, QLocale::China).formattedDataSize(hugeSize))},
    };
#ifndef _WIN32 // Windows has no < > in names
    attempts.emplace_back(WriteBytes(folder("<font color=red size=7>SAVED OK") + QStringLiteral("/stditem.dat"), {}), noRecords);
#endif
    for (const auto& [path, reason] : attempts) {
        SCOPED_TRACE(path.toStdString());
        prompter.Forget();
        OpenPath(path);
        // A name that is none of the three is a question: it offers 按类型打开 beside OK.
        const std::vector<ShownMessage>& shown = reason.isEmpty() ? prompter.questions : prompter.messages;
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(prompter.messages.size() + prompter.questions.size(), 1u);
        EXPECT_EQ(shown[0].text, reason.isEmpty() ? U(str::kNotADataFile)
                                                  : U("无法打开文件[%1]：%2！").arg(QDir::toNativeSeparators(path), reason));
        EXPECT_EQ(shown[0].caption, U(str::kCaptionError));
        EXPECT_EQ(shown[0].owner, &frame);
        EXPECT_EQ(frame.windowTitle(), title);
        EXPECT_EQ(Count(), QStringLiteral("3"));
        if (reason.isEmpty()) { // OK, the default, opens nothing
            EXPECT_EQ(prompter.buttonsAsked.back().buttons, (std::vector<Answer>{Answer::Ok, Answer::OpenAsKind}));
            EXPECT_EQ(prompter.buttonsAsked.back().defaultAnswer, Answer::Ok);
        }
    }
    prompter.messages.clear();
    OpenPath(std::nullopt); // cancelled
    EXPECT_EQ(prompter.messages.size(), 0u);
    EXPECT_EQ(frame.windowTitle(), title);
    // The kind chosen through 按类型打开 opens the file under its own name.
    prompter.answers = {Answer::OpenAsKind};
    prompter.items = {0};
    OpenPath(attempts.front().first);
    EXPECT_EQ(prompter.itemsAsked.size(), 1u);
    EXPECT_EQ(KindShown(), FileKind::Item);
    EXPECT_EQ(frame.windowTitle(), TitleFor(QStringLiteral("stditem.txt")));
}

TEST_F(FrameTest, RefusedRecordsAreReportedAfterTheLoadAndTheUserMayStopTheBoxes)
{
    int rowsWhenWarned = -1;
    prompter.onMessage = [&] {
        if (prompter.messages.back().caption == U(str::kCaptionWarning)) rowsWhenWarned = Model().rowCount();
    };
    Open({.ids = {5, 1, 5, 2, 5, 8}, .header = 9});
    ASSERT_EQ(prompter.messages.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(prompter.messages[i].text, U("已存在[ID=5]的记录,该记录未载入！"));
        EXPECT_EQ(prompter.messages[i].caption, U(str::kCaptionError));
        EXPECT_EQ(prompter.messages[i].owner, &view);
    }
    EXPECT_EQ(prompter.messages[2].text, U("文件[stditem.dat]不完整：文件头记录数为9，实际只有6条记录！"));
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(rowsWhenWarned, 4);
    EXPECT_EQ(Count(), QStringLiteral("4"));
    EXPECT_EQ(Cell(3, 0), QStringLiteral("8"));
    EXPECT_EQ(frame.windowTitle(), TitleFor(QStringLiteral("stditem.dat")));

    // Past the third box each one may stop the rest; one summary names them all at the end.
    std::vector<std::int32_t> ids{7, 7, 7, 6, 7};
    for (std::int32_t i = 0; i < 50; ++i) ids.insert(ids.end(), {i + 100, i + 100, i + 100});
    const std::pair<std::deque<Answer>, std::size_t> runs[] = {{{Answer::StopShowing}, 1},
                                                               {{Answer::Ok, Answer::Ok, Answer::StopShowing}, 3}};
    for (const auto& [answers, questions] : runs) {
        prompter.Forget();
        prompter.answers = answers;
        Open({.ids = ids});
        ASSERT_EQ(prompter.questions.size(), questions);
        EXPECT_EQ(prompter.buttonsAsked.back().buttons, (std::vector<Answer>{Answer::Ok, Answer::StopShowing}));
        EXPECT_EQ(prompter.buttonsAsked.back().escapeAnswer, Answer::StopShowing);
        EXPECT_EQ(prompter.questions.front().text, U("已存在[ID=100]的记录,该记录未载入！"));
        ASSERT_EQ(prompter.messages.size(), 4u);
        QStringList listed{U("7（3条）")};
        for (int i = 0; i < 9; ++i) listed.push_back(U("%1（2条）").arg(i + 100));
        EXPECT_EQ(prompter.messages[3].text,
                  U("共有103条记录因ID与前面的记录重复而未载入，它们的ID是：\n%1……另有41个ID").arg(listed.join(", ")));
        EXPECT_EQ(RowCount(), 52);
    }

    // The count decides; what follows the last record it announces is not kept, and the user
    // is told so.
    prompter.messages.clear();
    Open({.ids = {1, 2, 3, 4, 5}, .header = 2});
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{1, 2}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, U(str::kCaptionWarning));
    EXPECT_EQ(prompter.messages[0].text,
              U("文件[stditem.dat]的文件头记录数为2，但最后一条记录之后还有552字节。这些字节没有载入，保存时不会保留！"));
}

// Any file name opens as the kind the user names: 按类型打开, a name on the command line or a
// file dropped on the window; the three names open directly. Unsaved changes are asked about
// first; a cancelled question, a folder or several files change nothing.
TEST_F(FrameTest, AnyFileNameOpensAsTheKindTheUserNames)
{
    const QString copy = Write(QStringLiteral("stditem2.dat"), {.ids = {4, 5}});
    prompter.fileAnswers.push_back(copy);
    prompter.items = {0};
    frame.CommandAction(ids::kCmdFileOpenAsKind)->trigger();
    ASSERT_EQ(prompter.itemsAsked.size(), 1u);
    EXPECT_EQ(prompter.itemsAsked[0], (QStringList{U("物品（stditem.dat，密钥 173）：2 条记录，正好"),
                                                   U("魔法（magic.dat，密钥 203）：2 条记录，多 128 字节"),
                                                   U("怪物（monster.dat，密钥 241）：2 条记录，缺 132 字节")}));
    EXPECT_EQ(frame.windowTitle(), TitleFor(QStringLiteral("stditem2.dat")));
    EXPECT_EQ(KindShown(), FileKind::Item);
    prompter.answers = {Answer::Discard};
    DeleteFirstRow();
    view.OnRefresh(); // the same file again, as the same kind
    EXPECT_EQ(RowCount(), 2);

    const QString monster = Write(QStringLiteral("monster.dat"), {.kind = FileKind::Monster, .ids = {0, 9}});
    const QString backup = Write(QStringLiteral("magic.bak"), {.kind = FileKind::Magic, .ids = {3}});
    const struct { QString path; std::deque<std::optional<int>> kinds; std::size_t asked; FileKind kind; } cases[] = {
        {monster, {}, 0, FileKind::Monster},
        {backup, {std::nullopt}, 1, FileKind::Monster}, // the question cancelled: nothing changes
        {backup, {1}, 1, FileKind::Magic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        prompter.itemsAsked.clear();
        prompter.items = c.kinds;
        frame.OpenPath(c.path);
        EXPECT_EQ(prompter.itemsAsked.size(), c.asked);
        EXPECT_EQ(KindShown(), c.kind);
    }
    EXPECT_EQ(frame.windowTitle(), TitleFor(QStringLiteral("magic.bak")));

    // Unsaved changes first; 取消 keeps everything.
    DeleteFirstRow();
    prompter.questions.clear();
    prompter.answers = {Answer::Cancel};
    frame.OpenPath(monster);
    EXPECT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(KindShown(), FileKind::Magic);
    prompter.answers = {Answer::Discard};

    // Drops: one file opens; a folder or several files say why not.
    prompter.messages.clear();
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(monster), QUrl::fromLocalFile(backup)}));
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(dir.path())}));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, U("一次只能打开一个文件。"));
    EXPECT_EQ(prompter.messages[1].text, U("[%1]不是文件，无法打开。").arg(QDir::toNativeSeparators(dir.path())));
    EXPECT_EQ(KindShown(), FileKind::Magic);
    EXPECT_TRUE(Drop({QUrl::fromLocalFile(monster)}));
    EXPECT_EQ(KindShown(), FileKind::Monster);
    EXPECT_TRUE(frame.acceptDrops());

    // 文件信息 says where the file is and what it holds.
    prompter.messages.clear();
    frame.CommandAction(ids::kCmdFileInfo)->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(U("路径：%1\n类型：怪物（monster.dat）\n密钥：241\n记录数：2\n")
                                                        .arg(QDir::toNativeSeparators(monster))))
        << prompter.messages[0].text.toStdString();
    EXPECT_EQ(prompter.messages[0].caption, U("文件信息"));
}

// A copy of a monster table under a name that tells no kind, dropped on the window: the kind
// question proposes the kind whose records fit the file and says what each would load; a kind
// that does not fit loads only after a warning whose default loads nothing; and a table loaded
// that way is written over its file neither by a Ctrl+S with nothing unsaved nor, after an
// edit, without a question naming what the save would not keep.
TEST_F(FrameTest, AFileOfNoNamedKindIsOfferedTheKindThatFitsItAndAMisfitOnlyAfterAWarning)
{
    std::vector<std::int32_t> ids(11);
    std::iota(ids.begin(), ids.end(), 0);
    const QString path = Write(U("怪物 备份.dat"), {.kind = FileKind::Monster, .ids = ids});
    const QByteArray original = Bytes(path);
    ShowActive();
    const QString warning = U("文件[怪物 备份.dat]的大小与物品（stditem.dat）的记录不符（11 条记录，多 744 字节），"
                              "而正好是怪物（monster.dat）的大小。按物品（stditem.dat）载入，记录很可能是乱码。"
                              "是否仍然按物品（stditem.dat）载入？");
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        prompter.items = {0};
        prompter.answers = {answer};
        prompter.Forget();
        Drop({QUrl::fromLocalFile(path)});
        ASSERT_EQ(prompter.itemsAsked.size(), answer == Answer::No ? 1u : 2u);
        EXPECT_EQ(prompter.itemsAsked.back(), (QStringList{U("物品（stditem.dat，密钥 173）：11 条记录，多 744 字节"),
                                                           U("魔法（magic.dat，密钥 203）：11 条记录，多 1,448 字节"),
                                                           U("怪物（monster.dat，密钥 241）：11 条记录，正好")}));
        EXPECT_EQ(prompter.itemsProposed.back(), 2);
        ASSERT_FALSE(prompter.questions.empty());
        EXPECT_EQ(prompter.questions[0].text, warning);
        EXPECT_EQ(prompter.buttonsAsked[0].defaultAnswer, Answer::No);
        EXPECT_EQ(frame.windowTitle() != U(str::kAppTitle), answer == Answer::Yes) << "the title names the file";
    }
    ASSERT_EQ(KindShown(), FileKind::Item);
    prompter.Forget();
    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(prompter.questions.empty() && prompter.messages.empty());
    EXPECT_EQ(Bytes(path), original);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".bak")));

    EditCell(0, 2, QStringLiteral("5"));
    prompter.answers = {Answer::No};
    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+S")));
    ASSERT_EQ(prompter.questions.size(), 1u);
    const QString question = prompter.questions[0].text;
    EXPECT_TRUE(question.startsWith(U("文件[%1]载入时有内容没有载入。").arg(QDir::toNativeSeparators(path)))) << question.toStdString();
    EXPECT_TRUE(question.contains(U("\n· 文件原来的内容：它的大小正好是怪物（monster.dat）的大小，按物品（stditem.dat）载入的记录很可能是乱码\n")));
    EXPECT_EQ(Bytes(path), original);
}

// The count box follows the table; a count wider than the box shows whole, smaller, and the
// box keeps its place and size.
TEST_F(FrameTest, TheCountBoxShowsEveryCountWhole)
{
    Open({.ids = {1, 2}});
    frame.show();
    auto& box = *FindControl<QLineEdit>(view, ids::kCountBox);
    const QRect place = box.geometry();
    for (const int count : {99999, 1000000, 2147483647}) {
        SCOPED_TRACE(count);
        ShowWhole(box, view.font(), QString::number(count));
        EXPECT_LE(BoxWidthFor(box, box.font(), box.text()), box.width());
        EXPECT_EQ(box.geometry(), place);
        EXPECT_EQ(box.font().pointSizeF() == view.font().pointSizeF(), count < 100000);
    }
}

TEST_F(FrameTest, StatusBarShowsDateAndARunningClockInFixedPanes)
{
    EXPECT_EQ(FormatStatusDate(QDate(2024, 3, 7)), QStringLiteral("2024年03月07日"));
    EXPECT_EQ(FormatStatusClock(QTime(9, 5, 3)), QStringLiteral("09:05:03"));
    EXPECT_EQ(FormatStatusClock(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
    EXPECT_TRUE(QRegularExpression(U("^[0-9]{4}年[0-9]{2}月[0-9]{2}日$")).match(Pane("date").text()).hasMatch());
    for (const char* pane : {"attribution", "date", "clock"}) {
        const QLabel& label = Pane(pane);
        EXPECT_FALSE(label.text().isEmpty()) << pane;
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.contentsRect().width()) << pane;
    }
    Pane("clock").clear();
    const QRegularExpression clock(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return clock.match(Pane("clock").text()).hasMatch(); }, 1000));
}

TEST_F(FrameTest, MenuCommandsCarryTheirIdsAndShowTheirPromptsWhileHighlighted)
{
    struct Case { int id; const char* prompt; };
    const Case cases[] = {{ids::kCmdFileOpen, "打开DAT文件"},
                          {ids::kCmdSetKey, "设置加解密密钥"},
                          {ids::kCmdAppExit, "退出应用程序；提示保存文档"},
                          {ids::kCmdAppAbout, "显示程序信息，版本号和版权"}};
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    frame.show();
    for (const Case& c : cases) {
        QAction* action = frame.CommandAction(c.id);
        ASSERT_NE(action, nullptr) << c.id;
        EXPECT_TRUE(action->isEnabled());
        auto* menu = qobject_cast<QMenu*>(action->parent());
        ASSERT_NE(menu, nullptr);
        frame.menuBar()->setActiveAction(menu->menuAction()); // opens it as the user would
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
        menu->setActiveAction(action);
        EXPECT_EQ(MessageLine(), U(c.prompt));
        menu->hide();
        EXPECT_EQ(MessageLine(), U(str::kIdleMessage));
    }
}

// The ID and name stay at the left while the list scrolls sideways, in step with the list's
// rows through scrolling, sorting and selecting, for every kind.
TEST_F(FrameTest, IdAndNameStayInSightAndInStep)
{
    std::vector<std::int32_t> ids;
    for (std::int32_t id = 0; id < 200; ++id) ids.push_back(id * 7 % 200);
    frame.show();
    RecordList& list = *view.List();
    FrozenColumns& frozen = *list.Frozen();
    for (const FileKind kind : kAllKinds) {
        SCOPED_TRACE(int(kind));
        prompter.answers = {Answer::Discard};
        Open({.kind = kind, .ids = ids});
        QCoreApplication::processEvents();
        EXPECT_EQ(frozen.width(), list.columnWidth(0) + list.columnWidth(1));
        for (int column = 0; column < Model().columnCount(); ++column) {
            EXPECT_EQ(frozen.isColumnHidden(column), column >= FrozenColumns::kCount) << column;
        }
        // Scrolled right and down, the frozen rows are the list's rows.
        list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum());
        list.verticalScrollBar()->setValue(57);
        EXPECT_EQ(frozen.verticalScrollBar()->value(), 57);
        const auto sameRowAt = [&](int y) {
            return frozen.indexAt(QPoint(5, y)).row() == list.indexAt(QPoint(frozen.width() + 5, y)).row();
        };
        EXPECT_TRUE(sameRowAt(10) && sameRowAt(200));
        EXPECT_TRUE(frozen.isVisible());
        EXPECT_EQ(frozen.selectionModel(), list.selectionModel());

        // A click on the frozen ID title sorts, and the arrow shows on both headers.
        QTest::mouseClick(frozen.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        EXPECT_EQ(IdAt(0), view.List()->Header()->ArrowAscending() ? 0 : 199); // a remembered column reverses
        EXPECT_EQ(frozen.Header()->ArrowColumn(), kIdColumn);
        EXPECT_EQ(view.List()->Header()->ArrowColumn(), kIdColumn);
        EXPECT_TRUE(sameRowAt(10));
        frozen.Header()->resizeSection(kNameColumn, 150);
        EXPECT_EQ(list.columnWidth(kNameColumn), 150);
        EXPECT_EQ(frozen.width(), list.columnWidth(0) + 150);
    }
}

TEST_F(FrameTest, TooltipsExplainColumnsCellsAndTheFile)
{
    EXPECT_EQ(CChildView::ColumnTip(kMonsterSchema, kNameColumn),
              U("MonName：偏移 234，名称（GBK 文字），字段容量 18 字节；长度字节在偏移 233"));

    const QString path = Open({.ids = {1, 2}});
    frame.show();
    EXPECT_EQ(FindControl(view, ids::kCountBox)->toolTip(), QDir::toNativeSeparators(path));
    EXPECT_EQ(view.List()->cornerWidget()->toolTip(), QDir::toNativeSeparators(path));

    const auto tipAt = [](QWidget* viewport, QPoint at) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QCoreApplication::sendEvent(viewport, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QHeaderView& header = *view.List()->horizontalHeader();
    EXPECT_EQ(tipAt(header.viewport(), QPoint(header.sectionViewportPosition(29) + 5, 5)), U("Price：偏移 144，32 位整数"));

    EditCell(0, kNameColumn, U("A rather long name here"));
    header.resizeSection(kNameColumn, 400);
    const QRect cell = view.List()->visualRect(Model().index(0, kNameColumn));
    EXPECT_NE(tipAt(view.List()->viewport(), cell.center()), U("A rather long name here")) << "it fits";
    header.resizeSection(kNameColumn, 40);
    EXPECT_EQ(tipAt(view.List()->viewport(), view.List()->visualRect(Model().index(0, kNameColumn)).center()),
              U("A rather long name here"));
}

// The column titles and the buttons stay in sight together: where the screen is too low for
// the form, its list gives way, and Ctrl+F's bar takes its room from the list too.
TEST_F(FrameTest, TheFrameStaysOnTheScreenWithTheTitlesAndButtonsInSight)
{
    Open({.ids = {1, 2, 3}});
    frame.show();
    const QSize whole = frame.size();
    auto& scroll = *frame.findChild<QScrollArea*>();
    // From top to bottom within what the scroll area shows, its left edge too.
    const auto inSight = [&](const QWidget* widget) {
        const QRect at(widget->mapTo(scroll.viewport(), QPoint(0, 0)), widget->size());
        return at.top() >= 0 && at.bottom() < scroll.viewport()->height() && at.left() >= 0 &&
               at.left() < scroll.viewport()->width();
    };
    const struct { QRect available; bool across; } screens[] = {
        {QRect(0, 0, 1920, 1160), false},
        {QRect(0, 0, 700, 1160), true},
        {QRect(0, 0, 1920, 500), false},
        {QRect(0, 30, 683, 354), true}, // 1366 × 768 at scale 2, a panel on top
    };
    for (const auto& screen : screens) {
        SCOPED_TRACE(testing::Message() << screen.available.width() << "x" << screen.available.height());
        view.HideFindBar();
        frame.FitToScreen(screen.available);
        QCoreApplication::processEvents();
        EXPECT_TRUE(screen.available.height() < 1000 || frame.size() == whole || screen.across);
        for (const bool finding : {false, true}) {
            if (finding) view.ShowFindBar();
            QCoreApplication::processEvents();
            EXPECT_LE(frame.frameGeometry().width(), screen.available.width());
            EXPECT_LE(frame.frameGeometry().height(), screen.available.height());
            EXPECT_EQ(scroll.horizontalScrollBar()->maximum() > 0, screen.across);
            EXPECT_EQ(scroll.verticalScrollBar()->maximum(), 0);
            scroll.horizontalScrollBar()->setValue(0);
            EXPECT_TRUE(inSight(view.List()->horizontalHeader()) && inSight(FindControl(view, ids::kCountBox)));
            EXPECT_TRUE(!finding || inSight(view.findChild<FindBar*>()));
        }
        QWidget& save = *FindControl(view, ids::kSave);
        scroll.ensureWidgetVisible(&save);
        EXPECT_TRUE(scroll.viewport()->rect().contains(QRect(save.mapTo(scroll.viewport(), QPoint(0, 0)), save.size())));
    }
}

// The program's boxes are owned and plain text: a message has OK alone and no icon; Return
// presses a question's default answer, Escape the one that cancels, both losing nothing.
TEST(RealDialogs, BoxesAreOwnedPlainTextAndReturnAndEscapeAnswerWhatLosesNothing)
{
    QWidget owner;
    QtPrompter prompter;
    const QString text = U("无法打开文件[/<font color=red size=7>SAVED OK/stditem.dat]");
    bool seen = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->parentWidget(), &owner);
        EXPECT_EQ(box->windowTitle(), U(str::kCaptionError));
        EXPECT_EQ(box->text(), text);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    prompter.ShowMessage(&owner, text, U(str::kCaptionError));
    EXPECT_TRUE(seen);

    const auto ask = [&](Qt::Key key, std::vector<Answer> buttons, Answer byDefault, Answer byEscape) {
        WhenModalOpens([&, key, count = buttons.size()](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->buttons().size(), static_cast<qsizetype>(count));
            QTest::keyClick(box, key);
        });
        return prompter.Ask(&owner, U("?"), U(str::kCaptionWarning), buttons, byDefault, byEscape);
    };
    const std::vector<Answer> saveOrNot{Answer::Save, Answer::Discard, Answer::Cancel};
    EXPECT_EQ(ask(Qt::Key_Return, saveOrNot, Answer::Save, Answer::Cancel), Answer::Save);
    EXPECT_EQ(ask(Qt::Key_Escape, saveOrNot, Answer::Save, Answer::Cancel), Answer::Cancel);
    EXPECT_EQ(ask(Qt::Key_Return, {Answer::Yes, Answer::No}, Answer::No, Answer::No), Answer::No);
    EXPECT_EQ(ask(Qt::Key_Escape, {Answer::Ok, Answer::StopShowing}, Answer::Ok, Answer::StopShowing),
              Answer::StopShowing);
    WhenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
    EXPECT_FALSE(prompter.AskYesNo(&owner, U("?"), U(str::kCaptionWarning)));
}

// After a refused commit's message is closed, the dialog is the active window again and its
// ID box has the keys: what is typed next changes the dialog's box, never the list's row.
TEST(RealDialogs, ARefusedCommitsMessageIsTheDialogsAndTheKeysStayWithIt)
{
    QTemporaryDir dir;
    QtPrompter prompter;
    EditorSettings().Clear();
    CMainFrame frame(prompter);
    frame.OpenPath(WriteSample(dir.filePath(QStringLiteral("stditem.dat")), {.ids = {1, 2, 3}}));
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    CChildView& view = *frame.View();
    view.List()->selectRow(0);
    view.OnModify();
    CRecordDlg& dialog = *view.findChild<CRecordDlg*>(); // the items' is made first
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto& idBox = *FindControl<QLineEdit>(dialog, kItemSchema.Column(kIdColumn).controlId);
    idBox.setText(QStringLiteral("2"));
    QWidget* owner = nullptr;
    WhenModalOpens([&](QWidget* modal) {
        owner = modal->parentWidget();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    FindControl<QPushButton>(dialog, dialog.Template().commitId)->click();
    EXPECT_EQ(owner, &dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ASSERT_EQ(QApplication::focusWidget(), &idBox);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("81"));
    EXPECT_TRUE(idBox.text().endsWith(QStringLiteral("81"))) << idBox.text().toStdString();
    EXPECT_EQ(view.List()->model()->index(0, kIdColumn).data().toString(), QStringLiteral("1"));
    EXPECT_TRUE(frame.statusBar()->findChild<QLabel*>(QStringLiteral("changes"))->isHidden()) << "nothing unsaved";
    dialog.hide();
}

TEST(RealDialogs, OpenDialogShowsTheFilterAsWrittenListsDataFilesAndStartsInTheLastFolder)
{
    QTemporaryDir dir;
    for (const char* name : {"a.dat", "b.txt", "c.csv"}) QFile(dir.filePath(U(name))).open(QIODevice::WriteOnly);
    QtPrompter prompter;
    FileChooser chooser(prompter);
    QStringList listed;
    // The first dialog starts in the current folder, whatever it holds; only the second one's
    // listing is looked at.
    const auto answer = [&](const QString& startFolder, const QString& typed) {
        WhenModalOpens([&, startFolder, typed](QWidget* modal) {
            auto& dialog = *qobject_cast<QFileDialog*>(modal);
            EXPECT_EQ(dialog.directory().absolutePath(), startFolder);
            EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
                      QStringLiteral("Data Files (*.txt;*.dat)"));
            auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
            const auto rows = [list] { return list->model()->rowCount(list->rootIndex()); };
            if (startFolder == dir.path()) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return rows() > 0; }, 2000));
            }
            listed.clear();
            for (int row = 0; row < rows(); ++row) listed << list->model()->index(row, 0, list->rootIndex()).data().toString();
            auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            nameBox->setText(typed);
            QTest::keyClick(nameBox, Qt::Key_Return);
        });
    };
    answer(QDir::currentPath(), dir.filePath(QStringLiteral("a.dat")));
    EXPECT_EQ(chooser.ChooseFileToOpen(nullptr), dir.filePath(QStringLiteral("a.dat")));
    answer(dir.path(), QStringLiteral("magic.dat")); // a name that does not exist is handed on
    EXPECT_EQ(chooser.ChooseFileToOpen(nullptr), dir.filePath(QStringLiteral("magic.dat")));
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("a.dat"), QStringLiteral("b.txt")}));
}

// The type chosen in a save dialog's list decides what a bare name becomes, as the user changes
// it, and is answered as chosen.
TEST(RealDialogs, TheChosenTypeGivesABareNameItsSuffix)
{
    QTemporaryDir dir;
    QtPrompter prompter;
    const std::vector<FileFilter> types{{U("CSV，UTF-8"), QStringLiteral("*.csv"), QStringLiteral("csv")},
                                        {U("CSV，GBK"), QStringLiteral("*.csv"), QStringLiteral("csv")},
                                        {U("Excel 工作簿"), QStringLiteral("*.xlsx"), QStringLiteral("xlsx")}};
    const struct {
        int downKeys; // in the list of types, from the first
        const char* file;
        int type;
    } cases[] = {{0, "stditem.csv", 0}, {2, "stditem.xlsx", 2}, {1, "stditem.csv", 1}};
    for (const auto& c : cases) {
        WhenModalOpens([&](QWidget* modal) {
            auto& dialog = *qobject_cast<QFileDialog*>(modal);
            auto* typeList = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; i < c.downKeys; ++i) QTest::keyClick(typeList, Qt::Key_Down);
            auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            nameBox->setText(QStringLiteral("stditem"));
            QTest::keyClick(nameBox, Qt::Key_Return);
        });
        const std::optional<ChosenFile> chosen =
            prompter.ChooseFileOfType(nullptr, FileDialogMode::Save, dir.path(), {}, types, 0);
        ASSERT_TRUE(chosen) << c.file;
        EXPECT_EQ(chosen->path, dir.filePath(U(c.file)));
        EXPECT_EQ(chosen->filter, c.type);
    }
}

// The folders the file dialogs visited are kept in the editor's settings and offered again;
// Qt's own settings file for them is never written.
TEST(RealDialogs, FileDialogsKeepTheirFoldersInTheEditorsSettingsAlone)
{
    struct Kept final : FileDialogHistory {
        QStringList folders;
        [[nodiscard]] QStringList DialogFolders() const override { return folders; }
        void SetDialogFolders(const QStringList& now) override { folders = now; }
    } kept;
    // Where Qt keeps them otherwise (the tests' own configuration folder).
    const QString qts = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/QtProject.conf");
    QFile::remove(qts);
    QTemporaryDir before;
    QTemporaryDir now;
    kept.folders = {QDir::toNativeSeparators(before.path())};
    QtPrompter prompter(&kept);
    QStringList offered;
    WhenModalOpens([&](QWidget* modal) {
        offered = qobject_cast<QFileDialog*>(modal)->history();
        qobject_cast<QFileDialog*>(modal)->reject();
    });
    EXPECT_FALSE(prompter.ChooseOpenFile(nullptr, now.path(), U("Data Files"), QStringLiteral("*.dat")));
    EXPECT_TRUE(offered.contains(QDir::toNativeSeparators(before.path()))) << offered.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(kept.folders, (QStringList{QDir::toNativeSeparators(before.path()), QDir::toNativeSeparators(now.path())}));
#ifndef _WIN32
    EXPECT_FALSE(QFile::exists(qts));
#endif
}

TEST(RealDialogs, AboutBoxComesFromTheMenuAndClosesWithOk)
{
    auto& app = *static_cast<CEditorApp*>(QApplication::instance());
    ASSERT_TRUE(app.InitInstance());
    CMainFrame& frame = *app.MainFrame();
    for (int run = 0; run < 2; ++run) {
        bool seen = false;
        WhenModalOpens([&](QWidget* modal) {
            auto* about = qobject_cast<CAboutDlg*>(modal);
            ASSERT_NE(about, nullptr);
            seen = true;
            auto* ok = FindControl<QPushButton>(*about, ids::kOk);
            EXPECT_TRUE(ok->isDefault());
            ok->click();
        });
        frame.CommandAction(ids::kCmdAppAbout)->trigger();
        EXPECT_TRUE(seen);
    }
    frame.CommandAction(ids::kCmdAppExit)->trigger();
    EXPECT_FALSE(frame.isVisible());
}

} // namespace
} // namespace rw::test

// What the editor remembers between runs (in the run's own settings folder, see main.cpp):
// the frame that may be resized and its size, each kind's columns, the files opened last; and
// the room a resizable frame gives the list.

#include "shell/RecentFilesMenu.h"
#include "tests/ui/UiTestSupport.h"
#include "view/FindBar.h"
#include "view/SortHeader.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <memory>

namespace rw::test {
namespace {

// One run of the editor after another, over one folder of data files.
class SettingsTest : public ::testing::Test {
protected:
    FakePrompter prompter;
    ForgottenSettings forgotten;
    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame = std::make_unique<CMainFrame>(prompter);

    // The run ends, and the next one starts.
    void Restart()
    {
        frame.reset();
        frame = std::make_unique<CMainFrame>(prompter);
    }
    CChildView& View() { return *frame->View(); }
    [[nodiscard]] FileKind KindShown() { return KindShownBy(*List().model()); }
    RecordList& List() { return *View().List(); }
    QString Write(const QString& name, const SampleFile& sample) { return WriteSample(dir.filePath(name), sample); }
    void Open(const QString& path)
    {
        prompter.fileAnswers.push_back(path);
        frame->OnFileOpen();
    }
    // The next run starts on settings written by hand.
    void RestartOn(const QString& ini)
    {
        frame.reset();
        const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Recwright"), QStringLiteral("Recwright"));
        ASSERT_FALSE(WriteBytes(settings.fileName(), ini.toUtf8()).isEmpty());
        frame = std::make_unique<CMainFrame>(prompter);
    }
    [[nodiscard]] QStringList RecentEntries()
    {
        frame->RecentFiles()->Fill();
        QStringList entries;
        for (const QAction* action : frame->RecentFiles()->actions()) entries.push_back(action->text());
        return entries;
    }
};

// A first start is the fixed frame. Resizable, the frame can grow and be maximized, and the
// list takes the room; the controls under it keep their places from the bottom. Back to fixed,
// it is the form's size again.
TEST_F(SettingsTest, AResizableFrameGivesTheListTheRoom)
{
    Open(Write(QStringLiteral("stditem.dat"), {.ids = {1, 2, 3}}));
    frame->show();
    EXPECT_FALSE(frame->Resizable());
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
    const QSize fixed = frame->size();
    const int listHeight = List().height();
    const int viewHeight = View().height();
    const int saveFromBottom = View().height() - FindControl(View(), ids::kSave)->y();
    for (const bool resizable : {true, false}) {
        frame->CommandAction(ids::kCmdResizable)->trigger();
        EXPECT_EQ(bool(frame->windowFlags() & Qt::WindowMaximizeButtonHint), resizable);
        if (resizable) frame->resize(fixed + QSize(600, 300));
        QCoreApplication::processEvents();
        EXPECT_EQ(frame->size(), fixed + (resizable ? QSize(600, 300) : QSize(0, 0)));
        EXPECT_EQ(List().width(), View().width());
        // Whatever room the frame gives the form (its own edges aside), the list takes.
        EXPECT_EQ(List().height() - listHeight, View().height() - viewHeight);
        EXPECT_EQ(View().height() > viewHeight, resizable);
        EXPECT_EQ(View().height() - FindControl(View(), ids::kSave)->y(), saveFromBottom);
    }
}

TEST_F(SettingsTest, TheFrameAndEachKindsColumnsAreRememberedBetweenRuns)
{
    const QString items = Write(QStringLiteral("stditem.dat"), {.ids = {1, 2}});
    const QString monsters = Write(QStringLiteral("monster.dat"), {.kind = FileKind::Monster, .ids = {0, 7}});
    const int price = ColumnTitled(FileKind::Item, "Price");
    const int stock = ColumnTitled(FileKind::Item, "Stock");
    const int hp = ColumnTitled(FileKind::Monster, "HP");
    frame->show();
    frame->SetResizable(true);
    frame->resize(1100, 700);
    QCoreApplication::processEvents();
    Open(items);
    List().setColumnWidth(price, 150);
    List().setColumnWidth(kNameColumn, 90);
    List().setColumnHidden(stock, true);
    View().SaveColumnLayout(); // as the header's menu does
    Open(monsters);            // the items' columns are kept as they go
    List().setColumnWidth(hp, 33);

    Restart();
    frame->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->Resizable());
    EXPECT_EQ(frame->size(), QSize(1100, 700));
    // Before any file, the item columns as they were left.
    EXPECT_EQ(List().columnWidth(price), 150);
    EXPECT_EQ(List().columnWidth(kNameColumn), 90);
    EXPECT_TRUE(List().isColumnHidden(stock));
    Open(monsters);
    EXPECT_EQ(List().columnWidth(hp), 33);
    EXPECT_FALSE(List().isColumnHidden(stock)) << "a monster column of the number the items' Stock has";
    Open(items);
    EXPECT_TRUE(List().isColumnHidden(stock));

    // Maximized is remembered too; back to the fixed frame, the next run is fixed again.
    frame->setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    EXPECT_TRUE(EditorSettings().Maximized());
    Restart();
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    frame->SetResizable(false);
    Restart();
    EXPECT_FALSE(frame->Resizable());
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
}

// The header's context menu hides and shows columns, never the ID or the name, and stays open
// while it does, by the mouse and by the keys; 显示全部列 shows every one again and closes it.
// What it leaves is what the next run shows, also through the find bar's filter.
TEST_F(SettingsTest, TheHeadersMenuHidesAndShowsColumnsAndStaysOpenWhileItDoes)
{
    Open(Write(QStringLiteral("stditem.dat"), {.ids = {1, 2}}));
    frame->show();
    bool stayedOpen = false; // nor shown
    auto* poll = new QTimer(frame.get());
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        poll->stop();
        const QList<QAction*> entries = menu->actions();
        EXPECT_EQ(entries.size(), 31 + 2); // the columns, a separator, 显示全部列
        EXPECT_FALSE(entries[kIdColumn]->isEnabled() || entries[kNameColumn]->isEnabled());
        stayedOpen = true;
        for (const int column : {2, 3}) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entries[column]).center());
            stayedOpen = stayedOpen && menu->isVisible();
        }
        menu->setActiveAction(entries[4]);
        QTest::keyClick(menu, Qt::Key_Space);
        stayedOpen = stayedOpen && menu->isVisible();
        EXPECT_TRUE(List().isColumnHidden(2) && List().isColumnHidden(3) && List().isColumnHidden(4));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entries.back()).center());
    });
    poll->start(10);
    emit List().Header()->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(stayedOpen);
    for (const int column : {2, 3, 4}) EXPECT_FALSE(List().isColumnHidden(column)) << column;

    QMenu menu;
    List().FillColumnMenu(menu);
    menu.actions()[2]->toggle();
    View().ShowFindBar();
    View().findChild<FindBar*>()->SetOnlyMatching(true);
    EXPECT_TRUE(List().isColumnHidden(2));
    View().HideFindBar();
    EXPECT_TRUE(List().isColumnHidden(2));
    Restart();
    QMenu again;
    List().FillColumnMenu(again);
    ASSERT_FALSE(again.actions()[2]->isChecked());
    again.actions()[2]->toggle();
    EXPECT_FALSE(List().isColumnHidden(2));
    EXPECT_GT(List().columnWidth(2), 0) << "shown again with a width";
}

// The columns beside the frozen ID and name scroll by whole columns, whatever moves them: no
// column is ever shown cut under the frozen ones. After 适合列宽 the first of them stands
// beside the frozen ones again.
TEST_F(SettingsTest, TheColumnsScrollByWholeColumns)
{
    Open(Write(QStringLiteral("stditem.dat"), {.ids = {1, 2, 3}}));
    frame->show();
    QScrollBar& bar = *List().horizontalScrollBar();
    ASSERT_GT(bar.maximum(), 0);
    const auto firstBeside = [&] {
        const int frozen = List().columnWidth(kIdColumn) + List().columnWidth(kNameColumn);
        int first = -1;
        for (int column = kNameColumn + 1; column < List().model()->columnCount(); ++column) {
            const QRect cell = List().visualRect(List().model()->index(0, column));
            // Wholly beside the frozen columns, or wholly behind or before them.
            EXPECT_TRUE(cell.left() >= frozen || cell.right() < frozen) << column << " at " << cell.left() << " of " << bar.value();
            if (first < 0 && cell.left() >= frozen) first = column;
        }
        return first;
    };
    const std::pair<std::function<void()>, int> moves[] = {
        {[&] { bar.triggerAction(QAbstractSlider::SliderSingleStepAdd); }, 3},
        {[&] { bar.triggerAction(QAbstractSlider::SliderSingleStepAdd); }, 4},
        {[&] { bar.triggerAction(QAbstractSlider::SliderSingleStepSub); }, 3},
        {[&] { bar.triggerAction(QAbstractSlider::SliderPageStepAdd); }, -1},
        {[&] { bar.setValue(37); }, -1},
        {[&] { bar.triggerAction(QAbstractSlider::SliderToMaximum); }, -1},
        {[&] { List().setColumnWidth(ColumnTitled(FileKind::Item, "Stock"), 113); }, -1},
        {[&] { List().scrollTo(List().model()->index(0, ColumnTitled(FileKind::Item, "Weight"))); },
         ColumnTitled(FileKind::Item, "Weight")},
        {[&] { List().scrollTo(List().model()->index(0, ColumnTitled(FileKind::Item, "Price"))); }, -1},
        {[&] { frame->CommandAction(ids::kCmdFitColumns)->trigger(); }, kNameColumn + 1},
    };
    EXPECT_EQ(firstBeside(), kNameColumn + 1);
    for (const auto& [move, first] : moves) {
        move();
        const int now = firstBeside();
        if (first >= 0) {
            EXPECT_EQ(now, first) << "at " << bar.value();
        }
    }
}

// 适合列宽: every column as wide as its widest value or its title, a number never cut short.
TEST_F(SettingsTest, FitColumnsShowsEveryValueWhole)
{
    // Row 1 as wide as a row gets.
    std::vector<Record> records(3, Record(FileKind::Item));
    for (std::int32_t id = 0; id < 3; ++id) records[id].SetId(id + 1);
    records[1].SetValue(ColumnTitled(FileKind::Item, "Price"), INT32_MIN);
    records[1].SetValue(ColumnTitled(FileKind::Item, "Stock"), INT32_MAX);
    ASSERT_TRUE(records[1].SetName("A name of thirty bytes, nearly"));
    Open(WriteRecords(dir.filePath(QStringLiteral("stditem.dat")), FileKind::Item, records, KeySet{}.For(FileKind::Item)));
    frame->show();
    frame->CommandAction(ids::kCmdFitColumns)->trigger();
    const QFontMetrics metrics = List().fontMetrics();
    for (const char* title : {"Price", "Stock", "ItemName"}) {
        SCOPED_TRACE(title);
        const int column = ColumnTitled(FileKind::Item, title);
        const QString text = List().model()->index(1, column).data().toString();
        EXPECT_GE(List().columnWidth(column), metrics.horizontalAdvance(text) + 8);
        // Shown as it is, not cut.
        const QRect cell = List().visualRect(List().model()->index(1, column));
        EXPECT_EQ(metrics.elidedText(text, Qt::ElideRight, cell.width() - 6), text);
    }
    // A column of small numbers needs no more than its title.
    const int shape = ColumnTitled(FileKind::Item, "Shape");
    EXPECT_LE(List().columnWidth(shape), View().List()->Header()->FittingWidth(shape) + 1);

    const ColumnLayout fitted = List().Layout();
    Restart();
    EXPECT_EQ(List().Layout().widths, fitted.widths);
}

// 最近打开的文件: the last eight, each with the kind it was opened as, which opening it again
// takes without asking; one no longer there goes from the list once it fails to open.
TEST_F(SettingsTest, RecentFilesOpenAgainAsTheKindTheyWereOpenedAs)
{
    const QString items = Write(QStringLiteral("stditem.dat"), {.ids = {1, 2}});
    const QString copy = Write(QStringLiteral("monsters 2.dat"), {.kind = FileKind::Monster, .ids = {0, 4, 5}});
    Open(items);
    prompter.items = {2};
    frame->OpenPath(copy);
    ASSERT_EQ(KindShown(), FileKind::Monster);
    EXPECT_EQ(RecentEntries(), (QStringList{U("&1 %1（怪物）").arg(QDir::toNativeSeparators(copy)),
                                            U("&2 %1（物品）").arg(QDir::toNativeSeparators(items))}));

    Restart();
    ASSERT_EQ(RecentEntries().size(), 2);
    frame->RecentFiles()->actions()[0]->trigger();
    EXPECT_EQ(KindShown(), FileKind::Monster);
    EXPECT_EQ(List().model()->rowCount(), 3);
    EXPECT_EQ(prompter.itemsAsked.size(), 1u) << "asked the first time only";
    EXPECT_EQ(RecentEntries().size(), 2) << "each listed once";

    for (int i = 0; i < 9; ++i) {
        const QString folder = dir.filePath(QStringLiteral("f%1").arg(i));
        QDir().mkpath(folder);
        Open(WriteSample(folder + QStringLiteral("/stditem.dat"), {.ids = {i}}));
    }
    const QStringList eight = RecentEntries();
    ASSERT_EQ(eight.size(), 8);
    EXPECT_TRUE(eight[0].startsWith(U("&1 ") + QDir::toNativeSeparators(dir.filePath(QStringLiteral("f8")))));
    // Opened again from the list, a file goes first, once: the list still names eight files.
    frame->RecentFiles()->actions()[2]->trigger();
    const QStringList again = RecentEntries();
    ASSERT_EQ(again.size(), 8);
    EXPECT_EQ(again[0].mid(3), eight[2].mid(3));
    EXPECT_EQ(again[7].mid(3), eight[7].mid(3));

    QFile::remove(dir.filePath(QStringLiteral("f3/stditem.dat")));
    prompter.messages.clear();
    frame->RecentFiles()->actions()[5]->trigger();
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(RecentEntries().size(), 7);
}

// A recent file opened as a kind it no longer fits (a table of another kind put in its place)
// loads only after the warning 按类型打开 gives, whose default loads nothing.
TEST_F(SettingsTest, ARecentFileThatNoLongerFitsItsKindLoadsOnlyAfterTheKindWarning)
{
    const QString copy = Write(QStringLiteral("monsters 2.dat"), {.kind = FileKind::Monster, .ids = {0, 4, 5}});
    prompter.items = {2};
    frame->OpenPath(copy);
    ASSERT_EQ(KindShown(), FileKind::Monster);
    Write(QStringLiteral("monsters 2.dat"), {.ids = {1, 2}});
    Open(Write(QStringLiteral("stditem.dat"), {.ids = {7}}));
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        prompter.answers = {answer};
        prompter.Forget();
        ASSERT_EQ(RecentEntries().size(), 2);
        frame->RecentFiles()->actions()[1]->trigger();
        ASSERT_EQ(prompter.questions.size(), 1u);
        // The warning's words are those of the kind question's (FrameTest.AFileOfNoNamedKind...).
        EXPECT_TRUE(prompter.questions[0].text.startsWith(U("文件[monsters 2.dat]的大小与怪物（monster.dat）的记录不符")));
        EXPECT_EQ(prompter.buttonsAsked[0].defaultAnswer, Answer::No);
        EXPECT_TRUE(frame->windowTitle().endsWith(answer == Answer::No ? U("[stditem.dat]") : U("[monsters 2.dat]")));
    }
    EXPECT_EQ(KindShown(), FileKind::Monster);
}

// A recent list whose size says two billion, by hand or damage, is read as far as it has
// entries: at once, whenever a file is opened or the menu shown. Entries without a path or a
// kind, and paths listed already, are passed over and not counted among the eight.
TEST_F(SettingsTest, TheRecentListIsReadAsFarAsItHasEntriesWhateverItsSizeSays)
{
    QStringList paths;
    for (int i = 0; i < 10; ++i) paths.push_back(Write(QStringLiteral("t%1.dat").arg(i), {.ids = {i}}));
    const auto entry = [](int n, const QString& path, const char* kind) {
        return QStringLiteral("%1\\path=%2\n%1\\kind=%3\n").arg(n).arg(path, QLatin1String(kind));
    };
    const auto shown = [](int n, const QString& path) { return U("&%1 %2（物品）").arg(n).arg(QDir::toNativeSeparators(path)); };
    QString more; // the other nine
    QStringList eight;
    for (int i = 1; i < 10; ++i) more += entry(3 + i, paths[i], "stditem.dat");
    for (int i = 0; i < 8; ++i) eight << shown(i + 1, paths[i]);
    struct Case { QString entries; QStringList listed; };
    const Case cases[] = {
        {entry(1, paths[0], "stditem.dat") + entry(2, QString(), "stditem.dat") + entry(3, paths[1], "stditem"),
         {shown(1, paths[0])}},
        {entry(1, paths[0], "stditem.dat") + entry(2, paths[0], "stditem.dat") + entry(3, QString(), "magic.dat") + more, eight},
    };
    for (const Case& c : cases) {
        RestartOn(QStringLiteral("[recent]\nsize=2147483647\n") + c.entries);
        EXPECT_EQ(RecentEntries(), c.listed);
        Open(Write(QStringLiteral("stditem.dat"), {.ids = {1}}));
        const QStringList after = RecentEntries();
        ASSERT_EQ(after.size(), std::min<qsizetype>(c.listed.size() + 1, 8));
        EXPECT_EQ(after[1], QString(c.listed[0]).replace(QStringLiteral("&1"), QStringLiteral("&2")));
    }
}

} // namespace
} // namespace rw::test

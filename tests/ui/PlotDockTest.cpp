// 查看 ▸ 图表: what the dock plots (the rows and values behind each bar and point, under a filter,
// after an edit, its undo and another file), the one selection of plot and list, what each kind
// keeps, and the picture written out.

#include "exchange/TransferFormat.h"
#include "plot/PlotChart.h"
#include "plot/PlotChartView.h"
#include "plot/PlotDock.h"
#include "plot/PlotImage.h"
#include "resources/Strings.h"
#include "tests/Platforms.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/Texts.h"
#include "view/FindBar.h"
#include "view/RecordFinder.h"

#include <QComboBox>
#include <QDockWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace rw::test {
namespace {

using IdList = std::vector<std::int32_t>;

const int kStdmode = ColumnTitled(FileKind::Item, "Stdmode");
const int kWeight = ColumnTitled(FileKind::Item, "Weight");
const int kNeedLevel = ColumnTitled(FileKind::Item, "NeedLevel");
const int kPrice = ColumnTitled(FileKind::Item, "Price");

struct Item {
    std::int32_t id, stdmode, needLevel, price;
};
// Potions, weapons, armour, rings and one dear ring.
const std::vector<Item> kItems{
    {1, 1, 1, 10}, {2, 1, 5, 20}, {3, 2, 5, 15}, {4, 10, 10, 100},
    {5, 10, 20, 250}, {6, 10, 20, 260}, {7, 20, 30, 400}, {8, 30, 40, 5000},
};

// The items above as stditem.dat.
QString WriteItems(const QString& path, const std::vector<Item>& items)
{
    std::vector<Record> records;
    for (const Item& item : items) {
        Record& record = records.emplace_back(FileKind::Item);
        record.SetId(item.id);
        (void)record.SetName("N" + std::to_string(item.id));
        record.SetValue(kStdmode, item.stdmode);
        record.SetValue(kNeedLevel, item.needLevel);
        record.SetValue(kPrice, item.price);
    }
    return WriteRecords(path, FileKind::Item, records, KeySet{}.For(FileKind::Item));
}

class PlotDockTest : public FrameFixture {
protected:
    void SetUp() override
    {
        OpenPath(WriteItems(dir.filePath(QStringLiteral("stditem.dat")), kItems));
        ShowActive();
    }
    void OpenDock()
    {
        frame.CommandAction(ids::kCmdPlot)->trigger();
        ASSERT_NE(frame.Plot(), nullptr);
        Settle();
    }
    PlotDock& Dock() { return *frame.Plot(); }
    // The changes of the moment done and drawn, the dock laid out as the window shows it.
    void Settle()
    {
        QCoreApplication::processEvents();
        if (frame.Plot()) frame.Plot()->RedrawNow();
    }
    // The IDs of the rows at positions of the plot's sample.
    IdList IdsAt(const std::vector<std::size_t>& positions)
    {
        IdList ids;
        for (const std::size_t position : positions) ids.push_back(IdAt(view.Finder()->ListRow(Dock().Sample().rows[position])));
        return ids;
    }
    void Scatter(int x, int y)
    {
        Dock().SetScatter(true);
        Dock().SetXColumn(x);
        Dock().SetYColumn(y);
        Settle();
    }
    void Filter(const char* query)
    {
        view.ShowFindBar();
        view.findChild<FindBar*>()->findChild<QLineEdit*>()->setText(U(query));
        view.Finder()->ApplyQuery();
        view.findChild<FindBar*>()->SetOnlyMatching(true);
        Settle();
    }
    void ClickAt(QPointF value)
    {
        QTest::mouseClick(Dock().View()->viewport(), Qt::LeftButton, {}, Dock().View()->PlaceOf(value));
        Settle();
    }
    void DragBetween(QPointF from, QPointF to)
    {
        QWidget* viewport = Dock().View()->viewport();
        const QPoint start = Dock().View()->PlaceOf(from);
        const QPoint end = Dock().View()->PlaceOf(to);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, (start + end) / 2);
        QTest::mouseMove(viewport, end);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
        Settle();
    }
};

// Opening it makes the frame resizable, says so, and puts the histogram of the first field
// (no cell being current) beside the list; a bar is the rows whose values lie in its range (which
// rows, the histogram's test), and the chart's bars hold those counts.
TEST_F(PlotDockTest, TheDockOpensBesideTheListWithAHistogramAndClosedHoldsNothing)
{
    EXPECT_FALSE(frame.Resizable());
    OpenDock();
    EXPECT_TRUE(frame.Resizable());
    EXPECT_EQ(MessageLine(), U(str::kPlotMadeResizable));
    EXPECT_TRUE(Dock().isVisible());
    EXPECT_EQ(frame.dockWidgetArea(&Dock()), Qt::RightDockWidgetArea);
    EXPECT_TRUE(frame.CommandAction(ids::kCmdPlot)->isChecked());
    EXPECT_FALSE(Dock().Scatter());
    EXPECT_EQ(Dock().YColumn(), kStdmode);
    EXPECT_EQ(Dock().Sample().Size(), kItems.size());
    const int bar = Dock().Bins().BinOf(10);
    EXPECT_EQ(IdsAt(Dock().Bins().Members(Dock().Sample().y, bar, bar)), (IdList{4, 5, 6}));
    std::vector<std::pair<qreal, qreal>> counts; // of each bar, none of them selected
    for (const HistogramBin& bin : Dock().Bins().Bins()) counts.emplace_back(static_cast<qreal>(bin.count), 0);
    EXPECT_EQ(Dock().Chart().BarParts(), counts);
    // The tip of a bar names its range and rows.
    EXPECT_TRUE(Dock().TipAt(QPointF(bar, 1)).endsWith(U("3 条记录")));
    EXPECT_TRUE(Dock().TipAt(QPointF(bar, 3.5)).isEmpty());

    // Closed, it holds nothing and draws nothing whatever changes; the menu's check follows its
    // own close button.
    Dock().close();
    EXPECT_FALSE(frame.CommandAction(ids::kCmdPlot)->isChecked());
    EXPECT_FALSE(Dock().IsOpen());
    EditCell(RowOfId(1), kStdmode, QStringLiteral("3"));
    Settle();
    EXPECT_EQ(Dock().Sample().Size(), 0u);
    EXPECT_EQ(Dock().Chart().BarParts().size(), 0u);
    frame.CommandAction(ids::kCmdPlot)->trigger();
    Settle();
    EXPECT_TRUE(Dock().isVisible());
    EXPECT_EQ(Dock().Sample().y[static_cast<std::size_t>(RowOfId(1))], 3);
}

// The rows plotted are those the list shows, and follow every change at once: the find bar's
// filter, an edit that takes a row out of it, its undo, and another file, whose own columns
// and rows are plotted before anything else happens.
TEST_F(PlotDockTest, WhatIsPlottedFollowsTheFilterEditsUndoAndAnotherFile)
{
    OpenDock();
    Scatter(kNeedLevel, kPrice);
    Filter("Price>=100");
    EXPECT_EQ(IdsAt({0, 1, 2, 3, 4}), (IdList{4, 5, 6, 7, 8}));
    EXPECT_EQ(Dock().Sample().x, (IdList{10, 20, 20, 30, 40}));
    EXPECT_EQ(Dock().Sample().y, (IdList{100, 250, 260, 400, 5000}));
    EXPECT_EQ(Dock().Chart().PointsDrawn(), Dock().Grid().Points().size());

    EditCell(RowOfId(4), kPrice, QStringLiteral("50"));
    Settle();
    EXPECT_EQ(Dock().Sample().y, (IdList{250, 260, 400, 5000}));
    Undo();
    Settle();
    EXPECT_EQ(Dock().Sample().y, (IdList{100, 250, 260, 400, 5000}));
    EditCell(RowOfId(8), kNeedLevel, QStringLiteral("35"));
    Settle();
    EXPECT_EQ(Dock().Sample().x, (IdList{10, 20, 20, 30, 35}));
    Scatter(kNeedLevel, kPrice); // up the edited column, the current cell's, as the plot follows it
    // An import over the table: the table exported, a price changed in the CSV, imported.
    const QString csv = dir.filePath(QStringLiteral("items.csv"));
    prompter.fileAnswers.push_back(csv);
    prompter.typeAnswers.push_back(static_cast<int>(TransferFormat::CsvUtf8));
    frame.CommandAction(ids::kCmdFileExport)->trigger();
    QFile file(csv);
    const QByteArray text = Bytes(csv).replace(",5000,", ",6000,");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size());
    file.close();
    prompter.answers.push_back(Answer::Discard);
    prompter.fileAnswers.push_back(csv);
    frame.CommandAction(ids::kCmdFileImport)->trigger();
    Settle();
    EXPECT_EQ(Dock().Sample().y, (IdList{100, 250, 260, 400, 6000}));

    // Another file, of another kind: drawn at once, its level column across.
    prompter.answers.push_back(Answer::Discard);
    Open({.kind = FileKind::Monster, .ids = {0, 5, 6}});
    EXPECT_EQ(Dock().Sample().Size(), 3u);
    EXPECT_EQ(Dock().XColumn(), ColumnTitled(FileKind::Monster, "Level"));
    const auto* yBox = FindControl<QComboBox>(Dock(), ids::kPlotYBox);
    EXPECT_EQ(yBox->count(), SchemaOf(FileKind::Monster).ColumnCount() - 1);
    EXPECT_EQ(Dock().Sample().y, (IdList{0, 0, 0}));
}

// A bar, a point or a rectangle picked in the plot selects exactly its rows in the list, the
// first of them current and in view, also under a filter.
TEST_F(PlotDockTest, APickInThePlotSelectsItsRowsInTheList)
{
    OpenDock();
    const int bar = Dock().Bins().BinOf(10);
    ClickAt(QPointF(bar, 1.5));
    EXPECT_EQ(SelectedIds(), (IdList{4, 5, 6}));
    EXPECT_EQ(view.List()->currentIndex().row(), RowOfId(4));
    EXPECT_EQ(view.List()->currentIndex().column(), kStdmode);

    Scatter(kNeedLevel, kPrice);
    ClickAt(QPointF(30, 400));
    EXPECT_EQ(SelectedIds(), (IdList{7}));
    DragBetween(QPointF(0, -100), QPointF(12, 120));
    EXPECT_EQ(SelectedIds(), (IdList{1, 2, 3, 4}));
    // A click beside every point leaves the selection as it is.
    ClickAt(QPointF(35, 2500));
    EXPECT_EQ(SelectedIds(), (IdList{1, 2, 3, 4}));

    Filter("Price>=100");
    view.List()->scrollToTop();
    ClickAt(QPointF(40, 5000));
    EXPECT_EQ(SelectedIds(), (IdList{8}));
    const QModelIndex current = view.List()->currentIndex();
    EXPECT_EQ(IdAt(current.row()), 8);
    EXPECT_TRUE(view.List()->viewport()->rect().intersects(view.List()->visualRect(current)));
}

// Items 1, 2, 1, 2, … (Stdmode), one more run of 1s than a selection holds in place, and four
// of Stdmode 10 at the end.
class LargePickTest : public PlotDockTest {
protected:
    static constexpr int kScattered = static_cast<int>(PlotDock::kMostRunsInPlace) + 1;
    static constexpr int kRows = 2 * kScattered + 4;
    void SetUp() override
    {
        std::vector<Item> items;
        for (int i = 0; i < kRows; ++i) items.push_back({i + 1, i >= 2 * kScattered ? 10 : 1 + i % 2, i % 50, i});
        OpenPath(WriteItems(dir.filePath(QStringLiteral("stditem.dat")), items));
        ShowActive();
        OpenDock();
    }
    void ClickBar(std::int32_t value) { ClickAt(QPointF(Dock().Bins().BinOf(value), 1.5)); }
    QPushButton& ShowAll() { return *FindControl<QPushButton>(Dock(), ids::kPlotShowAll); }
    // The 1s picked: shown alone, every one selected as one run, the first current; the plot
    // goes on showing every row it showed, the picked ones marked.
    void PickScattered(int plotted)
    {
        ClickBar(1);
        ASSERT_TRUE(view.Finder()->ShowingPick());
        EXPECT_EQ(RowCount(), kScattered);
        EXPECT_EQ(IdAt(kScattered - 1), 2 * kScattered - 1);
        const QItemSelection selection = view.List()->selectionModel()->selection();
        ASSERT_EQ(selection.size(), 1);
        EXPECT_EQ(selection[0].top(), 0);
        EXPECT_EQ(selection[0].bottom(), kScattered - 1);
        EXPECT_EQ(view.List()->currentIndex().row(), 0);
        EXPECT_FALSE(ShowAll().isHidden());
        EXPECT_EQ(MessageLine(), Text(str::kPlotPickShownAloneFormat, Grouped(kScattered)));
        EXPECT_EQ(Dock().Sample().Size(), static_cast<std::size_t>(plotted));
        EXPECT_EQ(Dock().Summary(), Text(str::kPlotHistogramSummaryFormat, Grouped(plotted), Dock().Bins().Width(),
                                         Dock().Bins().Bins().size()) +
                                        Text(str::kPlotSelectedSummaryFormat, Grouped(kScattered)));
    }
};

// A pick of more runs than a selection holds in place shows its rows alone; every way back shows
// the rows the plot shows again, the current row where it was; the next pick, a small one, is
// selected in place, nothing hidden.
TEST_F(LargePickTest, AScatteredPickIsShownAloneUntilEachWayBack)
{
    const int beside = Dock().Bins().BinOf(10);
    // How many rows shown after, and the current row's ID (0: not asked).
    struct Case { const char* way; std::function<void()> act; int shown; std::int32_t current; };
    const std::vector<Case> cases{
        {"the next pick", [&] { ClickBar(10); EXPECT_EQ(SelectedIds(), (IdList{kRows - 3, kRows - 2, kRows - 1, kRows})); },
         kRows, kRows - 3},
        {"a click beside every bar", [&] { ClickAt(QPointF(beside, kScattered / 2)); }, kRows, 5},
        {"显示全部记录", [&] { ShowAll().click(); }, kRows, 5}, {"只显示修改过的记录", [&] { view.Finder()->OnlyChanged()->trigger(); }, 0, 0},
        {"another file", [&] { OpenPath(dir.filePath(QStringLiteral("stditem.dat"))); }, kRows, 0},
        {"the dock closed", [&] { Dock().close(); }, kRows, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        if (!Dock().IsOpen()) OpenDock();
        view.Finder()->StopFiltering();
        Settle();
        PickScattered(kRows);
        view.List()->setCurrentIndex(Model().index(2, kStdmode));
        c.act();
        Settle();
        EXPECT_FALSE(view.Finder()->ShowingPick());
        EXPECT_EQ(RowCount(), c.shown);
        EXPECT_TRUE(ShowAll().isHidden());
        if (c.current != 0) {
            EXPECT_EQ(IdAt(view.List()->currentIndex().row()), c.current);
        }
    }
}

// Under the find bar's filter the pick is of the rows it shows, and the list shows those of
// them it lets through; the filter turned off ends the pick too.
TEST_F(LargePickTest, APickUnderTheFindBarsFilter)
{
    Filter("Stdmode<10");
    PickScattered(2 * kScattered);
    view.findChild<FindBar*>()->SetOnlyMatching(false);
    Settle();
    EXPECT_FALSE(view.Finder()->ShowingPick());
    EXPECT_EQ(RowCount(), kRows);
    EXPECT_EQ(Dock().Sample().Size(), static_cast<std::size_t>(kRows));
}

// Rows selected in the list are marked: the selected part of each bar, the points standing
// for them; the column plotted up follows the list's current cell into another field.
TEST_F(PlotDockTest, RowsSelectedInTheListAreMarkedInThePlot)
{
    OpenDock();
    Select({RowOfId(4), RowOfId(5), RowOfId(1)});
    Settle();
    const auto parts = Dock().Chart().BarParts();
    EXPECT_EQ(parts[static_cast<std::size_t>(Dock().Bins().BinOf(10))], std::make_pair(qreal(1), qreal(2)));
    EXPECT_TRUE(Dock().Summary().endsWith(U("；列表中已选 3 条")));

    Scatter(kNeedLevel, kPrice);
    EXPECT_EQ(Dock().Chart().MarkedPointsDrawn(), 3u);
    Select({RowOfId(8)});
    Settle();
    EXPECT_EQ(Dock().Chart().MarkedPointsDrawn(), 1u);

    view.List()->setCurrentIndex(Model().index(0, kWeight));
    Settle();
    EXPECT_EQ(Dock().YColumn(), kWeight);
    // Not the ID's column, nor the name's: they are where a row is picked.
    view.List()->setCurrentIndex(Model().index(0, kIdColumn));
    view.List()->setCurrentIndex(Model().index(0, kNameColumn));
    EXPECT_EQ(Dock().YColumn(), kWeight);
}

// 导出图片: a PNG, or SVG where the build writes it; a file that cannot be written says why.
TEST_F(PlotDockTest, ThePictureIsWrittenOrTheReasonSaid)
{
    OpenDock();
    const QString png = dir.filePath(QStringLiteral("plot.png"));
    prompter.fileAnswers.push_back(png);
    Dock().ExportImage();
    EXPECT_TRUE(Bytes(png).startsWith("\x89PNG\r\n"));
    EXPECT_EQ(MessageLine(), Text(str::kPlotExportedFormat, QStringLiteral("plot.png")));
    EXPECT_EQ(prompter.savesAsked.size(), 0u);
    ASSERT_EQ(prompter.typesOffered.size(), 1u);
    EXPECT_EQ(prompter.typesOffered[0].size(), CanWriteImage(ImageFormat::Svg) ? 2u : 1u);
    if (CanWriteImage(ImageFormat::Svg)) {
        const QString svg = dir.filePath(QStringLiteral("plot.svg"));
        prompter.fileAnswers.push_back(svg);
        Dock().ExportImage();
        EXPECT_TRUE(Bytes(svg).contains("<svg"));
    }

    struct Case { const char* what; QString path; const char* reason; };
    std::vector<Case> cases{{"no such folder", dir.filePath(QStringLiteral("gone/plot.png")), str::kReasonNoFolder}};
#ifndef _WIN32 // a full disk: Linux's /dev/full
    cases.push_back({"disk full", QStringLiteral("/dev/full"), str::kReasonDiskFull});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.messages.clear();
        prompter.fileAnswers.push_back(c.path);
        Dock().ExportImage();
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].caption, U(str::kCaptionError));
        EXPECT_TRUE(prompter.messages[0].text.contains(U(c.reason))) << prompter.messages[0].text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("gone"))));
}

TEST(PlotDockSettings, EachKindKeepsItsPlaceTypeAndColumns)
{
    FakePrompter prompter;
    ForgottenSettings forgotten;
    QTemporaryDir dir;
    const QString items = WriteItems(dir.filePath(QStringLiteral("stditem.dat")), kItems);
    const QString monsters = WriteSample(dir.filePath(QStringLiteral("monster.dat")), {.kind = FileKind::Monster, .ids = {0, 1}});
    auto frame = std::make_unique<CMainFrame>(prompter);
    // Opens the file, and the dock if it is not open: the dock.
    const auto open = [&](const QString& path) {
        prompter.fileAnswers.push_back(path);
        frame->OnFileOpen();
        frame->show();
        if (!frame->Plot() || !frame->Plot()->IsOpen()) frame->CommandAction(ids::kCmdPlot)->trigger();
        QCoreApplication::processEvents();
        return frame->Plot();
    };
    PlotDock* dock = open(items);
    dock->SetScatter(true);
    dock->SetXColumn(kPrice);
    dock->SetYColumn(kWeight);
    frame->addDockWidget(Qt::LeftDockWidgetArea, dock);
    QCoreApplication::processEvents();

    frame = std::make_unique<CMainFrame>(prompter);
    dock = open(items);
    const auto kept = [&] { return std::make_tuple(dock->Scatter(), dock->XColumn(), dock->YColumn(), frame->dockWidgetArea(dock)); };
    EXPECT_EQ(kept(), std::make_tuple(true, kPrice, kWeight, Qt::LeftDockWidgetArea));
    // Monsters have nothing remembered yet: a histogram of Level at the right.
    open(monsters);
    EXPECT_EQ(kept(), std::make_tuple(false, ColumnTitled(FileKind::Monster, "Level"), dock->YColumn(), Qt::RightDockWidgetArea));
    open(items);
    EXPECT_EQ(kept(), std::make_tuple(true, kPrice, kWeight, Qt::LeftDockWidgetArea));
}

} // namespace
} // namespace rw::test

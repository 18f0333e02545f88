// The plot dock at a million item records: the arithmetic without a window (the rows' values
// taken from the table, the histogram's bins, the points a scatter plot draws, the rows in a
// rectangle), and the dock itself in the editor's main frame on the offscreen platform, from a
// change to the chart painted, and from a dragged rectangle to the list painted with its rows
// selected (in place, or shown alone), with what a paint of the list costs for a selection of so
// many separate runs, which decides between the two. Each figure stands beside a plain pass that reads one column of every row, measured
// in the same run.

#include "bench/data/BenchRecords.h"
#include "data/DataFile.h"
#include "data/KeySet.h"
#include "plot/Histogram.h"
#include "plot/PlotChartView.h"
#include "plot/PlotDock.h"
#include "plot/PlotSample.h"
#include "plot/PointGrid.h"
#include "plot/ValueRectangle.h"
#include "resources/Ids.h"
#include "shell/CEditorApp.h"
#include "shell/CMainFrame.h"
#include "table/TableFile.h"
#include "ui/QtPrompter.h"
#include "view/CChildView.h"
#include "view/FindBar.h"
#include "view/RecordFinder.h"
#include "view/RecordList.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <numeric>
#include <optional>

namespace rw {
namespace {

constexpr std::size_t kMillion = 1'000'000;
const int kNeedLevel = 28;
const int kPrice = 29;
const int kWeight = 4;

// The editor's main frame, 1600 × 1000, holding a million item records, its plot dock open.
struct Window {
    QtPrompter prompter;
    std::unique_ptr<CMainFrame> frame;
    PlotDock* dock = nullptr;
    // The same file as the frame holds it (in file order, nothing sorted), for the arithmetic.
    std::optional<RecordTable> table;

    Window()
    {
        const auto path = bench::ScratchPath("stditem.dat");
        const std::vector<std::uint8_t> records = bench::MakeItemRecords(kMillion);
        (void)EncodeFile(path, FileKind::Item, KeySet{}.For(FileKind::Item), kMillion,
                         [&](std::size_t i, std::span<std::uint8_t> out) {
                             std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * out.size()), out.size(), out.begin());
                         });
        table = LoadDataFileOfKind(path, FileKind::Item, KeySet{}).table;
        frame = std::make_unique<CMainFrame>(prompter);
        frame->OpenPath(QString::fromStdString(path.string()));
        frame->show();
        frame->CommandAction(ids::kCmdPlot)->trigger();
        frame->resize(1600, 1000);
        dock = frame->Plot();
        Settle();
    }
    void Settle()
    {
        QCoreApplication::processEvents();
        dock->RedrawNow();
    }
    // The scatter plot of Price against NeedLevel, drawn.
    void ShowPriceByLevel()
    {
        dock->SetScatter(true);
        dock->SetXColumn(kNeedLevel);
        dock->SetYColumn(kPrice);
        Settle();
    }
    [[nodiscard]] const RecordTable& Table() const { return *table; }
};

// Never destroyed: the application, which its windows need, goes first.
Window& TheWindow()
{
    static Window* window = new Window;
    return *window;
}

std::vector<int> AllRows()
{
    std::vector<int> rows(static_cast<std::size_t>(TheWindow().Table().RowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

const PlotSample& Sample()
{
    static const PlotSample sample = SampleOf(TheWindow().Table(), AllRows(), kNeedLevel, kPrice);
    return sample;
}

// 150 × 100 cells of 4 pixels: a plot of 600 × 400.
GridFrame FrameOf(const PlotSample& sample)
{
    GridFrame frame;
    frame.x = RoundAxis(*std::min_element(sample.x.begin(), sample.x.end()), *std::max_element(sample.x.begin(), sample.x.end()), 6, 0.03);
    frame.y = RoundAxis(*std::min_element(sample.y.begin(), sample.y.end()), *std::max_element(sample.y.begin(), sample.y.end()), 6, 0.03);
    frame.columns = 150;
    frame.rows = 100;
    return frame;
}

// The limit: one column of every row read from the table, nothing else.
void BM_PlainPassOverTheColumn(benchmark::State& state)
{
    const RecordTable& table = TheWindow().Table();
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (int row = 0; row < table.RowCount(); ++row) sum += table.Value(row, kPrice);
        benchmark::DoNotOptimize(sum);
    }
}

void BM_SampleOneColumn(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(SampleOf(TheWindow().Table(), AllRows(), -1, kPrice));
}

void BM_SampleTwoColumns(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(SampleOf(TheWindow().Table(), AllRows(), kNeedLevel, kPrice));
}

void BM_HistogramBins(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(Histogram::Of(Sample().y, 50));
}

void BM_HistogramRowsOfABar(benchmark::State& state)
{
    const Histogram histogram = Histogram::Of(Sample().y, 50);
    for (auto _ : state) benchmark::DoNotOptimize(histogram.Members(Sample().y, 10, 10));
}

void BM_PointGrid(benchmark::State& state)
{
    const GridFrame frame = FrameOf(Sample());
    for (auto _ : state) benchmark::DoNotOptimize(PointGrid::Of(Sample().x, Sample().y, frame));
}

// A quarter of the plot's area: a quarter of the rows.
void BM_RowsInRectangle(benchmark::State& state)
{
    const ValueRectangle rectangle = ValueRectangle::Between(0, 0, 100, 100);
    std::size_t inside = 0;
    for (auto _ : state) inside = rectangle.Inside(Sample().x, Sample().y).size();
    state.counters["rows"] = static_cast<double>(inside);
}

void BM_MarkedPoints(benchmark::State& state)
{
    const PointGrid grid = PointGrid::Of(Sample().x, Sample().y, FrameOf(Sample()));
    std::vector<std::uint8_t> marked(Sample().Size());
    for (std::size_t i = 0; i < marked.size(); i += 10) marked[i] = 1;
    for (auto _ : state) benchmark::DoNotOptimize(grid.MarkedPoints(Sample().x, Sample().y, marked));
}

// The dock from a change of its column (what an edit or undo costs it too) to the chart painted:
// the rows' values taken again, the bins or points worked out, the series built and drawn.
void Redraw(benchmark::State& state, bool scatter)
{
    Window& window = TheWindow();
    window.dock->SetScatter(scatter);
    window.dock->SetXColumn(kNeedLevel);
    window.Settle();
    bool other = false;
    for (auto _ : state) {
        window.dock->SetYColumn((other = !other) ? kWeight : kPrice);
        window.dock->RedrawNow();
        window.dock->View()->viewport()->repaint();
    }
    state.counters["points"] = static_cast<double>(window.dock->Grid().Points().size());
    state.counters["bins"] = static_cast<double>(window.dock->Bins().Bins().size());
}

void BM_DockHistogram(benchmark::State& state) { Redraw(state, false); }
void BM_DockScatter(benchmark::State& state) { Redraw(state, true); }

// The same while the find bar's filter shows about half the rows.
void BM_DockHistogramFiltered(benchmark::State& state)
{
    Window& window = TheWindow();
    CChildView& view = *window.frame->View();
    view.ShowFindBar(false);
    FindBar& bar = *view.findChild<FindBar*>();
    bar.findChild<QLineEdit*>()->setText(QStringLiteral("Stdmode<100"));
    view.Finder()->ApplyQuery();
    bar.SetOnlyMatching(true);
    window.Settle();
    Redraw(state, false);
    state.counters["rows"] = static_cast<double>(window.dock->Sample().Size());
    view.HideFindBar();
    window.Settle();
}

// The whole list (its frozen columns too) painted while its selection is so many separate runs
// of one row, spread evenly over it: each cell painted asks whether it is selected, which the
// selection model answers run by run.
void BM_ListPaintWithRuns(benchmark::State& state)
{
    Window& window = TheWindow();
    RecordList& list = *window.frame->View()->List();
    QAbstractItemModel& model = *list.model();
    const int runs = static_cast<int>(state.range(0));
    const int step = model.rowCount() / runs;
    QItemSelection rows;
    for (int row = 0; row < runs * step; row += step) {
        rows.append(QItemSelectionRange(model.index(row, 0), model.index(row, model.columnCount() - 1)));
    }
    list.selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    window.Settle();
    for (auto _ : state) list.viewport()->repaint();
    list.clearSelection();
    window.Settle();
}

// A rectangle dragged over the million points, its side the argument (of values from 0 to 200 on
// both axes): a quarter of them, or a hundredth. Its rows found, selected in the list (the
// quarter's shown alone), the list painted, and the points marked and painted.
void BM_DockRectangleSelection(benchmark::State& state)
{
    Window& window = TheWindow();
    window.ShowPriceByLevel();
    RecordList& list = *window.frame->View()->List();
    std::size_t picked = 0;
    bool shownAlone = false;
    for (auto _ : state) {
        const auto side = static_cast<qreal>(state.range(0));
        const std::vector<std::size_t> rows = window.dock->PickedBetween(QPointF(0, 0), QPointF(side, side));
        window.dock->SelectRows(rows);
        list.viewport()->repaint();
        window.dock->RedrawNow();
        window.dock->View()->viewport()->repaint();
        picked = rows.size();
        state.PauseTiming();
        shownAlone = list.model()->rowCount() < static_cast<int>(window.Table().RowCount());
        window.dock->ShowAllRows();
        list.clearSelection();
        window.Settle();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(picked);
    state.counters["alone"] = shownAlone ? 1 : 0;
}

// While a pick is shown alone: a page scrolled down, the list painted.
void BM_ListScrollWhilePickShownAlone(benchmark::State& state)
{
    Window& window = TheWindow();
    window.ShowPriceByLevel();
    RecordList& list = *window.frame->View()->List();
    window.dock->SelectRows(window.dock->PickedBetween(QPointF(0, 0), QPointF(100, 100)));
    window.Settle();
    for (auto _ : state) {
        list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        list.viewport()->repaint();
    }
    state.counters["shown"] = list.model()->rowCount();
    window.dock->ShowAllRows();
    list.clearSelection();
    window.Settle();
}

BENCHMARK(BM_PlainPassOverTheColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleOneColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleTwoColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistogramBins)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistogramRowsOfABar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RowsInRectangle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkedPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DockHistogram)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_DockScatter)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_DockHistogramFiltered)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_ListPaintWithRuns)->Arg(1000)->Arg(4000)->Arg(16000)->Arg(64000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DockRectangleSelection)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ListScrollWhilePickShownAlone)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace rw

int main(int argc, char** argv)
{
    // A window without a display, whose settings go to a folder of its own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    rw::CEditorApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

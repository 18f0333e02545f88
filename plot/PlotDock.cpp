#include "plot/PlotDock.h"

#include "plot/PlotChart.h"
#include "plot/PlotChartView.h"
#include "plot/PlotImage.h"
#include "plot/ValueRectangle.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "text/GbkCodec.h"
#include "ui/FileChooser.h"
#include "ui/FileNames.h"
#include "ui/Prompter.h"
#include "ui/StatusReport.h"
#include "ui/Texts.h"
#include "view/EditorSettings.h"
#include "view/RecordFinder.h"
#include "view/RecordList.h"
#include "view/SystemReasons.h"

#include <QChart>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace rw {
namespace {

// How near the pointer must come to a point, in cells of the grid, for the point to be under it.
constexpr double kReachCells = 2;
// Ticks on a scatter plot's axes, and the room beyond the outer ones, for points drawn there.
constexpr int kAxisSteps = 6;
constexpr double kAxisMargin = 0.03;

[[nodiscard]] bool IsSideArea(Qt::DockWidgetArea area)
{
    return area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
}

[[nodiscard]] QComboBox* Box(QWidget* parent, int controlId)
{
    auto* box = new QComboBox(parent);
    box->setProperty(ids::kControlIdProperty, controlId);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

} // namespace

PlotDock::PlotDock(const PlotDockLinks& links, QMainWindow& frame)
    : QDockWidget(Text(str::kPlotCaption), &frame),
      m_document(links.document),
      m_list(links.list),
      m_finder(links.finder),
      m_settings(links.settings),
      m_files(links.files),
      m_prompter(links.prompter),
      m_status(links.status),
      m_frame(frame)
{
    setObjectName(QStringLiteral("plot"));
    CreateControls();
    m_later.setSingleShot(true);
    m_later.setInterval(0);
    connect(&m_later, &QTimer::timeout, this, &PlotDock::RedrawNow);
    hide();
}

PlotDock::~PlotDock() { StopListening(); }

void PlotDock::CreateControls()
{
    auto* inside = new QWidget(this);
    auto* column = new QVBoxLayout(inside);
    column->setContentsMargins(4, 4, 4, 4);
    auto* controls = new QHBoxLayout;
    m_type = Box(inside, ids::kPlotTypeBox);
    m_type->addItems({Text(str::kPlotHistogram), Text(str::kPlotScatter)});
    m_x = Box(inside, ids::kPlotXBox);
    m_y = Box(inside, ids::kPlotYBox);
    auto* typeLabel = new QLabel(Text(str::kPlotType), inside);
    typeLabel->setBuddy(m_type);
    m_xLabel = new QLabel(Text(str::kPlotX), inside);
    m_xLabel->setBuddy(m_x);
    auto* yLabel = new QLabel(Text(str::kPlotY), inside);
    yLabel->setBuddy(m_y);
    auto* exportButton = new QPushButton(Text(str::kPlotExport), inside);
    exportButton->setProperty(ids::kControlIdProperty, ids::kPlotExport);
    exportButton->setAutoDefault(false);
    for (QWidget* widget : std::initializer_list<QWidget*>{typeLabel, m_type, m_xLabel, m_x, yLabel, m_y}) {
        controls->addWidget(widget);
    }
    controls->addStretch(1);
    column->addLayout(controls);
    auto* summary = new QHBoxLayout;
    m_summary = new QLabel(inside);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_showAll = new QPushButton(Text(str::kPlotShowAll), inside);
    m_showAll->setProperty(ids::kControlIdProperty, ids::kPlotShowAll);
    m_showAll->setAutoDefault(false);
    m_showAll->hide();
    summary->addWidget(m_summary, 1);
    summary->addWidget(m_showAll);
    summary->addWidget(exportButton);
    column->addLayout(summary);
    m_chartItem = new QChart;
    m_chart = std::make_unique<PlotChart>(*m_chartItem);
    m_view = new PlotChartView(m_chartItem, inside);
    column->addWidget(m_view, 1);
    setWidget(inside);

    connect(m_type, &QComboBox::currentIndexChanged, this, [this, yLabel] {
        const bool scatter = Scatter();
        m_xLabel->setVisible(scatter);
        m_x->setVisible(scatter);
        yLabel->setText(Text(scatter ? str::kPlotY : str::kPlotColumn));
        SaveLayout();
        Schedule(Pending::Sample);
        // The X box made the dock wider.
        if (m_open) QTimer::singleShot(0, this, &PlotDock::MakeRoom);
    });
    m_xLabel->hide();
    m_x->hide();
    yLabel->setText(Text(str::kPlotColumn));
    for (QComboBox* box : {m_x, m_y}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            SaveLayout();
            Schedule(Pending::Sample);
        });
    }
    connect(exportButton, &QPushButton::clicked, this, &PlotDock::ExportImage);
    connect(m_showAll, &QPushButton::clicked, this, &PlotDock::ShowAllRows);
    connect(m_view, &PlotChartView::TipWanted, this, &PlotDock::ShowTip);
    connect(m_view, &PlotChartView::Clicked, this, [this](QPointF value) {
        // Beside every point: a selection in place stays, a pick shown alone ends.
        if (std::vector<std::size_t> picked = PickedAt(value); !picked.empty()) {
            SelectRows(picked);
        } else {
            ShowAllRows();
        }
    });
    connect(m_view, &PlotChartView::Dragged, this,
            [this](QPointF from, QPointF to) { SelectRows(PickedBetween(from, to)); });
    // The cells and the number of bars follow the plot's size; the rows and values stay.
    connect(m_chartItem, &QChart::plotAreaChanged, this, [this] {
        if (!m_open || m_sample.rows.empty()) return;
        const GridFrame cells = FrameOfSample();
        const bool other = Scatter() ? cells.columns != m_grid.Frame().columns || cells.rows != m_grid.Frame().rows
                                     : PlotChart::MaxBins(PlotArea().width()) != m_maxBins;
        if (other) Schedule(Pending::Draw);
    });
}

bool PlotDock::Scatter() const { return m_type->currentIndex() == 1; }

void PlotDock::SetScatter(bool scatter) { m_type->setCurrentIndex(scatter ? 1 : 0); }

int PlotDock::XColumn() const { return m_x->currentData().isValid() ? m_x->currentData().toInt() : -1; }

int PlotDock::YColumn() const { return m_y->currentData().isValid() ? m_y->currentData().toInt() : -1; }

void PlotDock::SetXColumn(int column)
{
    if (const int at = m_x->findData(column); at >= 0) m_x->setCurrentIndex(at);
}

void PlotDock::SetYColumn(int column)
{
    if (const int at = m_y->findData(column); at >= 0) m_y->setCurrentIndex(at);
}

QString PlotDock::TitleOf(int column) const
{
    const RecordSchema& schema = m_document.Table().Schema();
    return column >= 0 && column < schema.ColumnCount() ? Text(schema.Column(column).title) : QString();
}

void PlotDock::TakeKind()
{
    const RecordSchema& schema = m_document.Table().Schema();
    m_kind = schema.kind;
    const PlotLayout remembered = m_settings.Plot(m_kind);
    const QModelIndex current = m_list.currentIndex();
    const bool currentField = current.isValid() && IsPlottable(schema, current.column()) && current.column() != kIdColumn;
    int y = currentField ? current.column() : remembered.yColumn;
    if (!IsPlottable(schema, y)) y = kNameColumn + 1;
    int x = IsPlottable(schema, remembered.xColumn) ? remembered.xColumn : DefaultXColumn(schema);
    // Filling the boxes is no choice of the user's: nothing to remember, nothing drawn yet.
    const bool placing = std::exchange(m_placing, true);
    for (QComboBox* box : {m_x, m_y}) {
        const QSignalBlocker quiet(box);
        box->clear();
        for (int column = 0; column < schema.ColumnCount(); ++column) {
            if (IsPlottable(schema, column)) box->addItem(TitleOf(column), column);
        }
    }
    {
        const QSignalBlocker quiet(m_x);
        SetXColumn(x);
    }
    {
        const QSignalBlocker quiet(m_y);
        SetYColumn(y);
    }
    SetScatter(remembered.scatter);
    m_placing = placing;
}

void PlotDock::Open()
{
    if (m_open) {
        raise();
        return;
    }
    m_open = true;
    TakeKind();
    Place();
    show();
    Listen();
    Resample();
    QTimer::singleShot(0, this, &PlotDock::MakeRoom);
}

void PlotDock::Close()
{
    if (!m_open) return;
    // The way back from a pick shown alone goes with the dock.
    ShowAllRows();
    m_open = false;
    StopListening();
    m_later.stop();
    m_pending = Pending::Nothing;
    m_chart->Clear();
    m_sample = {};
    m_histogram = {};
    m_grid = {};
    m_marked = {};
    m_markedCount = 0;
    hide();
    emit Closed();
}

void PlotDock::closeEvent(QCloseEvent* event)
{
    QDockWidget::closeEvent(event);
    if (event->isAccepted()) Close();
}

void PlotDock::Place()
{
    const PlotLayout remembered = m_settings.Plot(m_kind);
    const bool placing = std::exchange(m_placing, true);
    const auto area = static_cast<Qt::DockWidgetArea>(remembered.area);
    const bool known = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea ||
                       area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
    const Qt::DockWidgetArea wanted = known ? area : Qt::RightDockWidgetArea;
    if (m_frame.dockWidgetArea(this) != wanted || isFloating() != remembered.floating) {
        setFloating(false);
        m_frame.addDockWidget(wanted, this);
        setFloating(remembered.floating);
    }
    if (remembered.size.isValid() && !remembered.size.isEmpty()) {
        if (remembered.floating) {
            resize(remembered.size);
        } else if (IsSideArea(wanted)) {
            m_frame.resizeDocks({this}, {remembered.size.width()}, Qt::Horizontal);
        } else {
            m_frame.resizeDocks({this}, {remembered.size.height()}, Qt::Vertical);
        }
    }
    m_placing = placing;
}

void PlotDock::MakeRoom()
{
    // Beside the list, the dock takes its room from the form; where the form would then be
    // narrower than it can be, the frame grows by what it lacks, as far as the screen allows.
    auto* scroll = qobject_cast<QScrollArea*>(m_frame.centralWidget());
    if (!m_open || isFloating() || !IsSideArea(m_frame.dockWidgetArea(this)) || !scroll || !scroll->widget() ||
        m_frame.isMaximized() || m_frame.isFullScreen()) {
        return;
    }
    const int lacking = scroll->widget()->minimumSizeHint().width() - scroll->viewport()->width();
    if (lacking <= 0) return;
    const QRect room = m_frame.screen()->availableGeometry();
    const int sides = m_frame.frameGeometry().width() - m_frame.width();
    const int width = std::min(m_frame.width() + lacking, room.width() - sides);
    if (width > m_frame.width()) m_frame.resize(width, m_frame.height());
}

void PlotDock::SaveLayout()
{
    if (m_placing || !m_open || !IsDataKind(m_kind)) return;
    PlotLayout layout;
    layout.area = static_cast<int>(m_frame.dockWidgetArea(this));
    layout.floating = isFloating();
    layout.size = size();
    layout.scatter = Scatter();
    layout.xColumn = XColumn();
    layout.yColumn = YColumn();
    m_settings.SetPlot(m_kind, layout);
}

void PlotDock::resizeEvent(QResizeEvent* event)
{
    QDockWidget::resizeEvent(event);
    if (isVisible()) SaveLayout();
}

void PlotDock::Listen()
{
    StopListening();
    const auto later = [this](Pending pending) { return [this, pending] { Schedule(pending); }; };
    m_listening = {
        connect(&m_document, &TableDocument::Changed, this, later(Pending::Sample)),
        // Another file is drawn at once: nothing of the last one's shows meanwhile.
        connect(&m_document, &TableDocument::Loaded, this, &PlotDock::Resample),
        connect(&m_finder, &RecordFinder::RowsShown, this,
                [this] {
                    m_showAll->setVisible(m_finder.ShowingPick());
                    if (!m_keepingSample) Schedule(Pending::Sample);
                }),
        connect(this, &QDockWidget::dockLocationChanged, this, &PlotDock::SaveLayout),
        connect(this, &QDockWidget::topLevelChanged, this, &PlotDock::SaveLayout),
    };
    WatchSelection();
}

void PlotDock::StopListening()
{
    for (const QMetaObject::Connection& connection : m_listening) disconnect(connection);
    for (const QMetaObject::Connection& connection : m_watchingSelection) disconnect(connection);
    m_listening.clear();
    m_watchingSelection.clear();
    m_watched = nullptr;
}

void PlotDock::WatchSelection()
{
    QItemSelectionModel* selection = m_list.selectionModel();
    if (selection == m_watched) return;
    for (const QMetaObject::Connection& connection : m_watchingSelection) disconnect(connection);
    m_watched = selection;
    m_watchingSelection = {
        connect(selection, &QItemSelectionModel::selectionChanged, this, [this] { Schedule(Pending::Marks); }),
        connect(selection, &QItemSelectionModel::currentChanged, this, &PlotDock::FollowCurrentColumn),
    };
}

void PlotDock::Schedule(Pending pending)
{
    if (!m_open || m_placing) return;
    m_pending = std::max(m_pending, pending);
    m_later.start();
}

void PlotDock::RedrawNow()
{
    m_later.stop();
    const Pending pending = std::exchange(m_pending, Pending::Nothing);
    if (!m_open) return;
    switch (pending) {
    case Pending::Sample: Resample(); break;
    case Pending::Draw: Draw(); break;
    case Pending::Marks: Mark(); break;
    case Pending::Nothing: break;
    }
}

void PlotDock::FollowCurrentColumn(const QModelIndex& current)
{
    const int column = current.column();
    if (!current.isValid() || column == YColumn() || column == kIdColumn ||
        !IsPlottable(m_document.Table().Schema(), column)) {
        return;
    }
    SetYColumn(column);
}

std::vector<int> PlotDock::ShownRows() const
{
    // A pick shown alone narrows the list, not the plot.
    if (m_finder.ShowingPick()) return m_finder.RowsBesidesPick();
    const int shown = m_list.model() ? m_list.model()->rowCount() : 0;
    std::vector<int> rows(static_cast<std::size_t>(std::max(shown, 0)));
    if (!m_finder.Filtering()) {
        std::iota(rows.begin(), rows.end(), 0);
    } else {
        for (int row = 0; row < shown; ++row) rows[static_cast<std::size_t>(row)] = m_finder.TableRow(row);
    }
    return rows;
}

void PlotDock::Resample()
{
    m_pending = Pending::Nothing;
    m_later.stop();
    // A table of another kind (a load, or an import into the empty window): its own columns,
    // choices and place.
    if (m_document.Table().Kind() != m_kind) {
        TakeKind();
        Place();
    }
    WatchSelection();
    const int y = YColumn();
    const int x = Scatter() ? XColumn() : -1;
    if (y < 0 || (Scatter() && x < 0)) {
        m_sample = {};
    } else {
        m_sample = SampleOf(m_document.Table(), ShownRows(), x, y);
    }
    Draw();
}

QSizeF PlotDock::PlotArea() const
{
    // Before the chart has been laid out, the view less room for the axes stands in.
    const QRectF area = m_chartItem->plotArea();
    if (area.width() > 1 && area.height() > 1) return area.size();
    return QSizeF(std::max(m_view->width() - 80, 40), std::max(m_view->height() - 70, 40));
}

GridFrame PlotDock::FrameOfSample() const
{
    GridFrame frame;
    if (m_sample.x.empty() || m_sample.y.empty()) return frame;
    const auto [xLeast, xGreatest] = std::minmax_element(m_sample.x.begin(), m_sample.x.end());
    const auto [yLeast, yGreatest] = std::minmax_element(m_sample.y.begin(), m_sample.y.end());
    frame.x = RoundAxis(*xLeast, *xGreatest, kAxisSteps, kAxisMargin);
    frame.y = RoundAxis(*yLeast, *yGreatest, kAxisSteps, kAxisMargin);
    const QSizeF area = PlotArea();
    frame.columns = std::max(1, static_cast<int>(area.width() / PlotChart::kCellPixels));
    frame.rows = std::max(1, static_cast<int>(area.height() / PlotChart::kCellPixels));
    return frame;
}

void PlotDock::Draw()
{
    m_pending = Pending::Nothing;
    m_later.stop();
    m_histogram = {};
    m_grid = {};
    if (m_sample.rows.empty()) {
        m_chart->Clear();
    } else if (Scatter()) {
        m_grid = PointGrid::Of(m_sample.x, m_sample.y, FrameOfSample());
        m_chart->ShowScatter(m_grid, TitleOf(XColumn()), TitleOf(YColumn()));
    } else {
        const qreal width = PlotArea().width();
        m_maxBins = PlotChart::MaxBins(width);
        m_histogram = Histogram::Of(m_sample.y, m_maxBins);
        m_chart->ShowHistogram(m_histogram, TitleOf(YColumn()), width);
    }
    Mark();
}

void PlotDock::Mark()
{
    m_pending = Pending::Nothing;
    m_later.stop();
    m_marked.assign(m_sample.Size(), 0);
    m_markedCount = 0;
    if (const QItemSelectionModel* selection = m_list.selectionModel(); selection && m_finder.ShowingPick()) {
        MarkThroughTable(*selection);
    } else if (selection) {
        const int size = static_cast<int>(m_sample.Size());
        for (const QItemSelectionRange& range : selection->selection()) {
            for (int row = std::max(range.top(), 0); row <= std::min(range.bottom(), size - 1); ++row) {
                std::uint8_t& mark = m_marked[static_cast<std::size_t>(row)];
                m_markedCount += mark == 0;
                mark = 1;
            }
        }
    }
    if (Scatter()) {
        m_chart->MarkPoints(m_grid, m_grid.MarkedPoints(m_sample.x, m_sample.y, m_marked));
    } else {
        m_chart->MarkBins(m_histogram, m_histogram.MarkedCounts(m_sample.y, m_marked));
    }
    m_summary->setText(Summary());
}

void PlotDock::MarkThroughTable(const QItemSelectionModel& selection)
{
    // The list's rows are some of the plot's: both go through the table's.
    std::vector<std::uint8_t> byRow(static_cast<std::size_t>(m_document.Table().RowCount()));
    for (const QItemSelectionRange& range : selection.selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (const int tableRow = m_finder.TableRow(row); tableRow >= 0 && tableRow < static_cast<int>(byRow.size())) {
                byRow[static_cast<std::size_t>(tableRow)] = 1;
            }
        }
    }
    for (std::size_t i = 0; i < m_sample.Size(); ++i) {
        const int row = m_sample.rows[i];
        m_marked[i] = row >= 0 && row < static_cast<int>(byRow.size()) ? byRow[static_cast<std::size_t>(row)] : 0;
        m_markedCount += m_marked[i];
    }
}

QString PlotDock::Summary() const
{
    if (m_sample.rows.empty()) return Text(str::kPlotNothing);
    QString text;
    if (Scatter()) {
        text = Text(str::kPlotScatterSummaryFormat, Grouped(m_sample.Size()), Grouped(m_grid.Points().size()));
        if (m_grid.Points().size() < m_sample.Size()) text += Text(str::kPlotThinnedSummary);
    } else {
        text = Text(str::kPlotHistogramSummaryFormat, Grouped(m_sample.Size()), m_histogram.Width(),
                    m_histogram.Bins().size());
    }
    if (m_markedCount > 0) text += Text(str::kPlotSelectedSummaryFormat, Grouped(m_markedCount));
    return text;
}

int PlotDock::BarAt(QPointF value) const
{
    // Bar k stands on the axis from k - 1/2 to k + 1/2, as high as its bin's count.
    const long bar = std::lround(value.x());
    if (bar < 0 || bar >= static_cast<long>(m_histogram.Bins().size()) || value.y() < 0) return -1;
    return value.y() <= static_cast<double>(m_histogram.Bins()[static_cast<std::size_t>(bar)].count) ? static_cast<int>(bar) : -1;
}

QString PlotDock::TipAt(QPointF value)
{
    RedrawNow();
    const RecordTable& table = m_document.Table();
    if (Scatter()) {
        const int point = m_grid.Nearest(value.x(), value.y(), kReachCells);
        if (point < 0) return {};
        const GridPoint& drawn = m_grid.Points()[static_cast<std::size_t>(point)];
        const int row = m_sample.rows[drawn.first];
        QString text = Text(str::kPlotPointTipFormat, table.IdOfRow(row), GbkCodec::Instance().Decode(table.NameBytes(row)),
                            TitleOf(XColumn()), drawn.x, TitleOf(YColumn()), drawn.y);
        if (drawn.count > 1) text += Text(str::kPlotPointTipMoreFormat, Grouped(drawn.count));
        return text;
    }
    const int bar = BarAt(value);
    if (bar < 0) return {};
    const HistogramBin& bin = m_histogram.Bins()[static_cast<std::size_t>(bar)];
    QString text = Text(str::kPlotBinTipFormat, TitleOf(YColumn()), bin.low, bin.high, Grouped(bin.count));
    const std::size_t marked = m_histogram.MarkedCounts(m_sample.y, m_marked)[static_cast<std::size_t>(bar)];
    if (marked > 0) text += Text(str::kPlotBinTipSelectedFormat, Grouped(marked));
    return text;
}

void PlotDock::ShowTip(QPointF value, QPoint globalPlace)
{
    const QString text = TipAt(value);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(globalPlace, text, m_view);
    }
}

std::vector<std::size_t> PlotDock::PickedAt(QPointF value)
{
    RedrawNow();
    if (Scatter()) return m_grid.Members(m_sample.x, m_sample.y, m_grid.Nearest(value.x(), value.y(), kReachCells));
    const int bar = BarAt(value);
    return bar < 0 ? std::vector<std::size_t>() : m_histogram.Members(m_sample.y, bar, bar);
}

std::vector<std::size_t> PlotDock::PickedBetween(QPointF from, QPointF to)
{
    RedrawNow();
    if (Scatter()) return ValueRectangle::Between(from.x(), from.y(), to.x(), to.y()).Inside(m_sample.x, m_sample.y);
    // The bars whose middles the rectangle spans, whatever their heights.
    const int first = static_cast<int>(std::ceil(std::min(from.x(), to.x())));
    const int last = static_cast<int>(std::floor(std::max(from.x(), to.x())));
    return m_histogram.Members(m_sample.y, first, last);
}

template <typename Change>
void PlotDock::KeepingSample(Change&& change)
{
    const bool keeping = std::exchange(m_keepingSample, true);
    change();
    m_keepingSample = keeping;
    // Another model in the list when a filter came or went.
    WatchSelection();
    m_showAll->setVisible(m_finder.ShowingPick());
    Schedule(Pending::Marks);
}

void PlotDock::ShowAllRows()
{
    if (m_finder.ShowingPick()) KeepingSample([this] { m_finder.EndPick(); });
}

void PlotDock::SelectRows(const std::vector<std::size_t>& positions)
{
    // The list's rows are the plot's again before anything is picked.
    ShowAllRows();
    QAbstractItemModel* model = m_list.model();
    QItemSelectionModel* selection = m_list.selectionModel();
    if (!model || !selection) return;
    std::size_t runs = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) runs += i == 0 || positions[i] != positions[i - 1] + 1;
    if (runs > kMostRunsInPlace) {
        ShowPickAlone(positions);
        return;
    }
    const int last = model->columnCount() - 1;
    QItemSelection rows;
    for (std::size_t i = 0; i < positions.size();) {
        std::size_t end = i + 1;
        while (end < positions.size() && positions[end] == positions[end - 1] + 1) ++end;
        rows.append(QItemSelectionRange(model->index(static_cast<int>(positions[i]), 0),
                                        model->index(static_cast<int>(positions[end - 1]), last)));
        i = end;
    }
    // Cleared first: the selection model compares an old selection with a new one range by
    // range, which for two large ones would take long.
    selection->clearSelection();
    if (!rows.isEmpty()) selection->select(rows, QItemSelectionModel::Select);
    if (!positions.empty()) {
        const QModelIndex first = model->index(static_cast<int>(positions.front()), std::max(YColumn(), 0));
        selection->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        m_list.scrollTo(first);
    }
}

void PlotDock::ShowPickAlone(const std::vector<std::size_t>& positions)
{
    const RecordTable& table = m_document.Table();
    std::vector<std::uint8_t> bySlot(table.SlotCount());
    for (const std::size_t position : positions) bySlot[table.SlotOfRow(m_sample.rows[position])] = 1;
    KeepingSample([&] { m_finder.ShowPicked(std::move(bySlot)); });
    QAbstractItemModel* model = m_list.model();
    QItemSelectionModel* selection = m_list.selectionModel();
    const int shown = model->rowCount();
    if (shown == 0) return;
    // One run: the list paints it as fast as a single row.
    selection->select(QItemSelection(model->index(0, 0), model->index(shown - 1, model->columnCount() - 1)),
                      QItemSelectionModel::ClearAndSelect);
    const QModelIndex first = model->index(0, std::max(YColumn(), 0));
    selection->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    m_list.scrollTo(first);
    m_status.Report(Text(str::kPlotPickShownAloneFormat, Grouped(static_cast<std::size_t>(shown))));
}

void PlotDock::ExportImage()
{
    RedrawNow();
    std::vector<FileFilter> filters{{Text(str::kPlotImageFilterPng), QStringLiteral("*.png"), QStringLiteral("png")}};
    if (CanWriteImage(ImageFormat::Svg)) {
        filters.push_back({Text(str::kPlotImageFilterSvg), QStringLiteral("*.svg"), QStringLiteral("svg")});
    }
    const QString stem = m_document.HasFile() ? QFileInfo(Text(m_document.FileName())).completeBaseName()
                                              : Text(m_document.Table().Schema().fileName).section(QLatin1Char('.'), 0, 0);
    QString proposed = stem + QLatin1Char('-');
    if (Scatter()) proposed += TitleOf(XColumn()) + QLatin1Char('-');
    proposed += TitleOf(YColumn()) + QStringLiteral(".png");
    const std::optional<ChosenFile> chosen = m_files.ChooseFileOfType(this, FileDialogMode::Save, proposed, filters, 0);
    if (!chosen) return;
    // A name's own suffix decides, else the type chosen.
    const QString suffix = QFileInfo(chosen->path).suffix().toLower();
    const bool svg = CanWriteImage(ImageFormat::Svg) &&
                     (suffix == QStringLiteral("svg") || (suffix != QStringLiteral("png") && chosen->filter == 1));
    const QByteArray bytes = PictureOf(*m_view, svg ? ImageFormat::Svg : ImageFormat::Png);
    if (const std::error_code error = WriteImageFile(ToFsPath(chosen->path), bytes)) {
        m_prompter.ShowMessage(this,
                               Text(str::kExportFailedFormat, QDir::toNativeSeparators(chosen->path),
                                    ReasonText(error, FileUse::Write)),
                               Text(str::kCaptionError));
        return;
    }
    m_status.Report(Text(str::kPlotExportedFormat, QFileInfo(chosen->path).fileName()));
}

} // namespace rw

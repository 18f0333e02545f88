#include "plot/PlotChart.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QFontMetricsF>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace rw {
namespace {

const QColor kPlain(70, 110, 170);
const QColor kSelected(232, 89, 12);
constexpr qreal kMarkerRadius = 3;

[[nodiscard]] QString ValueText(std::int64_t value) { return QString::number(value); }

[[nodiscard]] QString BinLabel(const HistogramBin& bin)
{
    return bin.low == bin.high ? ValueText(bin.low) : ValueText(bin.low) + QStringLiteral("~") + ValueText(bin.high);
}

[[nodiscard]] QValueAxis* ValueAxis(const AxisRange& range, const QString& title)
{
    auto* axis = new QValueAxis;
    axis->setRange(range.low, range.high);
    // Ticks on the round numbers, wherever the ends of the axis are.
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(range.anchor);
    axis->setTickInterval(range.step);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTitleText(title);
    return axis;
}

// Points without a line between them. A scatter series makes a graphics item of every point
// and compares each with all the others when it colours them, which takes seconds for ten
// thousand; a line series paints its points itself, in one pass.
[[nodiscard]] QLineSeries* Points(const QColor& colour, qreal radius)
{
    auto* series = new QLineSeries;
    QPen noLine(colour);
    noLine.setStyle(Qt::NoPen);
    series->setPen(noLine);
    series->setPointsVisible(true);
    series->setMarkerSize(radius);
    return series;
}

} // namespace

PlotChart::PlotChart(QChart& chart) : m_chart(chart)
{
    m_chart.legend()->hide();
    m_chart.setAnimationOptions(QChart::NoAnimation);
    m_chart.setMargins(QMargins(4, 4, 4, 4));
}

void PlotChart::Clear()
{
    m_chart.removeAllSeries();
    for (QAbstractAxis* axis : m_chart.axes()) {
        m_chart.removeAxis(axis);
        delete axis;
    }
    m_unselected = m_selected = nullptr;
    m_points = m_marked = nullptr;
}

void PlotChart::ShowHistogram(const Histogram& histogram, const QString& columnTitle, qreal width)
{
    Clear();
    auto* series = new QStackedBarSeries;
    m_unselected = new QBarSet(Text(str::kPlotUnselectedSet));
    m_selected = new QBarSet(Text(str::kPlotSelectedSet));
    m_unselected->setColor(kPlain);
    m_selected->setColor(kSelected);
    QStringList labels;
    std::size_t most = 0;
    for (const HistogramBin& bin : histogram.Bins()) {
        m_unselected->append(static_cast<qreal>(bin.count));
        m_selected->append(0);
        labels.push_back(BinLabel(bin));
        most = std::max(most, bin.count);
    }
    series->append(m_unselected);
    series->append(m_selected);
    series->setBarWidth(1.0);
    m_chart.addSeries(series);
    auto* across = new QBarCategoryAxis;
    across->append(labels);
    across->setTitleText(columnTitle);
    m_chart.addAxis(across, Qt::AlignBottom);
    series->attachAxis(across);
    // Labels wider than their bars stand up (the chart's theme gives their font once added).
    const QFontMetricsF metrics(across->labelsFont());
    qreal widest = 0;
    for (const QString& label : labels) widest = std::max(widest, metrics.horizontalAdvance(label));
    if (!labels.isEmpty() && widest > 0.9 * width / static_cast<qreal>(labels.size())) across->setLabelsAngle(-90);
    QValueAxis* up = ValueAxis(RoundAxis(0, static_cast<std::int64_t>(most), 5), Text(str::kPlotCountAxis));
    m_chart.addAxis(up, Qt::AlignLeft);
    series->attachAxis(up);
}

void PlotChart::MarkBins(const Histogram& histogram, const std::vector<std::size_t>& selected)
{
    if (!m_unselected || !m_selected) return;
    const std::vector<HistogramBin>& bins = histogram.Bins();
    for (std::size_t bin = 0; bin < bins.size() && static_cast<qsizetype>(bin) < m_selected->count(); ++bin) {
        const std::size_t marked = bin < selected.size() ? std::min(selected[bin], bins[bin].count) : 0;
        m_unselected->replace(static_cast<qsizetype>(bin), static_cast<qreal>(bins[bin].count - marked));
        m_selected->replace(static_cast<qsizetype>(bin), static_cast<qreal>(marked));
    }
}

void PlotChart::ShowScatter(const PointGrid& grid, const QString& xTitle, const QString& yTitle)
{
    Clear();
    m_points = Points(kPlain, kMarkerRadius);
    m_marked = Points(kSelected, kMarkerRadius + 1);
    QList<QPointF> drawn;
    drawn.reserve(static_cast<qsizetype>(grid.Points().size()));
    for (const GridPoint& point : grid.Points()) drawn.push_back(QPointF(point.x, point.y));
    m_points->replace(drawn);
    m_chart.addSeries(m_points);
    m_chart.addSeries(m_marked);
    QValueAxis* across = ValueAxis(grid.Frame().x, xTitle);
    QValueAxis* up = ValueAxis(grid.Frame().y, yTitle);
    m_chart.addAxis(across, Qt::AlignBottom);
    m_chart.addAxis(up, Qt::AlignLeft);
    for (QLineSeries* series : {m_points, m_marked}) {
        series->attachAxis(across);
        series->attachAxis(up);
    }
}

void PlotChart::MarkPoints(const PointGrid& grid, const std::vector<std::uint8_t>& selected)
{
    if (!m_marked) return;
    QList<QPointF> marked;
    for (std::size_t point = 0; point < grid.Points().size() && point < selected.size(); ++point) {
        if (selected[point]) marked.push_back(QPointF(grid.Points()[point].x, grid.Points()[point].y));
    }
    m_marked->replace(marked);
}

std::vector<std::pair<qreal, qreal>> PlotChart::BarParts() const
{
    std::vector<std::pair<qreal, qreal>> parts;
    if (!m_unselected || !m_selected) return parts;
    for (qsizetype bin = 0; bin < m_unselected->count(); ++bin) parts.emplace_back(m_unselected->at(bin), m_selected->at(bin));
    return parts;
}

std::size_t PlotChart::PointsDrawn() const { return m_points ? static_cast<std::size_t>(m_points->count()) : 0; }

std::size_t PlotChart::MarkedPointsDrawn() const { return m_marked ? static_cast<std::size_t>(m_marked->count()) : 0; }

int PlotChart::MaxBins(qreal width) { return std::clamp(static_cast<int>(width / 16), 8, 50); }

} // namespace rw

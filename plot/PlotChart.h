#pragma once

// The plot dock's chart: a histogram as stacked bars, the bins' rows selected in the list drawn
// on top of the others in another colour; or the points of a scatter plot, the points standing
// for selected rows drawn again over them. The axes are the bins' edges and the grid's ranges,
// so that what is drawn lies where the dock's arithmetic says it does.

#include "plot/Histogram.h"
#include "plot/PointGrid.h"

#include <QString>

#include <cstdint>
#include <vector>

class QBarSet;
class QChart;
class QLineSeries;

namespace rw {

class PlotChart {
public:
    explicit PlotChart(QChart& chart);

    // An empty chart: nothing drawn, no axes.
    void Clear();
    // width: the plot's, in pixels.
    void ShowHistogram(const Histogram& histogram, const QString& columnTitle, qreal width);
    void ShowScatter(const PointGrid& grid, const QString& xTitle, const QString& yTitle);
    // The marks of the selected rows: per bin, how many; per point, whether it stands for any.
    void MarkBins(const Histogram& histogram, const std::vector<std::size_t>& selected);
    void MarkPoints(const PointGrid& grid, const std::vector<std::uint8_t>& selected);

    // What the chart holds, as its series have it: each bar's two parts, the points drawn.
    [[nodiscard]] std::vector<std::pair<qreal, qreal>> BarParts() const;
    [[nodiscard]] std::size_t PointsDrawn() const;
    [[nodiscard]] std::size_t MarkedPointsDrawn() const;

    // The largest number of bars across a plot of width pixels, and the cells of a scatter
    // plot's grid: a few pixels square, as large as a point's mark.
    [[nodiscard]] static int MaxBins(qreal width);
    static constexpr int kCellPixels = 4;

private:
    QChart& m_chart;
    QBarSet* m_unselected = nullptr;
    QBarSet* m_selected = nullptr;
    QLineSeries* m_points = nullptr;
    QLineSeries* m_marked = nullptr;
};

} // namespace rw

#pragma once

// The plot dock's chart view. It reports the pointer in the values of the chart's axes: where
// it rests when a tip is due, where the left button clicked, and the rectangle it dragged out,
// which a rubber band shows meanwhile. It neither zooms nor scrolls.

#include <QChartView>
#include <QPoint>
#include <QPointF>

class QRubberBand;

namespace rw {

class PlotChartView : public QChartView {
    Q_OBJECT
public:
    explicit PlotChartView(QChart* chart, QWidget* parent = nullptr);

    // A place of the viewport in the values of the axes of the chart's first series.
    [[nodiscard]] QPointF ValueAt(QPoint viewportPlace) const;
    // The viewport's place of a point in those values.
    [[nodiscard]] QPoint PlaceOf(QPointF value) const;

signals:
    // globalPlace: where the tip shows.
    void TipWanted(QPointF value, QPoint globalPlace);
    void Clicked(QPointF value);
    void Dragged(QPointF from, QPointF to);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The scene would answer a tip with its items' own, none, and so hide ours.
    bool viewportEvent(QEvent* event) override;

private:
    QRubberBand* m_band;
    QPoint m_pressedAt;
    bool m_pressed = false;
};

} // namespace rw

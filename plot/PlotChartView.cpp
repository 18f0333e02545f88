#include "plot/PlotChartView.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QRubberBand>

namespace rw {

PlotChartView::PlotChartView(QChart* chart, QWidget* parent)
    : QChartView(chart, parent), m_band(new QRubberBand(QRubberBand::Rectangle, viewport()))
{
    setMouseTracking(true);
    setRubberBand(QChartView::NoRubberBand);
}

QPointF PlotChartView::ValueAt(QPoint viewportPlace) const
{
    const QList<QAbstractSeries*> series = chart()->series();
    return chart()->mapToValue(chart()->mapFromScene(mapToScene(viewportPlace)), series.isEmpty() ? nullptr : series.front());
}

QPoint PlotChartView::PlaceOf(QPointF value) const
{
    const QList<QAbstractSeries*> series = chart()->series();
    return mapFromScene(chart()->mapToScene(chart()->mapToPosition(value, series.isEmpty() ? nullptr : series.front())));
}

void PlotChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QChartView::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_pressedAt = event->position().toPoint();
    m_band->setGeometry(QRect(m_pressedAt, QSize()));
    event->accept();
}

void PlotChartView::mouseMoveEvent(QMouseEvent* event)
{
    // A drag begins where a click could no longer be meant.
    const QPoint at = event->position().toPoint();
    if (m_pressed && (m_band->isVisible() || (at - m_pressedAt).manhattanLength() >= QApplication::startDragDistance())) {
        m_band->setGeometry(QRect(m_pressedAt, at).normalized());
        m_band->show();
    }
    // Never to the scene: nothing there answers the pointer, and hit-testing a line through ten
    // thousand points at every move would cost.
    event->accept();
}

void PlotChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    const QPoint at = event->position().toPoint();
    if (m_band->isVisible()) {
        m_band->hide();
        emit Dragged(ValueAt(m_pressedAt), ValueAt(at));
    } else {
        emit Clicked(ValueAt(at));
    }
    event->accept();
}

bool PlotChartView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QChartView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    emit TipWanted(ValueAt(help->pos()), help->globalPos());
    return true;
}

} // namespace rw

#include "view/SortHeader.h"

#include "resources/SortArrows.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

namespace rw {
namespace {

constexpr int kArrowGap = 6; // between the title and the arrow

} // namespace

SortHeader::SortHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent),
      m_arrows{QPixmap::fromImage(SortArrow(true)), QPixmap::fromImage(SortArrow(false))}
{
    setSectionsClickable(true);
}

void SortHeader::SetSortArrow(int column, bool ascending)
{
    m_arrowColumn = column >= 0 && column < count() ? column : -1;
    m_ascending = ascending;
    viewport()->update();
}

void SortHeader::SetCurrentColumn(int column)
{
    if (column == m_currentColumn) return;
    m_currentColumn = column;
    viewport()->update();
}

int SortHeader::FittingWidth(int column) const
{
    // Qt measures a title in bold already, for a highlighted section.
    return sectionSizeFromContents(column).width() + kArrowGap + kSortArrowWidth;
}

QFontMetrics SortHeader::TitleMetrics(int logicalIndex) const
{
    if (logicalIndex != m_currentColumn) return fontMetrics();
    QFont bold = font();
    bold.setBold(true);
    return QFontMetrics(bold);
}

QRect SortHeader::ArrowRect(int column) const
{
    if (column < 0 || column != m_arrowColumn) return {};
    const QRect section(sectionViewportPosition(column), 0, sectionSize(column), height());
    return ArrowRectIn(section, column) & section;
}

// Qt starts a click with the left button only, but a release of any button would end it: a
// right click while the left button is held must not sort.
void SortHeader::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) QHeaderView::mousePressEvent(event);
    else event->accept();
}

void SortHeader::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) QHeaderView::mouseReleaseEvent(event);
    else event->accept();
}

void SortHeader::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) QHeaderView::mouseDoubleClickEvent(event);
    else event->accept();
}

QRect SortHeader::LabelRect(const QRect& section, int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    QHeaderView::initStyleOptionForIndex(&option, logicalIndex);
    option.rect = section;
    return style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
}

QString SortHeader::ShownTitle(const QRect& section, int logicalIndex) const
{
    const QString title = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    if (logicalIndex != m_arrowColumn) return title;
    // The arrow keeps its place; a title too long for the rest is cut short.
    const int room = std::max(0, LabelRect(section, logicalIndex).width() - kArrowGap - kSortArrowWidth);
    return TitleMetrics(logicalIndex).elidedText(title, Qt::ElideRight, room);
}

QRect SortHeader::ArrowRectIn(const QRect& section, int logicalIndex) const
{
    const QRect label = LabelRect(section, logicalIndex);
    const int x = label.left() + TitleMetrics(logicalIndex).horizontalAdvance(ShownTitle(section, logicalIndex)) + kArrowGap;
    const int y = section.top() + (section.height() - kSortArrowHeight) / 2;
    return {x, y, kSortArrowWidth, kSortArrowHeight};
}

void SortHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->sortIndicator = QStyleOptionHeader::None;
    // The style draws a title in bold where its section is on.
    if (logicalIndex == m_currentColumn) option->state |= QStyle::State_On;
    if (logicalIndex == m_arrowColumn) {
        option->text = ShownTitle(QRect(0, 0, sectionSize(logicalIndex), height()), logicalIndex);
    }
}

void SortHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (logicalIndex != m_arrowColumn || !rect.isValid()) return;
    painter->save();
    painter->setClipRect(rect);
    painter->drawPixmap(ArrowRectIn(rect, logicalIndex).topLeft(), m_arrows[m_ascending ? 0 : 1]);
    painter->restore();
}

bool SortHeader::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_tips) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int column = logicalIndexAt(help->pos());
        const QString tip = column >= 0 ? m_tips(column) : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QHeaderView::viewportEvent(event);
}

} // namespace rw

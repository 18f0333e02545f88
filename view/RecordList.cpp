#include "view/RecordList.h"

#include "view/SortHeader.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace rw {

RecordList::RecordList(QWidget* parent) : QTableView(parent), m_header(new SortHeader(this))
{
    setHorizontalHeader(m_header);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = verticalHeader();
    rows->hide();
    // Fixed row heights keep a table of a million rows quick to scroll.
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setHighlightSections(false);
    m_header->setStretchLastSection(false);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    QPalette shown = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        shown.setColor(QPalette::Inactive, role, shown.color(QPalette::Active, role));
    }
    setPalette(shown);
    // The corner between the scroll bars, which tells where the open file is.
    setCornerWidget(new QWidget(this));
}

void RecordList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

} // namespace rw

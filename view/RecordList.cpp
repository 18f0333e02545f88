#include "view/RecordList.h"

#include "view/FrozenColumns.h"
#include "view/SortHeader.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

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
    m_frozen = new FrozenColumns(*this);
}

void RecordList::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    if (m_frozen) m_frozen->Follow();
}

void RecordList::setSelectionModel(QItemSelectionModel* selection)
{
    QTableView::setSelectionModel(selection);
    if (m_frozen && m_frozen->model() == model()) m_frozen->Follow();
}

void RecordList::SetSortArrow(int column, bool ascending)
{
    m_header->SetSortArrow(column, ascending);
    m_frozen->Header()->SetSortArrow(column, ascending);
}

void RecordList::SetColumnTips(std::function<QString(int column)> tips)
{
    m_header->SetToolTips(tips);
    m_frozen->Header()->SetToolTips(std::move(tips));
}

void RecordList::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    if (!index.isValid() || index.column() < FrozenColumns::kCount) return;
    // A cell that would stand under the frozen columns is brought out to their right.
    const int covered = m_frozen->width() - visualRect(index).left();
    if (covered > 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - covered);
}

void RecordList::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    m_frozen->Place();
}

void RecordList::updateGeometries()
{
    QTableView::updateGeometries();
    if (m_frozen) m_frozen->Place();
}

void RecordList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

} // namespace rw

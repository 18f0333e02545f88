#include "view/FrozenColumns.h"

#include "view/RecordList.h"
#include "view/SortHeader.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace rw {

FrozenColumns::FrozenColumns(RecordList& list) : QTableView(&list), m_list(list), m_header(new SortHeader(this))
{
    setHorizontalHeader(m_header);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionBehavior(list.selectionBehavior());
    setSelectionMode(list.selectionMode());
    setEditTriggers(list.editTriggers());
    setShowGrid(list.showGrid());
    setWordWrap(false);
    setPalette(list.palette());
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(list.verticalHeader()->defaultSectionSize());
    m_header->setDefaultAlignment(list.horizontalHeader()->defaultAlignment());
    m_header->setHighlightSections(false);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    // A line at the right edge shows where the frozen columns end.
    setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));

    // One vertical position for both.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, list.verticalScrollBar(), &QScrollBar::setValue);
    connect(list.verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    // One width for each frozen column, whichever header was dragged.
    connect(m_header, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column < kCount && m_list.columnWidth(column) != width) m_list.setColumnWidth(column, width);
    });
    connect(list.horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column >= kCount) return;
        if (columnWidth(column) != width) setColumnWidth(column, width);
        Place();
    });
    // Clicks on the frozen titles sort as clicks on the list's own would.
    connect(m_header, &QHeaderView::sectionClicked, list.horizontalHeader(), &QHeaderView::sectionClicked);
    // The list's context menus here too.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_list.ShowContextMenu(m_list.viewport()->mapFromGlobal(viewport()->mapToGlobal(at))); });
    m_header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_header, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_list.ShowColumnMenu(m_header->mapToGlobal(at)); });
}

bool FrozenColumns::Edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    return QTableView::edit(index, trigger, event);
}

void FrozenColumns::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool hadFocus = editor->hasFocus();
    QTableView::closeEditor(editor, hint);
    if (hadFocus) m_list.setFocus();
}

void FrozenColumns::Follow()
{
    if (model() != m_list.model()) {
        setModel(m_list.model());
        if (model()) {
            connect(model(), &QAbstractItemModel::modelReset, this, &FrozenColumns::ShowOnlyTheFrozenColumns);
            connect(model(), &QAbstractItemModel::columnsInserted, this, &FrozenColumns::ShowOnlyTheFrozenColumns);
        }
    }
    setSelectionModel(m_list.selectionModel());
    setEditTriggers(m_list.editTriggers());
    ShowOnlyTheFrozenColumns();
}

void FrozenColumns::ShowOnlyTheFrozenColumns()
{
    if (!model()) return;
    for (int column = 0; column < model()->columnCount(); ++column) {
        setColumnHidden(column, column >= kCount);
        if (column < kCount) setColumnWidth(column, m_list.columnWidth(column));
    }
    Place();
}

void FrozenColumns::Place()
{
    int width = 0;
    for (int column = 0; column < kCount; ++column) width += m_list.columnWidth(column);
    setGeometry(m_list.frameWidth(), m_list.frameWidth(), width,
                m_list.viewport()->height() + m_list.horizontalHeader()->height());
    m_header->setFixedHeight(m_list.horizontalHeader()->height());
}

void FrozenColumns::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit m_list.DoubleClicked();
}

} // namespace rw

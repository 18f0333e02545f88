#include "view/RecordList.h"

#include "resources/Strings.h"
#include "table/RecordTableModel.h"
#include "ui/Texts.h"
#include "view/ColumnMenu.h"
#include "view/FrozenColumns.h"
#include "view/SortHeader.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

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
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, &RecordList::SnapScrollAction);
    connect(horizontalScrollBar(), &QAbstractSlider::valueChanged, this, &RecordList::SnapScrollValue);
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
    m_header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_header, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowColumnMenu(m_header->mapToGlobal(at)); });
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
    const bool sameColumns = this->model() && model && this->model()->columnCount() == model->columnCount();
    const ColumnLayout kept = sameColumns ? Layout() : ColumnLayout();
    QTableView::setModel(model);
    if (sameColumns) ApplyLayout(kept);
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

std::vector<int> RecordList::ColumnStops() const
{
    std::vector<int> stops{0};
    if (!model()) return stops;
    int frozen = 0;
    for (int column = 0; column < FrozenColumns::kCount && column < model()->columnCount(); ++column) {
        frozen += m_header->sectionSize(column);
    }
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int column = m_header->logicalIndex(visual);
        if (column < FrozenColumns::kCount || m_header->isSectionHidden(column)) continue;
        const int stop = m_header->sectionPosition(column) - frozen;
        if (stop > stops.back()) stops.push_back(stop);
    }
    return stops;
}

int RecordList::StopNear(int value, int direction) const
{
    const std::vector<int> stops = ColumnStops();
    const auto after = std::lower_bound(stops.begin(), stops.end(), value);
    if (after != stops.end() && *after == value) return value;
    const int before = after == stops.begin() ? stops.front() : *std::prev(after);
    if (after == stops.end()) return before;
    if (direction > 0) return *after;
    if (direction < 0) return before;
    return value - before <= *after - value ? before : *after;
}

void RecordList::SnapScrollAction(int action)
{
    QScrollBar& bar = *horizontalScrollBar();
    const int from = bar.value();
    const int to = bar.sliderPosition();
    // A page is what shows beside the frozen columns: the column it cut at the right edge
    // comes first, and the one cut at the left edge last.
    const int page = std::max(1, viewport()->width() - m_frozen->width());
    int stop = to;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: stop = StopNear(from + 1, +1); break;
    case QAbstractSlider::SliderSingleStepSub: stop = StopNear(from - 1, -1); break;
    case QAbstractSlider::SliderPageStepAdd: stop = std::max(StopNear(from + page, -1), StopNear(from + 1, +1)); break;
    case QAbstractSlider::SliderPageStepSub: stop = std::min(StopNear(from - page, +1), StopNear(from - 1, -1)); break;
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum: stop = StopNear(to, 0); break;
    case QAbstractSlider::SliderMove:
        // A drag follows the mouse to the nearest stop; the wheel goes on in its direction.
        stop = StopNear(to, bar.isSliderDown() ? 0 : (to > from) - (to < from));
        break;
    default: break;
    }
    bar.setSliderPosition(std::clamp(stop, bar.minimum(), bar.maximum()));
}

void RecordList::SnapScrollValue(int value)
{
    if (m_snapping) return;
    const int stop = StopNear(value, horizontalScrollBar()->isSliderDown() ? 0 : (value > m_lastStop) - (value < m_lastStop));
    m_lastStop = std::clamp(stop, horizontalScrollBar()->minimum(), horizontalScrollBar()->maximum());
    if (m_lastStop == value) return;
    m_snapping = true;
    horizontalScrollBar()->setValue(m_lastStop);
    m_snapping = false;
}

ColumnLayout RecordList::Layout() const
{
    ColumnLayout layout;
    if (!model()) return layout;
    for (int column = 0; column < model()->columnCount(); ++column) {
        const bool hidden = isColumnHidden(column);
        // A hidden column has no width to tell; it comes back as wide as the kind has it.
        const QVariant kindWidth = model()->headerData(column, Qt::Horizontal, RecordTableModel::kColumnWidthRole);
        layout.widths.push_back(hidden ? (kindWidth.isValid() ? kindWidth.toInt() : m_header->defaultSectionSize())
                                       : columnWidth(column));
        layout.hidden.push_back(hidden);
    }
    return layout;
}

void RecordList::ApplyLayout(const ColumnLayout& layout)
{
    if (!model()) return;
    for (int column = 0; column < model()->columnCount(); ++column) {
        const auto at = static_cast<std::size_t>(column);
        const bool hidden = column >= FrozenColumns::kCount && at < layout.hidden.size() && layout.hidden[at];
        // Shown first: a hidden column takes no width.
        setColumnHidden(column, false);
        if (at < layout.widths.size()) setColumnWidth(column, layout.widths[at]);
        setColumnHidden(column, hidden);
    }
}

void RecordList::FillColumnMenu(QMenu& menu)
{
    if (!model()) return;
    std::vector<QAction*> entries;
    for (int column = 0; column < model()->columnCount(); ++column) {
        QAction* entry = menu.addAction(model()->headerData(column, Qt::Horizontal).toString());
        entry->setCheckable(true);
        entry->setChecked(!isColumnHidden(column));
        // The ID and name say which record a row is.
        entry->setEnabled(column >= FrozenColumns::kCount);
        entries.push_back(entry);
    }
    menu.addSeparator();
    QAction* all = menu.addAction(Text(str::kMenuShowAllColumns));
    // Only while a column is hidden, as the menu, which stays open, shows it now.
    const auto allFollows = [this, all] {
        bool anyHidden = false;
        for (int column = 0; column < model()->columnCount(); ++column) anyHidden = anyHidden || isColumnHidden(column);
        all->setEnabled(anyHidden);
    };
    allFollows();
    for (std::size_t column = 0; column < entries.size(); ++column) {
        connect(entries[column], &QAction::toggled, this, [this, column, allFollows](bool shown) {
            setColumnHidden(static_cast<int>(column), !shown);
            allFollows();
            emit ColumnsShownChanged();
        });
    }
    connect(all, &QAction::triggered, this, [this] {
        for (int column = 0; column < model()->columnCount(); ++column) setColumnHidden(column, false);
        emit ColumnsShownChanged();
    });
}

void RecordList::ShowColumnMenu(QPoint at)
{
    ColumnMenu menu;
    FillColumnMenu(menu);
    menu.exec(at);
}

void RecordList::ShowContextMenu(QPoint at)
{
    if (!actions().isEmpty()) QMenu::exec(actions(), viewport()->mapToGlobal(at), nullptr, this);
}

bool RecordList::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // The frozen columns stand over the list's own ID and name: their editor goes there too.
    if (index.isValid() && index.column() < FrozenColumns::kCount && m_frozen && m_frozen->isVisible()) {
        return m_frozen->Edit(index, trigger, event);
    }
    return QTableView::edit(index, trigger, event);
}

void RecordList::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    const int column = current.isValid() ? current.column() : -1;
    m_header->SetCurrentColumn(column);
    m_frozen->Header()->SetCurrentColumn(column);
    // The frame of the current cell moves with it, in both views.
    if (previous.isValid()) {
        viewport()->update(visualRect(previous));
        m_frozen->viewport()->update();
    }
    if (current.isValid()) viewport()->update(visualRect(current));
}

int RecordList::NextShownColumn(int column, int step) const
{
    if (!model()) return -1;
    for (int next = column + step; next >= 0 && next < model()->columnCount(); next += step) {
        if (!isColumnHidden(next)) return next;
    }
    return -1;
}

void RecordList::MoveAfterEdit(int row, int column, bool rowGone, EditMove move)
{
    setFocus();
    if (!model() || model()->rowCount() == 0) return;
    const int lastRow = model()->rowCount() - 1;
    QModelIndex target;
    switch (move) {
    case EditMove::Down:
        // A row the filter let go leaves the next one in its place.
        target = model()->index(std::min(rowGone ? row : row + 1, lastRow), column);
        break;
    case EditMove::Next:
    case EditMove::Previous: {
        const int next = NextShownColumn(column, move == EditMove::Next ? 1 : -1);
        target = model()->index(std::min(row, lastRow), next >= 0 ? next : column);
        setCurrentIndex(target);
        // The next cell is edited only when it is the same record's.
        if (!rowGone && next >= 0) edit(target);
        return;
    }
    }
    setCurrentIndex(target);
}

void RecordList::keyPressEvent(QKeyEvent* event)
{
    // The context menu from the keyboard, at the current cell.
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        event->accept();
        const QRect cell = visualRect(currentIndex());
        ShowContextMenu(cell.isValid() ? cell.bottomLeft() : QPoint(0, 0));
        return;
    }
    QTableView::keyPressEvent(event);
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
    // The last stop may lie beyond where the columns end: the room after them stays empty.
    QScrollBar& bar = *horizontalScrollBar();
    if (bar.maximum() > 0) bar.setMaximum(StopNear(bar.maximum(), +1));
    // Columns wider, narrower, hidden or shown: the position goes to a stop again.
    SnapScrollValue(bar.value());
}

void RecordList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

} // namespace rw

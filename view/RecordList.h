#pragma once

// The record list (control 1000): whole rows selected, several at once, the selection as
// visible when the list loses the focus, the sort header on top, the ID and name frozen at the
// left while the rest scrolls sideways. A left double-click anywhere in its rows' area, on a
// row or on the empty space below the rows, is reported after the click has set the selection;
// QTableView's own doubleClicked only fires on a row.
//
// The current cell is framed and its column's title shown in bold, so that the user sees where
// a one-column paste goes. A cell of the frozen columns is edited over them, where it shows.
// After an edit put in with Enter the next row's cell becomes current, as in a spreadsheet;
// after Tab the next column's is edited. The context menu also opens with the Menu key and
// Shift+F10, and the header's with a right click lets columns be hidden and shown again.

#include "view/EditorSettings.h"

#include <QTableView>

#include <functional>
#include <vector>

class QMenu;

namespace rw {

class FrozenColumns;
class SortHeader;

class RecordList : public QTableView {
    Q_OBJECT
public:
    // Where the current cell goes once an edit has gone in.
    enum class EditMove { Down, Next, Previous };

    explicit RecordList(QWidget* parent = nullptr);

    using QTableView::edit;

    [[nodiscard]] SortHeader* Header() const { return m_header; }
    [[nodiscard]] FrozenColumns* Frozen() const { return m_frozen; }

    // Another model with the same columns (the table, or the rows the find bar lets show)
    // keeps the columns' widths and which are hidden.
    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selection) override;
    // The arrow and the tooltips, on the frozen titles as on the others.
    void SetSortArrow(int column, bool ascending);
    void SetColumnTips(std::function<QString(int column)> tips);
    // Scrolled sideways so that a cell is never hidden under the frozen columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // The other columns scroll sideways by whole columns: at every stop one of them stands
    // right beside the frozen ones, so none is ever shown cut under them. The sideways
    // positions of those stops, ascending, from 0.
    [[nodiscard]] std::vector<int> ColumnStops() const;

    // The columns' widths and which are hidden; the ID and name never are.
    [[nodiscard]] ColumnLayout Layout() const;
    void ApplyLayout(const ColumnLayout& layout);
    // One checkable entry per column, checked while it shows, then 显示全部列.
    void FillColumnMenu(QMenu& menu);
    // The header's context menu, at a point of the screen.
    void ShowColumnMenu(QPoint at);
    // The list's commands at a point of its viewport.
    void ShowContextMenu(QPoint at);
    // Moves the current cell after an edit of the cell at (row, column) went in; rowGone: the
    // edited row no longer shows (the find bar's filter let it go).
    void MoveAfterEdit(int row, int column, bool rowGone, EditMove move);

signals:
    void DoubleClicked();
    // The user hid or showed a column.
    void ColumnsShownChanged();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    // The next column to the right (step 1) or left (-1) that shows, or -1.
    [[nodiscard]] int NextShownColumn(int column, int step) const;
    // The stop at or after value (direction > 0), at or before it (< 0), or the nearest (0).
    [[nodiscard]] int StopNear(int value, int direction) const;
    // A scroll bar's step, page, drag or wheel, taken to a stop in its direction.
    void SnapScrollAction(int action);
    // A position set otherwise (a cell brought into view, the range changed) taken to a stop.
    void SnapScrollValue(int value);

    SortHeader* m_header;
    FrozenColumns* m_frozen = nullptr;
    int m_lastStop = 0;     // the sideways position last taken to a stop
    bool m_snapping = false;
};

} // namespace rw

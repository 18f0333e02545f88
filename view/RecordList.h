#pragma once

// The record list (control 1000): whole rows selected, several at once, the selection as
// visible when the list loses the focus, the sort header on top, the ID and name frozen at the
// left while the rest scrolls sideways. A left double-click anywhere in its rows' area, on a
// row or on the empty space below the rows, is reported after the click has set the selection;
// QTableView's own doubleClicked only fires on a row.

#include <QTableView>

#include <functional>

namespace rw {

class FrozenColumns;
class SortHeader;

class RecordList : public QTableView {
    Q_OBJECT
public:
    explicit RecordList(QWidget* parent = nullptr);

    [[nodiscard]] SortHeader* Header() const { return m_header; }
    [[nodiscard]] FrozenColumns* Frozen() const { return m_frozen; }

    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selection) override;
    // The arrow and the tooltips, on the frozen titles as on the others.
    void SetSortArrow(int column, bool ascending);
    void SetColumnTips(std::function<QString(int column)> tips);
    // Scrolled sideways so that a cell is never hidden under the frozen columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    SortHeader* m_header;
    FrozenColumns* m_frozen = nullptr;
};

} // namespace rw

#pragma once

// The record list (control 1000): whole rows selected, several at once, the selection as
// visible when the list loses the focus, the sort header on top. A left double-click anywhere
// in its rows' area, on a row or on the empty space below the rows, is reported after the
// click has set the selection; QTableView's own doubleClicked only fires on a row.

#include <QTableView>

namespace rw {

class SortHeader;

class RecordList : public QTableView {
    Q_OBJECT
public:
    explicit RecordList(QWidget* parent = nullptr);

    [[nodiscard]] SortHeader* Header() const { return m_header; }

signals:
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SortHeader* m_header;
};

} // namespace rw

#pragma once

// The record list (control 1000). A left double-click anywhere in its rows' area, on a row or
// on the empty space below the rows, is reported after the click has set the selection;
// QTableView's own doubleClicked only fires on a row.

#include <QMouseEvent>
#include <QTableView>

namespace rw {

class RecordList : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

signals:
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QTableView::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton) emit DoubleClicked();
    }
};

} // namespace rw

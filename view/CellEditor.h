#pragma once

// Editing a cell in place: F2, or typing on it, opens a line edit over it. Enter puts the text
// into the table and moves on to the cell below, Tab and Shift+Tab put it in and edit the next
// or previous cell; a refused text keeps the editor open on the cell, with the message. Escape
// takes nothing. Leaving the editor otherwise puts the text in when it is good and drops it
// quietly when it is not. The current cell is drawn framed.

#include "view/RecordList.h"

#include <QStyledItemDelegate>

#include <functional>

namespace rw {

class CellEditor : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Puts text into the cell; false when refused, after saying why when report is true.
    using Commit = std::function<bool(const QModelIndex& cell, const QString& text, bool report)>;
    // The name box's limit in GBK bytes for a column, or 0 for a number.
    using NameLimit = std::function<int(int column)>;

    // Where the current cell goes once an edit of the cell at (row, column) went in.
    using AfterEdit = std::function<void(int row, int column, bool rowGone, RecordList::EditMove move)>;

    CellEditor(Commit commit, NameLimit nameLimit, AfterEdit afterEdit, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // A cell whose text does not fit shows it whole as its tooltip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Enter or Tab: true when the text went in.
    bool CommitLoudly(QWidget* editor);

    Commit m_commit;
    NameLimit m_nameLimit;
    AfterEdit m_afterEdit;
    bool m_reporting = false; // a refusal's message is up; the editor stays
};

} // namespace rw

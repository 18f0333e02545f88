#pragma once

// The ID and name columns, drawn over the record list's own left edge, so that they stay in
// sight while the list scrolls sideways. They show the list's model through the list's own
// selection, scroll up and down with it, and stay as wide as the list's columns; their header
// sorts and shows the arrow as the list's does.

#include <QTableView>

namespace rw {

class RecordList;
class SortHeader;

class FrozenColumns : public QTableView {
    Q_OBJECT
public:
    static constexpr int kCount = 2; // the ID and the name

    explicit FrozenColumns(RecordList& list);

    [[nodiscard]] SortHeader* Header() const { return m_header; }
    // After the list took another model (or selection model): the same here.
    void Follow();
    // Over the list's first columns, as wide as they are.
    void Place();
    // Opens the editor of one of its cells, where the list's own would stand hidden.
    bool Edit(const QModelIndex& index, EditTrigger trigger, QEvent* event);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // The keys go back to the list once an editor here closes: this view takes none itself.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void ShowOnlyTheFrozenColumns();

    RecordList& m_list;
    SortHeader* m_header;
};

} // namespace rw

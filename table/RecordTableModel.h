#pragma once

// The open file's table as a Qt table model. Cells are formatted when a view asks for them;
// nothing per cell is stored, so a million rows cost little beyond their record bytes. Every
// change of the rows goes through here and is announced, so views and their selections follow
// it; the document decides which changes happen.

#include "table/RecordTable.h"

#include <QAbstractTableModel>

namespace rw {

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // headerData of a column in this role: its width in pixels (int).
    static constexpr int kColumnWidthRole = Qt::UserRole + 1;

    explicit RecordTableModel(QObject* parent = nullptr);

    [[nodiscard]] const RecordTable& Table() const { return m_table; }
    [[nodiscard]] int ColumnWidth(int column) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

    // Another table altogether: the views reset to its columns and rows.
    void Replace(RecordTable table);
    PutResult Put(const Record& record, int row);
    PutResult PutByKey(const Record& record, RowKey key);
    bool DeleteRow(int row);
    // Persistent indexes (a view's selection and current row) stay on their records; the
    // header hears of every section, for its arrow.
    void Sort(int column, bool ascending);

private:
    void AnnounceRowChanged(int row);

    RecordTable m_table;
};

} // namespace rw

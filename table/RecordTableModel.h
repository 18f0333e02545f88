#pragma once

// The open file as a Qt table model. Cells are formatted when a view asks for them; nothing
// per cell is stored, so a million rows cost little beyond their record bytes. Every change
// of the rows goes through here, so views and their selections follow it.

#include "table/TableSession.h"

#include <QAbstractTableModel>

namespace rw {

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // headerData of a column in this role: its width in pixels (int).
    static constexpr int kColumnWidthRole = Qt::UserRole + 1;

    explicit RecordTableModel(QObject* parent = nullptr);

    [[nodiscard]] const TableSession& Session() const { return m_session; }
    [[nodiscard]] const RecordTable& Table() const { return m_session.Table(); }
    [[nodiscard]] int ColumnWidth(int column) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

    // As TableSession::Load; on success the model resets to the new columns and rows.
    LoadReport Load(std::filesystem::path path, std::string bareName, const KeySet& keys);
    PutResult Put(const Record& record, int row);
    PutResult PutByKey(const Record& record, RowKey key);
    bool DeleteRow(int row);
    // Sorts for a left click on a header; persistent indexes (a view's selection and current
    // row) stay on their records.
    SortClick ClickHeader(int column);
    void MarkSaved(const std::filesystem::path& path, const DataFileFingerprint& fingerprint)
    {
        m_session.MarkSaved(path, fingerprint);
    }

private:
    void AnnounceRowChanged(int row);

    TableSession m_session;
};

} // namespace rw

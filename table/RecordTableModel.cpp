#include "table/RecordTableModel.h"

#include "text/GbkCodec.h"

#include <algorithm>
#include <vector>

namespace rw {

RecordTableModel::RecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int RecordTableModel::ColumnWidth(int column) const
{
    if (column < 0 || column >= m_table.ColumnCount()) return 0;
    return m_table.Schema().Column(column).widthPx;
}

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.RowCount();
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.ColumnCount();
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == kNameColumn) return GbkCodec::Instance().Decode(m_table.NameBytes(index.row()));
        return QString::number(m_table.Value(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_table.ColumnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const ColumnSpec& column = m_table.Schema().Column(section);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(column.title.data(), static_cast<qsizetype>(column.title.size()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case kColumnWidthRole:
        return int{column.widthPx};
    default:
        return {};
    }
}

void RecordTableModel::Replace(RecordTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

PutResult RecordTableModel::Put(const Record& record, int row)
{
    const PutResult check = m_table.CheckPut(record, row);
    if (!check.Accepted()) return check;
    if (row != -1) {
        PutResult result = m_table.PutRecord(record, row);
        AnnounceRowChanged(result.row);
        return result;
    }
    beginInsertRows(QModelIndex(), check.row, check.row);
    PutResult result = m_table.PutRecord(record, row);
    endInsertRows();
    return result;
}

PutResult RecordTableModel::PutByKey(const Record& record, RowKey key)
{
    PutResult result = m_table.PutRecordByKey(record, key);
    if (result.Accepted()) AnnounceRowChanged(result.row);
    return result;
}

bool RecordTableModel::DeleteRow(int row)
{
    if (row < 0 || row >= m_table.RowCount()) return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_table.DeleteRow(row);
    endRemoveRows();
    return true;
}

void RecordTableModel::Sort(int column, bool ascending)
{
    const QList<QPersistentModelIndex> parents;
    emit layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<RowKey> keys;
    keys.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) keys.push_back(m_table.KeyOfRow(index.row()));

    m_table.Sort(column, ascending);

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(index(m_table.RowOfKey(keys[static_cast<std::size_t>(i)]), before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
    if (m_table.ColumnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, m_table.ColumnCount() - 1);
}

void RecordTableModel::AnnounceRowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, m_table.ColumnCount() - 1));
}

} // namespace rw

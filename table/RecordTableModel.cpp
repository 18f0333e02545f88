#include "table/RecordTableModel.h"

#include "text/GbkCodec.h"

#include <algorithm>
#include <vector>

namespace rw {

RecordTableModel::RecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int RecordTableModel::ColumnWidth(int column) const
{
    if (column < 0 || column >= Table().ColumnCount()) return 0;
    return Table().Schema().Column(column).widthPx;
}

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Table().RowCount();
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Table().ColumnCount();
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == kNameColumn) return GbkCodec::Instance().Decode(Table().NameBytes(index.row()));
        return QString::number(Table().Value(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= Table().ColumnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const ColumnSpec& column = Table().Schema().Column(section);
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

LoadReport RecordTableModel::Load(std::filesystem::path path, std::string bareName, const KeySet& keys)
{
    LoadedTable loaded = LoadDataFile(path, bareName, keys);
    if (loaded.report.Loaded()) {
        beginResetModel();
        m_session.Replace(std::move(*loaded.table), std::move(path), std::move(bareName), loaded.report.decode);
        endResetModel();
    }
    return loaded.report;
}

PutResult RecordTableModel::Put(const Record& record, int row)
{
    const PutResult check = Table().CheckPut(record, row);
    if (!check.Accepted()) return check;
    if (row != -1) {
        PutResult result = m_session.Put(record, row);
        AnnounceRowChanged(result.row);
        return result;
    }
    beginInsertRows(QModelIndex(), check.row, check.row);
    PutResult result = m_session.Put(record, row);
    endInsertRows();
    return result;
}

PutResult RecordTableModel::PutByKey(const Record& record, RowKey key)
{
    PutResult result = m_session.PutByKey(record, key);
    if (result.Accepted()) AnnounceRowChanged(result.row);
    return result;
}

bool RecordTableModel::DeleteRow(int row)
{
    if (row < 0 || row >= Table().RowCount()) return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_session.DeleteRow(row);
    endRemoveRows();
    return true;
}

SortClick RecordTableModel::ClickHeader(int column)
{
    const QList<QPersistentModelIndex> parents;
    emit layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<RowKey> keys;
    keys.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) keys.push_back(Table().KeyOfRow(index.row()));

    const SortClick click = m_session.ClickHeader(column);

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(index(Table().RowOfKey(keys[static_cast<std::size_t>(i)]), before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged(parents, QAbstractItemModel::VerticalSortHint);

    // The arrows live in the header: tell it which sections changed.
    const int columns = Table().ColumnCount();
    for (const int section : {click.clearedColumn, click.column}) {
        if (section >= 0 && section < columns) emit headerDataChanged(Qt::Horizontal, section, section);
    }
    return click;
}

void RecordTableModel::AnnounceRowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, Table().ColumnCount() - 1));
}

} // namespace rw

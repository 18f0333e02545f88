#include "table/RecordTableModel.h"

#include "text/GbkCodec.h"

#include <algorithm>
#include <vector>

namespace rw {
namespace {

[[nodiscard]] QString ValueText(const RecordSchema& schema, std::span<const std::uint8_t> record, int column)
{
    if (column == kNameColumn) return GbkCodec::Instance().Decode(ReadShortName(schema, record.data()));
    return QString::number(ReadColumnValue(schema, record.data(), column));
}

} // namespace

RecordTableModel::RecordTableModel(QObject* parent)
    : QAbstractTableModel(parent), m_baseline(m_table.Schema().recordSize)
{
    m_baseline.Mark(m_table);
}

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
    case Qt::BackgroundRole:
    case Qt::DecorationRole:
        return m_colouring ? m_colouring(index.column(), MarksOf(index.row(), index.column()), role) : QVariant();
    case Qt::ToolTipRole:
        return ComparisonTip(index);
    default:
        return {};
    }
}

const RecordTableModel::ComparedRow& RecordTableModel::Compared(int row) const
{
    if (m_compared.row != row) {
        const std::span<const std::uint8_t> there = m_comparison->CounterpartOf(m_table, row);
        m_compared.row = row;
        m_compared.counterpart = !there.empty();
        m_compared.differences =
            there.empty() ? FieldDifferences{} : CompareRecordImages(m_table.Schema(), m_table.RowBytes(row), there);
    }
    return m_compared;
}

std::uint64_t RecordTableModel::ChangedColumns(int row) const
{
    constexpr std::uint64_t kIdCell = std::uint64_t{1} << kIdColumn;
    if (IsAddedRow(row)) return kIdCell;
    const FieldDifferences changes = m_baseline.ChangesOf(m_table, row);
    return changes.columns | (changes.hiddenBytes ? kIdCell : 0);
}

std::uint64_t RecordTableModel::DifferingColumns(int row) const
{
    constexpr std::uint64_t kIdCell = std::uint64_t{1} << kIdColumn;
    if (!m_comparison || row < 0 || row >= m_table.RowCount()) return 0;
    const ComparedRow& compared = Compared(row);
    return compared.differences.columns | (!compared.counterpart || compared.differences.hiddenBytes ? kIdCell : 0);
}

CellMarks RecordTableModel::MarksOf(int row, int column) const
{
    CellMarks marks;
    if (row < 0 || row >= m_table.RowCount() || column < 0 || column >= m_table.ColumnCount()) return marks;
    marks.changed = IsCellChanged(row, column);
    marks.rowAdded = IsAddedRow(row);
    marks.differs = (DifferingColumns(row) >> column) & 1U;
    return marks;
}

QVariant RecordTableModel::ComparisonTip(const QModelIndex& index) const
{
    if (!m_comparison || !m_wording) return {};
    ComparisonNote note;
    note.otherName = QString::fromStdString(m_comparison->OtherName());
    const ComparedRow& compared = Compared(index.row());
    const bool idCell = index.column() == kIdColumn;
    if (!compared.counterpart) {
        note.onlyHere = idCell;
    } else {
        note.valueDiffers = compared.differences.Column(index.column());
        if (note.valueDiffers) {
            note.otherValue = ValueText(m_table.Schema(), m_comparison->CounterpartOf(m_table, index.row()), index.column());
        }
        note.hiddenDiffer = idCell && compared.differences.hiddenBytes;
    }
    if (!note.onlyHere && !note.valueDiffers && !note.hiddenDiffer) return {};
    return m_wording(note);
}

void RecordTableModel::SetComparison(const Comparison* comparison)
{
    m_comparison = comparison;
    ForgetComparedRow();
    if (m_table.RowCount() > 0) emit dataChanged(index(0, 0), index(m_table.RowCount() - 1, m_table.ColumnCount() - 1));
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

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsEditable : flags;
}

void RecordTableModel::Replace(RecordTable table)
{
    beginResetModel();
    m_table = std::move(table);
    m_baseline = ChangeBaseline(m_table.Schema().recordSize);
    m_baseline.Mark(m_table);
    ForgetComparedRow();
    endResetModel();
}

template <typename Change>
void RecordTableModel::Reorder(Change&& change)
{
    const QList<QPersistentModelIndex> parents;
    emit layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<RowKey> keys;
    keys.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) keys.push_back(m_table.KeyOfRow(index.row()));

    change();
    ForgetComparedRow();

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(index(m_table.RowOfKey(keys[static_cast<std::size_t>(i)]), before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
}

void RecordTableModel::Sort(int column, bool ascending)
{
    Reorder([&] { m_table.Sort(column, ascending); });
    if (m_table.ColumnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, m_table.ColumnCount() - 1);
}

void RecordTableModel::SetOrder(std::vector<std::uint32_t> order)
{
    Reorder([&] { m_table.SetOrder(std::move(order)); });
}

void RecordTableModel::WriteSlots(std::span<const std::uint32_t> written, const RecordEdit& edit)
{
    constexpr std::size_t kRowsAnnouncedOneByOne = 64;
    for (const std::uint32_t slot : written) m_baseline.BeforeWrite(m_table, slot);
    m_table.WriteSlots(written, edit);
    ForgetComparedRow();
    if (written.size() > kRowsAnnouncedOneByOne) {
        if (m_table.RowCount() > 0) {
            emit dataChanged(index(0, 0), index(m_table.RowCount() - 1, m_table.ColumnCount() - 1));
        }
        return;
    }
    for (const std::uint32_t slot : written) {
        if (const int row = m_table.RowOfSlot(slot); row >= 0) AnnounceRowChanged(row);
    }
}

void RecordTableModel::MarkBaseline()
{
    m_baseline.Mark(m_table);
    // The marks of what had changed go.
    if (m_table.RowCount() > 0) emit dataChanged(index(0, 0), index(m_table.RowCount() - 1, m_table.ColumnCount() - 1));
}

std::vector<std::uint32_t> RecordTableModel::AppendRows(const RecordStore& records)
{
    if (records.Count() == 0) return {};
    const int first = m_table.RowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(records.Count()) - 1);
    std::vector<std::uint32_t> added = m_table.AppendRows(records);
    ForgetComparedRow();
    endInsertRows();
    return added;
}

namespace {

// Runs of consecutive rows, as [begin, end) index pairs into rows (ascending).
template <typename Rows, typename RowOf>
std::vector<std::pair<std::size_t, std::size_t>> Runs(const Rows& rows, RowOf rowOf)
{
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (runs.empty() || rowOf(rows[i]) != rowOf(rows[i - 1]) + 1) runs.emplace_back(i, i);
        runs.back().second = i + 1;
    }
    return runs;
}

// Beyond this many runs, the views are told to start afresh rather than run by run.
constexpr std::size_t kMaxAnnouncedRuns = 256;

} // namespace

std::vector<RecordTable::RowSlot> RecordTableModel::RemoveRows(std::span<const int> rows)
{
    const auto runs = Runs(rows, [](int row) { return row; });
    if (runs.size() > kMaxAnnouncedRuns) {
        beginResetModel();
        std::vector<RecordTable::RowSlot> removed = m_table.RemoveRows(rows);
        ForgetComparedRow();
        endResetModel();
        return removed;
    }
    // From the last run up, so the rows of the runs above keep their numbers.
    std::vector<RecordTable::RowSlot> removed(rows.size());
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const auto part = rows.subspan(run->first, run->second - run->first);
        beginRemoveRows(QModelIndex(), part.front(), part.back());
        const std::vector<RecordTable::RowSlot> taken = m_table.RemoveRows(part);
        ForgetComparedRow();
        endRemoveRows();
        std::copy(taken.begin(), taken.end(), removed.begin() + static_cast<std::ptrdiff_t>(run->first));
    }
    return removed;
}

void RecordTableModel::ReinsertRows(std::span<const RecordTable::RowSlot> rows)
{
    const auto runs = Runs(rows, [](const RecordTable::RowSlot& r) { return r.row; });
    if (runs.size() > kMaxAnnouncedRuns) {
        beginResetModel();
        m_table.ReinsertRows(rows);
        ForgetComparedRow();
        endResetModel();
        return;
    }
    // From the first run down: each row goes to its final place.
    for (const auto& [begin, end] : runs) {
        const auto part = rows.subspan(begin, end - begin);
        beginInsertRows(QModelIndex(), part.front().row, part.back().row);
        m_table.ReinsertRows(part);
        ForgetComparedRow();
        endInsertRows();
    }
}

void RecordTableModel::AnnounceRowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, m_table.ColumnCount() - 1));
}

} // namespace rw

#pragma once

// The open file's table as a Qt table model. Cells are formatted when a view asks for them;
// nothing per cell is stored, so a million rows cost little beyond their record bytes. Every
// change of the rows goes through here and is announced, so views and their selections follow
// it; the document decides which changes happen.

#include "table/Comparison.h"
#include "table/RecordTable.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace rw {

// What a cell's tooltip tells of the comparison, for the windows to word.
struct ComparisonNote {
    QString otherName;
    bool onlyHere = false;     // the record has no counterpart in the other file (ID cells)
    bool valueDiffers = false; // otherValue is the other file's value of the cell
    QString otherValue;
    bool hiddenDiffer = false; // bytes no column shows differ (ID cells)
};
using ComparisonWording = std::function<QString(const ComparisonNote&)>;

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // headerData of a column in this role: its width in pixels (int).
    static constexpr int kColumnWidthRole = Qt::UserRole + 1;

    explicit RecordTableModel(QObject* parent = nullptr);

    [[nodiscard]] const RecordTable& Table() const { return m_table; }
    // Cells that differ from the other file are tinted, with its value as their tooltip;
    // null: no marks. The comparison must outlive its use here.
    void SetComparison(const Comparison* comparison);
    [[nodiscard]] const Comparison* CurrentComparison() const { return m_comparison; }
    void SetComparisonWording(ComparisonWording wording) { m_wording = std::move(wording); }
    [[nodiscard]] int ColumnWidth(int column) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    // Every cell may be edited in place; the edit goes through the document, not setData.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Another table altogether: the views reset to its columns and rows.
    void Replace(RecordTable table);
    PutResult Put(const Record& record, int row);
    PutResult PutByKey(const Record& record, RowKey key);
    bool DeleteRow(int row);
    // Persistent indexes (a view's selection and current row) stay on their records; the
    // header hears of every section, for its arrow.
    void Sort(int column, bool ascending);

    // The table's edit primitives (see RecordTable), announced.
    void WriteSlot(std::uint32_t slot, std::span<const std::uint8_t> bytes);
    // Many records, announced once: edit changes a copy of record i's bytes, which then
    // replaces it.
    using RecordEdit = std::function<void(std::size_t i, std::span<std::uint8_t> record)>;
    void WriteSlots(std::span<const std::uint32_t> written, const RecordEdit& edit);
    // The baseline of the changes shown is now: after a load or a save.
    void MarkBaseline();
    std::vector<std::uint32_t> AppendRows(const RecordStore& records);
    std::vector<RecordTable::RowSlot> RemoveRows(std::span<const int> rows);
    void ReinsertRows(std::span<const RecordTable::RowSlot> rows);
    void SetOrder(std::vector<std::uint32_t> order);

private:
    void AnnounceRowChanged(int row);
    // Rows that move but stay: selections and current rows follow their records.
    template <typename Change>
    void Reorder(Change&& change);

    [[nodiscard]] QVariant ComparisonTip(const QModelIndex& index) const;

    RecordTable m_table;
    const Comparison* m_comparison = nullptr;
    ComparisonWording m_wording;
};

} // namespace rw

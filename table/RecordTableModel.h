#pragma once

// The open file's table as a Qt table model. Cells are formatted when a view asks for them;
// nothing per cell is stored, so a million rows cost little beyond their record bytes. Every
// change of the rows goes through here and is announced, so views and their selections follow
// it, and the baseline of the changes shown hears of it; the document's steps decide which
// changes happen.

#include "table/ChangeBaseline.h"
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

// What a cell shows of the changes and the comparison, for the windows to colour.
struct CellMarks {
    bool changed = false;  // its value differs from the baseline's
    bool rowAdded = false; // its row was no row at the baseline
    // It differs from the file compared with; an ID cell also when its record has no
    // counterpart there, or only bytes no column shows differ.
    bool differs = false;
};
// A cell's BackgroundRole or DecorationRole, given its column and marks.
using CellColouring = std::function<QVariant(int column, const CellMarks& marks, int role)>;

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
    void SetCellColouring(CellColouring colouring) { m_colouring = std::move(colouring); }
    [[nodiscard]] int ColumnWidth(int column) const;

    // Since the baseline: the file as it was loaded or last saved.
    [[nodiscard]] bool IsCellChanged(int row, int column) const { return m_baseline.IsCellChanged(m_table, row, column); }
    [[nodiscard]] bool IsAddedRow(int row) const { return m_baseline.IsAddedRow(m_table, row); }
    [[nodiscard]] std::size_t ChangedRecordCount() const { return m_baseline.ChangedRecordCount(m_table); }
    [[nodiscard]] CellMarks MarksOf(int row, int column) const;
    // Bit k for column k: the row's cells marked as changed since the baseline (an added row,
    // and bytes no column shows, in its ID cell); 0 for a row as it was.
    [[nodiscard]] std::uint64_t ChangedColumns(int row) const;
    // The same for the cells that differ from the file compared with; 0 without a comparison.
    [[nodiscard]] std::uint64_t DifferingColumns(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    // Every cell may be edited in place; the edit goes through the document, not setData.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Another table altogether, which is its own baseline: the views reset to its columns and
    // rows.
    void Replace(RecordTable table);
    // Persistent indexes (a view's selection and current row) stay on their records; the
    // header hears of every section, for its arrow.
    void Sort(int column, bool ascending);

    // The table's edit primitives (see RecordTable), announced.
    // Many records, announced once, the baseline keeping what they held first.
    using RecordEdit = RecordTable::RecordEdit;
    void WriteSlots(std::span<const std::uint32_t> written, const RecordEdit& edit);
    // The baseline of the changes shown is now: after a load or a save.
    void MarkBaseline();
    std::vector<std::uint32_t> AppendRows(const RecordStore& records);
    std::vector<RecordTable::RowSlot> RemoveRows(std::span<const int> rows);
    void ReinsertRows(std::span<const RecordTable::RowSlot> rows);
    void SetOrder(std::vector<std::uint32_t> order);

private:
    // A row as the comparison sees it. A list paints a row cell by cell: its differences are
    // worked out once, and again only after a change of the rows.
    struct ComparedRow {
        int row = -1;
        bool counterpart = false;
        FieldDifferences differences;
    };

    void AnnounceRowChanged(int row);
    // Rows that move but stay: selections and current rows follow their records.
    template <typename Change>
    void Reorder(Change&& change);

    [[nodiscard]] const ComparedRow& Compared(int row) const;
    void ForgetComparedRow() { m_compared.row = -1; }
    [[nodiscard]] QVariant ComparisonTip(const QModelIndex& index) const;

    RecordTable m_table;
    ChangeBaseline m_baseline;
    const Comparison* m_comparison = nullptr;
    ComparisonWording m_wording;
    CellColouring m_colouring;
    mutable ComparedRow m_compared;
};

} // namespace rw

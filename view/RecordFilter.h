#pragma once

// The rows the list shows while it shows only some, in table order: those that match the find
// bar's query, those changed since the file was loaded or saved, those that differ from the
// file compared with, those picked in the plot (shown alone when they are too scattered to be
// selected in place), each test when it is wanted and all of them together. The rows it hides
// stay in the table. It follows every change of the rows, so a row edited back to what it was
// leaves the changed ones.

#include "query/RecordQuery.h"
#include "table/RecordTableModel.h"

#include <QSortFilterProxyModel>

#include <cstdint>
#include <vector>

namespace rw {

class RecordFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit RecordFilter(RecordTableModel& source, QObject* parent = nullptr);

    void SetQuery(RecordQuery query);
    // The plot's pick, by the records' storage slots (1 for each picked): a slot keeps its record through
    // sorts, deletions and their undo. Records added since (beyond it) are shown.
    void SetPicked(std::vector<std::uint8_t> bySlot);
    struct Tests {
        bool query = false;
        bool changed = false;
        bool differing = false;
        bool picked = false;
        [[nodiscard]] bool Any() const { return query || changed || differing || picked; }
        friend bool operator==(const Tests&, const Tests&) = default;
    };
    void SetTests(const Tests& tests);
    [[nodiscard]] const Tests& Wanted() const { return m_tests; }
    [[nodiscard]] bool Any() const { return m_tests.Any(); }
    // The table rows every wanted test but the pick's lets through, ascending: what the list
    // would show without the pick.
    [[nodiscard]] std::vector<int> RowsBesidesPick() const;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void Refilter();
    [[nodiscard]] bool AcceptsBesidesPick(int row) const;
    [[nodiscard]] bool Picked(int row) const;

    RecordTableModel& m_source;
    RecordQuery m_query;
    std::vector<std::uint8_t> m_picked; // by slot
    Tests m_tests;
};

} // namespace rw

#include "view/RecordFilter.h"

namespace rw {

RecordFilter::RecordFilter(RecordTableModel& source, QObject* parent) : QSortFilterProxyModel(parent), m_source(source)
{
    setSourceModel(&source);
}

void RecordFilter::SetQuery(RecordQuery query)
{
    m_query = std::move(query);
    invalidateRowsFilter();
}

void RecordFilter::SetPicked(std::vector<std::uint8_t> bySlot)
{
    m_picked = std::move(bySlot);
    if (m_tests.picked) Refilter();
}

void RecordFilter::SetTests(const Tests& tests)
{
    if (tests == m_tests) return;
    m_tests = tests;
    Refilter();
}

void RecordFilter::Refilter()
{
    // Every row worked out afresh, as after a reset: hidden or let back run by run, each run
    // would cost the whole list, and a scattered pick is some 100,000 runs.
    setSourceModel(nullptr);
    setSourceModel(&m_source);
}

bool RecordFilter::AcceptsBesidesPick(int row) const
{
    return (!m_tests.query || m_query.Matches(m_source.Table(), row)) &&
           (!m_tests.changed || m_source.ChangedColumns(row) != 0) &&
           // A comparison that ends lets every row back before the check goes.
           (!m_tests.differing || !m_source.CurrentComparison() || m_source.DifferingColumns(row) != 0);
}

bool RecordFilter::Picked(int row) const
{
    const std::uint32_t slot = m_source.Table().SlotOfRow(row);
    return slot >= m_picked.size() || m_picked[slot] != 0;
}

bool RecordFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return (!m_tests.picked || Picked(sourceRow)) && AcceptsBesidesPick(sourceRow);
}

std::vector<int> RecordFilter::RowsBesidesPick() const
{
    std::vector<int> rows;
    const int count = m_source.Table().RowCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        if (AcceptsBesidesPick(row)) rows.push_back(row);
    }
    return rows;
}

} // namespace rw

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

void RecordFilter::SetTests(const Tests& tests)
{
    if (tests == m_tests) return;
    m_tests = tests;
    invalidateRowsFilter();
}

bool RecordFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return (!m_tests.query || m_query.Matches(m_source.Table(), sourceRow)) &&
           (!m_tests.changed || m_source.ChangedColumns(sourceRow) != 0) &&
           // A comparison that ends lets every row back before the check goes.
           (!m_tests.differing || !m_source.CurrentComparison() || m_source.DifferingColumns(sourceRow) != 0);
}

} // namespace rw

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

bool RecordFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return m_query.Matches(m_source.Table(), sourceRow);
}

} // namespace rw

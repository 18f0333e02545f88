#pragma once

// The rows that match the find bar's query, in table order, for the list to show while only
// the matching rows are wanted. The rows it hides stay in the table.

#include "data/RecordQuery.h"
#include "table/RecordTableModel.h"

#include <QSortFilterProxyModel>

namespace rw {

class RecordFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit RecordFilter(RecordTableModel& source, QObject* parent = nullptr);

    void SetQuery(RecordQuery query);

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    RecordTableModel& m_source;
    RecordQuery m_query;
};

} // namespace rw

#pragma once

// The rows the list shows while it shows only some, in table order: those that match the find
// bar's query, those changed since the file was loaded or saved, those that differ from the
// file compared with, each test when it is wanted and all of them together. The rows it hides
// stay in the table. It follows every change of the rows, so a row edited back to what it was
// leaves the changed ones.

#include "query/RecordQuery.h"
#include "table/RecordTableModel.h"

#include <QSortFilterProxyModel>

namespace rw {

class RecordFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit RecordFilter(RecordTableModel& source, QObject* parent = nullptr);

    void SetQuery(RecordQuery query);
    struct Tests {
        bool query = false;
        bool changed = false;
        bool differing = false;
        friend bool operator==(const Tests&, const Tests&) = default;
    };
    void SetTests(const Tests& tests);
    [[nodiscard]] const Tests& Wanted() const { return m_tests; }
    [[nodiscard]] bool Any() const { return m_tests.query || m_tests.changed || m_tests.differing; }

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    RecordTableModel& m_source;
    RecordQuery m_query;
    Tests m_tests;
};

} // namespace rw

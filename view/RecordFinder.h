#pragma once

// Finding rows for the find bar: the next and previous match from the current row, wrapping
// around; and what the list shows: every row, or only those matching the query (the find
// bar's check), only those changed since the load or save, only those that differ from the
// file compared with (查看's checks), or the rows all the wanted tests let through. Rows of
// the list then differ from rows of the table; the form maps them, and the list's selection,
// through here.
//
// A query belongs to the table it was made on: another file loaded stops every filter and leaves
// the query's text in the bar, not taken until the user asks again (typing, Enter, F3 or the
// filter). While a query is taken its count follows every change of the table.

#include "query/RecordQuery.h"
#include "view/RecordFilter.h"

#include <QObject>
#include <QTimer>

class QAction;

#include <vector>

namespace rw {

class FindBar;
class RecordList;
class TableDocument;

class RecordFinder : public QObject {
    Q_OBJECT

public:
    RecordFinder(TableDocument& document, RecordList& list, FindBar& bar, QObject* parent = nullptr);

    [[nodiscard]] bool Filtering() const { return m_filter.Any(); }
    // 查看's checks: only the rows changed since the load or save; only those that differ
    // from the file compared with (while there is one).
    [[nodiscard]] QAction* OnlyChanged() const { return m_onlyChanged; }
    [[nodiscard]] QAction* OnlyDiffering() const { return m_onlyDiffering; }
    // The table's row of a row of the list, and the list's row of a table row (-1 when the
    // filter hides it).
    [[nodiscard]] int TableRow(int listRow) const;
    [[nodiscard]] int ListRow(int tableRow) const;
    // The table rows the list's selection holds, ascending; the first of them, -1 when none.
    [[nodiscard]] std::vector<int> SelectedRows() const;
    [[nodiscard]] int FirstSelectedRow() const;
    // The list shows every row again.
    void StopFiltering();
    // The find bar's filter stops; 查看's stay.
    void StopMatching();
    // Takes the query as it stands now, without waiting for the typing to pause.
    void ApplyQuery();
    // The plot's pick shown alone: only those records (by slot, see RecordFilter) among the rows
    // the other tests let through. Any of those tests turned on or off, or another file, ends it.
    void ShowPicked(std::vector<std::uint8_t> bySlot);
    void EndPick();
    [[nodiscard]] bool ShowingPick() const { return m_filter.Wanted().picked; }
    // The table rows the list shows but for the pick, ascending.
    [[nodiscard]] std::vector<int> RowsBesidesPick() const { return m_filter.RowsBesidesPick(); }

    // Selects the next or previous matching row after the current one, wrapping around.
    void FindNext() { Step(+1); }
    void FindPrevious() { Step(-1); }

signals:
    // The rows the list shows, of all the table's, while filtering.
    void RowsShown(int shown, int total, bool filtering);

private:
    // The list shows the rows the checks want: the filter's, or the table's own.
    void UpdateFilter() { ShowRows(false); }
    void ShowRows(bool picked);
    void Step(int direction);
    // Another table: the query and its filter no longer apply.
    void Forget();
    // The query's count again, once the changes of the moment are done.
    void Recount();
    void AnnounceRows();
    [[nodiscard]] const std::vector<int>& Matches();

    TableDocument& m_document;
    RecordList& m_list;
    FindBar& m_bar;
    RecordFilter m_filter;
    RecordQuery m_query;
    std::vector<int> m_matches; // table rows, ascending
    bool m_matchesStale = true;
    QAction* m_onlyChanged;
    QAction* m_onlyDiffering;
    bool m_taken = false; // the bar's text is the query of this table
    QTimer m_typing;      // the query is taken once the typing pauses
    QTimer m_recount;     // after changes to the table
};

} // namespace rw

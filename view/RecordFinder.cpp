#include "view/RecordFinder.h"

#include "dialogs/ExpressionErrorText.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "text/Utf8NameTranscoder.h"
#include "ui/Texts.h"
#include "view/FindBar.h"
#include "view/RecordList.h"

#include <QAction>
#include <QItemSelectionModel>

#include <algorithm>

namespace rw {
namespace {

[[nodiscard]] QString ErrorText(const QueryError& error, std::string_view typed)
{
    const QString quoted = Quoted(Text(error.text));
    switch (error.kind) {
    case QueryError::Kind::UnknownColumn:
        return Text(str::kFindUnknownColumnFormat, quoted) +
               (error.nearest.empty() ? QString() : Text(str::kFindDidYouMeanFormat, Text(error.nearest)));
    case QueryError::Kind::NameColumn: return Text(str::kFindNameColumnFormat, quoted);
    case QueryError::Kind::NoOperator: return Text(str::kFindNoOperatorFormat, quoted);
    case QueryError::Kind::NoNumber: return Text(str::kFindNoNumberFormat, quoted);
    case QueryError::Kind::NotInRange: return Text(str::kFindNotInRangeFormat, quoted);
    case QueryError::Kind::EmptyAlternative: return Text(str::kFindEmptyAlternative);
    case QueryError::Kind::BadExpression: {
        ExpressionError atQuery = error.expression;
        atQuery.position += error.position;
        return ExpressionErrorText(atQuery, typed);
    }
    }
    return {};
}

} // namespace

RecordFinder::RecordFinder(TableDocument& document, RecordList& list, FindBar& bar, QObject* parent)
    : QObject(parent),
      m_document(document),
      m_list(list),
      m_bar(bar),
      m_filter(document.Model()),
      m_onlyChanged(new QAction(Text(str::kMenuOnlyChanged), this)),
      m_onlyDiffering(new QAction(Text(str::kMenuOnlyDiffering), this))
{
    m_onlyChanged->setData(ids::kCmdOnlyChanged);
    m_onlyDiffering->setData(ids::kCmdOnlyDiffering);
    for (QAction* check : {m_onlyChanged, m_onlyDiffering}) {
        check->setCheckable(true);
        connect(check, &QAction::toggled, this, &RecordFinder::UpdateFilter);
    }
    // Only while there is a file to differ from; its end shows every row again.
    m_onlyDiffering->setEnabled(false);
    connect(&document, &TableDocument::ComparisonChanged, this, [this] {
        const bool comparing = m_document.CurrentComparison() != nullptr;
        if (!comparing) m_onlyDiffering->setChecked(false);
        m_onlyDiffering->setEnabled(comparing);
    });
    m_typing.setSingleShot(true);
    m_typing.setInterval(250);
    connect(&m_typing, &QTimer::timeout, this, &RecordFinder::ApplyQuery);
    connect(&bar, &FindBar::QueryChanged, &m_typing, qOverload<>(&QTimer::start));
    connect(&bar, &FindBar::FindNext, this, [this] { Step(+1); });
    connect(&bar, &FindBar::FindPrevious, this, [this] { Step(-1); });
    connect(&bar, &FindBar::OnlyMatchingChanged, this, [this](bool only) {
        if (only) ApplyQuery();
        UpdateFilter();
    });
    m_recount.setSingleShot(true);
    m_recount.setInterval(0);
    connect(&m_recount, &QTimer::timeout, this, &RecordFinder::Recount);
    connect(&document, &TableDocument::Changed, this, [this] {
        m_matchesStale = true;
        AnnounceRows();
        if (m_taken && !m_query.Empty() && !m_query.Error()) m_recount.start();
    });
    connect(&document, &TableDocument::Loaded, this, &RecordFinder::Forget);
}

void RecordFinder::Forget()
{
    m_typing.stop();
    m_recount.stop();
    m_taken = false;
    m_query = RecordQuery();
    m_matchesStale = true;
    m_filter.SetQuery(m_query);
    EndPick();
    StopFiltering();
    m_bar.ShowResult(m_bar.Query().trimmed().isEmpty() ? QString() : Text(str::kFindInactive), false);
    AnnounceRows();
}

void RecordFinder::Recount()
{
    if (!m_taken || m_query.Empty() || m_query.Error()) return;
    m_bar.ShowResult(Text(str::kFindMatchCountFormat, Matches().size()), false);
}

int RecordFinder::TableRow(int listRow) const
{
    if (!Filtering() || listRow < 0) return listRow;
    return m_filter.mapToSource(m_filter.index(listRow, 0)).row();
}

int RecordFinder::ListRow(int tableRow) const
{
    if (!Filtering() || tableRow < 0) return tableRow;
    return m_filter.mapFromSource(m_document.Model().index(tableRow, 0)).row();
}

std::vector<int> RecordFinder::SelectedRows() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : m_list.selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(TableRow(row));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int RecordFinder::FirstSelectedRow() const
{
    int first = -1;
    for (const QItemSelectionRange& range : m_list.selectionModel()->selection()) {
        if (range.isValid() && (first == -1 || range.top() < first)) first = range.top();
    }
    // The list keeps the table's order, so its first selected row is the table's too.
    return TableRow(first);
}

void RecordFinder::ApplyQuery()
{
    m_typing.stop();
    m_taken = true;
    const std::string typed = m_bar.Query().toStdString();
    m_query = RecordQuery::Parse(typed, m_document.Table().Kind(), Utf8NameTranscoder());
    m_matchesStale = true;
    if (const auto& error = m_query.Error()) {
        m_bar.ShowResult(ErrorText(*error, typed), true);
        // A malformed query filters nothing.
        m_filter.SetQuery(RecordQuery());
    } else {
        m_bar.ShowResult(m_query.Empty() ? QString() : Text(str::kFindMatchCountFormat, Matches().size()), false);
        m_filter.SetQuery(m_query);
    }
    AnnounceRows();
}

void RecordFinder::StopFiltering()
{
    StopMatching();
    m_onlyChanged->setChecked(false);
    m_onlyDiffering->setChecked(false);
}

void RecordFinder::StopMatching() { m_bar.SetOnlyMatching(false); }

void RecordFinder::ShowPicked(std::vector<std::uint8_t> bySlot)
{
    m_filter.SetPicked(std::move(bySlot));
    ShowRows(true);
}

void RecordFinder::EndPick()
{
    if (ShowingPick()) ShowRows(false);
}

void RecordFinder::ShowRows(bool picked)
{
    const bool was = Filtering();
    const QModelIndex current = m_list.currentIndex();
    const int currentRow = TableRow(current.row());
    const RecordFilter::Tests tests{m_bar.OnlyMatching(), m_onlyChanged->isChecked(), m_onlyDiffering->isChecked(), picked};
    if (tests != m_filter.Wanted()) {
        // The list leaves the filter while its tests change: the rows it hides or lets back,
        // run by run, would each be announced to the list (a scattered pick is some 100,000 runs).
        if (was) m_list.setModel(&m_document.Model());
        m_filter.SetTests(tests);
        if (Filtering()) m_list.setModel(&m_filter);
        // The list shows the filter or the table itself, its columns as they were, and the cell
        // the user was on where it still shows.
        if (const int row = ListRow(currentRow); row >= 0) {
            const QModelIndex cell = m_list.model()->index(row, current.column());
            m_list.selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            m_list.scrollTo(cell);
        }
    }
    // Whatever ended the pick (another check, 显示全部记录, another file), its rows go with it.
    if (!picked) m_filter.SetPicked({});
    m_matchesStale = true;
    Recount();
    AnnounceRows();
}

const std::vector<int>& RecordFinder::Matches()
{
    if (m_matchesStale) {
        m_matches = m_query.Error() ? std::vector<int>() : m_query.MatchingRows(m_document.Table());
        // Only those 查看's checks let the list show: a find never lands on a hidden row.
        if (m_filter.Wanted().changed || m_filter.Wanted().differing || m_filter.Wanted().picked) {
            std::erase_if(m_matches, [this](int row) { return ListRow(row) < 0; });
        }
        m_matchesStale = false;
    }
    return m_matches;
}

void RecordFinder::Step(int direction)
{
    if (m_typing.isActive() || !m_taken) ApplyQuery();
    if (m_query.Error() || m_query.Empty()) return;
    const std::vector<int>& matches = Matches();
    if (matches.empty()) {
        m_bar.ShowResult(Text(str::kFindNoMatch), false);
        return;
    }
    const int current = TableRow(m_list.currentIndex().row());
    std::size_t at = 0;
    if (direction > 0) {
        const auto next = std::upper_bound(matches.begin(), matches.end(), current);
        at = next == matches.end() ? 0 : static_cast<std::size_t>(next - matches.begin());
    } else {
        const auto next = std::lower_bound(matches.begin(), matches.end(), current);
        at = next == matches.begin() ? matches.size() - 1 : static_cast<std::size_t>(next - matches.begin()) - 1;
    }
    const QModelIndex found = m_list.model()->index(ListRow(matches[at]), std::max(0, m_list.currentIndex().column()));
    m_list.selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list.scrollTo(found);
    m_bar.ShowResult(Text(str::kFindMatchFormat, at + 1, matches.size()), false);
}

void RecordFinder::AnnounceRows()
{
    emit RowsShown(Filtering() ? m_filter.rowCount() : m_document.Table().RowCount(), m_document.Table().RowCount(),
                   Filtering());
}

} // namespace rw

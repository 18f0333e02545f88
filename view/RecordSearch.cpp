#include "view/RecordSearch.h"

#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "text/GbkCodec.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"
#include "view/RecordFinder.h"
#include "view/RecordList.h"

#include <QItemSelectionModel>
#include <QScrollBar>

#include <optional>
#include <string>

namespace rw {

RecordSearch::RecordSearch(const TableDocument& document, RecordList& list, RecordFinder& finder, Prompter& prompter,
                           QWidget& form)
    : m_document(document), m_list(list), m_finder(finder), m_prompter(prompter), m_form(form)
{
}

void RecordSearch::Warn(const char* text) { m_prompter.ShowMessage(&m_form, Text(text), Text(str::kCaptionWarning)); }

void RecordSearch::SearchId(const QString& text)
{
    if (text.isEmpty()) {
        Warn(str::kSearchIdEmpty);
        return;
    }
    const int row = m_document.Table().FindRowById(text.toStdString());
    if (row == -1) {
        Warn(str::kNotFound);
        return;
    }
    SelectFoundRow(row);
}

void RecordSearch::SearchName(const QString& text)
{
    if (text.isEmpty()) {
        Warn(str::kSearchNameEmpty);
        return;
    }
    // Names are compared as their GBK bytes; a text GBK cannot hold names no record.
    const std::optional<std::string> bytes = GbkCodec::Instance().Encode(text);
    const int row = bytes ? m_document.Table().FindRowByName(*bytes) : -1;
    if (row == -1) {
        Warn(str::kNotFound);
        return;
    }
    SelectFoundRow(row);
}

void RecordSearch::SelectFoundRow(int row)
{
    // A search looks at every row; one the filter hides brings every row back into view.
    if (m_finder.ListRow(row) < 0) m_finder.StopFiltering();
    m_list.setFocus();
    QItemSelectionModel& selection = *m_list.selectionModel();
    QAbstractItemModel& shown = *m_list.model();
    // Only the first selected row gives way; any others stay selected.
    if (const int previous = m_finder.FirstSelectedRow(); previous != -1) {
        selection.select(shown.index(m_finder.ListRow(previous), 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    const QModelIndex found = shown.index(m_finder.ListRow(row), 0);
    selection.select(found, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(found, QItemSelectionModel::NoUpdate);
    // Scrolled vertically only: the columns in view stay where the user put them.
    QScrollBar* across = m_list.horizontalScrollBar();
    const int columnsAt = across->value();
    m_list.scrollTo(found, QAbstractItemView::EnsureVisible);
    across->setValue(columnsAt);
}

} // namespace rw

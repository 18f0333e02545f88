// The form's commands: the seven buttons, the double-click in the list and the header click.

#include "dialogs/CBulkChangeDlg.h"
#include "dialogs/CRecordDlg.h"
#include "resources/Strings.h"
#include "ui/Texts.h"
#include "ui/Prompter.h"
#include "view/CChildView.h"
#include "view/ClipboardText.h"
#include "view/CsvMessages.h"
#include "view/LoadMessages.h"
#include "view/MarkedCells.h"
#include "view/RecordFinder.h"
#include "view/RecordLists.h"
#include "view/RecordList.h"
#include "view/SaveFlow.h"
#include "view/SortHeader.h"
#include "text/GbkCodec.h"
#include "text/Utf8NameTranscoder.h"
#include "ui/FileNames.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringList>

namespace rw {

int CChildView::SelectedRow() const
{
    int first = -1;
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection()) {
        if (range.isValid() && (first == -1 || range.top() < first)) first = range.top();
    }
    // The list keeps the table's order, so its first selected row is the table's too.
    return m_finder->TableRow(first);
}

std::vector<int> CChildView::SelectedRows() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(m_finder->TableRow(row));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CChildView::OnRefresh()
{
    if (!m_document.HasFilePath() || !m_saves.MayDiscardChanges(this)) return;
    // The very file that was opened, wherever the dialogs have been since: a save into another
    // folder must not make Refresh read a namesake there.
    const LoadReport report = m_document.Reload();
    if (report.Loaded()) {
        ReportLoadedFile(report);
        return;
    }
    const QString path = FromFsPath(m_document.FilePath());
    ShowMessage(Text(str::kRefreshFailedFormat, QDir::toNativeSeparators(path), LoadFailureReason(report.decode)),
                str::kCaptionError);
}

void CChildView::OnAdd()
{
    if (!m_document.HasFile()) {
        ShowMessage(Text(str::kAddWithoutFile), str::kCaptionWarning);
        return;
    }
    const RecordTable& table = m_document.Table();
    Record record(table.Kind());
    // One past the largest ID, wrapping around at the end of the 32-bit range.
    record.SetId(static_cast<std::int32_t>(static_cast<std::uint32_t>(table.GetMaxId()) + 1U));
    ShowDialog(record, table.RowCount(), kNoRowKey, false);
}

void CChildView::OnModify()
{
    if (!m_document.HasFile()) {
        ShowMessage(Text(str::kModifyWithoutFile), str::kCaptionWarning);
        return;
    }
    const int row = SelectedRow();
    if (row == -1) {
        ShowMessage(Text(str::kModifyWithoutSelection), str::kCaptionWarning);
        return;
    }
    ShowDialog(m_document.Table().ReadRow(row), row, m_document.Table().KeyOfRow(row), true);
}

void CChildView::OnDblclkList() { OnModify(); }

void CChildView::ShowDialog(const Record& record, int row, RowKey key, bool modify)
{
    CRecordDlg* dialog = Dialog(record.Kind());
    dialog->LoadRecord(row, record, key);
    dialog->SetMode(modify);
    dialog->ShowForEditing();
}

void CChildView::OnDelete()
{
    const int row = SelectedRow();
    if (row == -1) {
        ShowMessage(Text(str::kDeleteWithoutSelection), str::kCaptionWarning);
        return;
    }
    m_edits.DeleteRow(row);
    ShowRecordCount(-1);
}

void CChildView::OnSearchId()
{
    const QString text = m_idBox->text();
    if (text.isEmpty()) {
        ShowMessage(Text(str::kSearchIdEmpty), str::kCaptionWarning);
        return;
    }
    const int row = m_document.Table().FindRowById(text.toStdString());
    if (row == -1) {
        ShowMessage(Text(str::kNotFound), str::kCaptionWarning);
        return;
    }
    SelectFoundRow(row);
}

void CChildView::OnSearchName()
{
    const QString text = m_nameBox->text();
    if (text.isEmpty()) {
        ShowMessage(Text(str::kSearchNameEmpty), str::kCaptionWarning);
        return;
    }
    // Names are compared as their GBK bytes; a text GBK cannot hold names no record.
    const std::optional<std::string> bytes = GbkCodec::Instance().Encode(text);
    const int row = bytes ? m_document.Table().FindRowByName(*bytes) : -1;
    if (row == -1) {
        ShowMessage(Text(str::kNotFound), str::kCaptionWarning);
        return;
    }
    SelectFoundRow(row);
}

void CChildView::SelectFoundRow(int row)
{
    // A search looks at every row; one the filter hides brings every row back into view.
    if (m_finder->ListRow(row) < 0) m_finder->StopFiltering();
    m_list->setFocus();
    QItemSelectionModel& selection = *m_list->selectionModel();
    QAbstractItemModel& shown = *m_list->model();
    // Only the first selected row gives way; any others stay selected.
    if (const int previous = SelectedRow(); previous != -1) {
        selection.select(shown.index(m_finder->ListRow(previous), 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    const QModelIndex found = shown.index(m_finder->ListRow(row), 0);
    selection.select(found, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(found, QItemSelectionModel::NoUpdate);
    // Scrolled vertically only: the columns in view stay where the user put them.
    QScrollBar* across = m_list->horizontalScrollBar();
    const int columnsAt = across->value();
    m_list->scrollTo(found, QAbstractItemView::EnsureVisible);
    across->setValue(columnsAt);
}

void CChildView::OnSave() { (void)m_saves.SaveAs(this); }

namespace {

// "[ID=5], [ID=9]", the first ten, the rest counted.
QString RecordsNamed(const RecordTable& table, const std::vector<int>& rows)
{
    std::vector<std::int32_t> ids(rows.size());
    std::transform(rows.begin(), rows.end(), ids.begin(), [&](int row) { return table.IdOfRow(row); });
    return IdsNamed(ids);
}

} // namespace

void CChildView::OnDeleteRows()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        ShowMessage(Text(str::kDeleteWithoutSelection), str::kCaptionWarning);
        return;
    }
    if (!m_prompter.AskYesNo(this, Text(str::kDeleteRowsFormat, rows.size()), Text(str::kCaptionWarning))) return;
    m_edits.DeleteRows(rows);
}

void CChildView::OnCopyAsNew()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        ShowMessage(Text(str::kModifyWithoutSelection), str::kCaptionWarning);
        return;
    }
    const std::size_t copies = m_edits.CopyAsNew(rows);
    if (copies == 0) {
        ShowMessage(Text(str::kCopyAsNewNoIds), str::kCaptionError);
        return;
    }
    // The copies, appended at the end, are what the user works on next: selected, and in sight.
    const int total = m_document.Table().RowCount();
    QItemSelection made;
    QModelIndex first;
    for (int row = total - static_cast<int>(copies); row < total; ++row) {
        const int listRow = m_finder->ListRow(row);
        if (listRow < 0) continue;
        const QModelIndex cell = m_list->model()->index(listRow, 0);
        made.select(cell, cell);
        if (!first.isValid()) first = cell;
    }
    if (!first.isValid()) return;
    QItemSelectionModel& selection = *m_list->selectionModel();
    selection.select(made, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int column = std::max(0, m_list->currentIndex().column());
    selection.setCurrentIndex(m_list->model()->index(first.row(), column), QItemSelectionModel::NoUpdate);
    // As many of them as fit, the first among them.
    m_list->scrollTo(m_list->model()->index(made.last().bottom(), column));
    m_list->scrollTo(selection.currentIndex());
}

void CChildView::OnBulkChange()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        ShowMessage(Text(str::kModifyWithoutSelection), str::kCaptionWarning);
        return;
    }
    // The current cell's column when it holds numbers, else the one changed last.
    const RecordTable& table = m_document.Table();
    const RecordSchema& schema = table.Schema();
    int column = m_list->currentIndex().column();
    if (column < 0 || column >= schema.ColumnCount() || !schema.Column(column).IsNumeric()) {
        column = m_lastBulkChange ? m_lastBulkChange->column : -1;
    }
    CBulkChangeDlg dialog(table.Kind(), rows.size(), column, m_prompter,
                          [&](const BulkChange& change) { return m_edits.PreviewChange(rows, change); }, this);
    if (m_lastBulkChange) dialog.Propose(*m_lastBulkChange);
    if (dialog.exec() != QDialog::Accepted) return;
    m_lastBulkChange = dialog.Request();
    const BulkChange& change = dialog.Change();
    const BulkChangeResult result = m_edits.ChangeRows(rows, change);
    const QString named = RecordsNamed(table, result.rows);
    const QString title = Text(schema.Column(change.column).title);
    switch (result.outcome) {
    case BulkChangeResult::Outcome::Done: break;
    case BulkChangeResult::Outcome::OutOfRange:
        ShowMessage(Text(str::kBulkOutOfRangeFormat, title, named), str::kCaptionError);
        break;
    case BulkChangeResult::Outcome::Overflow:
        ShowMessage(Text(str::kBulkOverflowFormat, title, named), str::kCaptionError);
        break;
    case BulkChangeResult::Outcome::DivisionByZero:
        ShowMessage(Text(str::kBulkDivisionByZeroFormat, named), str::kCaptionError);
        break;
    case BulkChangeResult::Outcome::DuplicateId:
        ShowMessage(Text(str::kBulkDuplicateIdFormat, named), str::kCaptionError);
        break;
    }
}

void CChildView::OnCopy()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    QGuiApplication::clipboard()->setText(Text(std::string_view(RowsAsText(m_document.Table(), rows))));
}

void CChildView::OnPaste()
{
    if (!m_document.HasFile()) return;
    const QString text = QGuiApplication::clipboard()->text();
    const std::vector<int> rows = SelectedRows();
    const RecordTable& table = m_document.Table();
    // One column of values, no header: into the selected rows' cells of the current column,
    // which the list frames; without a current cell there is no column to take them.
    if (!text.contains(QLatin1Char('\t')) && !rows.empty()) {
        const int column = CurrentColumnOrSay(str::kPasteWithoutColumn);
        if (column < 0) return;
        QStringList lines = text.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
        std::vector<QString> values;
        for (const QString& line : lines) values.push_back(line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);
        if (values.empty()) {
            ShowMessage(Text(str::kPasteNothing), str::kCaptionWarning);
            return;
        }
        const CellsResult result = m_edits.SetCells(rows, column, values);
        switch (result.outcome) {
        case CellsResult::Outcome::Done: break;
        case CellsResult::Outcome::CountMismatch:
            ShowMessage(Text(str::kPasteCountMismatchFormat, values.size(), rows.size()), str::kCaptionError);
            break;
        case CellsResult::Outcome::NotANumber:
            ShowMessage(Text(str::kPasteCellsBadFormat, result.text + 1, Quoted(values[result.text])), str::kCaptionError);
            break;
        case CellsResult::Outcome::NotGbk:
            ShowMessage(Text(str::kPasteCellsNotGbkFormat, result.text + 1, Quoted(values[result.text])), str::kCaptionError);
            break;
        case CellsResult::Outcome::DuplicateId:
            ShowMessage(Text(str::kPasteCellsDuplicateFormat, RecordsNamed(table, result.rows)), str::kCaptionError);
            break;
        }
        return;
    }
    // Rows with their header, from this program or a spreadsheet: appended.
    const Utf8NameTranscoder names;
    CsvImporter importer(table.Kind(), names, '\t');
    const QByteArray utf8 = text.toUtf8();
    importer.Consume(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), true);
    if (!importer.Ok()) {
        ShowMessage(Text(str::kPasteBadTextFormat, DescribeCsvErrors(importer, table.Kind())), str::kCaptionError);
        return;
    }
    std::vector<Record> records;
    records.reserve(importer.Records().Count());
    for (std::size_t i = 0; i < importer.Records().Count(); ++i) records.emplace_back(table.Kind(), importer.Records().RecordAt(i));
    if (records.empty()) {
        ShowMessage(Text(str::kPasteNothing), str::kCaptionWarning);
        return;
    }
    const std::vector<std::int32_t> refused = m_edits.PasteRecords(std::move(records));
    if (refused.empty()) return;
    ShowMessage(Text(str::kPasteRefusedFormat, IdsNamed(refused)), str::kCaptionError);
}

void CChildView::StepToDifference(int direction)
{
    if (!m_document.HasFile()) return;
    const RecordTableModel& model = m_document.Model();
    const bool comparing = model.CurrentComparison() != nullptr;
    // Only the cells the user can see: a hidden column is passed over.
    std::uint64_t shown = 0;
    for (int column = 0; column < model.columnCount(); ++column) {
        if (!m_list->isColumnHidden(column)) shown |= std::uint64_t{1} << column;
    }
    const RowMarks marks = [&](int listRow) {
        const int row = m_finder->TableRow(listRow);
        return comparing ? model.DifferingColumns(row) : model.ChangedColumns(row);
    };
    const QModelIndex current = m_list->currentIndex();
    QAbstractItemModel& list = *m_list->model();
    const std::optional<MarkedCellFound> found =
        NextMarkedCell(list.rowCount(), {current.row(), current.column()}, direction, shown, marks);
    if (!found) {
        emit Reported(Text(comparing ? str::kNoDifferences : str::kNoChangedCells));
        return;
    }
    const QModelIndex cell = list.index(found->cell.row, found->cell.column);
    m_list->setFocus();
    m_list->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(cell);
    if (found->wrapped) emit Reported(Text(direction > 0 ? str::kDifferenceWrappedToStart : str::kDifferenceWrappedToEnd));
}

void CChildView::OnTakeOtherValue()
{
    const Comparison* comparison = m_document.CurrentComparison();
    if (!comparison) {
        ShowMessage(Text(str::kTakeValueWithoutComparison), str::kCaptionWarning);
        return;
    }
    const int column = CurrentColumnOrSay(str::kTakeValueWithoutColumn);
    if (column < 0) return;
    std::vector<int> rows = SelectedRows();
    // The current cell's row is the one the user pointed at, selected or not.
    if (rows.empty()) rows.push_back(m_finder->TableRow(m_list->currentIndex().row()));
    const TakenValues taken = m_edits.TakeOtherValues(std::move(rows), column);
    if (!taken.repeatedIds.empty()) {
        ShowMessage(Text(str::kTakeValueDuplicateIdFormat, IdsNamed(taken.repeatedIds)), str::kCaptionError);
    } else if (taken.cells == 0) {
        ShowMessage(Text(str::kTakeValueNothingFormat, m_document.Table().Schema().Column(column).title,
                         comparison->OtherName()),
                    str::kCaptionWarning);
    }
}

void CChildView::OnHeaderItemClick(int column)
{
    // The arrow follows the document's sort, which the history may undo.
    (void)m_edits.ClickHeader(column);
}

} // namespace rw

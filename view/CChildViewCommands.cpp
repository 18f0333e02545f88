// The form's commands: the seven buttons, the double-click in the list and the header click;
// and the commits they lead to, of the record dialogs and of a cell edited in place.

#include "dialogs/CRecordDlg.h"
#include "resources/Strings.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"
#include "view/CChildView.h"
#include "view/RecordFinder.h"
#include "view/RecordSearch.h"
#include "view/SaveFlow.h"

#include <QLineEdit>

namespace rw {

void CChildView::OnRefresh()
{
    if (!m_document.HasFilePath() || !m_saves.MayDiscardChanges(this)) return;
    // The very file that was opened, wherever the dialogs have been since: a save into another
    // folder must not make Refresh read a namesake there.
    (void)Load(m_document.FilePath(), m_document.FileName(), m_document.Kind(), str::kRefreshFailedFormat);
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
    const int row = m_finder->FirstSelectedRow();
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
    const int row = m_finder->FirstSelectedRow();
    if (row == -1) {
        ShowMessage(Text(str::kDeleteWithoutSelection), str::kCaptionWarning);
        return;
    }
    m_edits.DeleteRow(row);
}

void CChildView::OnSearchId() { m_search->SearchId(m_idBox->text()); }

void CChildView::OnSearchName() { m_search->SearchName(m_nameBox->text()); }

void CChildView::OnSave() { (void)m_saves.SaveAs(this); }

void CChildView::OnHeaderItemClick(int column)
{
    // The arrow follows the document's sort, which the history may undo.
    (void)m_edits.ClickHeader(column);
}

PutOutcome CChildView::Commit(const RecordCommit& commit)
{
    if (commit.kind == CommitKind::Add) return ReportPut(m_edits.Put(commit.record, -1), commit.owner);
    // By the row's identity, so a sort or the deletion of other rows since the dialog opened
    // does not matter.
    const PutResult result = commit.rowKey == kNoRowKey ? m_edits.Put(commit.record, commit.row)
                                                        : m_edits.PutByKey(commit.record, commit.rowKey);
    return ReportPut(result, commit.owner);
}

bool CChildView::CommitCell(const QModelIndex& cell, const QString& text, bool report)
{
    const PutResult result = cell.isValid() ? m_edits.EditCell(m_finder->TableRow(cell.row()), cell.column(), text)
                                            : PutResult{PutOutcome::NoSuchRow};
    if (result.Accepted()) return true;
    if (!report) return false;
    // The range too: 2147483648 is a whole number, just not one a field holds. The column is
    // named: the editor may stand far from the column's title.
    if (result.outcome == PutOutcome::NotANumber) {
        ShowMessage(Text(str::kCellNotInt32Format, m_document.Table().Schema().Column(cell.column()).title, Quoted(text)),
                    str::kCaptionWarning);
        return false;
    }
    (void)ReportPut(result);
    return false;
}

PutOutcome CChildView::ReportPut(const PutResult& result, QWidget* owner)
{
    switch (result.outcome) {
    case PutOutcome::DuplicateId: ShowMessage(Text(str::kDuplicateIdFormat, result.id), str::kCaptionError, owner); break;
    case PutOutcome::NoSuchRow: ShowMessage(Text(str::kRecordGone), str::kCaptionError, owner); break;
    case PutOutcome::Accepted:
    case PutOutcome::WrongKind:
    case PutOutcome::NotANumber: break;
    }
    return result.outcome;
}

} // namespace rw

// The form's commands: the seven buttons, the double-click in the list and the header click.

#include "dialogs/CRecordDlg.h"
#include "resources/Strings.h"
#include "ui/Texts.h"
#include "ui/FileChooser.h"
#include "ui/Prompter.h"
#include "view/CChildView.h"
#include "view/LoadMessages.h"
#include "view/RecordList.h"
#include "view/SortHeader.h"
#include "text/GbkCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>

namespace rw {

int CChildView::SelectedRow() const
{
    int first = -1;
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection()) {
        if (range.isValid() && (first == -1 || range.top() < first)) first = range.top();
    }
    return first;
}

bool CChildView::MayDiscardChanges(QWidget* owner)
{
    if (!m_document.Modified()) return true;
    switch (m_prompter.Ask(owner, Text(str::kSaveChangesQuestion), Text(str::kCaptionWarning),
                           {Answer::Save, Answer::Discard, Answer::Cancel}, Answer::Save, Answer::Cancel)) {
    case Answer::Save: return SaveAs();
    case Answer::Discard: return true;
    default: return false;
    }
}

void CChildView::OnRefresh()
{
    if (!m_document.HasFile() || !MayDiscardChanges(this)) return;
    // The very file that was opened, wherever the dialogs have been since: a save into another
    // folder must not make Refresh read a namesake there.
    const LoadReport report = m_document.Reload();
    if (report.Loaded()) {
        ReportLoadedFile(report);
        return;
    }
    const QString path = QFile::decodeName(m_document.FilePath().c_str());
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
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CChildView::OnDelete()
{
    const int row = SelectedRow();
    if (row == -1) {
        ShowMessage(Text(str::kDeleteWithoutSelection), str::kCaptionWarning);
        return;
    }
    m_document.DeleteRow(row);
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
    m_list->setFocus();
    QItemSelectionModel& selection = *m_list->selectionModel();
    // Only the first selected row gives way; any others stay selected.
    if (const int previous = SelectedRow(); previous != -1) {
        selection.select(m_document.Model().index(previous, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    const QModelIndex found = m_document.Model().index(row, 0);
    selection.select(found, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(found, QItemSelectionModel::NoUpdate);
    // Scrolled vertically only: the columns in view stay where the user put them.
    QScrollBar* across = m_list->horizontalScrollBar();
    const int columnsAt = across->value();
    m_list->scrollTo(found, QAbstractItemView::EnsureVisible);
    across->setValue(columnsAt);
}

bool CChildView::MayLoseFirstId()
{
    const std::optional<std::int32_t> lost = m_document.FirstIdASaveLoses();
    return !lost || m_prompter.AskYesNo(this, Text(str::kMonsterFirstIdFormat, *lost), Text(str::kCaptionWarning));
}

void CChildView::OnSave() { (void)SaveAs(); }

bool CChildView::SaveAs()
{
    if (!m_document.HasFile() || !MayLoseFirstId()) return false;
    // A count of zero makes a file that nothing opens again.
    if (m_document.Table().RowCount() == 0 &&
        !m_prompter.AskYesNo(this, Text(str::kSaveEmptyTable), Text(str::kCaptionWarning))) {
        return false;
    }
    const std::optional<QString> path = m_files.ChooseFileToSave(this, Text(m_document.ProposedSaveName()));
    if (!path) return false;
    const std::filesystem::path target(QFile::encodeName(*path).toStdString());
    if (m_document.ChangedOnDisk(target) &&
        !m_prompter.AskYesNo(this, Text(str::kChangedOnDiskFormat, QDir::toNativeSeparators(*path)),
                             Text(str::kCaptionWarning))) {
        return false;
    }
    const WriteReport report = m_document.SaveAs(target);
    if (!report.written) {
        ShowMessage(Text(str::kSaveFailedFormat, QDir::toNativeSeparators(*path), report.error), str::kCaptionError);
        return false;
    }
    ShowMessage(Text(str::kSavedFormat, QFileInfo(*path).fileName()), str::kCaptionNotice);
    return true;
}

void CChildView::OnHeaderItemClick(int column)
{
    const SortClick click = m_document.ClickHeader(column);
    m_header->SetSortArrow(click.column, click.ascending);
}

} // namespace rw

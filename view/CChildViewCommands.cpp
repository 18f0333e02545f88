// The form's commands: the seven buttons, the double-click in the list and the header click.

#include "dialogs/CRecordDlg.h"
#include "resources/Strings.h"
#include "ui/Prompter.h"
#include "view/CChildView.h"
#include "view/SortHeader.h"
#include "text/GbkCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

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
    if (!m_model.Session().Modified()) return true;
    switch (m_prompter.Ask(owner, QString::fromUtf8(str::kSaveChangesQuestion), QString::fromUtf8(str::kCaptionWarning),
                           {Answer::Save, Answer::Discard, Answer::Cancel}, Answer::Save, Answer::Cancel)) {
    case Answer::Save: return SaveAs();
    case Answer::Discard: return true;
    default: return false;
    }
}

void CChildView::OnRefresh()
{
    const TableSession& session = m_model.Session();
    if (!session.HasFile() || !MayDiscardChanges(this)) return;
    // The very file that was opened, wherever the dialogs have been since: a save into another
    // folder must not make Refresh read a namesake there.
    const QString path = QFile::decodeName(session.FilePath().string().c_str());
    const LoadReport report = LoadDataFile(path);
    if (report.Loaded()) {
        ReportLoadedFile(report);
        return;
    }
    ShowMessage(QString::fromUtf8(str::kRefreshFailedFormat).arg(QDir::toNativeSeparators(path), LoadFailureReason(report.decode)),
                str::kCaptionError);
}

void CChildView::OnAdd()
{
    const TableSession& session = m_model.Session();
    if (!session.HasFile()) {
        ShowMessage(QString::fromUtf8(str::kAddWithoutFile), str::kCaptionWarning);
        return;
    }
    Record record(session.Kind());
    // One past the largest ID, wrapping around at the end of the 32-bit range.
    record.SetId(static_cast<std::int32_t>(static_cast<std::uint32_t>(session.Table().GetMaxId()) + 1U));
    ShowDialog(record, session.Table().RowCount(), kNoRowKey, false);
}

void CChildView::OnModify()
{
    const TableSession& session = m_model.Session();
    if (!session.HasFile()) {
        ShowMessage(QString::fromUtf8(str::kModifyWithoutFile), str::kCaptionWarning);
        return;
    }
    const int row = SelectedRow();
    if (row == -1) {
        ShowMessage(QString::fromUtf8(str::kModifyWithoutSelection), str::kCaptionWarning);
        return;
    }
    ShowDialog(session.Table().ReadRow(row), row, session.Table().KeyOfRow(row), true);
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
        ShowMessage(QString::fromUtf8(str::kDeleteWithoutSelection), str::kCaptionWarning);
        return;
    }
    m_model.DeleteRow(row);
    ShowRecordCount(-1);
}

void CChildView::OnSearchId()
{
    const QString text = m_idBox->text();
    if (text.isEmpty()) {
        ShowMessage(QString::fromUtf8(str::kSearchIdEmpty), str::kCaptionWarning);
        return;
    }
    const int row = m_model.Table().FindRowById(text.toStdString());
    if (row == -1) {
        ShowMessage(QString::fromUtf8(str::kNotFound), str::kCaptionWarning);
        return;
    }
    SelectFoundRow(row);
}

void CChildView::OnSearchName()
{
    const QString text = m_nameBox->text();
    if (text.isEmpty()) {
        ShowMessage(QString::fromUtf8(str::kSearchNameEmpty), str::kCaptionWarning);
        return;
    }
    // Names are compared as their GBK bytes; a text GBK cannot hold names no record.
    const std::optional<std::string> bytes = GbkCodec::Instance().Encode(text);
    const int row = bytes ? m_model.Table().FindRowByName(*bytes) : -1;
    if (row == -1) {
        ShowMessage(QString::fromUtf8(str::kNotFound), str::kCaptionWarning);
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
        selection.select(m_model.index(previous, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    const QModelIndex found = m_model.index(row, 0);
    selection.select(found, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(found, QItemSelectionModel::NoUpdate);
    // Scrolled vertically only: the columns in view stay where the user put them.
    QScrollBar* across = m_list->horizontalScrollBar();
    const int columnsAt = across->value();
    m_list->scrollTo(found, QAbstractItemView::EnsureVisible);
    across->setValue(columnsAt);
}

QString CChildView::ProposedSaveName() const
{
    const QString name = QString::fromStdString(m_model.Session().FileName());
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return (dot < 0 ? QString() : name.left(dot)) + QString::fromUtf8(str::kProposedNameSuffix);
}

bool CChildView::MaySaveMonsterFirstId()
{
    // A monster file keeps its count where the first record's ID would be.
    const RecordTable& table = m_model.Table();
    if (table.Kind() != FileKind::Monster || table.RowCount() == 0 || table.IdOfRow(0) == 0) return true;
    return m_prompter.AskYesNo(this, QString::asprintf(str::kMonsterFirstIdFormat, table.IdOfRow(0)),
                               QString::fromUtf8(str::kCaptionWarning));
}

void CChildView::OnSave() { (void)SaveAs(); }

bool CChildView::SaveAs()
{
    const TableSession& session = m_model.Session();
    if (!session.HasFile() || !MaySaveMonsterFirstId()) return false;
    // A count of zero makes a file that nothing opens again.
    if (session.Table().RowCount() == 0 &&
        !m_prompter.AskYesNo(this, QString::fromUtf8(str::kSaveEmptyTable), QString::fromUtf8(str::kCaptionWarning))) {
        return false;
    }
    const std::optional<QString> path = m_files.ChooseFileToSave(this, ProposedSaveName());
    if (!path) return false;
    const std::filesystem::path target(QFile::encodeName(*path).toStdString());
    if (session.ChangedOnDisk(target) &&
        !m_prompter.AskYesNo(this, QString::fromUtf8(str::kChangedOnDiskFormat).arg(QDir::toNativeSeparators(*path)),
                             QString::fromUtf8(str::kCaptionWarning))) {
        return false;
    }
    const WriteReport report = SaveDataFile(target, session.Table(), m_keys.For(session.Kind()));
    if (!report.written) {
        ShowMessage(QString::asprintf(str::kSaveFailedFormat, QDir::toNativeSeparators(*path).toUtf8().constData(),
                                      report.error.c_str()),
                    str::kCaptionError);
        return false;
    }
    m_model.MarkSaved(target, report.fingerprint);
    ShowMessage(QFileInfo(*path).fileName() + QString::fromUtf8(str::kSaved), str::kCaptionNotice);
    return true;
}

void CChildView::OnHeaderItemClick(int column)
{
    const SortClick click = m_model.ClickHeader(column);
    m_header->SetSortArrow(click.column, click.ascending);
}

} // namespace rw

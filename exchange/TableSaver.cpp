#include "exchange/TableSaver.h"

#include "exchange/SaveMessages.h"
#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "ui/FileChooser.h"
#include "ui/FileNames.h"
#include "ui/Prompter.h"
#include "ui/StatusReport.h"
#include "ui/Texts.h"
#include "view/SystemReasons.h"

#include <QDir>
#include <QFileInfo>

namespace rw {

TableSaver::TableSaver(TableDocument& document, FileChooser& files, Prompter& prompter, StatusReport& status)
    : m_document(document), m_files(files), m_prompter(prompter), m_status(status)
{
}

bool TableSaver::MayDiscardChanges(QWidget* owner)
{
    if (!m_document.Modified()) return true;
    // A sort alone loses no value: the user may well let it go, once told.
    const QString question = Text(m_document.OnlyOrderUnsaved() ? str::kSaveOrderQuestion : str::kSaveChangesQuestion);
    switch (m_prompter.Ask(owner, question, Text(str::kCaptionWarning), {Answer::Save, Answer::Discard, Answer::Cancel},
                           Answer::Save, Answer::Cancel)) {
    case Answer::Save: return SaveAs(owner);
    case Answer::Discard: return true;
    default: return false;
    }
}

bool TableSaver::MaySave(QWidget* owner)
{
    if (!m_document.HasFile()) return false;
    const std::optional<std::int32_t> lost = m_document.FirstIdASaveLoses();
    if (lost && !m_prompter.AskYesNo(owner, Text(str::kMonsterFirstIdFormat, *lost), Text(str::kCaptionWarning))) {
        return false;
    }
    // A count of zero makes a file that nothing opens again.
    return m_document.Table().RowCount() > 0 ||
           m_prompter.AskYesNo(owner, Text(str::kSaveEmptyTable), Text(str::kCaptionWarning));
}

bool TableSaver::SaveAs(QWidget* owner)
{
    if (!MaySave(owner)) return false;
    const std::optional<QString> path = m_files.ChooseFileToSave(owner, Text(m_document.ProposedSaveName()));
    return path && WriteTo(owner, *path, Told::InBox);
}

bool TableSaver::SaveToOpenedFile(QWidget* owner)
{
    if (!m_document.HasFilePath()) return SaveAs(owner);
    // The file holds what the table holds: nothing to write, and its backup stays as it is.
    if (!m_document.HasUnsavedWork()) return true;
    return MaySave(owner) && WriteTo(owner, FromFsPath(m_document.FilePath()), Told::InStatusBar);
}

bool TableSaver::WriteTo(QWidget* owner, const QString& path, Told success)
{
    const std::filesystem::path target = ToFsPath(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (const std::optional<LoadLoss> loss = m_document.LossOfSavingOver(target);
        loss && !m_prompter.AskYesNo(owner, LossQuestion(*loss, shown), Text(str::kCaptionWarning))) {
        return false;
    }
    const bool changedOnDisk = m_document.ChangedOnDisk(target);
    if (changedOnDisk && !m_prompter.AskYesNo(owner, Text(str::kChangedOnDiskFormat, shown), Text(str::kCaptionWarning))) {
        return false;
    }
    const TableDocument::SaveReport report = m_document.WriteFile(
        target, changedOnDisk ? TableDocument::ChangesOnDisk::Overwrite : TableDocument::ChangesOnDisk::Keep);
    if (report.changedOnDisk) {
        ShowMessage(owner, Text(str::kChangedWhileSavingFormat, shown), str::kCaptionError);
        return false;
    }
    if (!report.backup.Ok()) {
        const QString backup = QDir::toNativeSeparators(FromFsPath(m_document.BackupPath()));
        const QString table = QDir::toNativeSeparators(FromFsPath(m_document.FilePath()));
        ShowMessage(owner, BackupFailure(report.backup, table, backup), str::kCaptionError);
        return false;
    }
    if (!report.write.written) {
        ShowMessage(owner, Text(str::kSaveFailedFormat, shown, ReasonText(report.write.code, FileUse::Write)),
                    str::kCaptionError);
        return false;
    }
    const QString saved = Text(str::kSavedFormat, QFileInfo(path).fileName());
    if (success == Told::InStatusBar) {
        m_status.Report(saved);
    } else {
        ShowMessage(owner, saved, str::kCaptionNotice);
    }
    return true;
}

void TableSaver::ShowMessage(QWidget* owner, const QString& text, const char* caption)
{
    m_prompter.ShowMessage(owner, text, Text(caption));
}

} // namespace rw

#include "shell/QtPrompter.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QIcon>
#include <QMessageBox>

namespace rw {

namespace {

int RunMessageBox(QWidget* owner, const QString& text, const QString& caption, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, buttons, owner);
    // Some desktop themes put pictures on the standard buttons; these boxes have plain ones.
    for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());
    return box.exec();
}

std::optional<QString> RunFileDialog(QFileDialog& dialog, const QString& folder, const QString& filterName,
                                     const QString& patterns, const QString& proposedName = {})
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(FileDialogFilter(filterName, patterns));
    dialog.setDirectory(folder);
    if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.front();
}

} // namespace

QString FileDialogFilter(const QString& filterName, const QString& patterns)
{
    return filterName + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

void QtPrompter::ShowMessage(QWidget* owner, const QString& text, const QString& caption)
{
    RunMessageBox(owner, text, caption, QMessageBox::Ok);
}

bool QtPrompter::AskYesNo(QWidget* owner, const QString& text, const QString& caption)
{
    return RunMessageBox(owner, text, caption, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> QtPrompter::ChooseOpenFile(QWidget* owner, const QString& folder, const QString& filterName,
                                                  const QString& patterns)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist is handed on: the load then reports it like any other
    // file it cannot take.
    dialog.setFileMode(QFileDialog::AnyFile);
    return RunFileDialog(dialog, folder, filterName, patterns);
}

std::optional<QString> QtPrompter::ChooseSaveFile(QWidget* owner, const QString& folder, const QString& proposedName,
                                                  const QString& filterName, const QString& patterns,
                                                  const QString& defaultSuffix)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    return RunFileDialog(dialog, folder, filterName, patterns, proposedName);
}

} // namespace rw

#include "ui/QtPrompter.h"

#include "resources/Strings.h"
#include "ui/FileDialogHistory.h"
#include "ui/Texts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QStyle>
#include <QPushButton>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSettings>

#include <algorithm>

namespace rw {

namespace {

// A file or folder name may hold anything, markup included: it is shown as it is.
void MakePlain(QMessageBox& box)
{
    box.setTextFormat(Qt::PlainText);
    // Some desktop themes put pictures on the standard buttons; these boxes have plain ones.
    for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());
}

// The standard button where Qt has one (its text comes in the desktop's language), else a
// button of the program's own.
QAbstractButton* AddButton(QMessageBox& box, Answer answer)
{
    switch (answer) {
    case Answer::Ok: return box.addButton(QMessageBox::Ok);
    case Answer::Yes: return box.addButton(QMessageBox::Yes);
    case Answer::No: return box.addButton(QMessageBox::No);
    case Answer::Save: return box.addButton(Text(str::kButtonSaveChanges), QMessageBox::AcceptRole);
    case Answer::Discard:
        return box.addButton(Text(str::kButtonDiscardChanges), QMessageBox::DestructiveRole);
    case Answer::Cancel: return box.addButton(Text(str::kButtonCancelQuestion), QMessageBox::RejectRole);
    case Answer::StopShowing: return box.addButton(Text(str::kButtonStopShowing), QMessageBox::RejectRole);
    case Answer::OpenAsKind: return box.addButton(Text(str::kButtonOpenAsKind), QMessageBox::ActionRole);
    }
    return nullptr;
}

void SetUpFileDialog(QFileDialog& dialog, const QString& folder, const QString& filterName, const QString& patterns,
                     const QString& proposedName = {})
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(FileDialogFilter(filterName, patterns));
    dialog.setDirectory(folder);
    if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
}

std::optional<QString> FirstChosen(const QFileDialog& dialog)
{
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.front();
}

// A progress dialog that shows itself after half a second; Qt lets events through while it
// is up, so the window repaints and the cancel button answers.
class DialogProgressMeter final : public ProgressMeter {
public:
    static constexpr int kSteps = 1000;
    static constexpr int kShowAfterMs = 500;

    DialogProgressMeter(QWidget* owner, const QString& label, std::uint64_t total)
        : m_dialog(label, Text(str::kButtonCancelQuestion), 0, kSteps, owner), m_total(std::max<std::uint64_t>(total, 1))
    {
        m_dialog.setWindowTitle(Text(str::kAppTitle));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(kShowAfterMs);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }

    bool Advance(std::uint64_t done) override
    {
        const int step = static_cast<int>(std::min<std::uint64_t>(done, m_total) * kSteps / m_total);
        // Each new value may let events through: only when the bar moves.
        if (step != m_dialog.value()) m_dialog.setValue(step);
        return !m_dialog.wasCanceled();
    }

    void SetTotal(std::uint64_t total) override { m_total = std::max<std::uint64_t>(total, 1); }

private:
    QProgressDialog m_dialog;
    std::uint64_t m_total;
};

} // namespace

QtPrompter::QtPrompter(FileDialogHistory* history) : m_history(history)
{
#ifndef Q_OS_WIN
    // A folder that cannot be: Qt's settings file cannot be made there, and nothing else of the
    // program's is kept in Qt's native format (its own settings are an INI file).
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
#endif
}

bool QtPrompter::Run(QFileDialog& dialog)
{
    if (m_history) dialog.setHistory(m_history->DialogFolders());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (m_history) {
        QStringList folders = dialog.history();
        folders.removeDuplicates();
        m_history->SetDialogFolders(folders.mid(std::max<qsizetype>(0, folders.size() - FileDialogHistory::kMaxFolders)));
    }
    return accepted;
}

QString FileDialogFilter(const QString& filterName, const QString& patterns)
{
    return filterName + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

void QtPrompter::ShowMessage(QWidget* owner, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    MakePlain(box);
    box.exec();
}

Answer QtPrompter::Ask(QWidget* owner, const QString& text, const QString& caption, const std::vector<Answer>& buttons,
                       Answer defaultAnswer, Answer escapeAnswer)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, owner);
    std::vector<std::pair<QAbstractButton*, Answer>> made;
    for (const Answer answer : buttons) {
        QAbstractButton* button = AddButton(box, answer);
        made.emplace_back(button, answer);
        if (answer == defaultAnswer) box.setDefaultButton(qobject_cast<QPushButton*>(button));
        if (answer == escapeAnswer) box.setEscapeButton(button);
    }
    MakePlain(box);
    box.exec();
    for (const auto& [button, answer] : made) {
        if (box.clickedButton() == button) return answer;
    }
    return escapeAnswer;
}

std::optional<int> QtPrompter::ChooseItem(QWidget* owner, const QString& caption, const QString& label,
                                          const QStringList& items, int current)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    // Each entry may say more than its name (what a kind would load): all of it shows.
    if (auto* list = dialog.findChild<QComboBox*>()) {
        int widest = 0;
        for (const QString& item : items) widest = std::max(widest, list->fontMetrics().horizontalAdvance(item));
        list->setMinimumWidth(widest + 3 * list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }
    dialog.setTextValue(items.value(current));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const qsizetype chosen = items.indexOf(dialog.textValue());
    return chosen < 0 ? std::nullopt : std::optional<int>(static_cast<int>(chosen));
}

std::optional<QString> QtPrompter::ChooseOpenFile(QWidget* owner, const QString& folder, const QString& filterName,
                                                  const QString& patterns)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist is handed on: the load then reports it like any other
    // file it cannot take.
    dialog.setFileMode(QFileDialog::AnyFile);
    SetUpFileDialog(dialog, folder, filterName, patterns);
    if (!Run(dialog)) return std::nullopt;
    return FirstChosen(dialog);
}

std::optional<QString> QtPrompter::ChooseSaveFile(QWidget* owner, const QString& folder, const QString& proposedName,
                                                  const QString& filterName, const QString& patterns,
                                                  const QString& defaultSuffix)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    SetUpFileDialog(dialog, folder, filterName, patterns, proposedName);
    if (!Run(dialog)) return std::nullopt;
    return FirstChosen(dialog);
}

std::optional<ChosenFile> QtPrompter::ChooseFileOfType(QWidget* owner, FileDialogMode mode, const QString& folder,
                                                       const QString& proposedName,
                                                       const std::vector<FileFilter>& filters, int initial)
{
    QFileDialog dialog(owner);
    const bool save = mode == FileDialogMode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    SetFileTypes(dialog, filters, initial);
    dialog.setDirectory(folder);
    if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
    if (!Run(dialog)) return std::nullopt;
    const std::optional<QString> chosen = FirstChosen(dialog);
    if (!chosen) return std::nullopt;
    return ChosenFile{*chosen, ChosenFileType(dialog, filters)};
}

void SetFileTypes(QFileDialog& dialog, const std::vector<FileFilter>& filters, int initial)
{
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList entries;
    for (const FileFilter& filter : filters) entries.push_back(FileDialogFilter(filter.name, filter.patterns));
    dialog.setNameFilters(entries);
    if (initial >= 0 && initial < entries.size()) dialog.selectNameFilter(entries[initial]);
    // A bare name gets the suffix of the type chosen last.
    const auto suffixFollows = [&dialog, filters] {
        if (dialog.acceptMode() == QFileDialog::AcceptSave && !filters.empty()) {
            dialog.setDefaultSuffix(filters[static_cast<std::size_t>(ChosenFileType(dialog, filters))].defaultSuffix);
        }
    };
    suffixFollows();
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, suffixFollows);
}

int ChosenFileType(const QFileDialog& dialog, const std::vector<FileFilter>& filters)
{
    // With the details hidden, Qt answers the entry as it shows it: the name alone.
    const QString selected = dialog.selectedNameFilter();
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (selected == filters[i].name || selected == FileDialogFilter(filters[i].name, filters[i].patterns)) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

std::unique_ptr<ProgressMeter> QtPrompter::StartProgress(QWidget* owner, const QString& label, std::uint64_t total)
{
    return std::make_unique<DialogProgressMeter>(owner, label, total);
}

} // namespace rw

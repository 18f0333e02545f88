#pragma once

#include "ui/Prompter.h"

class QFileDialog;

namespace rw {

class FileDialogHistory;

// The program's message boxes and file dialogs: Qt's own widgets, never the desktop's native
// dialogs, so they look and behave the same everywhere and stay scriptable.
//
// Qt's file dialogs keep their state (the folders visited, the view) in a settings file of Qt's
// own, ~/.config/QtProject.conf. The folders visited are kept in the editor's settings instead,
// through history (when given), and Qt's file is never written: from the first QtPrompter on,
// that file's place is one where no file can be. (On Windows those settings are the registry's,
// which cannot be moved.)
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(FileDialogHistory* history = nullptr);

    void ShowMessage(QWidget* owner, const QString& text, const QString& caption) override;
    [[nodiscard]] Answer Ask(QWidget* owner, const QString& text, const QString& caption,
                             const std::vector<Answer>& buttons, Answer defaultAnswer, Answer escapeAnswer) override;
    [[nodiscard]] std::optional<int> ChooseItem(QWidget* owner, const QString& caption, const QString& label,
                                                const QStringList& items, int current) override;
    [[nodiscard]] std::optional<QString> ChooseOpenFile(QWidget* owner, const QString& folder,
                                                        const QString& filterName,
                                                        const QString& patterns) override;
    [[nodiscard]] std::optional<QString> ChooseSaveFile(QWidget* owner, const QString& folder,
                                                        const QString& proposedName, const QString& filterName,
                                                        const QString& patterns,
                                                        const QString& defaultSuffix) override;
    [[nodiscard]] std::optional<ChosenFile> ChooseFileOfType(QWidget* owner, FileDialogMode mode, const QString& folder,
                                                             const QString& proposedName,
                                                             const std::vector<FileFilter>& filters,
                                                             int initial) override;
    [[nodiscard]] std::unique_ptr<ProgressMeter> StartProgress(QWidget* owner, const QString& label,
                                                              std::uint64_t total) override;

private:
    // The dialog run with the folders visited before; what it visited, kept.
    [[nodiscard]] bool Run(QFileDialog& dialog);

    FileDialogHistory* m_history;
};

// The dialog's filter entry: shows filterName exactly as given, lists the blank-separated
// patterns. Qt takes the patterns from the last parenthesised group and, with the details
// hidden, shows what stands before it, so "Data Files (*.txt;*.dat)" can be shown as it reads.
[[nodiscard]] QString FileDialogFilter(const QString& filterName, const QString& patterns);

// A dialog's list of file types, the one at initial chosen first. In a save dialog a bare
// name takes the suffix of the type chosen last, as the user changes it.
void SetFileTypes(QFileDialog& dialog, const std::vector<FileFilter>& filters, int initial);
// The entry of filters chosen in the dialog (the first when it cannot tell).
[[nodiscard]] int ChosenFileType(const QFileDialog& dialog, const std::vector<FileFilter>& filters);

} // namespace rw

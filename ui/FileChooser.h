#pragma once

// The open and save dialogs of the data files. Both start in the folder of the file last
// chosen in either of them (at first the process's current folder), which is kept here and
// nowhere else; the process's current folder itself is never changed.

#include "ui/Prompter.h"

#include <QString>

#include <optional>

class QWidget;

namespace rw {

class Prompter;

class FileChooser {
public:
    explicit FileChooser(Prompter& prompter);

    // Full paths, or nothing when the dialog was cancelled.
    [[nodiscard]] std::optional<QString> ChooseFileToOpen(QWidget* owner);
    // Any file at all, for opening as a kind the user then names.
    [[nodiscard]] std::optional<QString> ChooseAnyFileToOpen(QWidget* owner);
    [[nodiscard]] std::optional<QString> ChooseFileToSave(QWidget* owner, const QString& proposedName);
    // Any other file, from a list of file types.
    [[nodiscard]] std::optional<ChosenFile> ChooseFileOfType(QWidget* owner, FileDialogMode mode,
                                                             const QString& proposedName,
                                                             const std::vector<FileFilter>& filters, int initial);

private:
    std::optional<QString> Remember(std::optional<QString> chosen);

    Prompter& m_prompter;
    QString m_lastFolder;
};

} // namespace rw

#pragma once

// Message boxes and file dialogs go through this seam, so that tests answer them without a
// modal loop. The program's own implementation is QtPrompter.

#include <QString>

#include <optional>

class QWidget;

namespace rw {

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box owned by owner: OK button only, no icon.
    virtual void ShowMessage(QWidget* owner, const QString& text, const QString& caption) = 0;
    // A question with two buttons; true for yes.
    [[nodiscard]] virtual bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) = 0;

    // The full path of the chosen file, or nothing when the dialog was cancelled.
    // filterName is the entry the user sees, patterns the names it lists ("*.txt *.dat").
    [[nodiscard]] virtual std::optional<QString> ChooseOpenFile(QWidget* owner, const QString& folder,
                                                                const QString& filterName,
                                                                const QString& patterns) = 0;
    // Asks before replacing an existing file; the default suffix is added to a bare name.
    [[nodiscard]] virtual std::optional<QString> ChooseSaveFile(QWidget* owner, const QString& folder,
                                                                const QString& proposedName,
                                                                const QString& filterName, const QString& patterns,
                                                                const QString& defaultSuffix) = 0;
};

} // namespace rw

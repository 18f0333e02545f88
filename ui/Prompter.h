#pragma once

// Message boxes and file dialogs go through this seam, so that tests answer them without a
// modal loop. The program's own implementation is QtPrompter.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace rw {

// The buttons a question may offer; a question answers the one that was pressed.
enum class Answer : std::uint8_t { Ok, Yes, No, Save, Discard, Cancel, StopShowing, OpenAsKind };

// One entry of a file dialog's list of file types: what the user sees, the names it lists
// ("*.csv *.txt"), and the suffix a bare name gets when saving.
struct FileFilter {
    QString name;
    QString patterns;
    QString defaultSuffix;
};

struct ChosenFile {
    QString path;
    int filter = 0; // the entry chosen in the list of file types
};

enum class FileDialogMode : std::uint8_t { Open, Save };

// A long task's progress as the user sees it.
class ProgressMeter {
public:
    virtual ~ProgressMeter() = default;
    // done out of the total; false once the user has cancelled.
    [[nodiscard]] virtual bool Advance(std::uint64_t done) = 0;
    // The whole of the task, where it was not known at the start.
    virtual void SetTotal(std::uint64_t total) = 0;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box owned by owner: OK button only, no icon. Texts are shown as plain text,
    // whatever they hold.
    virtual void ShowMessage(QWidget* owner, const QString& text, const QString& caption) = 0;
    // A box with the buttons in the order given. Return presses defaultAnswer; Escape and the
    // close box answer escapeAnswer.
    [[nodiscard]] virtual Answer Ask(QWidget* owner, const QString& text, const QString& caption,
                                     const std::vector<Answer>& buttons, Answer defaultAnswer,
                                     Answer escapeAnswer) = 0;

    // A question with 是 and 否, where Return, Escape and the close box answer 否: every
    // question here asks before something that cannot be taken back. True for 是.
    [[nodiscard]] bool AskYesNo(QWidget* owner, const QString& text, const QString& caption)
    {
        return Ask(owner, text, caption, {Answer::Yes, Answer::No}, Answer::No, Answer::No) == Answer::Yes;
    }

    // One of items, chosen in a list (current at first); nothing when cancelled.
    [[nodiscard]] virtual std::optional<int> ChooseItem(QWidget* owner, const QString& caption, const QString& label,
                                                        const QStringList& items, int current) = 0;

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
    // Either dialog with a list of file types, the one at initial shown first. A save asks
    // before replacing an existing file and gives a bare name the chosen type's suffix.
    [[nodiscard]] virtual std::optional<ChosenFile> ChooseFileOfType(QWidget* owner, FileDialogMode mode,
                                                                     const QString& folder, const QString& proposedName,
                                                                     const std::vector<FileFilter>& filters,
                                                                     int initial) = 0;

    // A progress window for a task of total units, which appears only when the task takes
    // longer than half a second and offers to cancel it; it goes when the meter does.
    [[nodiscard]] virtual std::unique_ptr<ProgressMeter> StartProgress(QWidget* owner, const QString& label,
                                                                      std::uint64_t total) = 0;
};

} // namespace rw

#pragma once

// Message boxes and file dialogs go through this seam, so that tests answer them without a
// modal loop. The program's own implementation is QtPrompter.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

namespace rw {

// The buttons a question may offer; a question answers the one that was pressed.
enum class Answer : std::uint8_t { Ok, Yes, No, Save, Discard, Cancel, StopShowing };

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
};

} // namespace rw

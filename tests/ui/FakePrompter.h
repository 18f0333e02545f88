#pragma once

#include "shell/Prompter.h"

#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace rw::test {

struct ShownMessage {
    QString text;
    QString caption;
    QWidget* owner;
};

// Answers the dialogs from queues and keeps what was shown.
class FakePrompter : public Prompter {
public:
    std::vector<ShownMessage> messages;
    std::deque<std::optional<QString>> fileAnswers; // empty queue: cancelled
    std::vector<QString> foldersAsked;
    std::function<void(const ShownMessage&)> onMessage;

    void ShowMessage(QWidget* owner, const QString& text, const QString& caption) override
    {
        messages.push_back({text, caption, owner});
        if (onMessage) onMessage(messages.back());
    }
    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override
    {
        ShowMessage(owner, text, caption);
        return true;
    }
    std::optional<QString> ChooseOpenFile(QWidget*, const QString& folder, const QString&, const QString&) override
    {
        return NextFile(folder);
    }
    std::optional<QString> ChooseSaveFile(QWidget*, const QString& folder, const QString&, const QString&,
                                          const QString&, const QString&) override
    {
        return NextFile(folder);
    }

private:
    std::optional<QString> NextFile(const QString& folder)
    {
        foldersAsked.push_back(folder);
        if (fileAnswers.empty()) return std::nullopt;
        std::optional<QString> answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

} // namespace rw::test

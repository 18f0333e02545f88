#pragma once

#include "data/DataFile.h"
#include "data/KeySet.h"
#include "data/Record.h"
#include "resources/Ids.h"
#include "shell/Prompter.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace rw::test {

inline QString U(const char* text) { return QString::fromUtf8(text); }

template <typename T = QWidget>
T* FindControl(const QWidget& parent, int controlId)
{
    for (T* widget : parent.findChildren<T*>()) {
        if (widget->property(ids::kControlIdProperty).toInt() == controlId) return widget;
    }
    return nullptr;
}

// Runs handle on the modal window that the next statement opens, once it is up.
inline void WhenModalOpens(std::function<void(QWidget*)> handle)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handle = std::move(handle)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            handle(modal);
        }
    });
    poll->start(10);
}

struct ShownMessage {
    QString text;
    QString caption;
    QWidget* owner;
};

struct SaveDialogAsked {
    QString proposedName, filterName, patterns, defaultSuffix;
};

// Answers the file dialogs and the questions from queues (empty: cancelled, yes) and keeps
// the messages and questions shown.
class FakePrompter : public Prompter {
public:
    std::vector<ShownMessage> messages;
    std::function<void()> onMessage;
    std::deque<std::optional<QString>> fileAnswers;
    std::vector<QString> foldersAsked;
    std::vector<SaveDialogAsked> savesAsked;
    std::deque<bool> answers;
    std::vector<ShownMessage> questions;

    void ShowMessage(QWidget* owner, const QString& text, const QString& caption) override
    {
        messages.push_back({text, caption, owner});
        if (onMessage) onMessage();
    }
    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override
    {
        questions.push_back({text, caption, owner});
        bool answer = true;
        if (!answers.empty()) answer = answers.front(), answers.pop_front();
        return answer;
    }
    std::optional<QString> ChooseOpenFile(QWidget*, const QString& folder, const QString&, const QString&) override
    {
        return NextFile(folder);
    }
    std::optional<QString> ChooseSaveFile(QWidget*, const QString& folder, const QString& proposedName,
                                          const QString& filterName, const QString& patterns,
                                          const QString& defaultSuffix) override
    {
        savesAsked.push_back({proposedName, filterName, patterns, defaultSuffix});
        return NextFile(folder);
    }

private:
    std::optional<QString> NextFile(const QString& folder)
    {
        foldersAsked.push_back(folder);
        std::optional<QString> answer;
        if (!fileAnswers.empty()) answer = fileAnswers.front(), fileAnswers.pop_front();
        return answer;
    }
};

// A data file of our own: one record per ID, named "N<id>".
struct SampleFile {
    FileKind kind = FileKind::Item;
    std::vector<std::int32_t> ids;
    std::optional<std::int32_t> header = std::nullopt; // a count other than ids.size()
    std::uint8_t key = KeySet{}.For(kind);
};

inline QString WriteSample(const QString& path, const SampleFile& sample)
{
    std::vector<std::uint8_t> bytes =
        EncodeBytes(sample.kind, sample.key, sample.ids.size(), [&](std::size_t i, std::span<std::uint8_t> out) {
            Record record(sample.kind);
            record.SetId(sample.ids[i]);
            (void)record.SetName("N" + std::to_string(sample.ids[i]));
            std::copy(record.Bytes().begin(), record.Bytes().end(), out.begin());
        });
    if (sample.header) StoreInt32(bytes.data(), *sample.header);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

} // namespace rw::test

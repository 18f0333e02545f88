#pragma once

#include "data/Record.h"
#include "dialogs/CRecordDlg.h"
#include "dialogs/RecordCommitEvent.h"
#include "resources/Ids.h"
#include "shell/Prompter.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <vector>

namespace rw::test {

class FakePrompter : public Prompter {
public:
    struct Message {
        QString text;
        QString caption;
    };
    std::vector<Message> messages;

    void ShowMessage(QWidget*, const QString& text, const QString& caption) override
    {
        messages.push_back({text, caption});
    }
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
    std::optional<QString> ChooseOpenFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> ChooseSaveFile(QWidget*, const QString&, const QString&, const QString&,
                                          const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

// Stands for the main frame: records each commit and answers it.
class FakeCommitTarget : public QObject {
public:
    struct Commit {
        QEvent::Type type;
        FileKind kind;
        CRecordDlg* dialog;
        Record record;
        int row;
        std::uint32_t rowKey;
    };
    std::vector<Commit> commits;
    std::function<int(const Record&)> answer = [](const Record&) { return RecordCommitEvent::kAccepted; };

    bool event(QEvent* e) override
    {
        if (e->type() != RecordCommitEvent::kModifyType && e->type() != RecordCommitEvent::kAddType) {
            return QObject::event(e);
        }
        auto* commit = static_cast<RecordCommitEvent*>(e);
        CRecordDlg* dlg = commit->Dialog();
        commits.push_back({e->type(), commit->Kind(), dlg, dlg->GetRecord(), dlg->GetRow(), dlg->GetRowKey()});
        commit->SetResult(answer(dlg->GetRecord()));
        return true;
    }
};

template <typename T>
T* FindControl(const QWidget& dialog, int controlId)
{
    for (T* control : dialog.findChildren<T*>()) {
        if (control->property(ids::kControlIdProperty).toInt() == controlId) return control;
    }
    return nullptr;
}

} // namespace rw::test

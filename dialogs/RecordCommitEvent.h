#pragma once

// A record dialog's commit, sent synchronously (QCoreApplication::sendEvent) to its commit
// target, the main frame. The receiver reads the record from the dialog and answers with
// SetResult: 0 when the table took it, 1 when it refused it. The event types are the numbers
// of the private window messages 1124 (modify) and 1125 (add).

#include "data/FileKind.h"
#include "resources/Ids.h"

#include <QEvent>

namespace rw {

class CRecordDlg;

class RecordCommitEvent : public QEvent {
public:
    static constexpr QEvent::Type kModifyType = static_cast<QEvent::Type>(ids::kWmRecordModify);
    static constexpr QEvent::Type kAddType = static_cast<QEvent::Type>(ids::kWmRecordAdd);
    static constexpr int kAccepted = 0;
    static constexpr int kRefused = 1;

    RecordCommitEvent(QEvent::Type type, CRecordDlg& dialog, FileKind kind)
        : QEvent(type), m_dialog(&dialog), m_kind(kind)
    {
    }

    [[nodiscard]] CRecordDlg* Dialog() const { return m_dialog; }
    [[nodiscard]] FileKind Kind() const { return m_kind; }
    [[nodiscard]] bool IsModify() const { return type() == kModifyType; }

    void SetResult(int result) { m_result = result; }
    // A commit that no receiver answered counts as refused, so the dialog keeps the user's texts.
    [[nodiscard]] int Result() const { return m_result; }

private:
    CRecordDlg* m_dialog;
    FileKind m_kind;
    int m_result = kRefused;
};

} // namespace rw

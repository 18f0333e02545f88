#pragma once

// The modeless record edit dialog, one implementation for the three kinds, laid out from the
// kind's template and schema. It edits a copy of one whole record and hands it to its commit
// target; it hides only when the target accepts it.

#include "data/Record.h"
#include "dialogs/RecordDlgTemplate.h"
#include "table/RowKey.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <vector>

class QLineEdit;
class QPushButton;

namespace rw {

class GbkNameLimit;
class Prompter;
class RecordCommitTarget;

class CRecordDlg : public QDialog {
    Q_OBJECT

public:
    // Created hidden. kind: a data kind (not None). The target outlives the dialog.
    CRecordDlg(FileKind kind, Prompter& prompter, RecordCommitTarget& commitTarget, QWidget* parent = nullptr);

    [[nodiscard]] FileKind Kind() const { return m_record.Kind(); }
    [[nodiscard]] const RecordDlgTemplate& Template() const { return m_template; }
    [[nodiscard]] bool IsModify() const { return m_modify; }

    // Replaces the copy, the row and every box; the mode stays until SetMode.
    void LoadRecord(int row, const Record& record, RowKey rowKey = kNoRowKey);
    // Caption and commit button follow the mode.
    void SetMode(bool modify);
    // Shown for the record loaded last, active, the keys in the first box (the ID) with its text
    // selected, whichever box had them when the dialog was last used.
    void ShowForEditing();

    void OnCommit();
    void OnCancelButton();

private:
    struct NumericBox {
        QLineEdit* box;
        int column;
    };

    void BuildControls();
    // The pixels a number box needs to show "-2147483648" whole, in the dialog's font.
    [[nodiscard]] int NumberBoxWidth() const;
    void ShowRecord();
    [[nodiscard]] bool ReadBoxes();
    // After a refusal's message: the dialog active again, the box the message names (if any)
    // focused with its text selected.
    void TakeKeysBack(QLineEdit* box);
    void WriteName(const QString& text);

    const RecordDlgTemplate& m_template;
    QPushButton* m_commitButton = nullptr;
    Record m_record;
    bool m_modify = true;
    int m_row = -1;
    RowKey m_rowKey = kNoRowKey;

    Prompter& m_prompter;
    RecordCommitTarget& m_commitTarget;
    std::vector<NumericBox> m_numericBoxes; // in tab order
    QLineEdit* m_nameBox = nullptr;
    QString m_shownName; // the name as LoadRecord showed it, to tell whether the user changed it
};

} // namespace rw

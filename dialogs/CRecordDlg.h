#pragma once

// The modeless record edit dialog, one implementation for the three kinds, laid out from the
// kind's template and schema. It edits a copy of one whole record and hands it to its commit
// target in a RecordCommitEvent; it hides only when the target accepts it.

#include "data/Record.h"
#include "dialogs/RecordDlgTemplate.h"
#include "table/RowKeys.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <vector>

class QLineEdit;
class QPushButton;

namespace rw {

class GbkNameValidator;
class Prompter;

class CRecordDlg : public QDialog {
    Q_OBJECT

public:
    // Created hidden. kind: a data kind (not None).
    CRecordDlg(FileKind kind, Prompter& prompter, QObject* commitTarget, QWidget* parent = nullptr);

    [[nodiscard]] FileKind Kind() const { return m_record.Kind(); }
    [[nodiscard]] const RecordDlgTemplate& Template() const { return m_template; }
    // What a commit hands over: the whole record image, the row it was loaded from and that
    // row's identity, which still names the same record after a sort or a delete.
    [[nodiscard]] const Record& GetRecord() const { return m_record; }
    [[nodiscard]] int GetRow() const { return m_nRow; }
    [[nodiscard]] RowKey GetRowKey() const { return m_rowKey; }
    [[nodiscard]] bool IsModify() const { return m_bModify; }

    // Replaces the copy, the row and every box; the mode stays until SetMode.
    void LoadRecord(int row, const Record& record, RowKey rowKey = kNoRowKey);
    // Caption and commit button follow the mode.
    void SetMode(bool modify);

    void OnCommit();
    void OnCancelButton();

private:
    struct NumericBox {
        QLineEdit* box;
        int column;
    };

    void BuildControls();
    void ShowRecord();
    [[nodiscard]] bool ReadBoxes();
    void WriteName(const QString& text);

    const RecordDlgTemplate& m_template;
    QPushButton* m_btnCommit = nullptr;
    Record m_record;
    bool m_bModify = true;
    int m_nRow = -1;
    RowKey m_rowKey = kNoRowKey;

    Prompter& m_prompter;
    QPointer<QObject> m_commitTarget;
    std::vector<NumericBox> m_numericBoxes; // in tab order
    QLineEdit* m_nameBox = nullptr;
    GbkNameValidator* m_nameValidator = nullptr;
    QString m_shownName; // the name as LoadRecord showed it, to tell whether the user changed it
};

} // namespace rw

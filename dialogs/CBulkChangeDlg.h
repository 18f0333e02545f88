#pragma once

// The 批量修改 dialog: one numeric column of the selected rows set to a value, added to, or
// multiplied by a factor. Its OK checks the number; what the change does to the table is the
// document's affair.

#include "data/FileKind.h"
#include "data/BulkChange.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace rw {

class Prompter;

class CBulkChangeDlg : public QDialog {
    Q_OBJECT

public:
    // kind: a data kind. column: the one to offer first (the current one, when numeric).
    CBulkChangeDlg(FileKind kind, std::size_t rowCount, int column, Prompter& prompter, QWidget* parent = nullptr);

    // The operation and the value of an earlier change, offered again (its column aside).
    void Propose(const BulkChange& earlier);
    // Valid once exec() answered Accepted.
    [[nodiscard]] BulkChange Change() const { return m_change; }

    void accept() override;

private:
    FileKind m_kind;
    Prompter& m_prompter;
    QComboBox* m_column = nullptr;
    QRadioButton* m_set = nullptr;
    QRadioButton* m_add = nullptr;
    QRadioButton* m_multiply = nullptr;
    QLineEdit* m_value = nullptr;
    BulkChange m_change;
};

} // namespace rw

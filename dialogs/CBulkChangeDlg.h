#pragma once

// The 批量修改 dialog: one numeric column of the selected rows set to a value, added to,
// multiplied by a factor, or given a formula over each row's own fields (公式). Below the
// value it shows what the change would do: how many rows change and the first ones' old and
// new values, or why it would be refused. Its OK checks the text; what the change does to the
// table is the document's affair.

#include "query/BulkChange.h"
#include "data/FileKind.h"
#include "table/TableEdits.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace rw {

class Prompter;

// What was asked of the dialog, as typed: offered again next time.
struct BulkRequest {
    enum class Operation : std::uint8_t { Set, Add, Multiply, Formula };
    int column = 2;
    Operation operation = Operation::Set;
    QString value;
};

class CBulkChangeDlg : public QDialog {
    Q_OBJECT

public:
    // What a change would do to the selected rows.
    using Previewer = std::function<BulkPreview(const BulkChange&)>;

    // kind: a data kind. column: the one to offer first (the current one, when numeric).
    CBulkChangeDlg(FileKind kind, std::size_t rowCount, int column, Prompter& prompter, Previewer preview,
                   QWidget* parent = nullptr);

    // The operation and the value of an earlier request, offered again (its column aside).
    void Propose(const BulkRequest& earlier);
    // Valid once exec() answered Accepted.
    [[nodiscard]] const BulkChange& Change() const { return m_change; }
    [[nodiscard]] BulkRequest Request() const;

    void accept() override;

private:
    // The change the controls say, or why there is none (a message for the user).
    [[nodiscard]] std::optional<BulkChange> Typed(QString& why) const;
    void ShowPreview();

    FileKind m_kind;
    Prompter& m_prompter;
    Previewer m_preview;
    QComboBox* m_column = nullptr;
    QRadioButton* m_set = nullptr;
    QRadioButton* m_add = nullptr;
    QRadioButton* m_multiply = nullptr;
    QRadioButton* m_formula = nullptr;
    QLineEdit* m_value = nullptr;
    QLabel* m_previewText = nullptr;
    BulkChange m_change;
};

} // namespace rw

#include "dialogs/CBulkChangeDlg.h"

#include "data/DecimalText.h"
#include "data/Schema.h"
#include "resources/Strings.h"
#include "ui/ControlBuilder.h"
#include "ui/DialogUnits.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <optional>
#include <string>

namespace rw {

CBulkChangeDlg::CBulkChangeDlg(FileKind kind, std::size_t rowCount, int column, Prompter& prompter, QWidget* parent)
    : QDialog(parent, TemplateDialogFlags()), m_kind(kind), m_prompter(prompter)
{
    setWindowTitle(Text(str::kBulkCaption));
    setFont(DialogFont());
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(Text(str::kBulkRowsFormat, rowCount), this));

    m_column = new QComboBox(this);
    const RecordSchema& schema = SchemaOf(kind);
    for (int k = 0; k < schema.ColumnCount(); ++k) {
        if (schema.Column(k).IsNumeric()) m_column->addItem(Text(schema.Column(k).title), k);
    }
    m_column->setCurrentIndex(std::max(0, m_column->findData(column)));
    form->addRow(Text(str::kBulkColumn), m_column);

    auto* operations = new QHBoxLayout;
    m_set = new QRadioButton(Text(str::kBulkSet), this);
    m_add = new QRadioButton(Text(str::kBulkAdd), this);
    m_multiply = new QRadioButton(Text(str::kBulkMultiply), this);
    m_set->setChecked(true);
    for (QRadioButton* button : {m_set, m_add, m_multiply}) operations->addWidget(button);
    form->addRow(operations);

    m_value = new QLineEdit(this);
    form->addRow(Text(str::kBulkValue), m_value);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Text(str::kKeyOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(str::kCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    m_value->setFocus();
}

void CBulkChangeDlg::Propose(const BulkChange& earlier)
{
    switch (earlier.operation) {
    case BulkOperation::Set: m_set->setChecked(true); break;
    case BulkOperation::Add: m_add->setChecked(true); break;
    case BulkOperation::Multiply: m_multiply->setChecked(true); break;
    // Dividing is recwright-cli update's; this dialog multiplies by a fraction instead.
    case BulkOperation::Divide: break;
    }
    // The factor as it was typed: it is kept exact, so it reads back as the same decimal.
    m_value->setText(earlier.operation == BulkOperation::Multiply
                         ? QString::fromStdString(DecimalTextOf(earlier.factor).value_or(std::string()))
                         : QString::number(earlier.value));
    // Typing replaces the value offered.
    m_value->selectAll();
}

void CBulkChangeDlg::accept()
{
    BulkChange change;
    change.column = m_column->currentData().toInt();
    const QString text = m_value->text();
    if (m_multiply->isChecked()) {
        change.operation = BulkOperation::Multiply;
        const ParsedDecimal factor = ParseDecimal(text.toStdString());
        if (factor.outcome != ParsedDecimal::Outcome::Done) {
            const QString why = factor.outcome == ParsedDecimal::Outcome::TooManyDigits
                                    ? Text(str::kBulkTooManyDigitsFormat, kDecimalDigits)
                                    : Text(str::kEnterNumber);
            m_prompter.ShowMessage(this, why, Text(str::kCaptionWarning));
            FocusAndSelect(*m_value);
            return;
        }
        change.factor = factor.value;
    } else {
        change.operation = m_add->isChecked() ? BulkOperation::Add : BulkOperation::Set;
        const std::optional<std::int32_t> value = ParseStrictInt32(text.toStdString());
        if (!value) {
            m_prompter.ShowMessage(this, Text(str::kEnterInteger), Text(str::kCaptionWarning));
            FocusAndSelect(*m_value);
            return;
        }
        change.value = *value;
    }
    m_change = change;
    QDialog::accept();
}

} // namespace rw

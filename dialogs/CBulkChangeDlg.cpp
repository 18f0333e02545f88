#include "dialogs/CBulkChangeDlg.h"

#include "data/DecimalText.h"
#include "data/ListedFirst.h"
#include "data/Schema.h"
#include "dialogs/ExpressionErrorText.h"
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
#include <QStringList>

#include <string>

namespace rw {
namespace {

[[nodiscard]] QString RefusalWords(BulkChangeResult::Outcome outcome)
{
    switch (outcome) {
    case BulkChangeResult::Outcome::Overflow: return Text(str::kBulkOverflowShort);
    case BulkChangeResult::Outcome::DivisionByZero: return Text(str::kBulkDivisionByZeroShort);
    case BulkChangeResult::Outcome::DuplicateId: return Text(str::kBulkDuplicateIdShort);
    case BulkChangeResult::Outcome::OutOfRange:
    case BulkChangeResult::Outcome::Done: break;
    }
    return Text(str::kBulkOutOfRangeShort);
}

} // namespace

CBulkChangeDlg::CBulkChangeDlg(FileKind kind, std::size_t rowCount, int column, Prompter& prompter, Previewer preview,
                               QWidget* parent)
    : QDialog(parent, TemplateDialogFlags()), m_kind(kind), m_prompter(prompter), m_preview(std::move(preview))
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
    m_formula = new QRadioButton(Text(str::kBulkFormula), this);
    m_formula->setToolTip(Text(str::kBulkFormulaTip));
    m_set->setChecked(true);
    for (QRadioButton* button : {m_set, m_add, m_multiply, m_formula}) operations->addWidget(button);
    form->addRow(operations);

    m_value = new QLineEdit(this);
    form->addRow(Text(str::kBulkValue), m_value);
    m_previewText = new QLabel(this);
    m_previewText->setTextFormat(Qt::PlainText);
    form->addRow(m_previewText);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Text(str::kKeyOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(str::kCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    connect(m_value, &QLineEdit::textChanged, this, &CBulkChangeDlg::ShowPreview);
    connect(m_column, &QComboBox::currentIndexChanged, this, &CBulkChangeDlg::ShowPreview);
    for (QRadioButton* button : {m_set, m_add, m_multiply, m_formula}) {
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on) ShowPreview();
        });
    }
    ShowPreview();
    m_value->setFocus();
}

void CBulkChangeDlg::Propose(const BulkRequest& earlier)
{
    switch (earlier.operation) {
    case BulkRequest::Operation::Set: m_set->setChecked(true); break;
    case BulkRequest::Operation::Add: m_add->setChecked(true); break;
    case BulkRequest::Operation::Multiply: m_multiply->setChecked(true); break;
    case BulkRequest::Operation::Formula: m_formula->setChecked(true); break;
    }
    // The value as it was typed: a factor is kept exact, so it reads back as the same decimal.
    m_value->setText(earlier.value);
    // Typing replaces the value offered.
    m_value->selectAll();
}

BulkRequest CBulkChangeDlg::Request() const
{
    BulkRequest request;
    request.column = m_column->currentData().toInt();
    request.operation = m_formula->isChecked()    ? BulkRequest::Operation::Formula
                        : m_multiply->isChecked() ? BulkRequest::Operation::Multiply
                        : m_add->isChecked()      ? BulkRequest::Operation::Add
                                                  : BulkRequest::Operation::Set;
    request.value = m_value->text();
    return request;
}

std::optional<BulkChange> CBulkChangeDlg::Typed(QString& why) const
{
    const BulkRequest request = Request();
    const std::string text = request.value.toStdString();
    switch (request.operation) {
    case BulkRequest::Operation::Formula: {
        const ParsedExpression parsed = FieldExpression::Parse(text, m_kind);
        if (parsed.error) {
            why = ExpressionErrorText(*parsed.error, text);
            return std::nullopt;
        }
        return FormulaOf(m_kind, request.column, *parsed.expression);
    }
    case BulkRequest::Operation::Multiply: {
        const ParsedDecimal factor = ParseDecimal(text);
        if (factor.outcome != ParsedDecimal::Outcome::Done) {
            why = factor.outcome == ParsedDecimal::Outcome::TooManyDigits ? Text(str::kBulkTooManyDigitsFormat, kDecimalDigits)
                                                                          : Text(str::kEnterNumber);
            return std::nullopt;
        }
        return ChangeOf(m_kind, request.column, BulkOperation::Multiply, FieldExpression::Number(m_kind, factor.value));
    }
    case BulkRequest::Operation::Set:
    case BulkRequest::Operation::Add: break;
    }
    const std::optional<std::int32_t> value = ParseStrictInt32(text);
    if (!value) {
        why = Text(str::kEnterInteger);
        return std::nullopt;
    }
    const BulkOperation operation = request.operation == BulkRequest::Operation::Add ? BulkOperation::Add : BulkOperation::Set;
    return ChangeOf(m_kind, request.column, operation, FieldExpression::Number(m_kind, *value));
}

void CBulkChangeDlg::ShowPreview()
{
    QString why;
    const std::optional<BulkChange> change = Typed(why);
    if (!change || !m_preview) {
        // Nothing typed yet is no fault to point at.
        m_previewText->setText(m_value->text().trimmed().isEmpty() ? QString() : why);
        m_previewText->setStyleSheet(QStringLiteral("color: #c00000"));
        return;
    }
    const BulkPreview preview = m_preview(*change);
    QString text;
    if (preview.refusal.outcome != BulkChangeResult::Outcome::Done) {
        text = Text(str::kBulkPreviewRefused) + RefusalWords(preview.refusal.outcome);
    } else if (preview.changing == 0) {
        text = Text(str::kBulkPreviewNone);
    } else {
        text = Text(str::kBulkPreviewFormat, preview.changing) + QLatin1Char('\n') +
               ListedFirst(
                   preview.changing, QStringLiteral("\n"),
                   [&](std::size_t i) {
                       const BulkPreview::Row& row = preview.first[i];
                       return Text(str::kBulkPreviewRowFormat, row.id, row.before, row.after);
                   },
                   [](std::size_t more) { return QLatin1Char('\n') + Text(str::kMoreRecordsFormat, more); });
    }
    m_previewText->setStyleSheet(preview.refusal.outcome == BulkChangeResult::Outcome::Done ? QString()
                                                                                             : QStringLiteral("color: #c00000"));
    m_previewText->setText(text);
}

void CBulkChangeDlg::accept()
{
    QString why;
    std::optional<BulkChange> change = Typed(why);
    if (!change) {
        m_prompter.ShowMessage(this, why, Text(str::kCaptionWarning));
        FocusAndSelect(*m_value);
        return;
    }
    m_change = std::move(*change);
    QDialog::accept();
}

} // namespace rw

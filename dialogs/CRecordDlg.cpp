#include "dialogs/CRecordDlg.h"

#include "data/DecimalText.h"
#include "ui/ControlBuilder.h"
#include "ui/GbkNameLimit.h"
#include "ui/TextFit.h"
#include "dialogs/RecordCommitTarget.h"
#include "resources/Strings.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"
#include "text/GbkCodec.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <optional>
#include <string>

namespace rw {
namespace {

[[nodiscard]] QString CaptionPrefix(FileKind kind)
{
    return Text(str::kDialogCaptionFormat, SchemaOf(kind).fileName);
}

} // namespace

CRecordDlg::CRecordDlg(FileKind kind, Prompter& prompter, RecordCommitTarget& commitTarget, QWidget* parent)
    : QDialog(parent, TemplateDialogFlags()),
      m_template(DlgTemplateOf(kind)),
      m_record(kind),
      m_prompter(prompter),
      m_commitTarget(commitTarget)
{
    assert(IsDataKind(kind));
    setModal(false);
    setFont(DialogFont());
    // No icon of its own: a window without one shows the application's (WindowIcon), which
    // the frame sets at start-up, possibly after this dialog is made.
    BuildControls();
    SetMode(true);
    ShowRecord();
}

void CRecordDlg::BuildControls()
{
    const RecordSchema& schema = m_record.Schema();
    const ControlBuilder build(*this);
    // A number box must show the longest number whole, its minus sign too. Where the font
    // needs more room than the template gives, the boxes grow and each column moves right
    // by what the columns before it grew.
    const int growth = std::max(0, NumberBoxWidth() - build.Units().X(kDlgBoxWidth));
    const auto columns = static_cast<int>(m_template.columns.size());
    setFixedSize(build.Units().Size(m_template.width, m_template.height) + QSize(columns * growth, 0));

    const auto addLabel = [&](const ColumnSpec& spec, int column, int y) {
        QLabel* label = build.Label(Text(spec.DialogLabel()), m_template.LabelX(column, spec.controlId), y + kDlgLabelDrop,
                                    m_template.labelWidth, kDlgLabelHeight, Qt::AlignRight | Qt::AlignVCenter);
        label->move(label->x() + column * growth, label->y());
    };
    const auto addBox = [&](const ColumnSpec& spec, int column, int y, int width, int grow) {
        QLineEdit* edit = build.Edit(spec.controlId, m_template.columns[static_cast<std::size_t>(column)].boxX, y, width,
                                     kDlgBoxHeight);
        edit->setGeometry(edit->geometry().adjusted(column * growth, 0, column * growth + grow, 0));
        return edit;
    };

    // Made column by column, top to bottom, so that Tab walks the boxes in that order.
    int box = 0;
    for (int c = 0; c < columns; ++c) {
        const DlgColumn& column = m_template.columns[static_cast<std::size_t>(c)];
        for (int r = 0; r < column.fieldCount; ++r, ++box) {
            const int k = SchemaColumnOfBox(box);
            const ColumnSpec& spec = schema.Column(k);
            const int y = kDlgFirstBoxY + r * kDlgRowPitch;
            addLabel(spec, c, y);
            m_numericBoxes.push_back({addBox(spec, c, y, kDlgBoxWidth, growth), k});
        }
        if (c == m_template.nameColumn) {
            const ColumnSpec& spec = schema.Column(kNameColumn);
            addLabel(spec, c, m_template.nameY);
            m_nameBox = addBox(spec, c, m_template.nameY, m_template.nameWidth, 0);
            new GbkNameLimit(*m_nameBox, schema.TypedNameCapacity());
        }
    }

    m_commitButton = build.Button(m_template.commitId, QString(), m_template.commitX, m_template.buttonY,
                               kDlgButtonWidth, kDlgButtonHeight);
    auto* cancel = build.Button(m_template.cancelId, Text(str::kCancel), m_template.cancelX,
                                m_template.buttonY, kDlgButtonWidth, kDlgButtonHeight);
    // Enter in a box cancels, never commits; Ctrl+Enter commits, as the button says.
    cancel->setDefault(true);
    m_commitButton->setToolTip(Text(str::kCommitTip));
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, &CRecordDlg::OnCommit);
    }
    connect(m_commitButton, &QPushButton::clicked, this, &CRecordDlg::OnCommit);
    connect(cancel, &QPushButton::clicked, this, &CRecordDlg::OnCancelButton);
}

int CRecordDlg::NumberBoxWidth() const
{
    QLineEdit probe;
    return BoxWidthFor(probe, font(), QStringLiteral("-2147483648"));
}

void CRecordDlg::LoadRecord(int row, const Record& record, RowKey rowKey)
{
    assert(record.Kind() == Kind());
    m_row = row;
    m_rowKey = rowKey;
    m_record = Record(Kind(), record.Bytes());
    ShowRecord();
}

void CRecordDlg::SetMode(bool modify)
{
    m_modify = modify;
    m_commitButton->setText(QString::fromUtf8(modify ? str::kCommitModify : str::kCommitAdd));
    setWindowTitle(CaptionPrefix(Kind()) + QString::fromUtf8(modify ? str::kDialogModeModify : str::kDialogModeAdd));
}

void CRecordDlg::ShowForEditing()
{
    show();
    raise();
    activateWindow();
    FocusAndSelect(*m_numericBoxes.front().box);
}

void CRecordDlg::ShowRecord()
{
    for (const NumericBox& b : m_numericBoxes) {
        b.box->setText(QString::fromStdString(FormatInt32(m_record.Value(b.column))));
    }
    // The name as the list shows it, its length byte heeded: what the box shows is what a
    // commit that leaves it alone keeps, byte for byte.
    m_shownName = GbkCodec::Instance().Decode(m_record.Name());
    m_nameBox->setText(m_shownName);
}

bool CRecordDlg::ReadBoxes()
{
    std::vector<std::int32_t> values;
    values.reserve(m_numericBoxes.size());
    for (const NumericBox& b : m_numericBoxes) {
        const std::optional<std::int32_t> value = ParseStrictInt32(b.box->text().toStdString());
        if (!value) {
            m_prompter.ShowMessage(this, Text(str::kEnterInteger), Text(str::kCaptionWarning));
            TakeKeysBack(b.box);
            return false;
        }
        values.push_back(*value);
    }
    for (std::size_t i = 0; i < values.size(); ++i) m_record.SetValue(m_numericBoxes[i].column, values[i]);
    // A name left as shown keeps its bytes, even those that are no GBK text.
    if (m_nameBox->text() != m_shownName) WriteName(m_nameBox->text());
    return true;
}

void CRecordDlg::WriteName(const QString& text)
{
    m_record.SetTypedName(FitGbk(text, m_record.Schema().TypedNameCapacity()).bytes);
}

void CRecordDlg::OnCommit()
{
    if (!ReadBoxes()) return;
    const RecordCommit commit{m_modify ? CommitKind::Modify : CommitKind::Add, m_record, m_row, m_rowKey, this};
    const PutOutcome outcome = m_commitTarget.Commit(commit);
    if (outcome == PutOutcome::Accepted) {
        hide();
        return;
    }
    // The refused ID is the user's to change, here.
    QLineEdit* named = nullptr;
    if (outcome == PutOutcome::DuplicateId) {
        for (const NumericBox& b : m_numericBoxes) {
            if (b.column == kIdColumn) named = b.box;
        }
    }
    TakeKeysBack(named);
}

void CRecordDlg::TakeKeysBack(QLineEdit* box)
{
    // The closed message hands the activation back to nobody in particular on some desktops:
    // the keys must not reach the list behind.
    activateWindow();
    if (box) FocusAndSelect(*box);
}

void CRecordDlg::OnCancelButton()
{
    reject();
}

} // namespace rw

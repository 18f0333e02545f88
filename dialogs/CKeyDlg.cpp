#include "dialogs/CKeyDlg.h"

#include "ui/ControlBuilder.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "ui/Texts.h"
#include "ui/Prompter.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <optional>

namespace rw {
namespace {

// The dialog's layout, in dialog units.
constexpr int kWidth = 118;
constexpr int kHeight = 101;
constexpr int kLabelX = 12;
constexpr int kLabelWidth = 49;
constexpr int kLabelHeight = 8;
constexpr int kBoxX = 66;
constexpr int kBoxWidth = 40;
constexpr int kBoxHeight = 12;
constexpr int kButtonY = 80;
constexpr int kButtonWidth = 36;
constexpr int kButtonHeight = 14;

struct KeyRow {
    const char* label;
    int controlId;
    int labelY;
    int boxY;
};

// From the top: item, magic, monster.
constexpr std::array<KeyRow, 3> kRows{{
    {str::kKeyLabelItem, ids::kItemKeyBox, 15, 14},
    {str::kKeyLabelMagic, ids::kMagicKeyBox, 33, 31},
    {str::kKeyLabelMonster, ids::kMonsterKeyBox, 51, 49},
}};

} // namespace

CKeyDlg::CKeyDlg(const KeySet& keys, Prompter& prompter, QWidget* parent)
    : QDialog(parent, TemplateDialogFlags()),
      m_magicKey(keys.For(FileKind::Magic)),
      m_monsterKey(keys.For(FileKind::Monster)),
      m_itemKey(keys.For(FileKind::Item)),
      m_prompter(prompter)
{
    setWindowTitle(Text(str::kKeyDialogCaption));
    setFont(DialogFont());
    const ControlBuilder build(*this);
    setFixedSize(build.Units().Size(kWidth, kHeight));

    // Made first so that it lies beneath the rows it frames.
    auto* frame = new QGroupBox(this);
    frame->setGeometry(build.Units().Rect(7, 0, 104, 70));

    std::array<QLineEdit*, 3> boxes{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const KeyRow& row = kRows[i];
        build.Label(QString::fromUtf8(row.label), kLabelX, row.labelY, kLabelWidth, kLabelHeight,
                    Qt::AlignLeft | Qt::AlignVCenter);
        boxes[i] = build.Edit(row.controlId, kBoxX, row.boxY, kBoxWidth, kBoxHeight);
        boxes[i]->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), boxes[i]));
    }
    m_readOrder = {{{boxes[1], &m_magicKey}, {boxes[2], &m_monsterKey}, {boxes[0], &m_itemKey}}};
    for (const KeyBox& k : m_readOrder) k.box->setText(QString::number(*k.key));

    auto* ok = build.Button(ids::kOk, Text(str::kKeyOk), 7, kButtonY, kButtonWidth, kButtonHeight);
    auto* cancel =
        build.Button(ids::kCancel, Text(str::kKeyCancel), 74, kButtonY, kButtonWidth, kButtonHeight);
    // Enter in a box must cancel: without this QDialog makes the first button, OK, the default.
    cancel->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CKeyDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &CKeyDlg::reject);
}

KeySet CKeyDlg::GetKeys() const
{
    KeySet keys;
    keys.Set(FileKind::Magic, m_magicKey);
    keys.Set(FileKind::Monster, m_monsterKey);
    keys.Set(FileKind::Item, m_itemKey);
    return keys;
}

void CKeyDlg::accept()
{
    OnOK();
}

void CKeyDlg::OnOK()
{
    std::array<std::uint8_t, 3> values{};
    for (std::size_t i = 0; i < m_readOrder.size(); ++i) {
        const std::optional<std::uint8_t> value = ParseKey(m_readOrder[i].box->text().toStdString());
        if (!value) {
            m_prompter.ShowMessage(this, Text(str::kEnterByte), Text(str::kCaptionWarning));
            FocusAndSelect(*m_readOrder[i].box);
            return;
        }
        values[i] = *value;
    }
    for (std::size_t i = 0; i < m_readOrder.size(); ++i) *m_readOrder[i].key = values[i];
    QDialog::accept();
}

} // namespace rw

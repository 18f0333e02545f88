#include "ui/ControlBuilder.h"

#include "resources/Ids.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rw {

Qt::WindowFlags TemplateDialogFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

ControlBuilder::ControlBuilder(QWidget& dialog) : m_dialog(dialog), m_units(dialog.font()) {}

QLabel* ControlBuilder::Label(const QString& text, int x, int y, int width, int height, Qt::Alignment align) const
{
    auto* label = new QLabel(text, &m_dialog);
    label->setAlignment(align);
    // The templates were drawn for a narrower font; a text that would be cut off grows away
    // from the side it is aligned to, into the gap before the next control.
    QRect rect = m_units.Rect(x, y, width, height);
    const int needed = label->sizeHint().width();
    if (needed > rect.width()) {
        if (align & Qt::AlignRight) {
            rect.setLeft(rect.right() + 1 - needed);
        } else {
            rect.setWidth(needed);
        }
    }
    label->setGeometry(rect);
    return label;
}

QLineEdit* ControlBuilder::Edit(int controlId, int x, int y, int width, int height) const
{
    auto* box = new QLineEdit(&m_dialog);
    box->setGeometry(m_units.Rect(x, y, width, height));
    box->setProperty(ids::kControlIdProperty, controlId);
    return box;
}

QPushButton* ControlBuilder::Button(int controlId, const QString& text, int x, int y, int width, int height) const
{
    auto* button = new QPushButton(text, &m_dialog);
    button->setGeometry(m_units.Rect(x, y, width, height));
    button->setProperty(ids::kControlIdProperty, controlId);
    return button;
}

void FocusAndSelect(QLineEdit& box)
{
    box.setFocus(Qt::OtherFocusReason);
    box.selectAll();
}

} // namespace rw

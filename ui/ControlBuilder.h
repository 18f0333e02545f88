#pragma once

// Places a dialog's controls at their template positions, converted from dialog units with
// the dialog's own font, and tags each control that has an id with it.

#include "ui/DialogUnits.h"

#include <QString>
#include <Qt>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace rw {

// Window flags of the templates: caption, system menu and close box, a fixed frame.
[[nodiscard]] Qt::WindowFlags TemplateDialogFlags();

class ControlBuilder {
public:
    // The dialog's font must be set before.
    explicit ControlBuilder(QWidget& dialog);

    [[nodiscard]] const DialogUnits& Units() const { return m_units; }

    QLabel* Label(const QString& text, int x, int y, int width, int height, Qt::Alignment align) const;
    QLineEdit* Edit(int controlId, int x, int y, int width, int height) const;
    QPushButton* Button(int controlId, const QString& text, int x, int y, int width, int height) const;

private:
    QWidget& m_dialog;
    DialogUnits m_units;
};

// Where a box that failed its check is shown to the user: focused, its whole text selected.
void FocusAndSelect(QLineEdit& box);

} // namespace rw

#pragma once

// Line edits whose text must show whole: the width one needs for a text, and a text shown in
// a box whose width is fixed.

#include <QFont>
#include <QString>

class QLineEdit;

namespace rw {

// The width box needs to show text whole in font: its frame, margins and cursor included.
[[nodiscard]] int BoxWidthFor(const QLineEdit& box, const QFont& font, const QString& text);

// Sets text into box in font, or, where that is too wide for the box, in the largest smaller
// size that fits, rather than scroll part of it out of sight.
void ShowWhole(QLineEdit& box, const QFont& font, const QString& text);

} // namespace rw

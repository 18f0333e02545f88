#include "ui/TextFit.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace rw {

int BoxWidthFor(const QLineEdit& box, const QFont& font, const QString& text)
{
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
    const QFontMetrics metrics(font);
    // The line edit keeps a margin of two pixels a side inside its frame, and room for the cursor.
    const QSize room(metrics.horizontalAdvance(text) + 2 * 2 + 1, metrics.height());
    return box.style()->sizeFromContents(QStyle::CT_LineEdit, &option, room, &box).width();
}

void ShowWhole(QLineEdit& box, const QFont& font, const QString& text)
{
    // Small enough for any count of records, still readable.
    constexpr qreal kSmallestPoints = 5;
    QFont fitted = font;
    while (BoxWidthFor(box, fitted, text) > box.width() && fitted.pointSizeF() - 0.5 >= kSmallestPoints) {
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    }
    box.setFont(fitted);
    box.setText(text);
    box.setCursorPosition(0);
}

} // namespace rw

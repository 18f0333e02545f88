#pragma once

// Windows and forms are laid out from their templates' numbers, in dialog units, so they keep
// the proportions of the templates whatever font the machine has.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace rw {

// "宋体" at 9 points, with the CJK families that stand in for it where it is missing.
[[nodiscard]] QFont DialogFont();

class DialogUnits {
public:
    // Base units from the font: horizontal = average character width, vertical = height.
    explicit DialogUnits(const QFont& font = DialogFont());

    [[nodiscard]] int X(int dlu) const { return (dlu * m_baseX + 2) / 4; }
    [[nodiscard]] int Y(int dlu) const { return (dlu * m_baseY + 4) / 8; }
    [[nodiscard]] QPoint Point(int x, int y) const { return {X(x), Y(y)}; }
    [[nodiscard]] QSize Size(int width, int height) const { return {X(width), Y(height)}; }
    [[nodiscard]] QRect Rect(int x, int y, int width, int height) const { return {Point(x, y), Size(width, height)}; }

private:
    int m_baseX;
    int m_baseY;
};

} // namespace rw

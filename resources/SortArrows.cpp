#include "resources/SortArrows.h"

#include <QString>

#include <array>

namespace rw {
namespace {

constexpr QRgb kTransparentColour = 0xFF00FF;

std::array<QImage, 2> LoadArrows()
{
    QImage strip = QImage(QStringLiteral(":/bitmaps/sort-arrows.bmp")).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] & RGB_MASK) == kTransparentColour) line[x] = 0;
        }
    }
    return {strip.copy(0, 0, kSortArrowWidth, kSortArrowHeight),
            strip.copy(kSortArrowWidth, 0, kSortArrowWidth, kSortArrowHeight)};
}

} // namespace

QImage SortArrow(bool ascending)
{
    static const std::array<QImage, 2> arrows = LoadArrows();
    return arrows[ascending ? 0 : 1];
}

} // namespace rw

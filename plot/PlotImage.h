#pragma once

// 导出图片: the chart as the dock shows it, as a PNG picture, or as SVG where the build has Qt's
// SVG module (Debian's Linux builds; the Windows build's Qt has none). The file is written as a
// save writes a table: whole or not at all.

#include <QByteArray>

#include <filesystem>
#include <system_error>

class QGraphicsView;

namespace rw {

enum class ImageFormat { Png, Svg };

// Whether this build can write the format.
[[nodiscard]] bool CanWriteImage(ImageFormat format);
// The view's picture in that format, at the size it has on the screen.
[[nodiscard]] QByteArray PictureOf(QGraphicsView& view, ImageFormat format);
// Writes bytes to path in one step; the system's error when it could not.
[[nodiscard]] std::error_code WriteImageFile(const std::filesystem::path& path, const QByteArray& bytes);

} // namespace rw

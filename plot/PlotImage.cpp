#include "plot/PlotImage.h"

#include "system/Platform.h"

#include <QBuffer>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#ifdef RECWRIGHT_PLOT_SVG
#include <QSvgGenerator>
#endif

namespace rw {

bool CanWriteImage(ImageFormat format)
{
#ifdef RECWRIGHT_PLOT_SVG
    (void)format;
    return true;
#else
    return format == ImageFormat::Png;
#endif
}

QByteArray PictureOf(QGraphicsView& view, ImageFormat format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QRect area = view.viewport()->rect();
#ifdef RECWRIGHT_PLOT_SVG
    if (format == ImageFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(area.size());
        svg.setViewBox(QRect(QPoint(), area.size()));
        QPainter painter(&svg);
        view.render(&painter, QRectF(QPoint(), area.size()), area);
        return bytes;
    }
#else
    if (format != ImageFormat::Png) return bytes;
#endif
    const qreal scale = view.devicePixelRatioF();
    QImage image(area.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view.render(&painter, QRectF(QPoint(), area.size()), area);
    }
    image.save(&buffer, "PNG");
    return bytes;
}

std::error_code WriteImageFile(const std::filesystem::path& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    if (file.Ok() &&
        file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) &&
        file.Commit(AtomicFile::Sync::Lazy)) {
        return {};
    }
    return file.ErrorCode();
}

} // namespace rw

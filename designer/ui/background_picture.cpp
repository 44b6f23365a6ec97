#include "designer/ui/background_picture.h"

#include <QImageReader>
#include <QPainter>

#include "designer/page_geometry.h"

namespace scorvane::designer {

QImage ReadBackgroundPicture(const QString& path, double screenDpi) {
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull()) {
        return picture;
    }
    const double dpi = picture.dotsPerMeterX() * 0.0254;
    if (const std::optional<PixelSize> shown =
            BackgroundPictureSize(picture.width(), picture.height(), dpi, screenDpi)) {
        picture = picture.scaled(QSize(shown->width, shown->height), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
    }
    // Transparent parts show the white page.
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter(&opaque).drawImage(0, 0, picture);
    return opaque;
}

}  // namespace scorvane::designer

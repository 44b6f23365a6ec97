#include "common/qt/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace scorvane {

QImage RenderProgramIcon(const PictureFn& picture, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture(painter, QRectF(0, 0, size, size));
    painter.end();
    return image;
}

QIcon ProgramIcon(const PictureFn& picture) {
    QIcon icon;
    for (int size : kProgramIconSizes) {
        icon.addPixmap(QPixmap::fromImage(RenderProgramIcon(picture, size)));
    }
    return icon;
}

void BeginPictureGrid(QPainter& p, const QRectF& area) {
    p.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(area.width(), area.height());
    p.translate(area.center().x() - side / 2, area.center().y() - side / 2);
    p.scale(side / 100.0, side / 100.0);
}

void PaintDesignerPicture(QPainter& p, const QRectF& area) {
    p.save();
    BeginPictureGrid(p, area);

    const QColor outline(0x30, 0x38, 0x50);
    const QColor blue(0x2E, 0x5C, 0xA8);

    // The page, with a folded corner.
    QPainterPath page;
    page.moveTo(16, 6);
    page.lineTo(70, 6);
    page.lineTo(86, 22);
    page.lineTo(86, 94);
    page.lineTo(16, 94);
    page.closeSubpath();
    QPen pen(outline, 1.8);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(0xD8, 0xE0, 0xF0));
    QPainterPath fold;
    fold.moveTo(70, 6);
    fold.lineTo(70, 22);
    fold.lineTo(86, 22);
    fold.closeSubpath();
    p.drawPath(fold);

    // The heading label.
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(26, 14, 34, 7), 2, 2);

    // The ruled table: three rows, three columns.
    p.setPen(QPen(blue, 1.6));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        double y = 32 + i * 13;
        p.drawLine(QPointF(24, y), QPointF(78, y));
    }
    for (double x : {24.0, 42.0, 60.0, 78.0}) {
        p.drawLine(QPointF(x, 32), QPointF(x, 71));
    }
    // Marks in two cells.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xA0, 0xA8, 0xC0));
    p.drawRect(QRectF(46, 37, 10, 4));
    p.drawRect(QRectF(64, 50, 10, 4));

    // The pen, drawing the next line below the table.
    p.setPen(QPen(QColor(0xD0, 0x30, 0x30), 1.8, Qt::DashLine));
    p.drawLine(QPointF(24, 82), QPointF(52, 82));
    p.translate(56, 82);
    p.rotate(-45);
    p.setPen(QPen(outline, 1.4));
    p.setBrush(QColor(0xF2, 0xB0, 0x30));
    p.drawRect(QRectF(6, -4, 34, 8));
    p.setBrush(QColor(0xF5, 0xDE, 0xB3));
    QPainterPath tip;
    tip.moveTo(6, -4);
    tip.lineTo(0, 0);
    tip.lineTo(6, 4);
    tip.closeSubpath();
    p.drawPath(tip);
    p.setBrush(QColor(0xD0, 0x4C, 0x3C));
    p.drawRect(QRectF(40, -4, 5, 8));
    p.restore();
}

}  // namespace scorvane

#include "main/workspace/ui/brand_picture.h"

#include <QPainter>
#include <QPainterPath>

#include "common/qt/program_icon.h"

namespace scorvane {

void PaintBrandPicture(QPainter& p, const QRectF& area) {
    p.save();
    BeginPictureGrid(p, area);

    const QColor outline(0x30, 0x38, 0x50);
    QPen pen(outline, 1.6);
    pen.setJoinStyle(Qt::RoundJoin);

    // The book's cover and its two pages.
    p.setPen(pen);
    p.setBrush(QColor(0x2E, 0x5C, 0xA8));
    p.drawRoundedRect(QRectF(4, 14, 92, 74), 4, 4);
    p.setBrush(Qt::white);
    QPainterPath left;
    left.moveTo(50, 20);
    left.cubicTo(38, 14, 20, 15, 9, 19);
    left.lineTo(9, 82);
    left.cubicTo(20, 78, 38, 78, 50, 84);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(50, 20);
    right.cubicTo(62, 14, 80, 15, 91, 19);
    right.lineTo(91, 82);
    right.cubicTo(80, 78, 62, 78, 50, 84);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);

    // The left page: a table of marks.
    p.setPen(QPen(QColor(0xA0, 0xA8, 0xC0), 0.9));
    for (int i = 0; i < 6; ++i) {
        double y = 30 + i * 8.5;
        p.drawLine(QPointF(14, y), QPointF(45, y));
    }
    p.drawLine(QPointF(24, 26), QPointF(24, 75));
    p.drawLine(QPointF(35, 26), QPointF(35, 75));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x5C, 0xA8, 60));
    p.drawRect(QRectF(14, 24, 31, 6));

    // The right page: bars and a rising line.
    const double heights[4] = {18, 30, 24, 40};
    const QColor colours[4] = {QColor(0x3C, 0xA0, 0x48), QColor(0xF2, 0xB0, 0x30), QColor(0xD0, 0x4C, 0x3C),
                               QColor(0x3A, 0x72, 0xC4)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(outline, 0.8));
        p.setBrush(colours[i]);
        p.drawRect(QRectF(57 + i * 8, 74 - heights[i], 6, heights[i]));
    }
    p.setPen(QPen(QColor(0xD0, 0x30, 0x30), 1.8));
    p.setBrush(Qt::NoBrush);
    QPainterPath trend;
    trend.moveTo(58, 52);
    trend.lineTo(68, 44);
    trend.lineTo(76, 47);
    trend.lineTo(86, 30);
    p.drawPath(trend);
    p.restore();
}

}  // namespace scorvane

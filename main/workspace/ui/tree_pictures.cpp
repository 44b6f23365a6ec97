#include "main/workspace/ui/tree_pictures.h"

#include <QPainter>

#include "main/workspace/ui/drawn_icon.h"

namespace scorvane {
namespace {

const QColor kOutline(0x40, 0x40, 0x48);

QPen outline(double width = 0.9) {
    QPen pen(kOutline, width);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A school house: red roof, a flag, windows and a door.
void school(QPainter& p) {
    p.setPen(outline(0.7));
    p.drawLine(QPointF(8, 0.6), QPointF(8, 3));
    p.setBrush(QColor(0xD0, 0x3C, 0x3C));
    QPolygonF flag;
    flag << QPointF(8, 0.6) << QPointF(10.6, 1.3) << QPointF(8, 2.0);
    p.drawPolygon(flag);
    p.setPen(outline());
    p.setBrush(QColor(0xF3, 0xE3, 0xB8));
    p.drawRect(QRectF(2.2, 6.5, 11.6, 8.3));
    QPolygonF roof;
    roof << QPointF(0.8, 7) << QPointF(8, 2.6) << QPointF(15.2, 7);
    p.setBrush(QColor(0xC0, 0x40, 0x38));
    p.drawPolygon(roof);
    p.setBrush(QColor(0x3A, 0x72, 0xC4));
    p.drawRect(QRectF(3.6, 8.4, 2.4, 2.2));
    p.drawRect(QRectF(10, 8.4, 2.4, 2.2));
    p.setBrush(QColor(0xA8, 0x70, 0x38));
    p.drawRect(QRectF(6.9, 10, 2.2, 4.8));
}

// A grade: a stack of books.
void grade(QPainter& p) {
    struct Book {
        QRectF r;
        QColor c;
    } books[] = {{QRectF(1.5, 11, 13, 3.5), QColor(0x3C, 0xA0, 0x48)},
                 {QRectF(2.5, 7.3, 11.5, 3.5), QColor(0x3A, 0x72, 0xC4)},
                 {QRectF(2, 3.6, 12, 3.5), QColor(0xE8, 0xA0, 0x28)}};
    for (const Book& b : books) {
        p.setPen(outline());
        p.setBrush(b.c);
        p.drawRoundedRect(b.r, 0.6, 0.6);
        p.setPen(QPen(Qt::white, 0.8));
        p.drawLine(QPointF(b.r.right() - 2.8, b.r.top() + 1), QPointF(b.r.right() - 2.8, b.r.bottom() - 1));
    }
}

// A class: two pupils side by side.
void pupils(QPainter& p) {
    auto pupil = [&](double x, double top, const QColor& shirt) {
        p.setPen(outline());
        p.setBrush(shirt);
        p.drawChord(QRectF(x - 4, top + 5, 8, 8), 0, 180 * 16);
        p.setBrush(QColor(0xF6, 0xD2, 0xA8));
        p.drawEllipse(QPointF(x, top + 2.8), 2.4, 2.4);
    };
    pupil(10.6, 2.0, QColor(0x3C, 0xA0, 0x48));
    pupil(5.4, 3.4, QColor(0x3A, 0x72, 0xC4));
    p.setPen(outline());
    p.setBrush(QColor(0xA8, 0x70, 0x38));
    p.drawRect(QRectF(1, 12.4, 14, 2.2));
}

}  // namespace

QIcon TreePicture(int image) {
    switch (image) {
        case 1:
            return DrawnIcon(school);
        case 2:
            return DrawnIcon(grade);
        case 3:
            return DrawnIcon(pupils);
        default:
            return {};
    }
}

}  // namespace scorvane

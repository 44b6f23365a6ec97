#include "main/workspace/ui/toolbar_pictures.h"

#include <QPainter>
#include <QPainterPath>

#include "main/workspace/ui/drawn_icon.h"

namespace scorvane {
namespace {

// One palette for every picture, so the toolbar reads as one set.
const QColor kOutline(0x40, 0x40, 0x48);
const QColor kBlue(0x3A, 0x72, 0xC4);
const QColor kLightBlue(0xCF, 0xE4, 0xF8);
const QColor kGreen(0x3C, 0xA0, 0x48);
const QColor kRed(0xD0, 0x3C, 0x3C);
const QColor kYellow(0xF2, 0xC2, 0x30);
const QColor kPaleYellow(0xF8, 0xDE, 0x7A);
const QColor kGrey(0xC4, 0xC4, 0xC8);
const QColor kBrown(0xA8, 0x70, 0x38);

QPen outline(double width = 1.0, const QColor& colour = kOutline) {
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void box(QPainter& p, const QRectF& r, const QColor& fill, double radius = 0.8) {
    p.setPen(outline());
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

void textLines(QPainter& p, double left, double right, double top, int count, double step = 2.0) {
    p.setPen(outline(0.8, kBlue));
    for (int i = 0; i < count; ++i) {
        double y = top + i * step;
        p.drawLine(QPointF(left, y), QPointF(right, y));
    }
}

// A filled arrow along a straight line, head at `to`.
void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 2.0) {
    QLineF line(from, to);
    QLineF back = QLineF(to, from);
    back.setLength(3.6);
    QLineF shaft(from, back.p2());
    p.setPen(outline(width, colour));
    p.drawLine(shaft);
    QLineF left = back;
    left.setAngle(back.angle() + 32);
    QLineF right = back;
    right.setAngle(back.angle() - 32);
    left.setLength(4.2);
    right.setLength(4.2);
    QPolygonF head;
    head << to << left.p2() << right.p2();
    p.setPen(outline(0.6, colour.darker(130)));
    p.setBrush(colour);
    p.drawPolygon(head);
}

void schoolTree(QPainter& p) {
    p.setPen(outline(1.0));
    p.drawLine(QPointF(8, 5), QPointF(8, 7.5));
    p.drawLine(QPointF(3.5, 7.5), QPointF(12.5, 7.5));
    p.drawLine(QPointF(3.5, 7.5), QPointF(3.5, 9.5));
    p.drawLine(QPointF(12.5, 7.5), QPointF(12.5, 9.5));
    box(p, QRectF(5, 1.5, 6, 3.5), kYellow);
    box(p, QRectF(1, 9.5, 5, 3.5), kBlue);
    box(p, QRectF(10, 9.5, 5, 3.5), kGreen);
}

void openFolder(QPainter& p) {
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(6.8, 5);
    back.lineTo(12.5, 5);
    back.lineTo(12.5, 7.5);
    p.setPen(outline());
    p.setBrush(kYellow);
    p.drawPath(back);
    QPolygonF front;
    front << QPointF(1.5, 13.5) << QPointF(4, 7.5) << QPointF(15, 7.5) << QPointF(12.5, 13.5);
    p.setBrush(kPaleYellow);
    p.drawPolygon(front);
}

void save(QPainter& p) {
    box(p, QRectF(1.5, 1.5, 13, 13), kBlue, 1.2);
    p.setPen(outline(0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 5.5));
    textLines(p, 5, 11, 3.2, 2, 1.8);
    p.setPen(outline(0.8));
    p.setBrush(kGrey);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    p.setBrush(kOutline);
    p.drawRect(QRectF(9, 10.5, 1.5, 3));
}

void copy(QPainter& p) {
    box(p, QRectF(1.5, 1.5, 8, 10), Qt::white, 0.5);
    textLines(p, 3, 8, 4, 3);
    box(p, QRectF(6.5, 4.5, 8, 10), Qt::white, 0.5);
    textLines(p, 8, 13, 7, 4);
}

void cut(QPainter& p) {
    p.setPen(outline(1.2, kOutline));
    p.drawLine(QPointF(5.6, 10.2), QPointF(10.8, 1.5));
    p.drawLine(QPointF(10.4, 10.2), QPointF(5.2, 1.5));
    p.setPen(outline(1.6, kRed));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12.3), 2.3, 2.3);
    p.drawEllipse(QPointF(11.5, 12.3), 2.3, 2.3);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawEllipse(QPointF(8, 6.8), 0.8, 0.8);
}

void paste(QPainter& p) {
    box(p, QRectF(1.5, 2.5, 10, 12.5), kBrown, 1.0);
    box(p, QRectF(4.5, 1, 4, 3), kGrey, 0.6);
    box(p, QRectF(7, 6, 7.5, 9), Qt::white, 0.4);
    textLines(p, 8.5, 13, 8.3, 3);
}

void print(QPainter& p) {
    box(p, QRectF(4, 1.5, 8, 6), Qt::white, 0.3);
    box(p, QRectF(1.5, 6.5, 13, 6), kGrey, 1.2);
    box(p, QRectF(4, 10.5, 8, 4.5), Qt::white, 0.3);
    textLines(p, 5.5, 10.5, 12.2, 2, 1.6);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12.3, 8.5), 0.9, 0.9);
}

void find(QPainter& p) {
    p.setPen(outline(2.6, kBrown));
    p.drawLine(QPointF(10, 10), QPointF(14.3, 14.3));
    p.setPen(outline(1.5));
    p.setBrush(kLightBlue);
    p.drawEllipse(QPointF(6.5, 6.5), 4.6, 4.6);
    p.setPen(outline(1.0, Qt::white));
    p.drawArc(QRectF(3.6, 3.6, 5.8, 5.8), 100 * 16, 70 * 16);
}

void properties(QPainter& p) {
    box(p, QRectF(1, 2, 13, 11), Qt::white, 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(1.5, 2.5, 12, 2.5));
    p.setPen(outline(0.6, kGrey.darker(120)));
    for (double y : {7.5, 10.0}) {
        p.drawLine(QPointF(1.5, y), QPointF(13.5, y));
    }
    for (double x : {5.0, 9.0}) {
        p.drawLine(QPointF(x, 5), QPointF(x, 12.5));
    }
    p.setPen(outline(0.8));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12, 12), 3.4, 3.4);
    p.setPen(outline(1.4, Qt::white));
    p.drawLine(QPointF(12, 11.3), QPointF(12, 14));
    p.drawPoint(QPointF(12, 9.8));
}

void bars(QPainter& p, bool ascending) {
    const double heights[3] = {3.5, 7, 10.5};
    for (int i = 0; i < 3; ++i) {
        double h = heights[ascending ? i : 2 - i];
        box(p, QRectF(1 + i * 3.3, 14.5 - h, 2.6, h), kBlue, 0.3);
    }
    if (ascending) {
        arrow(p, QPointF(13, 14.5), QPointF(13, 1.5), kGreen);
    } else {
        arrow(p, QPointF(13, 1.5), QPointF(13, 14.5), kRed);
    }
}

void enterAlong(QPainter& p, bool alongRow) {
    if (alongRow) {
        box(p, QRectF(0.8, 4, 7, 8), kPaleYellow, 0.3);
        box(p, QRectF(8.2, 4, 7, 8), Qt::white, 0.3);
        arrow(p, QPointF(3, 8), QPointF(14, 8), kBlue, 2.2);
    } else {
        box(p, QRectF(4, 0.8, 8, 7), kPaleYellow, 0.3);
        box(p, QRectF(4, 8.2, 8, 7), Qt::white, 0.3);
        arrow(p, QPointF(8, 3), QPointF(8, 14), kBlue, 2.2);
    }
}

void directionKeys(QPainter& p) {
    const QRectF keys[4] = {QRectF(5.6, 0.8, 4.8, 4.8), QRectF(0.8, 10.4, 4.8, 4.8),
                            QRectF(5.6, 10.4, 4.8, 4.8), QRectF(10.4, 10.4, 4.8, 4.8)};
    for (const QRectF& k : keys) {
        box(p, k, kGrey.lighter(110), 1.0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    auto tri = [&](QPointF a, QPointF b, QPointF c) {
        QPolygonF t;
        t << a << b << c;
        p.drawPolygon(t);
    };
    tri(QPointF(8, 2), QPointF(6.6, 4.2), QPointF(9.4, 4.2));          // up
    tri(QPointF(2, 12.8), QPointF(4.2, 11.4), QPointF(4.2, 14.2));     // left
    tri(QPointF(8, 14), QPointF(6.6, 11.8), QPointF(9.4, 11.8));       // down
    tri(QPointF(14, 12.8), QPointF(11.8, 11.4), QPointF(11.8, 14.2));  // right
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 7.8), 1.1, 1.1);
}

void help(QPainter& p) {
    p.setPen(outline(0.8, kBlue.darker(130)));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 8), 7, 7);
    QPainterPath mark;
    mark.moveTo(5.6, 6.2);
    mark.cubicTo(5.6, 3.2, 10.6, 3.2, 10.6, 6.2);
    mark.cubicTo(10.6, 8.0, 8, 8.2, 8, 10.2);
    p.setPen(outline(1.9, Qt::white));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 12.6), 1.15, 1.15);
}

void undo(QPainter& p) {
    QPainterPath curve;
    curve.moveTo(12.5, 13.5);
    curve.cubicTo(15.5, 8.5, 12, 3.5, 5.5, 5);
    p.setPen(outline(2.2, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    QPolygonF head;
    head << QPointF(1.2, 5.8) << QPointF(6.2, 1.8) << QPointF(6.6, 8.6);
    p.setPen(outline(0.6, kBlue.darker(130)));
    p.setBrush(kBlue);
    p.drawPolygon(head);
}

}  // namespace

QIcon ToolbarPicture(int number) {
    switch (number) {
        case 1:
            return DrawnIcon(schoolTree);
        case 2:
            return DrawnIcon(openFolder);
        case 3:
            return DrawnIcon(save);
        case 4:
            return DrawnIcon(copy);
        case 5:
            return DrawnIcon(cut);
        case 6:
            return DrawnIcon(paste);
        case 7:
            return DrawnIcon(print);
        case 8:
            return DrawnIcon(find);
        case 9:
            return DrawnIcon(properties);
        case 10:
            return DrawnIcon([](QPainter& p) { bars(p, true); });
        case 11:
            return DrawnIcon([](QPainter& p) { bars(p, false); });
        case 12:
            return DrawnIcon([](QPainter& p) { enterAlong(p, true); });
        case 13:
            return DrawnIcon([](QPainter& p) { enterAlong(p, false); });
        case 14:
            return DrawnIcon(directionKeys);
        case 15:
            return DrawnIcon(help);
        case 16:
            return DrawnIcon(undo);
        default:
            return {};
    }
}

}  // namespace scorvane

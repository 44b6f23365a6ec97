#include "common/qt/font_preview.h"

#include <QFontMetrics>
#include <QPainter>

namespace scorvane {

FontPreview::FontPreview(const QString& sample, QWidget* parent) : QWidget(parent), sample_(sample) {
    setMinimumSize(260, 90);
}

void FontPreview::setPreviewFont(const QFont& font) {
    font_ = font;
    update();
}

void FontPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setClipRect(rect().adjusted(1, 1, -1, -1));
    p.setFont(font_);
    p.setPen(Qt::black);
    QFontMetrics metrics(font_);
    const int left = (width() - metrics.horizontalAdvance(sample_)) / 2;
    const int top = (height() - metrics.height()) / 2;
    p.drawText(left, top + metrics.ascent(), sample_);
}

}  // namespace scorvane

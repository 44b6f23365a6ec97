#include "designer/ui/page_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <cmath>

#include "common/qt/screen_twips.h"
#include "designer/page_drawing.h"

namespace scorvane::designer {
namespace {

PixelRect toPixelRect(const QRect& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

QRect toQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

PixelPoint toPixelPoint(QPointF p) {
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

// A label whose picture would hold more pixels than this is drawn straight onto the page instead.
constexpr qsizetype kKeptPicturePixels = 512 * 512;
// All kept pictures together stay below this; labels beyond it are drawn straight onto the page.
constexpr qsizetype kKeptPictureBytes = 64 * 1024 * 1024;
const int kTextFlags = Qt::AlignLeft | Qt::AlignTop;

// The part of a caption that can be seen on the page: a label with its top-left corner `room` pixels
// from the page's right and bottom edges, in a font of `em` pixels, shows no more lines than fit in
// the room below (a line is at least an em high) and no more characters to a line than fit beside
// (the narrowest glyph of a text font, a thin space or an "i", is wider than a fifth of an em). Laying
// out only this keeps a caption of a million characters, or of letters a page high, from costing more
// than the page.
QString shownText(QString text, QSize room, double em) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    em = std::max(em, 1.0);
    const auto maxChars = static_cast<qsizetype>(std::max(room.width(), 0) / (0.2 * em)) + 2;
    const auto maxLines = static_cast<qsizetype>(std::max(room.height(), 0) / em) + 2;
    if (text.size() <= maxChars) {
        return text;
    }
    QString shown;
    qsizetype lines = 0;
    for (qsizetype start = 0; start <= text.size() && lines < maxLines; ++lines) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) {
            end = text.size();
        }
        qsizetype length = std::min(end - start, maxChars);
        if (length < end - start && length > 0 && text.at(start + length - 1).isHighSurrogate()) {
            --length;  // never half a character
        }
        if (lines > 0) {
            shown += QLatin1Char('\n');
        }
        shown += QStringView(text).mid(start, length);
        start = end + 1;
    }
    return shown;
}

}  // namespace

QFont LabelFont(const TemplateLabel& label) {
    return ToQFont(label.surfaceFont());
}

QColor LabelColor(SurfaceColor color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

PageWidget::PageWidget(const TemplateDocument& doc, const LineDrawing& drawing, QWidget* parent)
    : QWidget(parent), doc_(doc), drawing_(drawing) {
    setObjectName("picTarget");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PageWidget::~PageWidget() = default;

double PageWidget::twipsPerPixel() const {
    return TwipsPerPixelX(*this);
}

void PageWidget::redraw(bool gridOn, const std::string& spacing) {
    const auto w = static_cast<double>(doc_.pageWidth());
    const auto h = static_cast<double>(doc_.pageHeight());
    if (!surface_ || surface_->width() != w || surface_->height() != h) {
        surface_ = QtSurface::ForImage(w, h, 1440.0 / twipsPerPixel());
        surface_->setAntialiased(false);
    }
    surface_->clear();
    DrawPageContents(doc_, gridOn, spacing, *surface_);
    if (const QImage* image = surface_->image()) {
        if (size() != image->size()) {
            resize(image->size());
        }
    }
    update();
}

void PageWidget::setBackground(const QImage& picture) {
    background_ = picture;
    update();
}

const QImage& PageWidget::picture() const {
    static const QImage none;
    return surface_ && surface_->image() ? *surface_->image() : none;
}

void PageWidget::labelsChanged() {
    const double tpp = twipsPerPixel();
    const int pageWidth = static_cast<int>(std::lround(static_cast<double>(doc_.pageWidth()) / tpp));
    const int pageHeight = static_cast<int>(std::lround(static_cast<double>(doc_.pageHeight()) / tpp));
    const double dpi = 1440.0 / tpp;
    labels_.clear();
    pictureBytes_ = 0;
    labels_.reserve(doc_.labels.size());
    for (const TemplateLabel& label : doc_.labels.labels()) {
        LabelView v;
        v.font = LabelFont(label);
        const QPoint corner(static_cast<int>(std::lround(label.left / tpp)),
                            static_cast<int>(std::lround(label.top / tpp)));
        v.text =
            shownText(QString::fromStdString(label.caption),
                      QSize(pageWidth - corner.x(), pageHeight - corner.y()), v.font.pointSizeF() * dpi / 72);
        v.color = LabelColor(label.foreColor);
        const QSize size = measured(v.font, v.text.isEmpty() ? QStringLiteral(" ") : v.text);
        v.rect = QRect(corner, size);
        labels_.push_back(std::move(v));
    }
    // A label that went away while it was dragged is dropped nowhere.
    if (drag_.pressed() && static_cast<size_t>(drag_.index()) >= labels_.size()) {
        drag_.cancel();
        pressedLabel_ = -1;
    }
    update();
}

QSize PageWidget::measured(const QFont& font, const QString& text) const {
    // Text grows in proportion to its font: a large font is measured at a moderate size and the result
    // scaled, which spares loading every glyph at thousands of pixels.
    constexpr qreal kMeasuredPoints = 72;
    const qreal points = font.pointSizeF();
    if (!(points > kMeasuredPoints)) {
        return QFontMetrics(font, this).size(0, text);
    }
    QFont moderate = font;
    moderate.setPointSizeF(kMeasuredPoints);
    const QSizeF size = QFontMetricsF(moderate, this).size(0, text) * (points / kMeasuredPoints);
    return QSize(static_cast<int>(std::min(std::ceil(size.width()), 1e9)),
                 static_cast<int>(std::min(std::ceil(size.height()), 1e9)));
}

qsizetype PageWidget::labelPictureBytes() const {
    return pictureBytes_;
}

int PageWidget::labelAt(QPointF pos) const {
    // The label painted last lies on top.
    for (size_t i = labels_.size(); i-- > 0;) {
        if (labels_[i].rect.contains(pos.toPoint())) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QRect PageWidget::labelRect(int index) const {
    return index >= 0 && static_cast<size_t>(index) < labels_.size()
               ? labels_[static_cast<size_t>(index)].rect
               : QRect();
}

QRect PageWidget::proxyRect() const {
    return drag_.dragging() ? toQRect(drag_.proxy()) : QRect();
}

std::optional<std::pair<PagePoint, PagePoint>> PageWidget::rubberBand() const {
    if (!drawing_.underWay() || !mouse_) {
        return std::nullopt;
    }
    return std::make_pair(drawing_.start(), drawing_.endPoint(mouse_->x(), mouse_->y()));
}

bool PageWidget::drawnStraight(const LabelView& v) {
    return static_cast<qsizetype>(v.rect.width()) * v.rect.height() > kKeptPicturePixels;
}

void PageWidget::paintText(QPainter& painter, LabelView& v, QPoint at) const {
    if (v.rect.isEmpty()) {
        return;
    }
    // Laying a text out is what costs; a page of hundreds of labels is painted from their pictures.
    const qsizetype pixels = static_cast<qsizetype>(v.rect.width()) * v.rect.height();
    if (v.rendered.isNull() && !drawnStraight(v) && pictureBytes_ + 4 * pixels <= kKeptPictureBytes) {
        v.rendered = QImage(v.rect.size(), QImage::Format_ARGB32_Premultiplied);
        v.rendered.fill(Qt::transparent);
        QPainter text(&v.rendered);
        text.setFont(v.font);
        text.setPen(v.color);
        text.drawText(QRect(QPoint(0, 0), v.rect.size()), kTextFlags, v.text);
        pictureBytes_ += v.rendered.sizeInBytes();
    }
    if (!v.rendered.isNull()) {
        painter.drawImage(at, v.rendered);
        return;
    }
    painter.setFont(v.font);
    painter.setPen(v.color);
    painter.drawText(QRect(at, v.rect.size()), kTextFlags, v.text);
}

void PageWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture().isNull()) {
        painter.fillRect(area, Qt::white);
    } else if (background_.isNull()) {
        painter.drawImage(area.topLeft(), picture(), area);
    } else {
        // The picture is white where nothing is drawn: multiplied over the background it leaves the
        // background there and lays the grid and the lines over it.
        painter.fillRect(area, Qt::white);
        painter.drawImage(QPoint(0, 0), background_);
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.drawImage(area.topLeft(), picture(), area);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    const int selected = doc_.labels.selected();
    const int dragged = draggedLabel();
    // A large label that large labels added after it hide wholly (their backgrounds are opaque) is
    // not drawn: a page of big labels lying on one another costs only the few that show.
    std::vector<char> hidden(labels_.size(), 0);
    QRegion covered;
    for (size_t i = labels_.size(); i-- > 0;) {
        const QRect shown = labels_[i].rect.intersected(area);
        if (static_cast<int>(i) == dragged || shown.isEmpty() || !drawnStraight(labels_[i])) {
            continue;
        }
        if (!covered.isEmpty() && QRegion(shown).subtracted(covered).isEmpty()) {
            hidden[i] = 1;
        } else {
            covered += shown;
        }
    }
    for (size_t i = 0; i < labels_.size(); ++i) {
        LabelView& v = labels_[i];
        if (static_cast<int>(i) == dragged || hidden[i] || !v.rect.intersects(area)) {
            continue;
        }
        painter.fillRect(v.rect,
                         static_cast<int>(i) == selected ? kSelectedLabelBackground : QColor(Qt::white));
        paintText(painter, v, v.rect.topLeft());
    }
    if (dragged >= 0) {
        // The proxy: the label's text on lavender where the label would drop.
        const QRect proxy = proxyRect();
        painter.fillRect(proxy, kSelectedLabelBackground);
        paintText(painter, labels_[static_cast<size_t>(dragged)], proxy.topLeft());
    }
    if (auto band = rubberBand()) {
        const double tpp = twipsPerPixel();
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(
            QPointF(static_cast<double>(band->first.x) / tpp, static_cast<double>(band->first.y) / tpp),
            QPointF(static_cast<double>(band->second.x) / tpp, static_cast<double>(band->second.y) / tpp));
    }
}

void PageWidget::mousePressEvent(QMouseEvent* event) {
    pressedLabel_ = drawing_.underWay() ? -1 : labelAt(event->position());
    if (pressedLabel_ < 0) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        drag_.press(pressedLabel_, toPixelRect(labelRect(pressedLabel_)), toPixelPoint(event->position()));
    }
    emit labelPressed(pressedLabel_, event->button(), event->position());
}

void PageWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    mouse_ = QPointF(toTwips(p.x()), toTwips(p.y()));
    if (drag_.pressed() && (event->buttons() & Qt::LeftButton)) {
        const QRect before = proxyRect();
        if (drag_.move(toPixelPoint(p), width(), height(), QApplication::startDragDistance())) {
            const QRect after = proxyRect();
            // Only what the proxy leaves and covers is painted again, and the label's own place when
            // the drag has just begun.
            update((before.isNull() ? labelRect(drag_.index()) : before).united(after));
            emit labelDragged(drag_.index(), after);
        }
        return;
    }
    const int label = drawing_.underWay() ? -1 : labelAt(p);
    if (label >= 0) {
        setCursor(Qt::SizeAllCursor);
        setToolTip(QString::fromUtf8(kLabelToolTip));
        emit labelHovered(label);
    } else {
        unsetCursor();
        setToolTip(QString());
    }
    emit mouseMovedOnPage(mouse_->x(), mouse_->y());
    if (drawing_.underWay()) {
        update();
    }
}

void PageWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    mouse_ = QPointF(toTwips(p.x()), toTwips(p.y()));
    if (pressedLabel_ >= 0) {
        const int label = pressedLabel_;
        pressedLabel_ = -1;
        if (event->button() == Qt::LeftButton && drag_.pressed()) {
            const QRect proxy = proxyRect();
            if (const std::optional<PixelPoint> at = drag_.release()) {
                update(proxy);
                const double tpp = twipsPerPixel();
                emit labelDropped(label, at->x * tpp, at->y * tpp);
                return;
            }
        }
        emit labelReleased(label, event->button(), p);
        return;
    }
    emit released(event->button(), mouse_->x(), mouse_->y());
}

void PageWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && drag_.dragging()) {
        // The label goes back to where it was.
        const QRect proxy = proxyRect();
        const int label = drag_.index();
        drag_.cancel();  // the release that follows is the label's, as after a click
        update(proxy.united(labelRect(label)));
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (!drag_.pressed()) {
                emit arrowKey(static_cast<Qt::Key>(event->key()));
            }
            return;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace scorvane::designer

#include "designer/ui/page_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <cmath>
#include <unordered_map>

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

// True when a text holds a character written right to left, or a mark that turns the direction:
// where its characters stand then depends on what follows them.
bool hasRightToLeft(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        switch (QChar::direction(c)) {
            case QChar::DirR:
            case QChar::DirAL:
            case QChar::DirRLE:
            case QChar::DirRLO:
            case QChar::DirRLI:
            case QChar::DirFSI:
                return true;
            default:
                break;
        }
    }
    return false;
}

// The focus frame: a dotted line one pixel inside the part of the page in view.
QRect focusFrame(const QRect& view) {
    return view.adjusted(1, 1, -2, -2);
}

// The pixels a focus frame covers, to be painted again when it comes or goes.
QRegion focusFrameArea(const QRect& view) {
    const QRect frame = focusFrame(view);
    if (!frame.isValid()) {
        return QRegion(view);
    }
    return QRegion(frame.adjusted(0, 0, 1, 1)).subtracted(QRegion(frame.adjusted(1, 1, -1, -1)));
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

QSize PageWidget::pageSize() const {
    const double tpp = twipsPerPixel();
    return QSize(static_cast<int>(std::lround(static_cast<double>(doc_.pageWidth()) / tpp)),
                 static_cast<int>(std::lround(static_cast<double>(doc_.pageHeight()) / tpp)));
}

PageWidget::LabelView PageWidget::layOut(const TemplateLabel& label, QSize page) const {
    const double tpp = twipsPerPixel();
    const QPoint corner(static_cast<int>(std::lround(label.left / tpp)),
                        static_cast<int>(std::lround(label.top / tpp)));
    const QSize room(page.width() - corner.x(), page.height() - corner.y());
    LabelView v;
    v.label = label;
    v.font = LabelFont(label);
    const double em = v.font.pointSizeF() * 1440.0 / tpp / 72;
    v.text = fitted(v.font, shownText(QString::fromStdString(label.caption), room, em), room.width(), em);
    v.color = LabelColor(label.foreColor);
    v.rect = QRect(corner, measured(v.font, v.text.isEmpty() ? QStringLiteral(" ") : v.text));
    return v;
}

void PageWidget::labelsChanged() {
    // A label laid out before and not changed since keeps its layout and its picture: moving or
    // editing one label of thousands measures that one only. Labels are matched by place in the list
    // first, then by what they hold (after one was added or deleted before them).
    const QSize page = pageSize();
    std::vector<LabelView> before = std::move(labels_);
    if (page != laidOutPage_) {
        before.clear();
    }
    laidOutPage_ = page;
    labels_.clear();
    pictureBytes_ = 0;
    labels_.reserve(doc_.labels.size());
    const auto key = [](const TemplateLabel& l) {
        return std::hash<std::string>{}(l.caption) ^ std::hash<double>{}(l.left) ^
               (std::hash<double>{}(l.top) << 1) ^ (std::hash<double>{}(l.fontSize) << 2);
    };
    std::unordered_multimap<size_t, size_t> byKey;
    std::vector<char> taken(before.size(), 0);
    const auto reusable = [&](size_t i, const TemplateLabel& label) -> LabelView* {
        if (i < before.size() && !taken[i] && before[i].label == label) {
            taken[i] = 1;
            return &before[i];
        }
        if (byKey.empty()) {
            for (size_t j = 0; j < before.size(); ++j) {
                byKey.emplace(key(before[j].label), j);
            }
        }
        const auto [first, last] = byKey.equal_range(key(label));
        for (auto it = first; it != last; ++it) {
            if (!taken[it->second] && before[it->second].label == label) {
                taken[it->second] = 1;
                return &before[it->second];
            }
        }
        return nullptr;
    };
    const std::vector<TemplateLabel>& labels = doc_.labels.labels();
    for (size_t i = 0; i < labels.size(); ++i) {
        const TemplateLabel& label = labels[i];
        if (LabelView* kept = before.empty() ? nullptr : reusable(i, label)) {
            pictureBytes_ += kept->rendered.sizeInBytes();
            labels_.push_back(std::move(*kept));
            continue;
        }
        LabelView v = layOut(label, page);
        labels_.push_back(std::move(v));
    }
    // A label that went away while it was dragged is dropped nowhere.
    if (drag_.pressed() && static_cast<size_t>(drag_.index()) >= labels_.size()) {
        drag_.cancel();
        pressedLabel_ = -1;
    }
    update();
}

void PageWidget::forgetLabels() {
    labels_.clear();
    pictureBytes_ = 0;
    labelsChanged();
}

QSize PageWidget::wholeSize(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= labels_.size()) {
        return QSize();
    }
    // Laid out as if it stood at the page's top-left corner: all of the caption the page can hold.
    TemplateLabel label = labels_[static_cast<size_t>(index)].label;
    label.left = 0;
    label.top = 0;
    return layOut(label, pageSize()).rect.size();
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

qreal PageWidget::advance(const QFont& font, const QString& text) const {
    constexpr qreal kMeasuredPoints = 72;  // as in measured()
    const qreal points = font.pointSizeF();
    if (!(points > kMeasuredPoints)) {
        return QFontMetricsF(font, this).horizontalAdvance(text);
    }
    QFont moderate = font;
    moderate.setPointSizeF(kMeasuredPoints);
    return QFontMetricsF(moderate, this).horizontalAdvance(text) * (points / kMeasuredPoints);
}

QString PageWidget::fitted(const QFont& font, const QString& text, int room, double em) const {
    // Each line is measured a part at a time, from as many characters as would fill the room at an em
    // each, twice as many each time, until the part reaches two ems past the page's edge: what follows
    // stands off the page. A glyph that leans left or a pair set closer stays well inside the margin.
    // A line with characters written right to left is kept whole, as its end may stand at its left.
    em = std::max(em, 1.0);
    const double reach = std::max(room, 0) + 2 * em;
    QString shown;
    qsizetype start = 0;
    while (true) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) {
            end = text.size();
        }
        const QStringView line = QStringView(text).mid(start, end - start);
        qsizetype kept = line.size();
        if (!hasRightToLeft(line)) {
            for (auto part = static_cast<qsizetype>(reach / em) + 2; part < line.size(); part *= 2) {
                qsizetype cut = part;
                if (line.at(cut - 1).isHighSurrogate()) {
                    --cut;  // never half a character
                }
                if (advance(font, line.left(cut).toString()) >= reach) {
                    kept = cut;
                    break;
                }
            }
        }
        shown += line.left(kept);
        if (end == text.size()) {
            return shown;
        }
        shown += QLatin1Char('\n');
        start = end + 1;
    }
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
    // A label that labels added after it hide wholly (every label's background is opaque) is not
    // drawn: a page of labels lying on one another costs only those that show.
    std::vector<char> hidden(labels_.size(), 0);
    QRegion covered;
    for (size_t i = labels_.size(); i-- > 0;) {
        const QRect shown = labels_[i].rect.intersected(area);
        if (static_cast<int>(i) == dragged || shown.isEmpty()) {
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
        // Only labels in the region asked for: the focus frame's strips alone paint few.
        if (static_cast<int>(i) == dragged || hidden[i] || !event->region().intersects(v.rect)) {
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
    if (hasFocus() && !view_.isEmpty()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(focusFrame(view_));
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

void PageWidget::setView(const QRect& view) {
    const QRect shown = view.intersected(rect());
    if (shown == view_) {
        return;
    }
    // A scroll may carry the old frame's pixels along: where it stood and where it now runs are
    // painted again.
    if (hasFocus()) {
        update(focusFrameArea(view_).united(focusFrameArea(shown)));
    }
    view_ = shown;
}

void PageWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update(focusFrameArea(view_));
}

void PageWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(focusFrameArea(view_));
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

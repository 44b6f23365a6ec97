#include "common/qt/qt_surface.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "common/file_io.h"
#include "common/qt/pdf_text_map.h"
#include "common/text_lines.h"

namespace scorvane {
namespace {

constexpr double kTwipsPerInch = 1440;
// A rule of width 1 on paper: one dot of a 300 dpi printer.
constexpr double kPaperDotTwips = kTwipsPerInch / 300;
// The largest picture side in pixels; a larger picture is refused rather than allocated.
constexpr double kMaxPicturePixels = 32767;

QColor toQColor(SurfaceColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont toQFont(const SurfaceFont& f) {
    QFont q(QString::fromStdString(f.name));
    q.setPointSizeF(f.size >= 1 ? f.size : 1);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikethrough);
    return q;
}

QPageLayout a4Layout(PageOrientation orientation) {
    return QPageLayout(
        QPageSize(QPageSize::A4),
        orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(0, 0, 0, 0));
}

std::unique_ptr<QImage> makeImage(double widthTwips, double heightTwips, double dpi) {
    const double w = std::round(widthTwips * dpi / kTwipsPerInch);
    const double h = std::round(heightTwips * dpi / kTwipsPerInch);
    if (!(w >= 1 && h >= 1 && w <= kMaxPicturePixels && h <= kMaxPicturePixels)) {
        return nullptr;
    }
    auto image = std::make_unique<QImage>(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    if (image->isNull()) {
        return nullptr;
    }
    image->fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image->setDotsPerMeterX(dotsPerMeter);
    image->setDotsPerMeterY(dotsPerMeter);
    return image;
}

}  // namespace

QtSurface::QtSurface() : qfont_(toQFont(font_)) {}

QtSurface::~QtSurface() {
    endPainter();
}

std::unique_ptr<QtSurface> QtSurface::ForPdfFile(const std::string& path, const std::string& title) {
    std::unique_ptr<QtSurface> s(new QtSurface());
    s->pdfBuffer_ = std::make_unique<QBuffer>(&s->pdfBytes_);
    s->pdfBuffer_->open(QIODevice::WriteOnly);
    s->pdf_ = std::make_unique<QPdfWriter>(s->pdfBuffer_.get());
    s->pdf_->setResolution(static_cast<int>(kTwipsPerInch));  // one device unit is one twip
    s->pdf_->setCreator(QStringLiteral("Scorvane"));
    if (!title.empty()) {
        s->pdf_->setTitle(QString::fromStdString(title));
    }
    s->pdfPath_ = path;
    s->drawnCharacters_.assign(0x10000, false);
    s->paged_ = s->pdf_.get();
    s->scale_ = 1;
    s->twipsPerDot_ = kPaperDotTwips;
    return s;
}

std::unique_ptr<QtSurface> QtSurface::ForPrinter(QPrinter& printer) {
    std::unique_ptr<QtSurface> s(new QtSurface());
    printer.setFullPage(true);
    s->paged_ = &printer;
    s->scale_ = printer.resolution() / kTwipsPerInch;
    s->twipsPerDot_ = kPaperDotTwips;
    return s;
}

std::unique_ptr<QtSurface> QtSurface::ForImage(double widthTwips, double heightTwips, double dpi) {
    std::unique_ptr<QtSurface> s(new QtSurface());
    s->dpi_ = dpi > 0 ? dpi : 96;
    s->scale_ = s->dpi_ / kTwipsPerInch;
    s->twipsPerDot_ = kTwipsPerInch / s->dpi_;
    s->image_ = makeImage(widthTwips, heightTwips, s->dpi_);
    if (!s->image_) {
        s->failed_ = true;
    }
    return s;
}

double QtSurface::width() const {
    if (paged_) {
        return orientation_ == PageOrientation::Portrait ? kA4Width : kA4Height;
    }
    return image_ ? image_->width() / scale_ : 0;
}

double QtSurface::height() const {
    if (paged_) {
        return orientation_ == PageOrientation::Portrait ? kA4Height : kA4Width;
    }
    return image_ ? image_->height() / scale_ : 0;
}

void QtSurface::setSize(double width, double height) {
    if (paged_ || failed_) {
        return;
    }
    endPainter();
    std::unique_ptr<QImage> next = makeImage(width, height, dpi_);
    if (!next) {
        failed_ = true;
        return;
    }
    if (image_) {
        QPainter copy(next.get());
        copy.drawImage(0, 0, *image_);
    }
    image_ = std::move(next);
}

void QtSurface::setOrientation(PageOrientation orientation) {
    if (!paged_) {
        return;
    }
    orientation_ = orientation;
    if (begun_) {  // takes effect on the next sheet
        paged_->setPageLayout(a4Layout(orientation));
    }
}

bool QtSurface::begin() {
    if (failed_) {
        return false;
    }
    if (begun_) {
        return true;
    }
    QPaintDevice* device = paged_ ? static_cast<QPaintDevice*>(paged_) : image_.get();
    if (!device || ended_) {
        failed_ = true;
        return false;
    }
    if (paged_) {
        paged_->setPageLayout(a4Layout(orientation_));
    }
    if (!painter_.begin(device)) {
        failed_ = true;
        return false;
    }
    begun_ = true;
    if (paged_) {
        pages_ = 1;
    }
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setFont(qfont_);
    painter_.setBrush(Qt::NoBrush);
    penWidth_ = -1;
    penColor_ = 0xFFFFFFFF;
    return true;
}

void QtSurface::endPainter() {
    if (begun_) {
        if (!painter_.end()) {
            failed_ = true;
        }
        begun_ = false;
    }
}

const QFontMetricsF& QtSurface::metrics() {
    if (!metrics_) {
        QPaintDevice* device = paged_ ? static_cast<QPaintDevice*>(paged_) : image_.get();
        metrics_.emplace(device ? QFontMetricsF(qfont_, device) : QFontMetricsF(qfont_));
    }
    return *metrics_;
}

void QtSurface::setFont(const SurfaceFont& font) {
    if (font == font_) {
        return;
    }
    font_ = font;
    qfont_ = toQFont(font);
    metrics_.reset();
    if (begun_) {
        painter_.setFont(qfont_);
    }
}

double QtSurface::textWidth(std::string_view text) {
    double widest = 0;
    for (std::string_view line : SplitTextLines(text)) {
        widest = std::max(widest, metrics().horizontalAdvance(toQString(line)));
    }
    return widest / scale_;
}

double QtSurface::textHeight(std::string_view text) {
    return static_cast<double>(CountTextLines(text)) * metrics().height() / scale_;
}

void QtSurface::usePen(SurfaceColor color, bool forText) {
    const int width = forText ? 0 : lineWidth_;
    if (penColor_ == color && penForText_ == forText && penWidth_ == width) {
        return;
    }
    QPen pen(toQColor(color));
    if (!forText) {
        pen.setWidthF(lineWidth_ * twipsPerDot_ * scale_);
    }
    painter_.setPen(pen);
    penColor_ = color;
    penForText_ = forText;
    penWidth_ = width;
}

void QtSurface::drawLineText(double x, double y, const QString& line) {
    if (pdf_) {
        for (QChar c : line) {
            drawnCharacters_[c.unicode()] = true;
        }
    }
    painter_.drawText(QPointF(x, y + metrics().ascent()), line);
}

void QtSurface::drawTextAt(double x, double y, std::string_view line) {
    if (line.empty() || !begin()) {
        return;
    }
    usePen(textColor_, true);
    drawLineText(toDevice(x), toDevice(y), toQString(line));
}

void QtSurface::drawTextInRect(double left, double top, double right, double bottom, std::string_view text,
                               TextAlign align) {
    if (text.empty() || !begin()) {
        return;
    }
    usePen(textColor_, true);
    const QRectF box(QPointF(toDevice(left), toDevice(top)), QPointF(toDevice(right), toDevice(bottom)));
    const double lineHeight = metrics().height();
    double y = box.top();
    for (std::string_view part : SplitTextLines(text)) {
        if (!part.empty()) {
            const QString line = toQString(part);
            const double w = metrics().horizontalAdvance(line);
            double x = box.left();
            if (align == TextAlign::Center) {
                x = box.left() + (box.width() - w) / 2;
            } else if (align == TextAlign::Right) {
                x = box.right() - w;
            }
            if (w > box.width() + 0.5) {  // a text wider than its cell is cut at the cell's edges
                painter_.save();
                painter_.setClipRect(box);
                drawLineText(x, y, line);
                painter_.restore();
            } else {
                drawLineText(x, y, line);
            }
        }
        y += lineHeight;
    }
}

void QtSurface::drawLine(double x1, double y1, double x2, double y2, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    usePen(color, false);
    painter_.drawLine(QLineF(toDevice(x1), toDevice(y1), toDevice(x2), toDevice(y2)));
}

void QtSurface::drawBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    usePen(color, false);
    painter_.drawRect(
        QRectF(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2))).normalized());
}

void QtSurface::fillBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    painter_.fillRect(
        QRectF(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2))).normalized(),
        toQColor(color));
}

void QtSurface::drawCircle(double centerX, double centerY, double radius, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    usePen(color, false);
    painter_.drawEllipse(QPointF(toDevice(centerX), toDevice(centerY)), toDevice(radius), toDevice(radius));
}

void QtSurface::drawPicture(std::string_view imageBytes, double left, double top, double width,
                            double height) {
    if (!begin()) {
        return;
    }
    QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(imageBytes.data()),
                                      static_cast<int>(imageBytes.size()));
    if (picture.isNull()) {
        return;
    }
    painter_.drawImage(QRectF(toDevice(left), toDevice(top), toDevice(width), toDevice(height)), picture);
}

void QtSurface::clear() {
    if (!image_) {
        return;
    }
    endPainter();
    image_->fill(Qt::white);
}

bool QtSurface::newPage() {
    if (!paged_) {
        return !failed_;
    }
    if (!begin()) {
        return false;
    }
    if (!paged_->newPage()) {
        failed_ = true;
        return false;
    }
    ++pages_;
    return true;
}

bool QtSurface::endJob() {
    if (!paged_) {
        return !failed_;
    }
    if (ended_) {
        return !failed_;
    }
    begin();  // an empty job still makes its one (empty) sheet
    endPainter();
    ended_ = true;
    if (auto* printer = dynamic_cast<QPrinter*>(paged_);
        printer && printer->printerState() == QPrinter::Error) {
        failed_ = true;
    }
    if (pdf_ && !failed_) {
        pdfBuffer_->close();
        RestoreDrawnCharacters(pdfBytes_, drawnCharacters_);
        if (!WriteFileAtomically(pdfPath_, std::string_view(pdfBytes_.constData(), pdfBytes_.size()))) {
            failed_ = true;
        }
    }
    return !failed_;
}

bool QtSurface::saveImage(const std::string& path) {
    if (!image_ || failed_) {
        return false;
    }
    endPainter();
    const bool png =
        path.size() >= 4 && QString::fromStdString(path.substr(path.size() - 4)).toLower() == ".png";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image_->save(&buffer, png ? "PNG" : "BMP")) {
        return false;
    }
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace scorvane

#include "common/qt/qt_surface.h"

#include <dlfcn.h>
#include <zlib.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "common/file_io.h"
#include "common/qt/pdf_text_map.h"
#include "common/text_lines.h"

// Qt's PDF writer deflates every page's content (and the embedded fonts) at zlib's default level. The
// pages of a printed table are mostly text positions, and at that level deflating them takes a third
// of the whole print job; zlib's fastest level does it in a third of the time, for a file about a third
// larger with the same pages. The program defines zlib's deflateInit_() itself, so that the dynamic
// linker binds Qt to this definition; it hands everything on to zlib's own function unchanged, except
// that a request for the default level gets the fastest. (Should a later Qt call another entry point,
// this one is simply not used.)
extern "C" __attribute__((visibility("default"))) int deflateInit_(z_streamp stream, int level,
                                                                   const char* version, int streamSize) {
    using Init = int (*)(z_streamp, int, const char*, int);
    static const auto zlib = reinterpret_cast<Init>(dlsym(RTLD_NEXT, "deflateInit_"));
    if (!zlib) {
        return Z_STREAM_ERROR;
    }
    return zlib(stream, level == Z_DEFAULT_COMPRESSION ? Z_BEST_SPEED : level, version, streamSize);
}

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

QtSurface::QtSurface() : current_(stateFor(font_)) {}

QtSurface::~QtSurface() {
    endPainter();
}

QFont ToQFont(const SurfaceFont& f) {
    QFont q(QString::fromStdString(f.name));
    q.setPointSizeF(f.size >= 1 ? f.size : 1);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikethrough);
    return q;
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
    painter_.setRenderHint(QPainter::Antialiasing, antialiased_);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setFont(current_->qfont);
    painter_.setBrush(Qt::NoBrush);
    penWidth_ = -1;
    penColor_ = 0xFFFFFFFF;
    return true;
}

void QtSurface::setAntialiased(bool on) {
    antialiased_ = on;
    if (begun_) {
        painter_.setRenderHint(QPainter::Antialiasing, on);
    }
}

void QtSurface::endPainter() {
    if (begun_) {
        flushText();
        if (!painter_.end()) {
            failed_ = true;
        }
        begun_ = false;
    }
}

QtSurface::FontState* QtSurface::stateFor(const SurfaceFont& font) {
    for (const auto& state : fonts_) {
        if (state->font == font) {
            return state.get();
        }
    }
    if (fonts_.size() >= kKeptFonts) {
        flushText();  // the texts gathered hold the glyphs of a font about to be forgotten
        std::erase_if(fonts_, [this](const auto& state) { return state.get() != current_; });
        pendingCache_ = nullptr;
    }
    auto state = std::make_unique<FontState>();
    state->font = font;
    state->qfont = ToQFont(font);
    fonts_.push_back(std::move(state));
    return fonts_.back().get();
}

const QFontMetricsF& QtSurface::metrics() {
    if (!current_->metrics) {
        QPaintDevice* device = paged_ ? static_cast<QPaintDevice*>(paged_) : image_.get();
        current_->metrics.emplace(device ? QFontMetricsF(current_->qfont, device)
                                         : QFontMetricsF(current_->qfont));
    }
    return *current_->metrics;
}

double QtSurface::lineHeight() {
    if (current_->lineHeight < 0) {
        current_->lineHeight = metrics().height();
    }
    return current_->lineHeight;
}

void QtSurface::setFont(const SurfaceFont& font) {
    if (font == font_) {
        return;
    }
    current_ = stateFor(font);
    font_ = font;
    if (begun_) {
        painter_.setFont(current_->qfont);
    }
}

double QtSurface::textWidth(std::string_view text) {
    if (text.find_first_of("\r\n") == std::string_view::npos) {
        return lineAdvance(text) / scale_;
    }
    double widest = 0;
    for (std::string_view line : SplitTextLines(text)) {
        widest = std::max(widest, lineAdvance(line));
    }
    return widest / scale_;
}

double QtSurface::textHeight(std::string_view text) {
    return static_cast<double>(CountTextLines(text)) * lineHeight() / scale_;
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

QtSurface::GlyphCache* QtSurface::glyphCache() {
    if (!paged_) {
        return nullptr;
    }
    GlyphCache& cache = current_->glyphs;
    if (!cache.made) {
        cache.made = true;
        cache.raw = QRawFont::fromFont(current_->qfont);
        // The font at the device's resolution, as the painter draws it.
        const QPaintDevice* device = paged_;
        cache.raw.setPixelSize(current_->qfont.pointSizeF() * device->logicalDpiY() / 72.0);
    }
    return cache.raw.isValid() ? &cache : nullptr;
}

const QtSurface::Glyph& QtSurface::GlyphCache::glyph(char16_t unit) {
    std::unique_ptr<Glyph[]>& block = blocks[unit >> 8];
    if (!block) {
        block = std::make_unique<Glyph[]>(256);
    }
    Glyph& g = block[unit & 0xFF];
    if (!g.known) {
        g.known = true;
        const QChar c(unit);
        // Plain text only: a character the font lacks, or a script that needs shaping, takes the usual way.
        if (!c.isSurrogate() && !c.isMark() && (unit < 0x0590 || unit >= 0x2000)) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(QString(c));
            if (glyphs.size() == 1 && glyphs[0] != 0) {
                g.index = glyphs[0];
                g.advance = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics).value(0).x();
                g.plain = true;
            }
        }
    }
    return g;
}

namespace {

// Calls `unit` with each UTF-16 unit of `line` read as UTF-8 of characters of at most three bytes, as Qt
// reads it; false (after the units before it) at the first byte that is not such UTF-8.
template <typename Unit>
bool readUnits(std::string_view line, Unit&& unit) {
    size_t i = 0;
    while (i < line.size()) {
        const auto b = static_cast<unsigned char>(line[i]);
        char32_t cp;
        size_t length;
        if (b < 0x80) {
            cp = b, length = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F, length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F, length = 3;
        } else {
            return false;  // four bytes (beyond U+FFFF) or malformed
        }
        if (i + length > line.size()) {
            return false;
        }
        bool wellFormed = true;
        for (size_t k = 1; k < length; ++k) {
            const auto cont = static_cast<unsigned char>(line[i + k]);
            wellFormed = wellFormed && (cont & 0xC0) == 0x80;
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (!wellFormed || (length == 2 && cp < 0x80) ||
            (length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))) {
            return false;
        }
        unit(static_cast<char16_t>(cp));
        i += length;
    }
    return true;
}

}  // namespace

bool QtSurface::layOutLine(std::string_view line) {
    lineGlyphs_.clear();
    lineOffsets_.clear();
    lineUnits_.clear();
    laidWidth_ = 0;
    GlyphCache* cache = glyphCache();
    if (!cache || line.empty()) {
        return false;
    }
    // The line as UTF-16 units, as Qt reads it (well-formed UTF-8 straight, anything else through Qt).
    if (!readUnits(line, [this](char16_t unit) { lineUnits_.push_back(unit); })) {
        lineUnits_.clear();
        const QString text = toQString(line);
        for (QChar c : text) {
            lineUnits_.push_back(c.unicode());
        }
    }
    double x = 0;
    for (char16_t unit : lineUnits_) {
        const Glyph& g = cache->glyph(unit);
        if (!g.plain) {
            return false;
        }
        lineGlyphs_.append(g.index);
        lineOffsets_.push_back(x);
        x += g.advance;
    }
    laidWidth_ = x;
    return true;
}

double QtSurface::lineAdvance(std::string_view line) {
    // Measuring only: the advances are added up as layOutLine adds them, without keeping the glyphs.
    if (GlyphCache* cache = glyphCache(); cache && !line.empty()) {
        double x = 0;
        bool plain = true;
        const bool read = readUnits(line, [&](char16_t unit) {
            if (plain) {
                const Glyph& g = cache->glyph(unit);
                plain = g.plain;
                x += g.advance;
            }
        });
        if (read && plain) {
            return x;
        }
        if (read) {
            return metrics().horizontalAdvance(toQString(line));
        }
    }
    if (layOutLine(line)) {
        return laidWidth_;
    }
    return metrics().horizontalAdvance(toQString(line));
}

void QtSurface::flushText() {
    if (pendingGlyphs_.isEmpty()) {
        return;
    }
    usePen(pendingColor_, true);
    QGlyphRun run;
    run.setRawFont(pendingCache_->raw);
    run.setGlyphIndexes(pendingGlyphs_);
    run.setPositions(pendingPositions_);
    painter_.drawGlyphRun(QPointF(0, 0), run);
    pendingGlyphs_.clear();
    pendingPositions_.clear();
}

void QtSurface::drawLineText(double x, double y, std::string_view line, bool laidOut) {
    if (pdf_) {
        if (laidOut) {
            for (char16_t unit : lineUnits_) {
                drawnCharacters_[unit] = true;
            }
        } else {
            for (QChar c : toQString(line)) {
                drawnCharacters_[c.unicode()] = true;
            }
        }
    }
    const double baseline = y + metrics().ascent();
    if (laidOut && !current_->qfont.underline() && !current_->qfont.strikeOut()) {
        GlyphCache* cache = &current_->glyphs;
        if (cache != pendingCache_ || textColor_ != pendingColor_) {
            flushText();
            pendingCache_ = cache;
            pendingColor_ = textColor_;
        }
        pendingGlyphs_.append(lineGlyphs_);
        for (double offset : lineOffsets_) {
            pendingPositions_.append(QPointF(x + offset, baseline));
        }
        return;
    }
    flushText();
    usePen(textColor_, true);
    painter_.drawText(QPointF(x, baseline), toQString(line));
}

void QtSurface::drawTextAt(double x, double y, std::string_view line) {
    if (line.empty() || !begin()) {
        return;
    }
    const bool laidOut = layOutLine(line);
    drawLineText(toDevice(x), toDevice(y), line, laidOut);
}

void QtSurface::drawTextInRect(double left, double top, double right, double bottom, std::string_view text,
                               TextAlign align) {
    if (text.empty() || !begin()) {
        return;
    }
    const QRectF box(QPointF(toDevice(left), toDevice(top)), QPointF(toDevice(right), toDevice(bottom)));
    const double lineHeight = this->lineHeight();
    double y = box.top();
    for (std::string_view part : SplitTextLines(text)) {
        if (!part.empty()) {
            const std::string_view line = part;
            const bool laidOut = layOutLine(line);
            const double w = laidOut ? laidWidth_ : metrics().horizontalAdvance(toQString(line));
            double x = box.left();
            if (align == TextAlign::Center) {
                x = box.left() + (box.width() - w) / 2;
            } else if (align == TextAlign::Right) {
                x = box.right() - w;
            }
            if (w > box.width() + 0.5) {  // a text wider than its cell is cut at the cell's edges
                flushText();
                painter_.save();
                painter_.setClipRect(box);
                drawLineText(x, y, line, laidOut);
                flushText();
                painter_.restore();
            } else {
                drawLineText(x, y, line, laidOut);
            }
        }
        y += lineHeight;
    }
}

void QtSurface::drawLine(double x1, double y1, double x2, double y2, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    flushText();
    usePen(color, false);
    painter_.drawLine(QLineF(toDevice(x1), toDevice(y1), toDevice(x2), toDevice(y2)));
}

void QtSurface::drawBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    flushText();
    usePen(color, false);
    painter_.drawRect(
        QRectF(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2))).normalized());
}

void QtSurface::fillBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    flushText();
    painter_.fillRect(
        QRectF(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2))).normalized(),
        toQColor(color));
}

void QtSurface::drawCircle(double centerX, double centerY, double radius, SurfaceColor color) {
    if (!begin()) {
        return;
    }
    flushText();
    usePen(color, false);
    painter_.drawEllipse(QPointF(toDevice(centerX), toDevice(centerY)), toDevice(radius), toDevice(radius));
}

void QtSurface::drawPicture(std::string_view imageBytes, double left, double top, double width,
                            double height) {
    if (!begin()) {
        return;
    }
    flushText();
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
    flushText();
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

void QtSurface::abortJob() {
    if (!paged_ || ended_) {
        return;
    }
    pendingGlyphs_.clear();
    pendingPositions_.clear();
    if (begun_) {
        if (auto* printer = dynamic_cast<QPrinter*>(paged_)) {
            printer->abort();
        }
        painter_.end();
        begun_ = false;
    }
    ended_ = true;
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

#pragma once

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/drawing_surface.h"

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace scorvane {

// A surface font as a Qt font; a size below one point becomes one point, so a text always shows.
QFont ToQFont(const SurfaceFont& font);

// The drawing surface on Qt: a printer (QPrinter), a PDF file standing for the printer (QPdfWriter) or a
// picture (QImage). Lengths arrive in twips and become device units here; texts are measured with the
// real fonts of the device. Fonts are requested by their documented names ("宋体", "黑体"), which the
// program maps to installed fonts at start-up (SetUpFonts).
//
// Paper is A4 without margins, its origin the sheet's top-left corner; the painter begins with the first
// drawing, so the orientation can be set before. A rule of width 1 is one printer dot of 1/300 inch on
// paper and one pixel on a picture.
class QtSurface : public DrawingSurface {
  public:
    // A PDF written to `path` when the job ends, atomically (no half-written file on failure). Text stays
    // text and every font is embedded once.
    static std::unique_ptr<QtSurface> ForPdfFile(const std::string& path, const std::string& title = {});
    // The system printer, set up by the caller (QPrintDialog); the surface sets A4 and the orientation.
    static std::unique_ptr<QtSurface> ForPrinter(QPrinter& printer);
    // A white picture of the given size in twips at `dpi` dots per inch (96: 15 twips a pixel).
    static std::unique_ptr<QtSurface> ForImage(double widthTwips, double heightTwips, double dpi = 96);

    ~QtSurface() override;

    // The picture (null for printers); valid until the next drawing call.
    const QImage* image() const { return image_.get(); }
    // The pages begun so far on paper (0 before the first drawing).
    int pageCount() const { return pages_; }
    // Smoothed edges (the default) suit paper and saved pictures; a picture shown on screen at its own
    // size draws crisper one-pixel rules without. Takes effect from the next drawing call.
    void setAntialiased(bool on);

    double width() const override;
    double height() const override;
    void setSize(double width, double height) override;
    void setOrientation(PageOrientation orientation) override;
    PageOrientation orientation() const override { return orientation_; }
    bool isPrinter() const override { return paged_ != nullptr; }

    void setFont(const SurfaceFont& font) override;
    const SurfaceFont& font() const override { return font_; }
    void setTextColor(SurfaceColor color) override { textColor_ = color; }
    SurfaceColor textColor() const override { return textColor_; }
    double textWidth(std::string_view text) override;
    double textHeight(std::string_view text) override;
    void drawTextAt(double x, double y, std::string_view line) override;
    void drawTextInRect(double left, double top, double right, double bottom, std::string_view text,
                        TextAlign align) override;

    void setLineWidth(int pixels) override { lineWidth_ = pixels < 1 ? 1 : pixels; }
    int lineWidth() const override { return lineWidth_; }
    void drawLine(double x1, double y1, double x2, double y2, SurfaceColor color) override;
    void drawBox(double x1, double y1, double x2, double y2, SurfaceColor color) override;
    void fillBox(double x1, double y1, double x2, double y2, SurfaceColor color) override;
    void drawCircle(double centerX, double centerY, double radius, SurfaceColor color) override;
    void drawPicture(std::string_view imageBytes, double left, double top, double width,
                     double height) override;

    void clear() override;
    bool newPage() override;
    bool endJob() override;
    // Printer: the job is aborted; PDF: nothing is written.
    void abortJob() override;
    bool failed() const override { return failed_; }
    bool saveImage(const std::string& path) override;

  private:
    QtSurface();
    bool begin();  // begins the painter when needed; false once failed
    void endPainter();
    double toDevice(double twips) const { return twips * scale_; }
    const QFontMetricsF& metrics();
    void usePen(SurfaceColor color, bool forText);
    // On paper every character is looked up once per font, its glyph and advance kept: a line of plain
    // text is then laid out from them without asking the font again, and drawn as glyphs. A text the
    // font cannot show whole, or that needs shaping, is measured and drawn the usual way.
    struct Glyph {
        quint32 index = 0;
        double advance = 0;
        bool known = false;  // looked up
        bool plain = false;  // drawn from its glyph
    };
    struct GlyphCache {
        bool made = false;  // `raw` set up for the paper
        QRawFont raw;
        std::array<std::unique_ptr<Glyph[]>, 256> blocks;  // by the high byte of the UTF-16 unit
        const Glyph& glyph(char16_t unit);
    };
    // A font met on this surface, kept with what is known of it: a table's texts switch between a few
    // fonts (and the smaller sizes of fitted texts) cell after cell, and each switch back then costs a
    // look-up instead of building the font and its metrics again.
    struct FontState {
        SurfaceFont font;
        QFont qfont;
        std::optional<QFontMetricsF> metrics;  // made on first use, for the device
        double lineHeight = -1;                // metrics->height(), once asked
        GlyphCache glyphs;                     // on paper
    };
    // The state of `font`, made when it is new. At most kKeptFonts are kept; beyond, all but the
    // current one are forgotten.
    FontState* stateFor(const SurfaceFont& font);
    static constexpr size_t kKeptFonts = 64;
    // The current font's glyphs on paper (set up on first use); null on a picture or without the font.
    GlyphCache* glyphCache();
    // Lays the line out from the cache into lineGlyphs_, lineOffsets_ (from the line's start),
    // laidWidth_ and lineUnits_; false when it must take the usual way.
    bool layOutLine(std::string_view line);
    // One line of text at (x, y) in device units, its top-left corner there; `laidOut` when
    // layOutLine(line) has just succeeded.
    void drawLineText(double x, double y, std::string_view line, bool laidOut);
    // Draws the texts gathered so far; every other drawing call does this first, so that the order of
    // drawing stays as called.
    void flushText();
    // The width of one line in device units.
    double lineAdvance(std::string_view line);
    // The height of a line of the current font in device units.
    double lineHeight();

    // The device: exactly one of these.
    QPagedPaintDevice* paged_ = nullptr;
    // The PDF goes to memory first (the writer is destroyed before the buffer it writes to).
    QByteArray pdfBytes_;
    std::unique_ptr<QBuffer> pdfBuffer_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::string pdfPath_;
    std::vector<bool> drawnCharacters_;  // every UTF-16 unit drawn into the PDF
    std::unique_ptr<QImage> image_;
    double dpi_ = 96;

    QPainter painter_;
    bool begun_ = false;
    bool ended_ = false;
    bool failed_ = false;
    bool antialiased_ = true;
    int pages_ = 0;
    double scale_ = 1;         // device units per twip
    double twipsPerDot_ = 15;  // a rule of width 1

    PageOrientation orientation_ = PageOrientation::Portrait;
    SurfaceFont font_;
    std::vector<std::unique_ptr<FontState>> fonts_;
    FontState* current_ = nullptr;  // font_'s
    QList<quint32> lineGlyphs_;
    std::vector<double> lineOffsets_;
    std::vector<char16_t> lineUnits_;
    double laidWidth_ = 0;
    // Texts gathered on paper in one font and colour, drawn as one run of glyphs: a page of a table
    // becomes a few text objects instead of one for every cell.
    QList<quint32> pendingGlyphs_;
    QList<QPointF> pendingPositions_;
    GlyphCache* pendingCache_ = nullptr;
    SurfaceColor pendingColor_ = 0;
    SurfaceColor textColor_ = 0;
    int lineWidth_ = 1;
    // The pen the painter holds now, so that runs of texts or lines do not set it again.
    bool penForText_ = false;
    SurfaceColor penColor_ = 0xFFFFFFFF;
    int penWidth_ = -1;
};

}  // namespace scorvane

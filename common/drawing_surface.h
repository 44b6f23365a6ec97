#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scorvane {

// A colour as the system stores it: 0x00BBGGRR (black 0, red 255, white 16777215).
using SurfaceColor = uint32_t;

constexpr SurfaceColor Rgb(int red, int green, int blue) {
    return static_cast<SurfaceColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(SurfaceColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(SurfaceColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(SurfaceColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr SurfaceColor kBlack = 0;

// A font requested by its documented name ("宋体", "黑体"); the Qt side maps the name to an installed font.
struct SurfaceFont {
    std::string name = "宋体";
    double size = 9;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;

    bool operator==(const SurfaceFont&) const = default;
};

enum class PageOrientation { Portrait, Landscape };

// Horizontal alignment of a text inside a rectangle.
enum class TextAlign { Left = 0, Center = 1, Right = 2 };

// A4 in twips, portrait.
inline constexpr double kA4Width = 11907;
inline constexpr double kA4Height = 16840;

// Where every page of the system is drawn: the printer (or a PDF standing for it) or a picture. All
// lengths are twips (1440 per inch, 567 per cm), the origin is the top-left corner, x grows to the right
// and y downwards. A surface keeps a current position, a font, a text colour and a line width.
//
// A printer's paper is A4; its orientation turns it (width and height swap). A picture's size is set by
// its owner. Errors of the device (a printer or file that cannot be written) do not stop the callers'
// loops: the surface remembers the failure, ignores everything drawn after it and says so in failed(),
// newPage() and endJob(); the printing commands then report it.
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    // ---- page or picture
    virtual double width() const = 0;
    virtual double height() const = 0;
    // Pictures only: the new size in twips. What was drawn stays where it is (a growing preview keeps
    // its earlier pages). Printers ignore it.
    virtual void setSize(double width, double height) = 0;
    // Printers only: turns the paper for the pages that follow. Pictures ignore it.
    virtual void setOrientation(PageOrientation orientation) = 0;
    virtual PageOrientation orientation() const = 0;
    virtual bool isPrinter() const = 0;

    // ---- current position, where printText draws next
    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }

    // Draws the text with its top-left corner at the current position (each line of a text holding line
    // breaks starts at the same x), then moves to the start of the next line: x becomes 0 and y grows by
    // the text's height (one line for an empty text).
    void printText(std::string_view text);

    // ---- text in the current font
    virtual void setFont(const SurfaceFont& font) = 0;
    virtual const SurfaceFont& font() const = 0;
    virtual void setTextColor(SurfaceColor color) = 0;
    virtual SurfaceColor textColor() const = 0;
    // The width of the widest line and the height of all lines (an empty text is one line high). Lines
    // end at CR LF, LF or CR.
    virtual double textWidth(std::string_view text) = 0;
    virtual double textHeight(std::string_view text) = 0;
    // One line of text with its top-left corner at (x, y); nothing moves.
    virtual void drawTextAt(double x, double y, std::string_view line) = 0;
    // The text's lines from the top of the rectangle down, each aligned between left and right, clipped
    // to the rectangle; "&" is an ordinary character.
    virtual void drawTextInRect(double left, double top, double right, double bottom, std::string_view text,
                                TextAlign align) = 0;

    // ---- lines and shapes, drawn with the current line width
    // In device pixels: 1 is the thinnest rule the device draws well.
    virtual void setLineWidth(int pixels) = 0;
    virtual int lineWidth() const = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2, SurfaceColor color) = 0;
    virtual void drawBox(double x1, double y1, double x2, double y2, SurfaceColor color) = 0;
    virtual void fillBox(double x1, double y1, double x2, double y2, SurfaceColor color) = 0;
    virtual void drawCircle(double centerX, double centerY, double radius, SurfaceColor color) = 0;
    // An encoded image (PNG, BMP, JPEG bytes) scaled into the rectangle.
    virtual void drawPicture(std::string_view imageBytes, double left, double top, double width,
                             double height) = 0;

    // ---- pages and jobs
    // Pictures: removes everything drawn (white again). Printers ignore it.
    virtual void clear() = 0;
    // Printers: starts the next sheet; false when the device failed. Pictures ignore it and return true.
    virtual bool newPage() = 0;
    // Printers: finishes the job (the file is written); false when anything failed. Pictures: true.
    virtual bool endJob() = 0;
    // Printers: drops the job, so that nothing of it is printed or written (a cancelled print). Pictures
    // and recordings ignore it.
    virtual void abortJob() {}
    virtual bool failed() const = 0;
    // Pictures: saves the picture as an image file (".bmp" as a Windows bitmap, ".png" as PNG), atomically;
    // false on failure or for printers.
    virtual bool saveImage(const std::string& path) = 0;

  private:
    double currentX_ = 0;
    double currentY_ = 0;
};

// The message and title of every failure of the printer or of the output file.
inline constexpr std::string_view kPrintErrorMessage = "打印错误，请检查 打印机连接！";
inline constexpr std::string_view kPrintErrorTitle = "打印错误";

}  // namespace scorvane

#pragma once

#include <string>
#include <vector>

#include "common/drawing_surface.h"

namespace scorvane::testing {

// A drawing surface for tests: it draws nothing, records every drawing call in order and measures text
// by a fixed rule, so that layouts can be checked by number.
//
// Metrics: a character below U+0080 is size x 10 twips wide, any other character size x 20 (a "宋体"
// 9 point Chinese character is 180 wide, a digit 90); a line is size x 25 twips high (9 points: 225).
//
// As a printer it has A4 paper (11907 x 16840, turned by the orientation); as a picture its size is set
// by its owner and starts at 11907 x 16840.
class RecordingSurface : public DrawingSurface {
  public:
    enum class Kind { Printer, Picture };
    explicit RecordingSurface(Kind kind = Kind::Printer) : kind_(kind) {}

    struct Op {
        enum Type {
            Text,
            TextInRect,
            Line,
            Box,
            FillBox,
            Circle,
            Picture,
            Clear,
            NewPage,
            EndJob,
            SetSize,
            Abort
        };
        Type type = Text;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Text: x1,y1 top-left; Circle: centre and x2 = radius
        std::string text;
        SurfaceFont font;
        SurfaceColor color = 0;  // the text colour for texts, the given colour for shapes
        int lineWidth = 1;
        TextAlign align = TextAlign::Left;
        int page = 0;  // the sheet it was drawn on, from 0
    };

    // Makes newPage() fail (and the surface failed) when it would start sheet `page` (1 = the second).
    void failAtPage(int page) { failAtPage_ = page; }

    const std::vector<Op>& ops() const { return ops_; }
    std::vector<Op> ops(Op::Type type) const;
    // The texts of Text and TextInRect calls, in order.
    std::vector<std::string> texts() const;
    // The first Text or TextInRect op with exactly this text; fails the test when there is none.
    const Op& textOp(const std::string& text) const;
    bool hasText(const std::string& text) const;
    int pages() const { return page_ + 1; }
    int count(Op::Type type) const;

    double width() const override;
    double height() const override;
    void setSize(double width, double height) override;
    void setOrientation(PageOrientation orientation) override { orientation_ = orientation; }
    PageOrientation orientation() const override { return orientation_; }
    bool isPrinter() const override { return kind_ == Kind::Printer; }

    void setFont(const SurfaceFont& font) override { font_ = font; }
    const SurfaceFont& font() const override { return font_; }
    void setTextColor(SurfaceColor color) override { textColor_ = color; }
    SurfaceColor textColor() const override { return textColor_; }
    double textWidth(std::string_view text) override;
    double textHeight(std::string_view text) override;
    void drawTextAt(double x, double y, std::string_view line) override;
    void drawTextInRect(double left, double top, double right, double bottom, std::string_view text,
                        TextAlign align) override;

    void setLineWidth(int pixels) override { lineWidth_ = pixels; }
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
    void abortJob() override;
    bool failed() const override { return failed_; }
    bool saveImage(const std::string&) override { return false; }

    // The fixed metrics, for tests that compute expected positions.
    static double CharWidth(double size, bool wide) { return size * (wide ? 20 : 10); }
    static double LineHeight(double size) { return size * 25; }

  private:
    Op make(Op::Type type, double x1, double y1, double x2, double y2, SurfaceColor color) const;

    Kind kind_;
    std::vector<Op> ops_;
    PageOrientation orientation_ = PageOrientation::Portrait;
    double pictureWidth_ = kA4Width;
    double pictureHeight_ = kA4Height;
    SurfaceFont font_;
    SurfaceColor textColor_ = 0;
    int lineWidth_ = 1;
    int page_ = 0;
    int failAtPage_ = -1;
    bool failed_ = false;
};

}  // namespace scorvane::testing

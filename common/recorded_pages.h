#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/drawing_surface.h"

namespace scorvane {

// A drawing surface that keeps what is drawn on it, to draw it again later on another surface, a page
// or a part of a picture at a time. The print path records a job first, so that it knows the job's
// pages before the first one goes to the printer; the preview windows lay their pages out once and
// paint only the part in view.
//
// Texts are measured by another surface, `metrics` (the paper's, for pages that are to print as they
// were laid out); it must outlive the recording. As a printer the surface has A4 paper turned by its
// orientation, and newPage() begins the next recorded page. As a picture its size is set by its owner
// and what is drawn is indexed by height, so that a part of a tall picture is found without going
// through all of it. A recording never fails.
class RecordedPages final : public DrawingSurface {
  public:
    enum class Kind { Printer, Picture };
    RecordedPages(Kind kind, DrawingSurface& metrics);

    // Printer: the pages begun (one more than the new pages); picture: 1.
    int pageCount() const { return static_cast<int>(pageStarts_.size()); }
    // The orientation page `page` (from 0) is drawn in (printer).
    PageOrientation pageOrientation(int page) const;
    // The number of drawing calls kept.
    size_t size() const { return ops_.size(); }

    // Draws page `page` (from 0) on `target` as it was drawn here: the same fonts, colours and line
    // widths, in the same order. It neither turns the target nor starts a sheet: see ReplayJob.
    void replayPage(int page, DrawingSurface& target) const;
    // Picture: draws what touches the rectangle on `target`, moved so that (left, top) lands on the
    // target's (0, 0), in the order it was drawn.
    void replayArea(double left, double top, double right, double bottom, DrawingSurface& target) const;

    double width() const override;
    double height() const override;
    void setSize(double width, double height) override;
    void setOrientation(PageOrientation orientation) override;
    PageOrientation orientation() const override { return orientation_; }
    bool isPrinter() const override { return kind_ == Kind::Printer; }

    void setFont(const SurfaceFont& font) override;
    const SurfaceFont& font() const override { return fonts_[static_cast<size_t>(font_)]; }
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

    // Room for about `ops` drawing calls holding `textBytes` of text in all, made at once: a long
    // table's preview then grows without copying what it holds again and again.
    void reserve(size_t ops, size_t textBytes);
    // Picture: forgets everything drawn. Printer: nothing.
    void clear() override;
    bool newPage() override;
    bool endJob() override { return true; }
    bool failed() const override { return false; }
    bool saveImage(const std::string&) override { return false; }

  private:
    enum class Type : uint8_t { Text, TextInRect, Line, Box, FillBox, Circle, Picture };
    struct Op {
        Type type = Type::Text;
        TextAlign align = TextAlign::Left;
        int16_t lineWidth = 1;
        int32_t font = 0;
        SurfaceColor color = 0;
        uint32_t textOffset = 0;
        uint32_t textLength = 0;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Circle: centre and x2 = radius
    };

    void add(Type type, double x1, double y1, double x2, double y2, SurfaceColor color,
             std::string_view text = {}, TextAlign align = TextAlign::Left);
    // Draws op `index` on the target moved by (-dx, -dy); `font`, `color` and `width` are the state
    // the target was last given by the replay.
    struct ReplayState {
        int32_t font = -1;
        int lineWidth = -1;
        SurfaceColor textColor = 0xFFFFFFFF;
    };
    void replayOp(const Op& op, DrawingSurface& target, double dx, double dy, ReplayState& state) const;
    std::string_view textOf(const Op& op) const {
        return std::string_view(texts_).substr(op.textOffset, op.textLength);
    }
    double lineHeight();  // of the current font, measured once per font

    Kind kind_;
    DrawingSurface& metrics_;
    std::vector<Op> ops_;
    std::string texts_;                  // every op's text, one after the other
    std::vector<size_t> pageStarts_{0};  // printer: the first op of each page
    std::vector<PageOrientation> pageOrientations_{PageOrientation::Portrait};
    std::vector<std::vector<uint32_t>> bands_;  // picture: the ops touching each band of height
    std::vector<SurfaceFont> fonts_{SurfaceFont()};
    std::vector<double> lineHeights_{-1};  // per font; -1 until measured
    int32_t font_ = 0;
    SurfaceColor textColor_ = 0;
    int lineWidth_ = 1;
    PageOrientation orientation_ = PageOrientation::Portrait;
    double pictureWidth_ = kA4Width;
    double pictureHeight_ = kA4Height;
};

// Replays a recorded printer job onto a printer: the pages first .. last (from 0), each turned as it
// was recorded, a new sheet before every page after the first. `beforePage(n)` is called before page
// n (counting from 1 within the range) is drawn and may return false to stop. False when the job was
// stopped or a sheet could not be started.
bool ReplayJob(const RecordedPages& job, int first, int last, DrawingSurface& printer,
               const std::function<bool(int pageInRange)>& beforePage = {});

}  // namespace scorvane

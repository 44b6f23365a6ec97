#pragma once

#include "designer/template_document.h"

namespace scorvane::designer {

// The line-drawing state: no line under way, a free line, a line with fixed x (vertical) or a line
// with fixed y (horizontal).
enum class LineMode { None = 0, Free = 1, FixedX = 2, FixedY = 3 };

// A point on the page in whole twips.
struct PagePoint {
    long long x = 0;
    long long y = 0;
    bool operator==(const PagePoint&) const = default;
};

// Mouse coordinates in twips become whole twips: the nearest whole number, a half going to the even
// neighbour.
PagePoint WholeTwips(double x, double y);

// Drawing a line with the mouse. A left release with no line under way marks the first point and asks
// how the line is to be drawn (the popup menu); a release of any other button marks the first point and
// starts a free line at once; a left release while a line is under way finishes it.
class LineDrawing {
  public:
    enum class Release {
        AskMode,   // the first point is set; the window shows the popup menu
        Started,   // a free line is under way
        Finished,  // the line was added to the document and selected
    };

    LineMode mode() const { return mode_; }
    bool underWay() const { return mode_ != LineMode::None; }
    PagePoint start() const { return start_; }

    // A mouse button released on the page at (x, y) twips.
    Release release(TemplateDocument& doc, bool leftButton, double x, double y);
    // The popup menu's choice; LineMode::None ("取消(&C)") cancels, as cancel() does.
    void choose(LineMode mode);
    // Escape, "取消(&C)", New and Open: no line is under way any more.
    void cancel() { mode_ = LineMode::None; }
    // Where the line under way ends for the mouse at (x, y): the mouse point for a free line, the mouse's
    // y under the first point for a fixed x, the mouse's x beside it for a fixed y.
    PagePoint endPoint(double x, double y) const;

  private:
    LineMode mode_ = LineMode::None;
    PagePoint start_;
};

}  // namespace scorvane::designer

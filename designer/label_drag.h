#pragma once

#include <optional>

namespace scorvane::designer {

// Positions and rectangles on the page in whole screen pixels.
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Dragging a label with the left button. While the label is dragged it is hidden and a lavender proxy of
// its size stands in its place; the proxy keeps the point where the label was grabbed under the mouse
// and moves in whole screen pixels. It stays on the page: its top-left corner is kept within the page,
// and so is its far corner where the label fits, so a label is never dropped out of reach. The drag
// begins once the mouse has moved `threshold` pixels from where the button went down, so that a click
// that only selects a label does not nudge it. Labels do not snap to the grid.
class LabelDrag {
  public:
    // The left button went down on label `index`, whose rectangle is `rect`, at `mouse`.
    void press(int index, PixelRect rect, PixelPoint mouse);
    // The mouse moved with the button held, over a page of the given size. True when what is shown
    // changed: the drag began (the proxy replaces the label) or the proxy moved.
    bool move(PixelPoint mouse, int pageWidth, int pageHeight, int threshold);
    // The button was released: the proxy's top-left corner when the label was dragged; nullopt after a
    // plain click. The drag is over either way.
    std::optional<PixelPoint> release();
    // Escape: the drag ends and the label stays where it was.
    void cancel();

    bool pressed() const { return index_ >= 0; }
    // True while the proxy stands in for the label.
    bool dragging() const { return dragging_; }
    // The label being dragged ("DragIndex"), -1 when none.
    int index() const { return index_; }
    PixelRect proxy() const { return proxy_; }

  private:
    int index_ = -1;
    bool dragging_ = false;
    PixelRect proxy_;
    PixelPoint pressedAt_;
    PixelPoint grab_;  // the mouse's offset from the label's top-left corner
};

}  // namespace scorvane::designer

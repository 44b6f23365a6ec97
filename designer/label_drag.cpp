#include "designer/label_drag.h"

#include <algorithm>
#include <cstdlib>

namespace scorvane::designer {

void LabelDrag::press(int index, PixelRect rect, PixelPoint mouse) {
    index_ = index;
    dragging_ = false;
    proxy_ = rect;
    pressedAt_ = mouse;
    grab_ = {mouse.x - rect.left, mouse.y - rect.top};
}

bool LabelDrag::move(PixelPoint mouse, int pageWidth, int pageHeight, int threshold) {
    if (index_ < 0) {
        return false;
    }
    bool began = false;
    if (!dragging_) {
        const int distance = std::abs(mouse.x - pressedAt_.x) + std::abs(mouse.y - pressedAt_.y);
        if (distance < threshold) {
            return false;
        }
        dragging_ = true;
        began = true;
    }
    const int left = std::clamp(mouse.x - grab_.x, 0, std::max(0, pageWidth - proxy_.width));
    const int top = std::clamp(mouse.y - grab_.y, 0, std::max(0, pageHeight - proxy_.height));
    if (left == proxy_.left && top == proxy_.top) {
        return began;
    }
    proxy_.left = left;
    proxy_.top = top;
    return true;
}

std::optional<PixelPoint> LabelDrag::release() {
    const bool dragged = dragging_;
    const PixelPoint at{proxy_.left, proxy_.top};
    cancel();
    if (!dragged) {
        return std::nullopt;
    }
    return at;
}

void LabelDrag::cancel() {
    index_ = -1;
    dragging_ = false;
}

}  // namespace scorvane::designer

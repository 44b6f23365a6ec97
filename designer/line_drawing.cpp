#include "designer/line_drawing.h"

#include <cmath>
#include <limits>

#include "common/report_template.h"

namespace scorvane::designer {
namespace {

long long wholeTwip(double v) {
    // The default rounding mode takes halves to the even neighbour. Coordinates stay within what a line
    // record holds.
    constexpr double kLimit = std::numeric_limits<int32_t>::max();
    double r = std::nearbyint(v);
    if (!(r > -kLimit)) {
        r = -kLimit;
    } else if (r > kLimit) {
        r = kLimit;
    }
    return static_cast<long long>(r);
}

}  // namespace

PagePoint WholeTwips(double x, double y) {
    return {wholeTwip(x), wholeTwip(y)};
}

LineDrawing::Release LineDrawing::release(TemplateDocument& doc, bool leftButton, double x, double y) {
    if (!leftButton) {
        start_ = WholeTwips(x, y);
        mode_ = LineMode::Free;
        return Release::Started;
    }
    if (mode_ == LineMode::None) {
        start_ = WholeTwips(x, y);
        return Release::AskMode;
    }
    const PagePoint end = endPoint(x, y);
    mode_ = LineMode::None;
    // The point where the button was released comes first, the point where drawing began second.
    doc.lines.append(EncodeLineRecord({end.x, end.y, start_.x, start_.y, 1}),
                     LineStore::DrawnName(doc.lines.size()));
    doc.lines.selectLast();
    doc.markChanged();
    return Release::Finished;
}

void LineDrawing::choose(LineMode mode) {
    mode_ = mode;
}

PagePoint LineDrawing::endPoint(double x, double y) const {
    const PagePoint mouse = WholeTwips(x, y);
    switch (mode_) {
        case LineMode::FixedX:
            return {start_.x, mouse.y};
        case LineMode::FixedY:
            return {mouse.x, start_.y};
        case LineMode::Free:
        case LineMode::None:
            break;
    }
    return mouse;
}

}  // namespace scorvane::designer

#include "common/page_scrolling.h"

#include <algorithm>
#include <cmath>

namespace scorvane {

int ScrollMaximum(double picture, double viewport, double scrollBar) {
    const double steps = std::floor((picture - viewport + scrollBar) / kScrollStepTwips) + 1;
    return static_cast<int>(std::clamp(steps, 0.0, 2147483647.0));
}

}  // namespace scorvane

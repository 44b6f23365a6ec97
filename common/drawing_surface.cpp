#include "common/drawing_surface.h"

#include "common/text_lines.h"

namespace scorvane {

void DrawingSurface::printText(std::string_view text) {
    const double x = currentX_;
    double y = currentY_;
    for (std::string_view line : SplitTextLines(text)) {
        if (!line.empty()) {
            drawTextAt(x, y, line);
        }
        y += textHeight(line);
    }
    currentX_ = 0;
    currentY_ = y;
}

}  // namespace scorvane

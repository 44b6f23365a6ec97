#include "designer/page_drawing.h"

#include "common/report_template.h"
#include "designer/page_geometry.h"

namespace scorvane::designer {

void DrawPageContents(const TemplateDocument& doc, bool gridOn, std::string_view spacing,
                      DrawingSurface& page) {
    const double w = static_cast<double>(doc.pageWidth());
    const double h = static_cast<double>(doc.pageHeight());
    if (gridOn) {
        if (auto grid = GridDivisionsFor(w, h, spacing)) {
            const auto n = static_cast<double>(grid->columns);
            const auto m = static_cast<double>(grid->rows);
            for (long long i = 0; i <= grid->columns; ++i) {
                const double x = w * static_cast<double>(i) / n;
                page.drawLine(x, 0, x, h, kGridColor);
            }
            for (long long i = 0; i <= grid->rows; ++i) {
                const double y = h * static_cast<double>(i) / m;
                page.drawLine(0, y, w, y, kGridColor);
            }
        }
    }
    const int selected = doc.lines.selected();
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        DrawLines(doc.lines.record(i), static_cast<int>(i) == selected, page);
    }
}

}  // namespace scorvane::designer

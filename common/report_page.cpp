#include "common/report_page.h"

#include "common/fitted_text.h"
#include "common/text_lines.h"

namespace scorvane {

void DrawReportPage(DrawingSurface& surface, const PrintableTemplate& report,
                    const std::function<std::string(size_t label)>& labelText,
                    const std::function<bool(size_t label)>& keepOnPage) {
    surface.setLineWidth(1);
    for (const TemplateLine& line : report.lines) {
        surface.drawLine(static_cast<double>(line.x1), static_cast<double>(line.y1),
                         static_cast<double>(line.x2), static_cast<double>(line.y2), kBlack);
    }
    for (size_t i = 0; i < report.labels.size(); ++i) {
        const TemplateLabel& label = report.labels[i];
        surface.setFont(label.surfaceFont());
        surface.setTextColor(label.foreColor);
        std::string text = labelText(i);
        if (keepOnPage && keepOnPage(i)) {
            FittedText fitted = FitText(surface, text, surface.width() - label.left);
            if (fitted.size != surface.font().size) {
                SurfaceFont smaller = surface.font();
                smaller.size = fitted.size;
                surface.setFont(smaller);
            }
            text = std::move(fitted.text);
        }
        // Every line starts at the label's Left; the first at its Top.
        surface.setCurrentY(label.top);
        for (std::string_view part : SplitTextLines(text)) {
            surface.setCurrentX(label.left);
            surface.printText(part);
        }
    }
    surface.setTextColor(kBlack);
}

}  // namespace scorvane

#include "designer/label_appearance.h"

#include <algorithm>
#include <cmath>

namespace scorvane::designer {
namespace {

// Applies `change` to the labels of the scope.
template <class Change>
void forScope(TemplateDocument& doc, LabelScope scope, const Change& change) {
    if (scope == LabelScope::Selected) {
        change(doc.labels.target());
        return;
    }
    change(doc.labels.prototype());
    for (size_t i = 0; i < doc.labels.size(); ++i) {
        change(doc.labels.label(i));
    }
}

}  // namespace

LabelFontChoice LabelFontOf(const TemplateLabel& label) {
    return {label.fontName,   label.fontSize,       label.fontBold,
            label.fontItalic, label.fontStrikethru, label.fontUnderline};
}

void ApplyLabelFont(TemplateLabel& label, const LabelFontChoice& font) {
    if (!font.name.empty()) {
        label.fontName = font.name;
    }
    if (std::isfinite(font.size)) {
        label.fontSize = std::clamp(font.size, kMinLabelFontSize, kMaxLabelFontSize);
    }
    label.fontBold = font.bold;
    label.fontItalic = font.italic;
    label.fontStrikethru = font.strikethru;
    label.fontUnderline = font.underline;
}

bool ChangeLabelFont(TemplateDocument& doc, LabelScope scope, const LabelFontChooser& dialog) {
    doc.markChanged();
    const std::optional<LabelFontChoice> chosen = dialog(LabelFontOf(doc.labels.target()));
    if (!chosen) {
        return false;
    }
    forScope(doc, scope, [&](TemplateLabel& label) { ApplyLabelFont(label, *chosen); });
    return true;
}

bool ChangeLabelColor(TemplateDocument& doc, LabelScope scope, const LabelColorChooser& dialog) {
    doc.markChanged();
    const std::optional<SurfaceColor> chosen = dialog(doc.labels.target().foreColor);
    if (!chosen) {
        return false;
    }
    const SurfaceColor color = *chosen & 0xFFFFFFu;
    forScope(doc, scope, [&](TemplateLabel& label) { label.foreColor = color; });
    return true;
}

}  // namespace scorvane::designer

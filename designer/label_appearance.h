#pragma once

#include <functional>
#include <optional>
#include <string>

#include "designer/template_document.h"

namespace scorvane::designer {

// What the font dialog shows and gives back of a label: face name, size in points, bold, italic,
// strike-through and underline.
struct LabelFontChoice {
    std::string name = "宋体";
    double size = 12;
    bool bold = false;
    bool italic = false;
    bool strikethru = false;
    bool underline = false;
    bool operator==(const LabelFontChoice&) const = default;
};
LabelFontChoice LabelFontOf(const TemplateLabel& label);
void ApplyLabelFont(TemplateLabel& label, const LabelFontChoice& font);

// The sizes a label may have are kMinLabelFontSize … kMaxLabelFontSize (common/report_template.h): a
// size outside them is brought to the nearest.

// Which labels a font or colour command changes: "更改字体(&F)" / "更改颜色(&C)" the selected label (the
// prototype when none is selected), "更改所有标签字体(&O)" / "更改所有标签颜色(&O)" every label and the
// prototype, so that labels added later get the font or colour too.
enum class LabelScope { Selected, All };

// The dialogs, given the selected label's font or colour to start from; nullopt when cancelled.
using LabelFontChooser = std::function<std::optional<LabelFontChoice>(const LabelFontChoice& start)>;
using LabelColorChooser = std::function<std::optional<SurfaceColor>(SurfaceColor start)>;

// The font and colour commands: the template is marked changed before the dialog opens (a cancelled
// dialog keeps the mark), then the dialog's choice goes to the labels of `scope`. True when the labels
// changed.
bool ChangeLabelFont(TemplateDocument& doc, LabelScope scope, const LabelFontChooser& dialog);
bool ChangeLabelColor(TemplateDocument& doc, LabelScope scope, const LabelColorChooser& dialog);

}  // namespace scorvane::designer

#pragma once

#include <functional>
#include <string>

#include "common/report_template.h"
#include "designer/label_store.h"
#include "designer/line_store.h"

namespace scorvane::designer {

// A4 in twips, portrait; landscape turns it.
inline constexpr long long kPortraitWidth = 11907;
inline constexpr long long kPortraitHeight = 16840;

// The report template open in the designer: its lines and labels, the page orientation, the
// template-changed flag (set by every edit, cleared when the template matches its file or is new and
// empty) and the file it was last opened from or saved to (empty for a new template).
//
// Every command of the designer is a function on the document that takes what it needs explicitly;
// the window calls it and then shows the document again.
struct TemplateDocument {
    LineStore lines;
    LabelStore labels;
    bool landscape = false;
    bool changed = false;
    std::string fileName;

    long long pageWidth() const { return landscape ? kPortraitHeight : kPortraitWidth; }
    long long pageHeight() const { return landscape ? kPortraitWidth : kPortraitHeight; }
    void markChanged() {
        changed = true;
        if (onChange) {
            onChange();
        }
    }
    // Told after every edit (the recovery copies follow it).
    std::function<void()> onChange;

    // The template as it is written to a file: the line records as held and the visible labels.
    ReportTemplate toReportTemplate() const;
    // Replaces lines and labels by a template read from a file: lines named "表格线段  i", labels
    // "文字标签  i", the last line and the last label selected. The prototype, the flag and the file
    // name are left to the caller.
    void load(ReportTemplate report);
    // Removes every line and visible label; the prototype and the orientation stay.
    void clearContents();
};

// "纸张横向" / "纸张纵向": turns the page and marks the template changed.
void SetOrientation(TemplateDocument& doc, bool landscape);

}  // namespace scorvane::designer

#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/document_file.h"
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
    // What the document knows of its file in a folder others may share: its lock, the file's state
    // when read or written, read-only.
    DocumentFile file;
    // The visible label the add command made last, -1 when none (or when it was deleted); a new label
    // goes below it.
    int lastAddedLabel = -1;
    // The labels that the last opening or turning of the page moved onto it from outside; the window
    // shows them whole (ShowLabelWhole) once it knows their sizes.
    std::vector<size_t> labelsMovedOntoPage;
    // Told whenever the flag changes through markChanged or setChanged (the window's title shows it).
    std::function<void()> changeObserver;

    long long pageWidth() const { return landscape ? kPortraitHeight : kPortraitWidth; }
    long long pageHeight() const { return landscape ? kPortraitWidth : kPortraitHeight; }
    void markChanged() {
        setChanged(true);
        if (onChange) {
            onChange();
        }
    }
    void setChanged(bool value) {
        if (value != changed) {
            changed = value;
            if (changeObserver) {
                changeObserver();
            }
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

// "纸张横向" / "纸张纵向": turns the page and marks the template changed. Labels that the turned page no
// longer holds move to the nearest point on it (labelsMovedOntoPage); returns how many moved.
int SetOrientation(TemplateDocument& doc, bool landscape);

// A label moved onto the page from outside is brought in further, so that the whole of it, `width` ×
// `height` twips, shows where it fits: findable on the page, not just on its edge.
void ShowLabelWhole(TemplateDocument& doc, size_t i, double width, double height);

// Brings every label of labelsMovedOntoPage in to show whole (ShowLabelWhole), `wholeSize` giving a
// label's width and height in twips, and empties the list. False when no label was waiting.
bool ShowMovedLabelsWhole(TemplateDocument& doc,
                          const std::function<std::pair<double, double>(size_t)>& wholeSize);

// A label kept on the document's page (0 … page width, 0 … page height, the orientation in force).
bool KeepOnPage(const TemplateDocument& doc, TemplateLabel& label);

// The title the window shows for the template: its file name, or "无标题" for a new one.
inline constexpr std::string_view kUntitled = "无标题";
std::string DocumentTitle(const TemplateDocument& doc);

// What the status bar says when labels were moved onto the page.
std::string MovedLabelsMessage(int count);

}  // namespace scorvane::designer

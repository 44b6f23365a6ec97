#pragma once

#include <functional>
#include <string>

#include "common/drawing_surface.h"
#include "common/report_template.h"

namespace scorvane {

// One page of a report template as both programs print it (report cards in scorvane, the sample page
// in velmora): its lines in black, then its labels in their fonts and colours, label i (from 0)
// printing labelText(i); a text with line breaks prints as several lines, each at the label's Left,
// from its Top down. Nothing is scaled and no margin is added. A label for which keepOnPage(i) holds
// (a value filled in from a table) and whose text is wider than the page from its Left prints within
// the page: smaller, or cut with "…", a number as "#" marks (FitText).
void DrawReportPage(DrawingSurface& surface, const PrintableTemplate& report,
                    const std::function<std::string(size_t label)>& labelText,
                    const std::function<bool(size_t label)>& keepOnPage = {});

}  // namespace scorvane

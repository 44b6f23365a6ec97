#pragma once

#include <string>

#include "common/drawing_surface.h"
#include "common/report_template.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// "打印样张(&P)" prints one page of the template exactly as scorvane's report printing prints a row of a
// table, except that no label is bound to a field, so every label prints its own caption.

// The template as report printing reads it back from its file: positions and sizes as whole numbers,
// records that do not parse passed over. A sample page and a report page of the saved template are
// therefore drawn from the same lines and labels.
PrintableTemplate SamplePageTemplate(const TemplateDocument& doc);

// The sample page: the paper turned as the template's orientation says, the lines in black, every
// label's caption in its font and colour, each line of a caption starting at the label's Left.
void DrawSamplePage(const TemplateDocument& doc, DrawingSurface& printer);

// The print job's name: the template's file name without its folder, "报表样张" for a new template.
std::string SampleJobName(const TemplateDocument& doc);

}  // namespace scorvane::designer

#pragma once

#include <string_view>

#include "common/drawing_surface.h"
#include "designer/template_document.h"

namespace scorvane::designer {

inline constexpr SurfaceColor kGridColor = Rgb(192, 192, 192);

// What the redraw puts on the page after it was cleared: the grid in light grey when it is switched on
// (see GridDivisionsFor), then every line in list order, the selected one red and the others black.
// Records that do not parse are passed over.
void DrawPageContents(const TemplateDocument& doc, bool gridOn, std::string_view spacing,
                      DrawingSurface& page);

}  // namespace scorvane::designer

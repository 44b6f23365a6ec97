#pragma once

#include <optional>

#include "common/drawing_surface.h"

class QWidget;

namespace scorvane {
class DialogRunner;
}

namespace scorvane::designer {

// The system's colour dialog (Qt's own, "dlgLabelColor") on `start`; the chosen colour as 0x00BBGGRR,
// or nullopt when cancelled.
std::optional<SurfaceColor> RunLabelColorDialog(SurfaceColor start, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane::designer

#pragma once

#include <QIcon>
#include <functional>

class QPainter;

namespace scorvane {

// An icon painted in code: `draw` paints on a 16 x 16 design grid, which is scaled to every size the
// icon is made in (16, 20, 24, 32 and 48 pixels), antialiased, on a transparent background.
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw);

}  // namespace scorvane

#pragma once

#include <QStringList>

namespace scorvane {

// The font names the system reports, led by the documented names the programs map to installed fonts
// ("宋体", "黑体"), which the system itself does not list. The font dialogs of both programs offer them.
QStringList SystemFontNames();

}  // namespace scorvane

#pragma once

#include <QString>

class QWidget;

namespace scorvane {

// One program of the suite starting another (scorvane starting velmora): detached, not waited for. The
// window state the starter asks for travels in the environment variable SCORVANE_START_MAXIMIZED
// (this platform has no other way to hand it to a new process); the started program shows its window
// with ShowStartWindow, which honours it and removes it, so that it is not handed on further.

inline constexpr const char* kStartMaximizedVariable = "SCORVANE_START_MAXIMIZED";

// Starts `program` (a full path) without arguments in `folder`, maximised when asked. False when it is
// not an executable file or cannot be started.
bool StartProgramDetached(const QString& program, const QString& folder, bool maximized);

// Shows a program's first window: maximised when its starter asked for it, otherwise as it is.
void ShowStartWindow(QWidget& window);

}  // namespace scorvane

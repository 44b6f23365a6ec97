#pragma once

namespace scorvane::cli {

// Rendering pages and pictures needs Qt's GUI layer (fonts, painters). Commands that draw call this
// first: it starts a QGuiApplication on the offscreen platform (unless another platform is asked for)
// and maps the documented font names to installed fonts. Later calls do nothing.
void EnsureGuiSession();

}  // namespace scorvane::cli

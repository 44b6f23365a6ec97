#pragma once

namespace scorvane {

// Maps the documented font names to installed CJK fonts ("宋体"/"SimSun" to a serif, "黑体"/"SimHei"
// to a sans-serif, Simplified Chinese forms first) and gives the application a font that shows
// Chinese. Call once after the QGuiApplication exists.
void SetUpFonts();

}  // namespace scorvane

#pragma once

#include <string>
#include <string_view>

#include "common/drawing_surface.h"

namespace scorvane {

// Printed text is never cut off without a sign. A text wider than the room it prints in is drawn in a
// smaller size of the same font, in steps of half a point down to 5 points; only a text that is still
// too wide at 5 points is cut, each too-wide line ending with "…". A number is never cut, since a part
// of a number reads as another number: it prints as "#" marks across the room instead, as
// spreadsheets do.

inline constexpr double kSmallestPrintSize = 5;  // points
inline constexpr std::string_view kEllipsis = "…";

struct FittedText {
    std::string text;  // what to draw: the text itself, cut with "…", or "#" marks
    double size = 0;   // points: the font size to draw it in
};

// True when the text, blanks around it removed, is a decimal number as the tables show them:
// "85", "-.5", "123457900.11", "1.5E+20", "12%".
bool IsNumberText(std::string_view text);

// Fits the text into `width` twips in the surface's current font (whose size is the largest used).
// Nothing is drawn; the surface is left in its font. `fullWidth` is the text's width in that font when
// the caller has measured it already.
FittedText FitText(DrawingSurface& surface, std::string_view text, double width, double fullWidth = -1);

}  // namespace scorvane

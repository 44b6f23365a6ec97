#pragma once

namespace scorvane {

// A page picture larger than its viewport scrolls in steps of 120 twips: at value v of a scroll bar the
// picture's left (or top) edge stands at -120 * v.
inline constexpr double kScrollStepTwips = 120;

// One notch of the mouse wheel scrolls a page picture this many steps, in the print preview and in the
// designer alike.
inline constexpr int kWheelScrollSteps = 4;

// The largest value of a scroll bar: (picture size - viewport size + scroll-bar thickness) / 120 + 1,
// in whole steps, never below 0. Sizes in twips; the viewport's size includes the scroll bar's.
int ScrollMaximum(double picture, double viewport, double scrollBar);

}  // namespace scorvane

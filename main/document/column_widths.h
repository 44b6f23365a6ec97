#pragma once

namespace scorvane {

// Setting the header layout string sizes every column to fit its title. The table window and the
// table print engine use this one rule, so the printed columns keep the proportions of the screen's.

// Twips left free on each side of a title inside its column.
inline constexpr int kColumnPaddingTwips = 90;
// No column is made narrower than this by fitting (about three Chinese characters at 12 points).
inline constexpr int kMinColumnWidthTwips = 900;

// The width in twips of a column whose title is `titleTextWidthTwips` wide in the table font.
int FitColumnWidth(int titleTextWidthTwips);

}  // namespace scorvane

#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// Setting the header layout string sizes every column to fit its title. The table window and the
// table print engine use this one rule, so the printed columns keep the proportions of the screen's.

// Twips left free on each side of a title inside its column.
inline constexpr int kColumnPaddingTwips = 90;
// No column is made narrower than this by fitting (about three Chinese characters at 12 points).
inline constexpr int kMinColumnWidthTwips = 900;
// A field's column is never narrower than this, so that an eight-digit student number or a three-
// character name shows whole in the 12-point table font.
inline constexpr int kMinFieldColumnWidthTwips = 1200;

// The table font the grid starts with; titles are measured in it.
inline constexpr std::string_view kTableFontName = "宋体";
inline constexpr double kTableFontSize = 12;

// The width in twips of a column whose title is `titleTextWidthTwips` wide in the table font.
int FitColumnWidth(int titleTextWidthTwips);

// The width of every column 0 .. Cols-1 in twips. `measure` gives a text's width in twips in the table
// font. A width the user set (GradeTable::columnWidth) is kept; every other column fits its title, and
// column 0 (the row numbers) fits the largest row number as well.
std::vector<int> GridColumnWidths(const GradeTable& table,
                                  const std::function<double(std::string_view)>& measure);

// The width in twips of a column that shows `text` whole in the table font, estimated where no font is at
// hand (the analyses make their result tables in the core): a character of three or more UTF-8 bytes
// (Chinese) as wide as the font's size, any other half as wide; never narrower than a field's column.
int EstimatedColumnWidth(std::string_view text);

}  // namespace scorvane

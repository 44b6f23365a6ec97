#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// The grid sizes each column to fit its title in the table font; the printed table takes the grid's
// widths. One rule serves the table window and the command line, each measuring text with its own
// real font.

// The table font the grid starts with.
inline constexpr std::string_view kTableFontName = "宋体";
inline constexpr double kTableFontSize = 12;

// Room left and right of a title inside its column, and the narrowest column, in twips.
inline constexpr int kColumnPadding = 180;
inline constexpr int kMinColumnWidth = 480;

// The width of a column whose title is `titleWidth` twips wide in the table font.
int ColumnWidthForTitle(double titleWidth);

// The width of every column 0 .. Cols-1 in twips. `measure` gives a text's width in twips in the table
// font. A width the user set (GradeTable::columnWidth) is kept; every other column fits its title, and
// column 0 (the row numbers) fits the largest row number as well.
std::vector<int> GridColumnWidths(const GradeTable& table,
                                  const std::function<double(std::string_view)>& measure);

}  // namespace scorvane

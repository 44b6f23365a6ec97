#pragma once

#include <string>
#include <string_view>

#include "main/document/grade_table.h"
#include "main/document/grid_selection.h"

namespace scorvane {

// "行高 列宽": the selected rows take one height and the selected columns one width, in twips. The
// sizes are the view's only; they are not part of the data file and do not mark the table changed.

// The largest height or width the dialog sets (about 57 cm).
inline constexpr int kMaxCellSizeTwips = 32767;

// What a size box holds after the user changed it to `typed`: the text itself while it is a whole
// number of twips (digits only), the largest size for digits beyond it, and the size the selection had
// when the dialog opened for a text that is no number (an emptied box).
std::string SizeBoxText(std::string_view typed, int openingSize);

// Every row between the selection's two rows and every column between its two columns, whichever
// corner it started from, take the height and the width (each kept within 0 .. kMaxCellSizeTwips).
// A size of 0 gives the rows back the font's height and the columns the width that fits their titles.
void SetSelectionSizes(GradeTable& table, const GridSelection& selection, int rowHeightTwips,
                       int columnWidthTwips);

}  // namespace scorvane

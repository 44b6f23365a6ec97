#include "main/document/column_widths.h"

#include <algorithm>

namespace scorvane {

int FitColumnWidth(int titleTextWidthTwips) {
    return std::max(kMinColumnWidthTwips, std::max(0, titleTextWidthTwips) + 2 * kColumnPaddingTwips);
}

}  // namespace scorvane

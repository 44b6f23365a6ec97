#pragma once

#include <QIcon>

namespace scorvane {

// The pictures of the main toolbar (ImageList2), numbered from 1:
//  1 school tree, 2 open, 3 save, 4 copy, 5 cut, 6 paste, 7 print, 8 find, 9 table properties,
// 10 sort ascending, 11 sort descending, 12 enter along the row, 13 enter down the column,
// 14 direction keys, 15 help, 16 undo. Any other number gives an empty icon.
QIcon ToolbarPicture(int number);

inline constexpr int kToolbarPictureCount = 16;

}  // namespace scorvane

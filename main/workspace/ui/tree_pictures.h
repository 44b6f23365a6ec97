#pragma once

#include <QIcon>

namespace scorvane {

// The pictures of the school tree (ImageList1): 1 the school, 2 a grade, 3 a class. Any other number
// gives an empty icon.
QIcon TreePicture(int image);

}  // namespace scorvane

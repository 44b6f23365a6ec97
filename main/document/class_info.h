#pragma once

#include <string>
#include <string_view>

#include "main/document/document.h"

namespace scorvane {

// The class information dialog ("班级信息设置："): the number of students, the teacher and the class
// information. Its values are kept by the program between uses of the dialog.
struct ClassInfoValues {
    int classSize = 0;
    std::string teacher;
    std::string info;
};

// The largest class size: Rows = class size + 1 may not pass the grid's largest row count.
inline constexpr int kMaxClassSize = 32766;

// "设置班级信息": the values from the document (class size = Rows - 1, teacher, class information),
// and the undo snapshot (Undo becomes available). The window then shows the dialog with them.
void OpenClassInfo(Document& document, ClassInfoValues& values);

// The class size box after the user changed it: only digits stand in it; a text that is not a number
// becomes "1", a number above the largest class size becomes "32766".
std::string NormalizeClassSizeText(std::string_view text);
// The class size the box's text stands for (as NormalizeClassSizeText reads it).
int ClassSizeFromText(std::string_view text);

// "完成": keeps the dialog's values, sets the modified flag, makes Rows = class size + 1 (new rows
// empty at the end, rows beyond the new count dropped with their cells), sets the teacher and the class
// information and renumbers column 0.
void ConfirmClassInfo(Document& document, ClassInfoValues& values, std::string_view classSizeText,
                      std::string_view teacher, std::string_view info);

}  // namespace scorvane

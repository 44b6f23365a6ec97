#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/file_state.h"
#include "common/prompter.h"

namespace scorvane {

// Classes added to a grade of the school tree by a command (the grade import), not in the school
// editor: the school file is read again when they are written, so that whatever another computer saved
// into it meanwhile stays; only the classes it still lacks are added at the end of the grade's classes.

// Asked when the school file changed after `seen` was taken (the tree the teacher chose from is not the
// one on disk any more): 添加(&A) adds the classes to the file as it is now, 取消 (the default, and
// Escape) adds nothing.
inline constexpr std::string_view kChangedSchoolBeforeAddingQuestion =
    "学校关系树在您打开之后已被其他人修改并保存。\n\n添加：在对方保存的学校关系树中添加这些班级。\n取消：不添"
    "加"
    "班级，也不导入。";

// "学校关系树中没有年级“高一”，无法添加班级。"
std::string GradeMissingForClassesMessage(std::string_view grade);

enum class NewClassesOutcome {
    Added,      // the school file holds the classes now (also when it held them already)
    Cancelled,  // the teacher answered 取消: nothing written
    Failed,     // told in a message: nothing written
};

// Adds `names` to the grade `grade` of the school `school` in the school file of `workspace` (ending in
// "/"); `seen` is the file's state when the teacher's choice was made. A name that cannot be a folder
// name is refused with the school editor's messages; a file without that school and grade, or that
// cannot be written, is told ("文件保存失败！"); the old file is then whole.
NewClassesOutcome AddNewClasses(const std::string& workspace, std::string_view school, std::string_view grade,
                                const std::vector<std::string>& names, const FileState& seen,
                                Prompter& prompter);

}  // namespace scorvane

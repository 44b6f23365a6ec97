#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/file_state.h"
#include "common/prompter.h"
#include "main/workspace/school_info.h"

namespace scorvane {

// The school structure editor ("班级编制"): an in-memory copy of the school file that the user edits
// and that is written only when confirmed. The window shows schoolName() in its box, gradeNames() and
// classNames() in its two lists with selectedGrade() and selectedClass() selected, and forwards every
// button and focus change here.
class SchoolEditor {
  public:
    static constexpr std::string_view kPlaceholder = "在此输入学校名称";
    static constexpr std::string_view kChangedSchoolQuestion =
        "学校关系树在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方的修改。\n取消：不保存，回到"
        "编辑窗口。";

    // Loading the editor from the workspace folder's school file (or from `folder`, ending in "/"): with
    // a file, its school with the first grade selected; without, the placeholder and empty lists. The
    // modified flag is clear afterwards.
    void load();
    void load(const std::string& folder);

    // The school name box.
    const std::string& schoolName() const { return school_.name; }
    void setSchoolName(std::string_view text);  // the user changed the text
    void schoolNameFocusGained();
    void schoolNameFocusLost();

    // The lists.
    std::vector<std::string> gradeNames() const;
    // The classes of the selected grade; empty without a selected grade.
    std::vector<std::string> classNames() const;
    int selectedGrade() const { return selectedGrade_; }
    int selectedClass() const { return selectedClass_; }
    // Selecting a grade shows its classes, none of them selected; -1 (or a position outside the list)
    // selects nothing.
    void selectGrade(int index);
    void selectClass(int index);

    // The buttons of the two lists.
    void addGrade(Prompter& prompter);
    void deleteGrade(Prompter& prompter);
    void renameGrade(Prompter& prompter);
    void addClass(Prompter& prompter);
    void deleteClass(Prompter& prompter);
    void renameClass(Prompter& prompter);

    // "完成": writes SchoolInfo.ini into the workspace folder (or `folder`); true when the editor may
    // close. A school name that cannot be a folder name, or a failed write, is reported and keeps the
    // editor open. When the school file of the folder the editor was loaded from has changed since
    // (someone else saved the school tree meanwhile, or made one), kChangedSchoolQuestion comes first:
    // 覆盖 writes, 取消 writes nothing and keeps the editor open.
    bool confirm(Prompter& prompter);
    bool confirm(Prompter& prompter, const std::string& folder);
    // "取消": true when the editor may close (nothing modified, or the user agrees to drop the changes).
    bool cancel(Prompter& prompter);

    bool modified() const { return modified_; }
    const SchoolInfo& school() const { return school_; }

  private:
    GradeEntry* currentGrade();

    // False when the school file changed since it was loaded and the user did not choose 覆盖.
    bool mayOverwrite(Prompter& prompter, const std::string& folder);

    SchoolInfo school_{std::string(kPlaceholder), {}};
    // The folder the editor was loaded from and its school file's state then.
    std::string loadedFolder_;
    FileState loadedState_;
    int selectedGrade_ = -1;
    int selectedClass_ = -1;
    bool modified_ = false;
};

}  // namespace scorvane

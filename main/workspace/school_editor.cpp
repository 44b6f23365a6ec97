#include "main/workspace/school_editor.h"

#include <optional>

#include "common/file_sharing.h"
#include "common/shared_write.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/workspace/school_file_watch.h"
#include "main/workspace/utilities.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

constexpr std::string_view kTitleHint = "提示";
constexpr std::string_view kTitleConfirmDelete = "确认删除";
constexpr std::string_view kSelectToDelete = "请先选择要删除的项目!";
constexpr std::string_view kSelectToRename = "请先选择要重命名的项目!";
constexpr std::string_view kSelectGradeForClass = "请先选择要添加班级的年级!";
constexpr std::string_view kCancelQuestion = "真的不保存修改么?";

std::string deleteQuestion(std::string_view name) {
    std::string text = "确实删除项目：“";
    text += name;
    text += "” 么？";
    return text;
}

// An input box for a school, grade or class name. A name that cannot be a folder name is refused and
// asked again; nullopt when the answer is cancelled or blank (IsBlank: it would name a tree node that
// shows nothing and a folder of blanks).
std::optional<std::string> askName(Prompter& prompter, std::string_view prompt, std::string_view title,
                                   std::string offered) {
    while (true) {
        std::optional<std::string> answer = prompter.input(prompt, title, offered);
        if (!answer || IsBlank(*answer)) {
            return std::nullopt;
        }
        if (!IsValidFolderName(*answer)) {
            prompter.message(kIllegalNameMessage, kTitleHint, Icon::Information);
        } else if (!FitsFileSystemName(TrimBlanks(*answer))) {
            prompter.message(kNameTooLongMessage, kTitleHint, Icon::Information);
        } else {
            return answer;
        }
        offered = std::move(*answer);
    }
}

bool confirmDelete(Prompter& prompter, std::string_view name) {
    return prompter.ask(deleteQuestion(name), kTitleConfirmDelete, Buttons::YesNo, Icon::Question,
                        Answer::No) == Answer::Yes;
}

}  // namespace

void SchoolEditor::load() {
    load(ProgramFolder());
}

void SchoolEditor::load(const std::string& folder) {
    loadedFolder_ = folder;
    loadedState_ = TakeSchoolFileState(folder);
    std::optional<SchoolInfo> school = LoadSchoolInfo(folder);
    school_ = school ? std::move(*school) : SchoolInfo{std::string(kPlaceholder), {}};
    selectGrade(school_.grades.empty() ? -1 : 0);
    modified_ = false;
}

void SchoolEditor::setSchoolName(std::string_view text) {
    if (text != school_.name) {
        school_.name = std::string(text);
        modified_ = true;
    }
}

void SchoolEditor::schoolNameFocusGained() {
    if (TrimSpaces(school_.name) == kPlaceholder) {
        setSchoolName("");
    }
}

void SchoolEditor::schoolNameFocusLost() {
    if (TrimSpaces(school_.name).empty()) {
        setSchoolName(kPlaceholder);
    }
}

std::vector<std::string> SchoolEditor::gradeNames() const {
    std::vector<std::string> names;
    names.reserve(school_.grades.size());
    for (const GradeEntry& grade : school_.grades) {
        names.push_back(grade.name);
    }
    return names;
}

std::vector<std::string> SchoolEditor::classNames() const {
    if (selectedGrade_ < 0) {
        return {};
    }
    return school_.grades[static_cast<size_t>(selectedGrade_)].classes;
}

void SchoolEditor::selectGrade(int index) {
    selectedGrade_ = index >= 0 && static_cast<size_t>(index) < school_.grades.size() ? index : -1;
    selectedClass_ = -1;
}

void SchoolEditor::selectClass(int index) {
    const GradeEntry* grade = currentGrade();
    selectedClass_ = grade && index >= 0 && static_cast<size_t>(index) < grade->classes.size() ? index : -1;
}

GradeEntry* SchoolEditor::currentGrade() {
    return selectedGrade_ < 0 ? nullptr : &school_.grades[static_cast<size_t>(selectedGrade_)];
}

void SchoolEditor::addGrade(Prompter& prompter) {
    modified_ = true;
    if (auto name = askName(prompter, "请输入一个年级的名称：（如：一年级）", "添加年级", "")) {
        school_.grades.push_back({std::move(*name), {}});
    }
    selectGrade(static_cast<int>(school_.grades.size()) - 1);
}

void SchoolEditor::deleteGrade(Prompter& prompter) {
    modified_ = true;
    GradeEntry* grade = currentGrade();
    if (!grade) {
        prompter.message(kSelectToDelete, kTitleHint, Icon::Information);
        return;
    }
    if (!confirmDelete(prompter, grade->name)) {
        return;
    }
    const int position = selectedGrade_;
    school_.grades.erase(school_.grades.begin() + position);
    // The selection stays at the same place when a grade is left there.
    selectGrade(position);
}

void SchoolEditor::renameGrade(Prompter& prompter) {
    GradeEntry* grade = currentGrade();
    if (!grade) {
        prompter.message(kSelectToRename, kTitleHint, Icon::Information);
        return;
    }
    if (auto name = askName(prompter, "请输入新的年级名称：（如：二年级）", "年级重命名", grade->name)) {
        grade->name = std::move(*name);
        modified_ = true;
    }
}

void SchoolEditor::addClass(Prompter& prompter) {
    modified_ = true;
    GradeEntry* grade = currentGrade();
    if (!grade) {
        prompter.message(kSelectGradeForClass, kTitleHint, Icon::Information);
        return;
    }
    if (auto name = askName(prompter, "请输入一个班级的名称：（如：(1)班）", "添加班级", "")) {
        grade->classes.push_back(std::move(*name));
    }
    selectClass(static_cast<int>(grade->classes.size()) - 1);
}

void SchoolEditor::deleteClass(Prompter& prompter) {
    modified_ = true;
    GradeEntry* grade = currentGrade();
    if (!grade || selectedClass_ < 0) {
        prompter.message(kSelectToDelete, kTitleHint, Icon::Information);
        return;
    }
    if (!confirmDelete(prompter, grade->classes[static_cast<size_t>(selectedClass_)])) {
        return;
    }
    const int position = selectedClass_;
    grade->classes.erase(grade->classes.begin() + position);
    selectClass(position);
}

void SchoolEditor::renameClass(Prompter& prompter) {
    GradeEntry* grade = currentGrade();
    if (!grade || selectedClass_ < 0) {
        prompter.message(kSelectToRename, kTitleHint, Icon::Information);
        return;
    }
    std::string& current = grade->classes[static_cast<size_t>(selectedClass_)];
    if (auto name = askName(prompter, "请输入新的班级名称：（如：(2)班）", "班机重命名", current)) {
        current = std::move(*name);
        modified_ = true;
    }
}

bool SchoolEditor::confirm(Prompter& prompter) {
    return confirm(prompter, ProgramFolder());
}

bool SchoolEditor::confirm(Prompter& prompter, const std::string& folder) {
    if (!IsValidFolderName(school_.name)) {
        prompter.message(kIllegalNameMessage, kTitleHint, Icon::Information);
        return false;
    }
    if (!FitsFileSystemName(TrimBlanks(school_.name))) {
        prompter.message(kNameTooLongMessage, kTitleHint, Icon::Information);
        return false;
    }
    if (!mayOverwrite(prompter, folder)) {
        return false;
    }
    if (!SaveSchoolInfo(school_, folder)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return false;
    }
    return true;
}

bool SchoolEditor::mayOverwrite(Prompter& prompter, const std::string& folder) {
    if (folder != loadedFolder_) {
        return true;
    }
    WriteTarget target;
    target.path = FindSchoolFile(folder);
    target.ownState = &loadedState_;
    target.changedQuestion.text = std::string(kChangedSchoolQuestion);
    target.changedQuestion.title = std::string(kSharingTitle);
    target.changedQuestion.icon = Icon::Question;
    target.changedQuestion.buttons = {{"覆盖(&O)", kOverwrite}, {"取消", Answer::Cancel}};
    target.changedQuestion.defaultAnswer = Answer::Cancel;
    target.changedQuestion.escapeAnswer = Answer::Cancel;
    switch (PrepareToWrite(target, prompter)) {
        case BeforeWriting::Write:
        case BeforeWriting::WriteAgain:
        case BeforeWriting::FolderGone:  // the save says whether the folder can take it
            return true;
        case BeforeWriting::SaveElsewhere:
        case BeforeWriting::Cancelled:
            break;
    }
    return false;
}

bool SchoolEditor::cancel(Prompter& prompter) {
    if (!modified_) {
        return true;
    }
    return prompter.ask(kCancelQuestion, kTitleHint, Buttons::YesNo, Icon::Question, Answer::Yes) ==
           Answer::Yes;
}

}  // namespace scorvane

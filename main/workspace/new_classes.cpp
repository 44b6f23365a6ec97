#include "main/workspace/new_classes.h"

#include <algorithm>
#include <optional>

#include "common/file_sharing.h"
#include "main/document/data_file.h"
#include "main/workspace/school_info.h"
#include "main/workspace/utilities.h"

namespace scorvane {

std::string GradeMissingForClassesMessage(std::string_view grade) {
    return "学校关系树中没有年级“" + std::string(grade) + "”，无法添加班级。";
}

NewClassesOutcome AddNewClasses(const std::string& workspace, std::string_view school, std::string_view grade,
                                const std::vector<std::string>& names, const FileState& seen,
                                Prompter& prompter) {
    for (const std::string& name : names) {
        if (!IsValidFolderName(name)) {
            prompter.message(kIllegalNameMessage, "提示", Icon::Information);
            return NewClassesOutcome::Failed;
        }
        if (!FitsFileSystemName(TrimBlanks(name))) {
            prompter.message(kNameTooLongMessage, "提示", Icon::Information);
            return NewClassesOutcome::Failed;
        }
    }
    if (CompareWithDisk(seen, FindSchoolFile(workspace)) != DiskChange::Unchanged) {
        Question question;
        question.text = std::string(kChangedSchoolBeforeAddingQuestion);
        question.title = std::string(kSharingTitle);
        question.icon = Icon::Question;
        question.buttons = {{"添加(&A)", Answer::Yes}, {"取消", Answer::Cancel}};
        question.defaultAnswer = Answer::Cancel;
        question.escapeAnswer = Answer::Cancel;
        if (prompter.askQuestion(question) != Answer::Yes) {
            return NewClassesOutcome::Cancelled;
        }
    }
    std::optional<SchoolInfo> info = LoadSchoolInfo(workspace);
    GradeEntry* entry = nullptr;
    if (info && info->name == school) {
        for (GradeEntry& g : info->grades) {
            if (g.name == grade) {
                entry = &g;
                break;
            }
        }
    }
    if (!entry) {
        prompter.message(GradeMissingForClassesMessage(grade), "提示", Icon::Information);
        return NewClassesOutcome::Failed;
    }
    bool changed = false;
    for (const std::string& name : names) {
        if (std::find(entry->classes.begin(), entry->classes.end(), name) == entry->classes.end()) {
            entry->classes.push_back(name);
            changed = true;
        }
    }
    if (changed && !SaveSchoolInfo(*info, workspace)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return NewClassesOutcome::Failed;
    }
    return NewClassesOutcome::Added;
}

}  // namespace scorvane

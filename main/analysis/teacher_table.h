#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "main/analysis/grade_tables.h"
#include "main/document/grade_table.h"

namespace scorvane {

// 任课表: the subject teachers of a grade, kept as a grade table of its own in the grade's folder
// (表格数据/<school>/<grade>/任课表.skv), beside the class folders, so that it is edited, saved, locked
// and recovered as any table, and never listed among a class's tables. Its field 班级 names the class
// (as the tree writes it, or any way MatchClassValue reads); every other field is a subject, each cell
// the name of the teacher of that subject in that class.

inline constexpr std::string_view kTeacherTableName = "任课表";
inline constexpr std::string_view kTeacherClassField = "班级";

// The table's path without ".skv": the grade folder (ending in "/") and 任课表.
std::string TeacherTablePath(const std::string& gradeFolder);

// The subjects a new 任课表 takes: those of the grade's most common table (the first of
// GradeTablesByClassCount), as 成绩统计 chooses them (SubjectFieldsOfTables over the classes' tables of
// that name); none when the classes hold no table.
std::vector<std::string> GradeSubjects(const std::vector<GradeClass>& classes);

// A new 任课表: title "<grade>任课表", the field 班级 and a field per subject, a row per class with its
// name and empty teachers.
GradeTable NewTeacherTable(std::string_view grade, const std::vector<GradeClass>& classes,
                           const std::vector<std::string>& subjects);

// The grade's 任课表 path without ".skv", made first (written whole, NewTeacherTable with the grade's
// subjects) when the grade has none; the window opens it as any table. Empty, after "文件保存失败！",
// when it could not be made.
std::string PrepareTeacherTable(const std::string& gradeFolder, std::string_view grade,
                                const std::vector<GradeClass>& classes, Prompter& prompter);

// Who teaches what, read from a 任课表.
class TeacherAssignments {
  public:
    TeacherAssignments() = default;
    // The rows whose 班级 names one of `classes` (MatchClassValue; the first row for a class counts),
    // each subject's teacher with blanks around the name removed.
    TeacherAssignments(const GradeTable& table, std::string_view grade,
                       const std::vector<std::string>& classes);

    // The teacher of the subject in the class; empty when unknown.
    std::string teacher(std::string_view className, std::string_view subject) const;
    bool empty() const { return entries_.empty(); }

  private:
    struct Entry {
        std::string className;
        std::string subject;
        std::string teacher;
    };
    std::vector<Entry> entries_;
};

// The grade's 任课表 as read from `gradeFolder` (ending in "/"); no teachers when it has none or it cannot
// be read (`unreadable` then says so).
TeacherAssignments ReadTeacherAssignments(const std::string& gradeFolder, std::string_view grade,
                                          const std::vector<std::string>& classes, bool& unreadable);

}  // namespace scorvane

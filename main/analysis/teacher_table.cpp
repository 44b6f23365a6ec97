#include "main/analysis/teacher_table.h"

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/document/data_file.h"
#include "main/workspace/class_value_match.h"
#include "main/workspace/utilities.h"

namespace scorvane {

std::string TeacherTablePath(const std::string& gradeFolder) {
    return gradeFolder + std::string(kTeacherTableName);
}

std::vector<std::string> GradeSubjects(const std::vector<GradeClass>& classes) {
    const std::vector<GradeTableCount> tables = GradeTablesByClassCount(classes);
    if (tables.empty()) {
        return {};
    }
    const std::vector<ClassTable> loaded = LoadClassTables(classes, tables.front().name);
    return SubjectFieldsOfTables(PresentTables(loaded));
}

GradeTable NewTeacherTable(std::string_view grade, const std::vector<GradeClass>& classes,
                           const std::vector<std::string>& subjects) {
    std::vector<std::string> titles{std::string(kTeacherClassField)};
    titles.insert(titles.end(), subjects.begin(), subjects.end());
    std::vector<std::vector<std::string>> rows;
    for (const GradeClass& c : classes) {
        rows.push_back({c.name});
    }
    return ResultTable(std::string(grade) + std::string(kTeacherTableName), titles, rows);
}

std::string PrepareTeacherTable(const std::string& gradeFolder, std::string_view grade,
                                const std::vector<GradeClass>& classes, Prompter& prompter) {
    const std::string path = TeacherTablePath(gradeFolder);
    if (FileExists(DataFileOf(path))) {
        return path;
    }
    if (!WriteDataFile(NewTeacherTable(grade, classes, GradeSubjects(classes)), path)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return {};
    }
    return path;
}

TeacherAssignments::TeacherAssignments(const GradeTable& table, std::string_view grade,
                                       const std::vector<std::string>& classes) {
    const int classCol = FieldColumn(table, kTeacherClassField);
    if (classCol < 0) {
        return;
    }
    std::vector<bool> seen(classes.size(), false);
    for (int r = 1; r < table.rows(); ++r) {
        const ClassValue match = MatchClassValue(table.cell(r, classCol), grade, classes);
        if (match.kind != ClassValue::Kind::Class || seen[static_cast<size_t>(match.index)]) {
            continue;
        }
        seen[static_cast<size_t>(match.index)] = true;
        for (int c = 1; c < table.cols(); ++c) {
            const std::string_view subject = TrimBlanks(table.cell(0, c));
            const std::string_view name = TrimBlanks(table.cell(r, c));
            if (c != classCol && !subject.empty() && !IsBlank(name)) {
                entries_.push_back(
                    {classes[static_cast<size_t>(match.index)], std::string(subject), std::string(name)});
            }
        }
    }
}

std::string TeacherAssignments::teacher(std::string_view className, std::string_view subject) const {
    for (const Entry& e : entries_) {
        if (e.className == className && e.subject == subject) {
            return e.teacher;
        }
    }
    return {};
}

TeacherAssignments ReadTeacherAssignments(const std::string& gradeFolder, std::string_view grade,
                                          const std::vector<std::string>& classes, bool& unreadable) {
    const std::optional<GradeTable> table = ReadTableInFolder(gradeFolder, kTeacherTableName, unreadable);
    if (!table) {
        return {};
    }
    return TeacherAssignments(*table, grade, classes);
}

}  // namespace scorvane

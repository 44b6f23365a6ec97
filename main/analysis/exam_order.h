#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/file_state.h"
#include "main/analysis/grade_tables.h"

namespace scorvane {

// The order in which a grade's exams were held. The tree lists a class's tables by name; the analyses
// list, choose and lay out exams in this order instead: by default the tables' modification times, oldest
// first, and once the grade office has set it, the order kept in the grade's folder, where every computer
// reads the same.

// The order file beside the class folders: "考试顺序.ini", GBK, one section [考试顺序] whose entries
// 1=…, 2=… name the exams in order.
inline constexpr std::string_view kExamOrderFileName = "考试顺序.ini";
inline constexpr std::string_view kExamOrderSection = "考试顺序";

// The order file of a grade folder (ending in "/").
std::string ExamOrderFile(const std::string& gradeFolder);

// The names the order file lists, each once, in its order; empty when there is no file.
std::vector<std::string> ReadExamOrder(const std::string& gradeFolder);

// Writes the order file whole and atomically; `written`, when given, receives its state as written.
// False when it cannot be written.
bool WriteExamOrder(const std::string& gradeFolder, const std::vector<std::string>& names,
                    FileState* written = nullptr);

// The grade's exams, each table name its classes hold once: first those the order file lists (that a class
// holds), in its order; then the others by the oldest modification time of their files among the classes,
// oldest first, equal times in the tree's name order.
std::vector<std::string> GradeExamOrder(const std::vector<GradeClass>& classes, const std::string& gradeFolder);

// The folder of the grade whose classes `classes` are: the parent of the first class folder (ending in
// "/"); empty when no class has a folder.
std::string GradeFolderOfClasses(const std::vector<GradeClass>& classes);

// The tables of one class folder (ending in "/") in the exam order of its grade: for a class folder of the
// data folder (表格数据/<school>/<grade>/<class>), its grade's classes as ReadGradeFolder reads them and the
// grade's order file; for a folder elsewhere, its own tables by their times.
std::vector<std::string> ClassExamOrder(const std::string& classFolder);

// `names` put in the order of `order`; names it lacks keep their order after those it has.
void SortByExamOrder(std::vector<std::string>& names, const std::vector<std::string>& order);

}  // namespace scorvane

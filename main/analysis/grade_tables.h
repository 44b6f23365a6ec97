#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/grade_comparison.h"
#include "main/workspace/school_tree.h"

namespace scorvane {

// The tables of a grade's classes, read from their class folders for the grade comparison.

// A class of a grade and the folder of its tables (ending in "/").
struct GradeClass {
    std::string name;
    std::string folder;
};

// A grade's folder under the data folder (表格数据/<school>/<grade>): the grade's name (the folder's)
// and its classes, as the school file beside the data folder lists them for that school and grade, or,
// when it does not, the folder's sub-folders in name order. Nothing when `folder` is no folder.
struct GradeFolder {
    std::string grade;
    std::vector<GradeClass> classes;
};
std::optional<GradeFolder> ReadGradeFolder(const std::string& folder);

// A class folder given by its path: the class's name (the folder's) and the folder, absolute, ending in
// "/". Nothing when `folder` is no folder.
std::optional<GradeClass> ReadClassFolder(const std::string& folder);

// The classes of a grade node of the school tree, in the tree's order, each with its class folder.
std::vector<GradeClass> GradeClassesOf(const SchoolTree& tree, const SchoolNode& grade);

// The names of the tables the classes hold, each once, in the order a class folder lists its tables.
// A class without a folder (empty) holds none.
std::vector<std::string> GradeTableNames(const std::vector<GradeClass>& classes);

// The tables of a grade with the number of its classes holding each: the one most classes hold first,
// equal counts the latest exam first (GradeExamOrder), so that the first is the latest exam most classes
// hold. The grade's windows offer them so and choose the first.
struct GradeTableCount {
    std::string name;
    int classes = 0;
};
std::vector<GradeTableCount> GradeTablesByClassCount(const std::vector<GradeClass>& classes);
// How such an entry is shown: "期中考试（3 个班）".
std::string GradeTableCountText(const GradeTableCount& entry);

// The table `name` of a folder (ending in "/"; the data file folder + name + ".skv"): nothing when
// there is no such file, or, with `unreadable` set, when the file is no sound data file.
std::optional<GradeTable> ReadTableInFolder(const std::string& folder, std::string_view name,
                                            bool& unreadable);

// Each class with its table `tableName` (folder + name + ".skv"): missing when it has no such file,
// unreadable when the file is no sound data file.
std::vector<ClassTable> LoadClassTables(const std::vector<GradeClass>& classes, std::string_view tableName);

// The class a table's file belongs to: the name of its class folder when the file (its path, with or
// without ".skv") lies in 表格数据/<school>/<grade>/<class>/; empty otherwise (a new table, a file elsewhere).
std::string ClassOfTableFile(const std::string& path);

}  // namespace scorvane

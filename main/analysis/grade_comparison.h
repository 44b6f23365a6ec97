#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_settings.h"
#include "main/document/grade_table.h"

namespace scorvane {

// How the classes of a grade did in the same exam: one table with a row per class and one for the
// whole grade.

inline constexpr std::string_view kComparisonTitleSuffix = " 年级对比";
inline constexpr std::string_view kGradeRowName = "年级";

// One class of the grade, in the tree's order, with its table of the exam when it holds a readable one.
struct ClassTable {
    std::string name;  // as the tree shows it
    std::optional<GradeTable> table;
    bool unreadable = false;  // the class holds a file of that name that is no readable table
};

// The tables the classes hold, in their order.
std::vector<const GradeTable*> PresentTables(const std::vector<ClassTable>& classes);

// Every field title the classes' tables hold, in order of first appearance (class by class, column by
// column), each once.
std::vector<std::string> ComparisonFields(const std::vector<ClassTable>& classes);
// The fields chosen by default: those of ComparisonFields with a mark title whose cells, over all the
// classes together, are numeric (see FieldMarks).
std::vector<std::string> DefaultComparisonFields(const std::vector<ClassTable>& classes);

// The fields that add others (DeriveFields), each as the first class whose table makes it so.
DerivedFields ComparisonDerivedFields(const std::vector<ClassTable>& classes);

// "<grade> <table name> 年级对比": columns 班级, then per field F "F平均分", "F及格率", "F优秀率",
// "F名次" (ComparisonColumnTitle); a row per class that holds the table, in the given order, and the
// last row "年级" over all their students together, with empty 名次 cells. 名次 ranks the classes by
// their mean as the table shows it (two decimals), 1 the highest; equal means share a rank and the next
// is skipped (1, 1, 3). A class without marks in a field (or without the field) has empty cells there
// and is not ranked. The class information says how the table was made (ResultClassInfo), then each
// field's notes (FieldNotes: totals over different subjects, text cells left out).
GradeTable GradeComparisonTable(std::string_view grade, std::string_view tableName,
                                const std::vector<ClassTable>& classes, const AnalysisSettings& settings);

// A column title of the comparison: the field and the figure, a 平均 that the field ends with and the
// figure begins with written once ("平均" and "平均分" give "平均分", "总平均" gives "总平均分").
std::string ComparisonColumnTitle(std::string_view field, std::string_view figure);

// The warning for the fields whose marks, over all the classes, pass their full marks
// (MarksAboveFullMarksMessage); empty when none do.
std::string GradeMarksAboveFullMarks(const std::vector<ClassTable>& classes,
                                     const AnalysisSettings& settings);

// 本年级没有班级有表格“NAME”！
std::string NoClassHoldsTableMessage(std::string_view tableName);
// The classes left out of the comparison (or of what `leftOutOf` names, "排名"), one sentence for
// those without the table and one for those whose file could not be read
// ("以下班级没有表格“NAME”，未列入对比：(2)班、(5)班"), then one for each of `fields` that some classes'
// tables lack ("以下班级的表格“NAME”没有字段“物理”，该字段不含这些班级：(2)班、(3)班"), each on a line of
// its own; empty when none.
std::string LeftOutClassesMessage(std::string_view tableName, const std::vector<ClassTable>& classes,
                                  const std::vector<std::string>& fields = {},
                                  std::string_view leftOutOf = "对比");

}  // namespace scorvane

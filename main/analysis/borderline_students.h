#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"
#include "main/analysis/line_grade.h"

namespace scorvane {

// 临界生: the students just below or just above a tier line, with the subjects that hold them back.

inline constexpr std::string_view kBorderlineTitleSuffix = "临界生";
inline constexpr std::string_view kDefaultBelow = "20";
inline constexpr std::string_view kDefaultAbove = "10";
inline constexpr std::string_view kDistanceTitle = "距线";
inline constexpr std::string_view kWeakSubjectsTitle = "薄弱学科";
inline constexpr std::string_view kNoBorderlineLineMessage = "请选择临界生所依据的分数线！";
inline constexpr std::string_view kBorderRangeMessage = "线下分数和线上分数必须是不小于 0 的数！";
inline constexpr std::string_view kNoBorderlineStudentsMessage = "没有学生在临界范围内。";

// How far below and above the line the students are looked for, as typed.
struct BorderRange {
    std::string below = std::string(kDefaultBelow);
    std::string above = std::string(kDefaultAbove);
};

// Reads the range: true when below and above are numbers of 0 or more.
bool ReadBorderRange(const BorderRange& range, double& below, double& above);

// The distance of a total from the line as 距线 writes it: signed ("+12", "-3.5", "0").
std::string DistanceText(double total, double line);

// "<grade> <table name> <line>临界生" for the line named `line` among the chosen lines: every student with
// line − below ≤ total < line + above: 班级, 姓名, 学号, the total field, 距线 (DistanceText), 年级名次, the
// mark of each subject (as the table shows it), and 薄弱学科 (the subjects below their 有效分 for the
// line, "数学、物理"); ordered by class in the tree's order, then 距线 from the highest (equal ones in row
// order). Printed, each class stands on pages of its own. The class information records the line, its
// 有效分 and the range. Refused, before the tables are read, when below or above is not a number of 0 or
// more; then as ReadLineGrade refuses; then when no line of that name was chosen, or no student lies in
// the range.
AnalysisResult BorderlineStudents(std::string_view grade, std::string_view tableName,
                                  const std::vector<ClassTable>& classes, const LineChoice& choice,
                                  std::string_view line, const BorderRange& range);

}  // namespace scorvane

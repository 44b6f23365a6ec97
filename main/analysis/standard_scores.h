#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"

namespace scorvane {

// Marks of different subjects on one scale: each mark's distance from its field's mean in standard
// deviations, and the T score of their sum.

inline constexpr std::string_view kStandardScoresTitleSuffix = " 标准分";
inline constexpr std::string_view kStandardScoreSuffix = "标准分";
inline constexpr std::string_view kStandardScoreSumTitle = "标准分合计";
inline constexpr std::string_view kTScoreTitle = "T分";

// The fields the window offers: those the statistics choose by default (DefaultStatisticsFields).
std::vector<std::string> StandardScoreFieldChoices(const GradeTable& table);
// The fields ticked at first: the fields 成绩统计 would choose, leaving out the computed ones
// (SubjectFieldsOfTables).
std::vector<std::string> DefaultStandardScoreFields(const GradeTable& table);

// "<title> 标准分": the fields not chosen that hold text or whose title holds "号" (姓名, 学号, 班级), as
// the table shows them; then per chosen field F "F标准分" = (mark − mean) ÷ population standard
// deviation over the students with a number, two decimals, empty for a student without one; then
// 标准分合计, the sum of those figures as written, empty when any is empty; then T分 = 50 + 10 ×
// 标准分合计 ÷ the number of fields, two decimals. One row per data row that holds something. A field
// whose marks are all equal gets 0.00 for each of them and a note in the class information. Refused
// when no field is chosen ("请选择需要统计的字段！"), one is missing or one holds no number.
AnalysisResult StandardScores(const GradeTable& table, const std::vector<std::string>& fields);

}  // namespace scorvane

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"
#include "main/analysis/analysis_settings.h"
#include "main/analysis/level_scheme.h"

namespace scorvane {

// 等级制: the marks of chosen fields published as levels, without ranks, and how many students reached
// each level.

inline constexpr std::string_view kLevelsTitleSuffix = " 等级";
inline constexpr std::string_view kLevelDistributionTitleSuffix = " 等级分布";
inline constexpr std::string_view kLevelSuffix = "等级";

// "<title> 等级": 班级 (`className` for every student) when the table has no 班级 field and `className` is
// not empty; then the table's fields that are not chosen and hold text or identify the student (their
// title holds "号": 姓名, 学号), as the table shows them, never a field of ranks (名次, 排名); then per
// chosen field F "F等级": the level of the student's mark (LevelOf, of the field's full marks in
// `settings`), the absence mark as it stands (缺考 stays 缺考), empty without a mark. One row per data row
// that holds something. The class information gives the scheme and the full marks, then the text cells
// left out. Refused when no field is chosen or one is missing.
AnalysisResult MarkLevels(const GradeTable& table, const AnalysisSettings& settings, const LevelScheme& scheme,
                          std::string_view className = {});

// "<title> 等级分布": a row per chosen field: 字段, 参考人数 (the students with a mark), per level L "L人数"
// and "L比例" (of 参考人数, as 成绩统计 writes rates), and 缺考人数.
AnalysisResult LevelDistribution(const GradeTable& table, const AnalysisSettings& settings,
                                 const LevelScheme& scheme);

}  // namespace scorvane

#pragma once

#include <string_view>

#include "main/analysis/analysis_settings.h"
#include "main/document/grade_table.h"

namespace scorvane {

// A class's statistics for one exam, written as two new grade tables, so that they print, chart,
// export and save like any other table.

inline constexpr std::string_view kStatisticsTitleSuffix = " 成绩统计";
inline constexpr std::string_view kBandsTitleSuffix = " 分数段";

struct ClassStatistics {
    // "<title> 成绩统计": one row per field; columns 科目, 参考人数, 平均分, 最高分, 最低分, 标准差,
    // 及格人数, 及格率, 优秀人数, 优秀率, 低分人数, 低分率, 缺考人数. Counts as whole numbers, the
    // other figures with two decimals, rates with "%"; a field without marks has counts only.
    GradeTable figures;
    // "<title> 分数段": one row per field; columns 科目, 满分人数 (the marks at full marks), then the
    // bands, highest first.
    GradeTable bands;
};

// The statistics of `settings.fields` (titles the table holds; see ReadAnalysisTexts). Both tables
// keep the teacher of `table`; their class information is that of `table` followed by how they were
// made ("…；满分：语文 150，…；及格 60%，优秀 85%，低分 40%", AnalysisSettingsText) and what was left out
// of each field ("数学：1 个非数字成绩未计入（王五：良好）", TextMarksNote), so a printout carries it. Their row numbers and header layout are set as a load sets them.
ClassStatistics ComputeClassStatistics(const GradeTable& table, const AnalysisSettings& settings);

// The warning for the fields of `settings` whose marks in `table` pass their full marks
// (MarksAboveFullMarksMessage); empty when none do.
std::string ClassMarksAboveFullMarks(const GradeTable& table, const AnalysisSettings& settings);

}  // namespace scorvane

#pragma once

#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"
#include "main/analysis/line_grade.h"

namespace scorvane {

// 上线分析: how many students of each class reach each tier line, and how each subject carries them there.

inline constexpr std::string_view kLineAnalysisTitleSuffix = " 上线分析";
inline constexpr std::string_view kLineListTitleSuffix = " 上线名单";
inline constexpr std::string_view kTakingPartTitle = "参考人数";
inline constexpr std::string_view kHighestLineTitle = "上线";
inline constexpr std::string_view kLopsidedTitle = "偏科";
inline constexpr std::string_view kNoStudentReachesMessage = "没有学生达到所设的分数线。";

// "<grade> <table name> 上线分析": a row per class that holds the table, in the tree's order, and a last
// row 年级 over all of them. Columns: 班级, 参考人数 (students taking part in the total), then per line
// "<line>上线" (students whose total reaches it) and "<line>上线率" (of 参考人数), then per line and subject
// "<subject>单上线" (marks at or above the subject's 有效分), "<subject>双上线" (those of them whose total
// reaches the line too), "<subject>命中率" (双上线 ÷ 单上线) and "<subject>贡献率" (双上线 ÷ <line>上线);
// with more than one line these four begin with the line's name ("一本语文单上线"). Rates are percentages
// with two decimals (RateText), empty where the denominator is 0; a subject without a 有效分 for the line
// (no one reaches it, or the subject has no mark) has the four empty. The columns print in groups (the
// lines' columns, then each line and subject) when the table is wider than the paper. The class
// information records the lines as given and as scores and each subject's 有效分 per line. Refused as
// ReadLineGrade refuses.
AnalysisResult LineAnalysis(std::string_view grade, std::string_view tableName,
                            const std::vector<ClassTable>& classes, const LineChoice& choice);

// "<grade> <table name> 上线名单": every student whose total reaches a line: 班级, 姓名, 学号, the total
// field, 年级名次, 上线 (the highest line reached) and 偏科 (the subjects below their 有效分 for that line,
// "数学、物理"), ordered by 年级名次 (equal ranks in the classes' order and their row order). Refused as
// ReadLineGrade refuses, and when no student reaches any line.
AnalysisResult LineStudentList(std::string_view grade, std::string_view tableName,
                               const std::vector<ClassTable>& classes, const LineChoice& choice);

}  // namespace scorvane

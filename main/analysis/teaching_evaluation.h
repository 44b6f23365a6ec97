#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_settings.h"
#include "main/analysis/grade_comparison.h"
#include "main/analysis/teacher_table.h"

namespace scorvane {

// 教学评价: how each subject's classes did in one exam against the whole grade, and the same for each
// subject teacher over all the students the teacher taught.

inline constexpr std::string_view kEvaluationTitleSuffix = " 教学评价";
inline constexpr std::string_view kTeacherSummaryTitleSuffix = " 教师汇总";

// The weights of 综合得分 = a × (平均分 ÷ 满分 × 100) + b × 优秀率 + c × 及格率 − d × 低分率, the rates as
// percentages (85.00% counts 85).
struct EvaluationWeights {
    double mean = 0.4;
    double excellent = 0.3;
    double pass = 0.3;
    double low = 0;
};
inline constexpr std::string_view kDefaultWeights = "0.4,0.3,0.3,0";
inline constexpr std::string_view kWeightsMessage =
    "综合得分的权重必须是四个不小于 0 的数（平均分、优秀率、及格率、低分率），如 0.4,0.3,0.3,0！";

// The four weights as typed, each a number from 0; nothing when one is not.
std::optional<EvaluationWeights> ReadWeights(const std::array<std::string, 4>& texts);
// The same from one text, the four separated by commas (half or full width): "0.4,0.3,0.3,0".
std::optional<EvaluationWeights> ReadWeights(std::string_view text);
// "0.4,0.3,0.3,0": how the weights are remembered and given on the command line.
std::string WeightsText(const EvaluationWeights& weights);
// "综合得分 = 0.4×平均分÷满分×100 + 0.3×优秀率 + 0.3×及格率 − 0×低分率", for the class information.
std::string WeightsFormulaText(const EvaluationWeights& weights);

// What the evaluation reads: the grade's classes with the exam's table (and with the earlier exam's,
// when `earlierName` is given), the subjects with their full marks and the lines (`settings.fields`),
// the weights and the grade's teachers.
struct EvaluationInput {
    std::string grade;
    std::string tableName;
    std::vector<ClassTable> classes;
    AnalysisSettings settings;
    EvaluationWeights weights;
    TeacherAssignments teachers;
    bool teacherTableMissing = false;  // the grade has no 任课表 (or it cannot be read)
    std::string earlierName;
    std::vector<ClassTable> earlier;
};

struct TeachingEvaluation {
    // "<grade> <table name> 教学评价": a row per subject and class (subject by subject, classes in the
    // grade's order; a class whose table lacks the subject has none): 学科, 班级, 任课教师 (empty when
    // unknown), 参考人数, 平均分, 年级平均分 (over every student of the grade with a mark in the subject,
    // as the comparison's 年级 row), 比均率 (平均分 ÷ 年级平均分), 超均率 ((平均分 − 年级平均分) ÷
    // 年级平均分), 优秀率, 及格率, 低分率 (as 成绩统计), 综合得分, 名次 (among the subject's classes,
    // by 综合得分 as shown), and with an earlier exam 前次比均率 and 比均率变化 (本次 − 前次, in points).
    // Rates are percentages with two decimals; a figure that cannot be worked out (no mark) is empty.
    std::optional<GradeTable> byClass;
    // "<grade> <table name> 教师汇总": a row per subject and teacher over all that teacher's students
    // together (the teachers in the order of their first class): 学科, 任课教师, 任课班级, 参考人数,
    // 平均分, 比均率, 优秀率, 及格率, 低分率, 综合得分, 名次 (among the subject's teachers). None when no
    // teacher is known.
    std::optional<GradeTable> byTeacher;
    std::string refusal;  // why there is nothing: no class holds the table, a subject holds no mark
    std::string notice;   // what was left out
};

TeachingEvaluation EvaluateTeaching(const EvaluationInput& input);

// The notice when the grade has no 任课表, and when it names no teacher.
inline constexpr std::string_view kNoTeacherTableNotice =
    "本年级还没有任课表（在年级的右键菜单中选择“任课表”填写），任课教师为空，没有教师汇总。";
inline constexpr std::string_view kNoTeachersNotice = "本年级的任课表中还没有任课教师，没有教师汇总。";

}  // namespace scorvane

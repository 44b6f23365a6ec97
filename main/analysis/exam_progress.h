#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"
#include "main/analysis/student_key.h"

namespace scorvane {

// How far each student moved between two exams of a class (or two 年级排名 tables of a grade).

inline constexpr std::string_view kProgressTitleSuffix = " 进退步";
// The window's earlier table not chosen.
inline constexpr std::string_view kNoEarlierTableMessage = "请选择前次考试的表格！";

struct ProgressChoice {
    std::string earlierName;  // the tables' names, as the class information and the messages give them
    std::string laterName;
    std::string field;  // ranked by (DefaultRankField of the two by default)
    StudentKey key;     // DefaultStudentKey of the two by default
};

// "<later title> 进退步（对比 <earlier name>）": 姓名 (and the key field when it is not 姓名), 前次名次, 本次名次, 进退
// (前次名次 − 本次名次, empty where either is), 前次<field>, 本次<field> (as the tables show them), 分差
// (本次 − 前次, two decimals, empty unless both are numbers). Ranks are worked out in each table by the
// field (see CompetitionRanks). Rows: those with a 进退, largest first (equal ones by 本次名次); then
// the others found in both tables, in the later table's order; then the students only the later table
// holds, then those only the earlier one holds, each in its table's order. The class information
// names both tables, the field, the key and "新增 N 人，未参加 M 人", then the field's notes (FieldNotes).
// Refused when no field or no key is chosen, either table lacks the field or the key, neither holds a mark
// in the field, or two rows of a table hold the same key.
AnalysisResult ExamProgress(const GradeTable& earlier, const GradeTable& later, const ProgressChoice& choice);

// The tables the window offers as the earlier one beside the table at `tablePath` (its path without
// ".skv"): the other tables of its folder in the grade's exam order (ClassExamOrder), those held before
// it first, the one just before it at the top, then those held after it, the nearest first.
std::vector<std::string> EarlierTableChoices(const std::string& tablePath);

}  // namespace scorvane

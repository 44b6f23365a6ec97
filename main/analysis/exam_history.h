#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"

namespace scorvane {

// A class's exams side by side: each student's course through them.

inline constexpr std::string_view kHistoryTitleSuffix = " 历次成绩";
inline constexpr std::string_view kClassHoldsNoTablesMessage = "本班级还没有表格！";
// The window's tables all unticked.
inline constexpr std::string_view kNoTableChosenMessage = "请勾选需要并排的表格！";

struct HistoryChoice {
    std::string field;   // DefaultRankField of the tables by default
    bool ranks = false;  // each student's rank in each table in place of the value
};

// "<class> <field> 历次成绩" ("<class> <field>名次 历次成绩" with `ranks`): 姓名 (and 学号 when every table has it), then one column per table,
// titled by its name, holding the student's value of the field as the table shows it, or with
// `ranks` the student's rank in that table by the field (see CompetitionRanks). Students are matched by
// DefaultStudentKey of the tables and listed in the order they first appear (table by table, row by
// row); a student missing from a table, or a table without the field, has an empty cell there.
// The class information names the tables, the field and the key, with the field's notes (FieldNotes).
// Refused when there is no table, no field is chosen, no table has the field or holds a mark in it, or
// two rows of a table hold the same key.
AnalysisResult ExamHistory(std::string_view className, const std::vector<NamedTable>& tables,
                           const HistoryChoice& choice);

// The tables `names` of the class folder `folder` (ending in "/"), read in that order. Refused when a
// name has no table there ("找不到表格“NAME”！") or its file is no sound data file
// ("表格“NAME”无法读取！"); nothing in `out` changes then.
std::optional<std::string> LoadClassExams(const std::string& folder, const std::vector<std::string>& names,
                                          std::vector<NamedTable>& out);

// The tables' field that the window chooses at first (DefaultRankField).
std::string DefaultHistoryField(const std::vector<NamedTable>& tables);

}  // namespace scorvane

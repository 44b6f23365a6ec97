#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// The fields that analyses over several tables (the classes of a grade, the exams of a class) offer
// and choose by default.

inline constexpr std::string_view kTotalField = "总分";
inline constexpr std::string_view kNoRankFieldMessage = "请选择排名所依据的字段！";

// Every field title the tables hold, in order of first appearance (table by table, column by column),
// each once; empty titles left out.
std::vector<std::string> FieldsOfTables(const std::vector<const GradeTable*>& tables);

// Those of FieldsOfTables that every table has.
std::vector<std::string> CommonFields(const std::vector<const GradeTable*>& tables);

// Those of FieldsOfTables with a mark title whose cells, over all the tables together, are numeric
// (see FieldMarks): the fields the statistics would choose.
std::vector<std::string> NumericFieldsOfTables(const std::vector<const GradeTable*>& tables);

// The subjects: those of NumericFieldsOfTables that no table computes from other fields (IsComputedField:
// 总分, 平均 and the like). The analyses that read subjects one by one choose them by default.
std::vector<std::string> SubjectFieldsOfTables(const std::vector<const GradeTable*>& tables);

// The field students are ranked by unless another is chosen: 总分 when every table has it, else the
// first of NumericFieldsOfTables; empty when there is none.
std::string DefaultRankField(const std::vector<const GradeTable*>& tables);

// True when every table has a field of that title.
bool EveryTableHas(const std::vector<const GradeTable*>& tables, std::string_view field);

}  // namespace scorvane

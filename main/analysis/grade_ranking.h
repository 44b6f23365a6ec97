#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"
#include "main/analysis/grade_comparison.h"

namespace scorvane {

// Every student of a grade ranked in one exam: the classes' tables of that name joined in one table.

inline constexpr std::string_view kGradeRankingTitleSuffix = " 年级排名";
inline constexpr std::string_view kClassColumnTitle = "班级";
inline constexpr std::string_view kClassRankTitle = "班级名次";
inline constexpr std::string_view kGradeRankTitle = "年级名次";

// The field chosen at first: 总分 when every class's table has it, else the first field with numbers
// (see DefaultRankField); empty when there is none.
std::string DefaultGradeRankField(const std::vector<ClassTable>& classes);

// "<grade> <table name> 年级排名" ("<grade> <table name> <field> 年级排名" when `field` is not the one
// DefaultGradeRankField chooses): column 班级 (the class's name), then every field of the classes'
// tables (the first class's in its order, then those only later classes have; a class without a field
// is empty there; fields titled 班级, 班级名次 or 年级名次 are left out, as the result makes its own),
// then 班级名次 and 年级名次 by `field` (see CompetitionRanks). Each student is a data row that holds
// something (see RowHoldsData); values are copied as the table shows them, formulas as their values.
// Rows in 年级名次 order, equal ranks and then the unranked in the classes' order and their row order.
// The notice names the classes left out and those whose table lacks the field; the class information says
// how the table was made, with the field's notes (FieldNotes: totals over different subjects, text cells
// left out). Refused when no class holds the table, no field is chosen, no class's table has the field
// or the field holds no mark in any of them (NoMarksInFieldMessage).
AnalysisResult GradeRanking(std::string_view grade, std::string_view tableName,
                            const std::vector<ClassTable>& classes, std::string_view field);

}  // namespace scorvane

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/grade_comparison.h"

namespace scorvane {

// One field read across the tables of an analysis (the classes of a grade, the exams of a class): whether
// it holds any mark, which text cells it leaves out, and whether a total adds the same subjects in every
// table. Every analysis over several tables asks these of its chosen field.

// A table with the name its messages give it ("(3)班", "期中考试").
struct TableInGroup {
    std::string name;
    const GradeTable* table = nullptr;
};
using TableGroup = std::vector<TableInGroup>;

// The classes that hold their table, in order.
TableGroup GroupOfClasses(const std::vector<ClassTable>& classes);
// The exams, in order.
TableGroup GroupOfExams(const std::vector<NamedTable>& exams);

// 所选字段“总分”在这些表格中没有成绩。
std::string NoMarksInFieldMessage(std::string_view field);

// The marks of the field over every table of the group, each student named after its table
// ("(1)班 王五") when the group holds more than one table.
FieldMarks GroupFieldMarks(const TableGroup& group, std::string_view field);

// What the groups' tables are: their names in messages ("与其他班级不可比", "与其他考试不可比").
inline constexpr std::string_view kOtherClasses = "班级";
inline constexpr std::string_view kOtherExams = "考试";

// When `field` adds (or averages) other fields and the tables' formulas do not take the same field titles,
// a sentence for each table that differs from the others (the set of titles most tables take; on a tie the
// larger set, then the first table's): "(3)班的总分只加了 语文、数学、英语、化学（没有 物理），与其他班级不可比。" — "加了
// …（多了 生物）" where it adds more; for an average "只平均了 …，所含科目与其他班级不同。". Sentences follow each other without a
// break. Tables where the field is no such formula (typed in, or missing) are passed over. Empty when all
// agree.
std::string MismatchedTotalsMessage(const TableGroup& group, std::string_view field, std::string_view others);

// The field to offer instead of a total that adds different subjects: the first field, by title, that
// every table of the group has and that averages others (or is titled 平均 or 平均分); empty when there is
// none, or when `field` is itself that field.
std::string ComparableAverageField(const TableGroup& group, std::string_view field);

// What a result table says of its chosen field beyond its own text: the totals that add different
// subjects (MismatchedTotalsMessage) and the text cells left out (TextMarksNote), joined by "；".
std::string FieldNotes(const TableGroup& group, std::string_view field, std::string_view others);

// Appends notes to a class information text, after "；" when it says something already.
void AppendNote(std::string& classInfo, std::string_view note);

}  // namespace scorvane

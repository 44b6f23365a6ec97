#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/grade_comparison.h"
#include "main/analysis/tier_lines.h"

namespace scorvane {

// A grade's students as the line analyses (上线分析, 上线名单, 临界生) read them: each student's total and
// subject marks in one exam, the tier lines placed on the totals, and each subject's 有效分 per line.

inline constexpr std::string_view kNoTotalFieldMessage = "请选择总分字段！";

// What the teacher chose: the total field, the subjects and the lines.
struct LineChoice {
    std::string total;
    std::vector<std::string> subjects;
    std::vector<LineText> lines;
};

// A student: a data row that holds something (RowHoldsData) of a class's table. A student takes part in
// the total when the total cell holds a mark (ReadMarkCell), in a subject when its cell does; a blank,
// 缺考 or any text is no mark, never 0.
struct LineStudent {
    size_t classIndex = 0;  // in LineGrade::classes
    int row = 0;
    std::optional<double> total;
    std::vector<std::optional<double>> subjects;  // one per subject
    int gradeRank = 0;                            // by the total over the grade (CompetitionRanks); 0: none
};

struct LineGrade {
    std::string grade;
    std::string tableName;
    std::vector<const ClassTable*> classes;  // those holding the table, in the tree's order
    std::string total;
    std::vector<std::string> subjects;
    std::vector<LineStudent> students;  // class by class, in row order
    int takingPart = 0;                 // students with a total
    std::vector<TierLine> lines;        // highest first
    std::vector<int> reaching;          // per line: the students whose total reaches it
    // Per line and subject: the 有效分 (EffectiveMark over the grade's marks in the subject).
    std::vector<std::vector<std::optional<double>>> effective;
    std::string notice;  // the classes left out (LeftOutClassesMessage)

    // The total reaches the line (AtOrAbove).
    bool reaches(const LineStudent& student, size_t line) const;
    // The subject's mark reaches its 有效分 for the line; false without a mark or a 有效分.
    bool subjectReaches(const LineStudent& student, size_t line, size_t subject) const;
    // The subjects whose mark is below its 有效分 for the line, joined by "、" ("数学、物理"); a subject
    // without a mark or without a 有效分 is not named.
    std::string weakSubjects(const LineStudent& student, size_t line) const;
    // The cell of the student's row in `field` as a result copies it (ShownMark); empty without the field.
    std::string shown(const LineStudent& student, std::string_view field) const;
    // "高一 (1)班、(2)班的“期末考试”，按“总分”，参考 131 人", then for each line (or the one given) its
    // text (lineText), then `note` when given, then the fields' notes (FieldNotes: totals over different
    // subjects, text marks).
    std::string classInfo(std::optional<size_t> onlyLine = std::nullopt, std::string_view note = {}) const;
    // "一本 前150名 = 总分 512；语文 101，数学 108"; a line no one reaches: "…；无人上线，没有有效分"; a
    // subject without marks: "生物 没有成绩".
    std::string lineText(size_t line) const;
};

// The marks of the students taking part in `total` over the classes' tables (the totals the lines are
// placed on).
std::vector<double> GradeTotals(const std::vector<ClassTable>& classes, std::string_view total);

// Reads the classes' tables (those holding one; the others are named in the notice, with the classes
// whose table lacks a chosen field, "未列入<leftOutOf>"). Refused, in this order: no class holds the table,
// no total chosen, a total or subject that no class's table has, a total without any mark
// (NoMarksInFieldMessage), lines that ResolveTierLines refuses. Returns the refusal, or nothing when `out`
// holds the grade.
std::optional<std::string> ReadLineGrade(std::string_view grade, std::string_view tableName,
                                         const std::vector<ClassTable>& classes, const LineChoice& choice,
                                         std::string_view leftOutOf, LineGrade& out);

}  // namespace scorvane

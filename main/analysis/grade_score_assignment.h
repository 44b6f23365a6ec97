#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/analysis/analysis_result.h"
#include "main/analysis/assignment_bands.h"
#include "main/analysis/grade_comparison.h"
#include "main/analysis/score_assignment.h"

namespace scorvane {

// 等级赋分 of chosen fields over a cohort: the same-named tables of a grade's classes, or the rows of one
// table (a whole exam may arrive as one table). The result has a row per student.

inline constexpr std::string_view kScoreAssignmentTitleSuffix = " 等级赋分";
inline constexpr std::string_view kRawScoreSuffix = "原始分";
inline constexpr std::string_view kBandSuffix = "等级";
inline constexpr std::string_view kAssignedScoreSuffix = "赋分";
inline constexpr std::string_view kAssignedTotalTitle = "赋分总分";
inline constexpr std::string_view kNoAssignmentFieldMessage = "请选择需要赋分的字段！";
// The elective subjects converted by default.
inline constexpr std::string_view kElectiveSubjects[] = {"化学", "生物", "政治", "地理"};

// Those of `offered` titled as an elective subject, in the order offered.
std::vector<std::string> DefaultAssignmentFields(const std::vector<std::string>& offered);

// The result before it becomes a table: its titles, and the cells of each student's row made when asked,
// so that a cohort of any size (more students than a table holds) can be written out.
//
// Columns: 班级 (the row's own 班级 field where its table has one and it is not empty, else the class's
// name), 姓名, 学号 (as the table shows them), then per converted field F "F原始分" (the cell as the table
// shows it), "F等级" and "F赋分" (empty for a student without a mark), then 赋分总分 (the sum of the
// subjects, SubjectFieldsOfTables, each converted one by its 赋分 and the others raw; empty when any is
// missing) and 年级名次 (competition ranks of 赋分总分). Students are the data rows that hold something,
// class by class in row order.
class ScoreAssignmentSheet {
  public:
    std::string refusal;  // why there is no result (then nothing else is set)
    std::string notice;   // what was left out
    std::string title;
    std::string classInfo;
    std::vector<std::string> titles;

    size_t rowCount() const { return students_.size(); }
    // The cells of student row `i` (from 0), one per title.
    void cells(size_t i, std::vector<std::string>& out) const;

  private:
    friend class ScoreAssignmentBuilder;
    struct Source {
        const GradeTable* table = nullptr;
        std::string className;
        int classCol = -1;
        int nameCol = -1;
        int numberCol = -1;
        std::vector<int> fieldCols;
    };
    struct Student {
        uint32_t source = 0;
        int row = 0;
    };
    std::vector<Source> sources_;
    std::vector<Student> students_;
    std::vector<FieldAssignment> fields_;
    std::vector<std::optional<double>> totals_;
    std::vector<int> ranks_;
    std::vector<std::string> bandNames_;
};

// "<grade> <table name> 等级赋分" over the classes' tables. Refused when no class holds the table, no field
// is chosen, a field is in none of the tables or holds no mark in any; `bands` must have been read sound
// (ReadBandRows). The notice names the classes left out, those whose table lacks a converted field and
// those whose table lacks a subject (their students have no 赋分总分). The class information records the
// band table and, per field and band, the raw range Y1–Y2 and the head count, then each field's notes
// (text cells left out). The sheet reads the classes' tables when its cells are asked for: they must
// outlive it.
ScoreAssignmentSheet GradeScoreAssignment(std::string_view grade, std::string_view tableName,
                                          const std::vector<ClassTable>& classes,
                                          const std::vector<std::string>& fields, const AssignmentBands& bands);

// "<title> 等级赋分" over one table's rows: the table is the cohort. `className` stands in 班级 for rows
// without a 班级 field of their own (empty when the table's class is unknown). The sheet reads the table
// when its cells are asked for: it must outlive it.
ScoreAssignmentSheet TableScoreAssignment(const GradeTable& table, std::string_view className,
                                          const std::vector<std::string>& fields, const AssignmentBands& bands);

// The sheet as a result table; refused when it has more students than a table holds
// ("…超过一张表格最多能容纳的 32766 行…").
AnalysisResult ScoreAssignmentTable(const ScoreAssignmentSheet& sheet);

// The sheet as the comma-separated export of its table writes it (GBK bytes), for any number of rows.
std::string ScoreAssignmentCsvBytes(const ScoreAssignmentSheet& sheet);

}  // namespace scorvane

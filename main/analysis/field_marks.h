#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// The marks a field of a grade table holds, as the statistics read them.

// The texts that stand for a student without a mark.
inline constexpr std::string_view kAbsenceMarks[] = {"缺考", "免考", "缓考"};

// True when the cell holds one of the absence marks (blanks around it allowed).
bool IsAbsenceMark(std::string_view text);

// True when the text is a mark: blanks around it allowed, an optional "+" or "-", digits with an
// optional "." and decimals (".5" and "5." count). `value` receives it.
bool ReadMark(std::string_view text, double& value);

// A cell of a field that holds text other than a mark: whose it is (the row's 姓名, else "第 N 行") and
// the text, so that a result can say what it left out.
struct TextMark {
    std::string student;
    std::string text;
};

// The marks of one field over rows 1 .. Rows-1 (see ReadMarkCell): every mark, the count of absence
// marks, the cells that hold other text, and the number of students (rows that hold something, see
// RowHoldsData).
struct FieldMarks {
    std::vector<double> marks;
    int absent = 0;
    std::vector<TextMark> texts;
    int students = 0;

    // Gathers another table's marks of the same field; `owner` ("(1)班") goes before its students' names.
    void add(const FieldMarks& other, std::string_view owner = {});
    // A field of marks: it holds a mark, and marks or absence marks stand in at least half of the
    // students' cells. One cell of text ("良好") does not make the field text; that cell is no mark.
    bool numeric() const;
};
FieldMarks CollectFieldMarks(const GradeTable& table, int col);

// What one cell of a field holds; `value` receives a mark. A number typed in is a mark; an absence mark
// is Absent; a blank is Nothing, as is a cell of a row that holds nothing but formulas. A formula cell is
// a mark when its value is a number and at least one cell it refers to holds a number (a formula that
// refers to no cell counts by its value alone): a total over subjects not yet typed in computes 0 but is
// Nothing, as is a formula that fails ("公式错误", "引用错误"). The data format shows a value that rounds
// to zero as nothing: it is still 0. Any other text is Text.
enum class MarkCell { Mark, Absent, Text, Nothing };
MarkCell ReadMarkCell(const GradeTable& table, int row, int col, double& value);

// A cell as a result copies it: as the table shows it (公式2值), except that a formula cell that cannot be a
// mark because nothing it refers to holds a number (see ReadMarkCell) shows nothing, not the 0 it computes.
std::string ShownMark(const GradeTable& table, int row, int col);

// The mark of each data row (element r - 1 for row r), nothing where the cell holds none; all nothing
// when `col` is no data column.
std::vector<std::optional<double>> FieldRowMarks(const GradeTable& table, int col);

// True when a data cell of the row other than a formula holds something: a row with a student.
bool RowHoldsData(const GradeTable& table, int row);

// True when the title names a field of marks: not empty, and no identifier nor rank ("号", "名次",
// "排名" nowhere in it).
bool IsMarkTitle(std::string_view title);

// The fields the statistics choose by default: in table order, every field with a mark title whose
// cells are numeric (FieldMarks::numeric). A title that repeats counts once, at its first column.
std::vector<std::string> DefaultStatisticsFields(const GradeTable& table);

// What a result says of the text cells it left out of a field, for its class information:
// "数学：1 个非数字成绩未计入（王五：良好）"; at most the first three are named ("…等"). Empty when
// there are none.
std::string TextMarksNote(std::string_view field, const FieldMarks& marks);

// The first column titled `title`; -1 when there is none.
int FieldColumn(const GradeTable& table, std::string_view title);

// CollectFieldMarks, keeping what each data row's cell holds (element r - 1 for row r; Nothing for a row
// without a student) and its mark, so that a result need not read the cells twice.
struct RowMark {
    MarkCell kind = MarkCell::Nothing;
    double value = 0;
};
FieldMarks CollectFieldMarks(const GradeTable& table, int col, std::vector<RowMark>& rows);

}  // namespace scorvane

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

// The marks of one field over rows 1 .. Rows-1: every cell that holds a number, a formula cell through
// its value as the table shows it (the data format shows a value that rounds to zero as nothing: it
// is still 0), the count of absence marks, and whether any cell holds other text. Empty cells, and a
// formula that fails ("公式错误", "引用错误"), hold no mark and no text; so does a formula in a row that
// holds nothing else (a row with no student, filled by a formula applied to the whole column).
struct FieldMarks {
    std::vector<double> marks;
    int absent = 0;
    bool hasText = false;

    // Gathers another table's marks of the same field.
    void add(const FieldMarks& other);
    // A field the statistics offer by default: it holds a number and no text.
    bool numeric() const { return !marks.empty() && !hasText; }
};
FieldMarks CollectFieldMarks(const GradeTable& table, int col);

// What one cell of a field holds, read as CollectFieldMarks reads it; `value` receives a mark.
enum class MarkCell { Mark, Absent, Text, Nothing };
MarkCell ReadMarkCell(const GradeTable& table, int row, int col, double& value);

// The mark of each data row (element r - 1 for row r), nothing where the cell holds none; all nothing
// when `col` is no data column.
std::vector<std::optional<double>> FieldRowMarks(const GradeTable& table, int col);

// True when a data cell of the row other than a formula holds something: a row with a student.
bool RowHoldsData(const GradeTable& table, int row);

// True when the title names a field of marks: not empty, and no identifier nor rank ("号", "名次",
// "排名" nowhere in it).
bool IsMarkTitle(std::string_view title);

// The fields the statistics choose by default: in table order, every field with a mark title whose
// cells are numeric (see FieldMarks). A title that repeats counts once, at its first column.
std::vector<std::string> DefaultStatisticsFields(const GradeTable& table);

// The first column titled `title`; -1 when there is none.
int FieldColumn(const GradeTable& table, std::string_view title);

}  // namespace scorvane

#pragma once

#include <string>
#include <utility>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// How a field is made from other fields of the same row, read from its formula cells, so that its full
// marks follow from theirs: a total adds fields ("cell(?,3)+cell(?,4)+cell(?,5)", as 求和 writes it),
// an average divides such a sum by the number of fields it adds ("(cell(?,3)+cell(?,4))/2", as 求平均
// writes it). Blanks and the letter case of "cell" do not matter; a reference names the formula's own
// row ("?" or its number) and another column.
struct FieldDerivation {
    enum class Kind { None, Sum, Average };
    Kind kind = Kind::None;
    std::vector<std::string> fields;  // the titles of the fields it adds, in the formula's order
    bool operator==(const FieldDerivation&) const = default;
};

// What the formula of cell (row, col) makes of its row: a sum, an average, or none of them.
FieldDerivation DeriveFormula(const GradeTable& table, std::string_view formula, int row, int col);

// The field of column `col`: a sum or an average when its formula cells all make the same of their rows
// (cells without a formula are passed over); none when it holds no formula or formulas of other kinds.
FieldDerivation DeriveField(const GradeTable& table, int col);

// Every field of the table that adds others, by title (a title that repeats counts at its first column).
using DerivedFields = std::vector<std::pair<std::string, FieldDerivation>>;
DerivedFields DeriveFields(const GradeTable& table);

// True when the field is computed from other fields: a formula cell of it refers to another cell, or
// its title names a sum or a mean (总分, 平均, 平均分), as a total typed in or imported does.
bool IsComputedField(const GradeTable& table, int col);

}  // namespace scorvane

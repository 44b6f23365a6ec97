#pragma once

#include <vector>

#include "main/analysis/grade_comparison.h"
#include "support/sample_table.h"

namespace scorvane::testing {

// A small grade for the line analyses, worked out by hand in their tests. Totals of the 8 students taking
// part: 170 170 165 145 145 140 130 90. 语文 holds 7 marks (丁 缺考, 庚 blank, 癸 缺考): 90 80 75 72 70 60
// 50; 数学 9 (丁 has one although no total): 95 90 80 73 70 65 64 50 40. 丁's total is 缺考, 癸's a formula
// of subjects without marks: neither takes part. (4)班 has no such table.
inline std::vector<ClassTable> LineSampleGrade() {
    const Strings fields = {"姓名", "学号", "语文", "数学", "总分"};
    std::vector<ClassTable> classes;
    classes.push_back({"(1)班", MakeTable(fields, {{"甲", "01", "90", "80", "170"},
                                                   {"乙", "02", "70", "95", "165"},
                                                   {"丙", "03", "72", "73", "145"},
                                                   {"丁", "04", "缺考", "70", "缺考"}})});
    classes.push_back({"(2)班", MakeTable(fields, {{"戊", "11", "80", "90", "170"},
                                                   {"己", "12", "60", "64", "145"},
                                                   {"庚", "13", "", "50", "130"},
                                                   {"辛", "14", "75", "65", "140"}})});
    classes.push_back({"(3)班", MakeTable(fields, {{"壬", "31", "50", "40", "90"},
                                                   {"癸", "32", "缺考", "", "！公式：cell(?,3)+cell(?,4)"},
                                                   {}})});
    classes.push_back({"(4)班", std::nullopt});
    return classes;
}

}  // namespace scorvane::testing

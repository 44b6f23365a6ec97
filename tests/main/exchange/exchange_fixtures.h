#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane::testing {

// A loaded-looking table: the corner "  ", the given field titles, one row per student with its row
// number in column 0, and the header layout string set from the titles.
inline GradeTable MakeTable(std::initializer_list<std::string> titles,
                            std::initializer_list<std::vector<std::string>> students,
                            std::string title = "T") {
    GradeTable t(static_cast<int>(students.size()) + 1, static_cast<int>(titles.size()) + 1);
    t.title = std::move(title);
    int c = 1;
    for (const std::string& f : titles) {
        t.setCell(0, c++, f);
    }
    int r = 1;
    for (const auto& row : students) {
        for (size_t i = 0; i < row.size() && static_cast<int>(i) + 1 < t.cols(); ++i) {
            t.setCell(r, static_cast<int>(i) + 1, row[i]);
        }
        ++r;
    }
    t.renumber();
    t.setHeaderLayout(t.composeHeaderLayout(false));
    return t;
}

// A table of `students` rows over the fields 姓名 学号 语文: "<tag>名<r>", "<tag><r>", "<r mod 100>".
inline GradeTable MakeClass(int students, const std::string& tag) {
    GradeTable t = MakeTable({"姓名", "学号", "语文"}, {});
    t.setRows(students + 1);
    for (int r = 1; r <= students; ++r) {
        t.cells()[static_cast<size_t>(t.faIndex(r, 1))] = tag + "名" + std::to_string(r);
        t.cells()[static_cast<size_t>(t.faIndex(r, 2))] = tag + std::to_string(r);
        t.cells()[static_cast<size_t>(t.faIndex(r, 3))] = std::to_string(r % 100);
    }
    t.renumber();
    return t;
}

// The column's cells of rows 1 .. Rows-1.
inline std::vector<std::string> Column(const GradeTable& t, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < t.rows(); ++r) {
        out.push_back(t.cell(r, col));
    }
    return out;
}

}  // namespace scorvane::testing

#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "main/document/document.h"

// Tables for the tests of scorvane_core (and what builds on it), made as a load leaves them.
namespace scorvane::testing {

using Strings = std::vector<std::string>;

// The corner "  ", the field titles, one row per student (cells beyond the titles are dropped), column 0
// numbered and the header layout string set from the titles.
inline GradeTable MakeTable(const Strings& titles, std::initializer_list<Strings> students,
                            std::string title = "T") {
    GradeTable t(static_cast<int>(students.size()) + 1, static_cast<int>(titles.size()) + 1);
    t.title = std::move(title);
    for (size_t c = 0; c < titles.size(); ++c) {
        t.setCell(0, static_cast<int>(c) + 1, titles[c]);
    }
    int r = 1;
    for (const Strings& row : students) {
        for (size_t i = 0; i < row.size() && static_cast<int>(i) + 1 < t.cols(); ++i) {
            t.setCell(r, static_cast<int>(i) + 1, row[i]);
        }
        ++r;
    }
    t.renumber();
    t.setHeaderLayout(t.composeHeaderLayout(false));
    return t;
}

// The same table in a fresh document.
inline Document SampleDocument(const Strings& titles, std::initializer_list<Strings> students) {
    Document document;
    document.table = MakeTable(titles, students);
    return document;
}

// `students` rows over the fields 姓名 学号 语文: "<tag>名<r>", "<tag><r>", "<r mod 100>".
inline GradeTable MakeClass(int students, const std::string& tag) {
    GradeTable t = MakeTable({"姓名", "学号", "语文"}, {});
    t.setRows(students + 1);
    for (int r = 1; r <= students; ++r) {
        t.setCell(r, 1, tag + "名" + std::to_string(r));
        t.setCell(r, 2, tag + std::to_string(r));
        t.setCell(r, 3, std::to_string(r % 100));
    }
    t.renumber();
    return t;
}

// A table shaped like the benchmark's: `students` rows of name, student number, ten marks and the
// total and average as formulas, the marks drawn from `seed` (the same seed gives the same table).
inline GradeTable MakeMarksTable(int students, uint64_t seed) {
    static const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "欧阳", "司马"};
    static const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "磊", "洋", "艳", "勇", "军"};
    GradeTable t = MakeTable({"姓名", "学号", "语文", "数学", "英语", "物理", "化学", "生物", "政治", "历史",
                              "地理", "体育", "总分", "平均"},
                             {}, "高一(1)班 期中成绩");
    t.teacher = "王老师";
    t.setRows(students + 1);
    std::string sum = "cell(?,3)";
    for (int c = 4; c <= 12; ++c) {
        sum += "+cell(?," + std::to_string(c) + ")";
    }
    const std::string total = "！公式：" + sum;
    const std::string average = "！公式：(" + sum + ")/10";
    uint64_t state = seed;
    auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(state >> 33);
    };
    for (int r = 1; r <= students; ++r) {
        t.setCell(r, 1, std::string(kSurnames[next() % 8]) + kGiven[next() % 10] + kGiven[next() % 10]);
        t.setCell(r, 2, std::to_string(2024000000 + r));
        for (int c = 3; c <= 12; ++c) {
            t.setCell(r, c, std::to_string(next() % 101));
        }
        t.setCell(r, 13, total);
        t.setCell(r, 14, average);
    }
    t.renumber();
    return t;
}

// The column's cells of rows 1 .. Rows-1.
inline Strings Column(const GradeTable& t, int col) {
    Strings out;
    for (int r = 1; r < t.rows(); ++r) {
        out.push_back(t.cell(r, col));
    }
    return out;
}

// Row r's data cells (columns 1 ..).
inline Strings RowCells(const GradeTable& t, int row) {
    Strings out;
    for (int c = 1; c < t.cols(); ++c) {
        out.push_back(t.cell(row, c));
    }
    return out;
}

// Every row's cells from row 0 (the titles), column 0 left out.
inline std::vector<Strings> AllRowCells(const GradeTable& t) {
    std::vector<Strings> rows;
    for (int r = 0; r < t.rows(); ++r) {
        rows.push_back(RowCells(t, r));
    }
    return rows;
}

}  // namespace scorvane::testing

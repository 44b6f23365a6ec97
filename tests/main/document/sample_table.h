#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "main/document/document.h"

namespace scorvane::testing {

// A document as a load leaves it: the titles, then one row of cells per student; column 0 numbered,
// the header layout string set from the titles.
inline Document SampleDocument(std::vector<std::string> titles,
                               std::initializer_list<std::vector<std::string>> rows) {
    Document document;
    GradeTable& table = document.table;
    table.resize(static_cast<int>(rows.size()) + 1, static_cast<int>(titles.size()) + 1);
    for (size_t c = 0; c < titles.size(); ++c) {
        table.setCell(0, static_cast<int>(c) + 1, titles[c]);
    }
    int r = 1;
    for (const std::vector<std::string>& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            table.setCell(r, static_cast<int>(c) + 1, row[c]);
        }
        ++r;
    }
    table.renumber();
    table.setHeaderLayout(table.composeHeaderLayout(false));
    return document;
}

// Row r's data cells (columns 1..).
inline std::vector<std::string> RowCells(const GradeTable& table, int row) {
    const auto begin = table.cells().begin() + table.faIndex(row, 1);
    return {begin, begin + table.cols() - 1};
}

using Strings = std::vector<std::string>;

}  // namespace scorvane::testing

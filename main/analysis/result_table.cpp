#include "main/analysis/result_table.h"

#include <algorithm>

#include "main/document/column_widths.h"

namespace scorvane {

GradeTable ResultTable(std::string title, const std::vector<std::string>& titles,
                       const std::vector<std::vector<std::string>>& rows) {
    GradeTable t(static_cast<int>(rows.size()) + 1, static_cast<int>(titles.size()) + 1);
    t.title = std::move(title);
    t.setCell(0, 0, "  ");
    for (size_t c = 0; c < titles.size(); ++c) {
        t.setCell(0, static_cast<int>(c) + 1, titles[c]);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size() && c < titles.size(); ++c) {
            t.setCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1, rows[r][c]);
        }
    }
    t.renumber();
    t.setHeaderLayout(t.composeHeaderLayout(false));
    return t;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : "、") + name;
    }
    return out;
}

void WidenToFit(GradeTable& table, int col) {
    int width = 0;
    for (int r = 0; r < table.rows(); ++r) {
        width = std::max(width, EstimatedColumnWidth(table.cell(r, col)));
    }
    table.setColumnWidth(col, width);
}

}  // namespace scorvane

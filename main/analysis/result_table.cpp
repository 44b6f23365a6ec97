#include "main/analysis/result_table.h"

#include <algorithm>

#include "main/document/column_widths.h"

namespace scorvane {

GradeTable ResultTable(std::string title, const std::vector<std::string>& titles,
                       const std::vector<std::vector<std::string>>& rows) {
    const size_t kept = std::min(rows.size(), static_cast<size_t>(GradeTable::kMaxCount - 1));
    GradeTable t(static_cast<int>(kept) + 1, static_cast<int>(titles.size()) + 1);
    t.title = std::move(title);
    t.setCell(0, 0, "  ");
    for (size_t c = 0; c < titles.size(); ++c) {
        t.setCell(0, static_cast<int>(c) + 1, titles[c]);
    }
    for (size_t r = 0; r < kept; ++r) {
        for (size_t c = 0; c < rows[r].size() && c < titles.size(); ++c) {
            t.setCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1, rows[r][c]);
        }
    }
    t.renumber();
    t.setHeaderLayout(t.composeHeaderLayout(false));
    return t;
}

bool FitsInTable(size_t rows) {
    return rows <= static_cast<size_t>(GradeTable::kMaxCount - 1);
}

std::string TooManyRowsMessage(std::string_view what, size_t rows) {
    return std::string(what) + "的结果有 " + std::to_string(rows) + " 名学生，超过一张表格最多能容纳的 " +
           std::to_string(GradeTable::kMaxCount - 1) + " 行。";
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

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// A new table of the given titles and rows (cells beyond the titles are dropped), numbered, its header
// layout set from the titles: how every result of the statistics is made. Rows beyond the most a table
// holds (GradeTable::kMaxCount - 1) are left out: an analysis that may make more refuses first
// (TooManyRowsMessage).
GradeTable ResultTable(std::string title, const std::vector<std::string>& titles,
                       const std::vector<std::vector<std::string>>& rows);

// True when `rows` data rows fit in one table.
bool FitsInTable(size_t rows);
// "年级排名的结果有 35000 名学生，超过一张表格最多能容纳的 32766 行。"
std::string TooManyRowsMessage(std::string_view what, size_t rows);

// Names joined by "、" as the messages and the class information list them: "(1)班、(2)班".
std::string JoinNames(const std::vector<std::string>& names);

// Widens column `col` so that its title and every cell show whole (EstimatedColumnWidth), for columns of
// lists such as 偏科 and 薄弱学科 ("语文、英语、物理").
void WidenToFit(GradeTable& table, int col);

}  // namespace scorvane

#pragma once

#include <string>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// A new table of the given titles and rows (cells beyond the titles are dropped), numbered, its header
// layout set from the titles: how every result of the statistics is made.
GradeTable ResultTable(std::string title, const std::vector<std::string>& titles,
                       const std::vector<std::vector<std::string>>& rows);

// Names joined by "、" as the messages and the class information list them: "(1)班、(2)班".
std::string JoinNames(const std::vector<std::string>& names);

}  // namespace scorvane

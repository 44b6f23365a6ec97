#pragma once

#include <string>
#include <vector>

namespace scorvane {

// Names for a list in which no two may look alike: a name that an earlier one already bears gets its
// place among the equal ones after it ("期中 成绩统计", "期中 成绩统计 (2)", "期中 成绩统计 (3)"); a
// number never makes it equal to another name of the list.
std::vector<std::string> NumberRepeats(const std::vector<std::string>& names);

}  // namespace scorvane

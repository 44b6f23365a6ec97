#pragma once

#include <string>
#include <utility>
#include <vector>

namespace scorvane {

// What the statistics windows remember in the user's settings (application "KVL'S Scorvane", group
// "Statistics"): the full marks typed for fields, by field title (key "FullMarks", entries "语文=150").

std::vector<std::pair<std::string, std::string>> RememberedFullMarks();
// Keeps `typed`, each replacing what was remembered for its title; the other titles stay.
void RememberFullMarks(const std::vector<std::pair<std::string, std::string>>& typed);

// The weights of 教学评价's 综合得分 as last used (key "EvaluationWeights", "0.4,0.3,0.3,0"); empty
// when none were kept.
std::string RememberedWeights();
void RememberWeights(const std::string& weights);

}  // namespace scorvane

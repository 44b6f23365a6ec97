#pragma once

#include <optional>
#include <string>
#include <vector>

namespace scorvane {

// The rank every analysis gives: highest value first, equal values share a rank and the ranks they
// take up are skipped (1, 1, 3). An entry without a value gets no rank (0).
std::vector<int> CompetitionRanks(const std::vector<std::optional<double>>& values);

// A rank as the result tables write it: the whole number, nothing for no rank (0).
std::string RankText(int rank);

}  // namespace scorvane

#include "main/analysis/competition_rank.h"

#include <algorithm>

namespace scorvane {

std::vector<int> CompetitionRanks(const std::vector<std::optional<double>>& values) {
    std::vector<size_t> order;
    order.reserve(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i]) {
            order.push_back(i);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&values](size_t a, size_t b) { return *values[a] > *values[b]; });
    std::vector<int> ranks(values.size(), 0);
    int rank = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k == 0 || *values[order[k]] != *values[order[k - 1]]) {
            rank = static_cast<int>(k) + 1;
        }
        ranks[order[k]] = rank;
    }
    return ranks;
}

std::string RankText(int rank) {
    return rank > 0 ? std::to_string(rank) : std::string();
}

}  // namespace scorvane

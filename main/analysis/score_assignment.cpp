#include "main/analysis/score_assignment.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "main/analysis/competition_rank.h"

namespace scorvane {

std::vector<int> BandLimits(int count, const AssignmentBands& bands) {
    std::vector<int> limits;
    int64_t cumulative = 0;
    for (size_t k = 0; k < bands.size(); ++k) {
        cumulative += bands[k].shareHundredths;
        // count × cumulative ÷ 10000 in whole numbers, half up.
        const int64_t limit = (static_cast<int64_t>(count) * cumulative + 5000) / 10000;
        limits.push_back(k + 1 == bands.size() ? count : static_cast<int>(limit));
    }
    return limits;
}

int BandOfRank(int rank, const std::vector<int>& limits) {
    if (rank <= 0) {
        return -1;
    }
    for (size_t k = 0; k < limits.size(); ++k) {
        if (limits[k] >= rank) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

int AssignedScore(double y, double lowest, double highest, int bottom, int top) {
    if (highest == lowest) {
        return top;
    }
    const double exact = bottom + (y - lowest) * (top - bottom) / (highest - lowest);
    // Half up; the allowance keeps an exact half that binary fractions leave a hair below it a half.
    return static_cast<int>(std::floor(exact + 0.5 + 1e-9));
}

FieldAssignment AssignScores(const std::vector<std::optional<double>>& marks, const AssignmentBands& bands) {
    FieldAssignment out;
    out.band.assign(marks.size(), -1);
    out.score.assign(marks.size(), std::nullopt);
    out.ranges.assign(bands.size(), BandRange{});
    const std::vector<int> ranks = CompetitionRanks(marks);
    const int count = static_cast<int>(std::count_if(marks.begin(), marks.end(), [](const auto& m) { return m.has_value(); }));
    const std::vector<int> limits = BandLimits(count, bands);
    for (size_t i = 0; i < marks.size(); ++i) {
        const int band = BandOfRank(ranks[i], limits);
        out.band[i] = band;
        if (band < 0) {
            continue;
        }
        BandRange& range = out.ranges[static_cast<size_t>(band)];
        const double y = *marks[i];
        range.lowest = range.count == 0 ? y : std::min(range.lowest, y);
        range.highest = range.count == 0 ? y : std::max(range.highest, y);
        ++range.count;
    }
    for (size_t i = 0; i < marks.size(); ++i) {
        if (out.band[i] < 0) {
            continue;
        }
        const AssignmentBand& band = bands[static_cast<size_t>(out.band[i])];
        const BandRange& range = out.ranges[static_cast<size_t>(out.band[i])];
        out.score[i] = AssignedScore(*marks[i], range.lowest, range.highest, band.bottom, band.top);
    }
    return out;
}

}  // namespace scorvane

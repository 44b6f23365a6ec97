#pragma once

#include <optional>
#include <vector>

#include "main/analysis/assignment_bands.h"

namespace scorvane {

// 等级赋分 of one field over a cohort: the students with a mark are ranked (competition ranks, 1, 1, 3),
// each goes to a band by its rank, and within its band its raw mark is placed on the band's range of
// converted scores. Raw marks are never changed.

// The cumulative limit of each band for `count` students: L = count × the shares up to and including the
// band ÷ 100, rounded half up (7 students, 15 %: 1.05 gives 1; 50 %: 3.5 gives 4); the last is `count`.
std::vector<int> BandLimits(int count, const AssignmentBands& bands);

// The band of a student of competition rank `rank` (1 = the highest): the first whose limit is at least
// the rank, so that students tied across a limit stay together in the higher band. -1 for no rank (0).
int BandOfRank(int rank, const std::vector<int>& limits);

// The converted score of raw mark `y` in a band whose students' raw marks run from `lowest` (Y1) to
// `highest` (Y2) and whose converted scores run from `bottom` (T1) to `top` (T2):
// T1 + (Y − Y1) × (T2 − T1) ÷ (Y2 − Y1), rounded half up to a whole number; T2 when Y2 = Y1.
int AssignedScore(double y, double lowest, double highest, int bottom, int top);

// What became of one field: per student (in the order of the marks given) the band (-1 without a mark)
// and the converted score; per band its students' count and raw range.
struct BandRange {
    int count = 0;
    double lowest = 0;   // Y1 (meaningful when count > 0)
    double highest = 0;  // Y2
};
struct FieldAssignment {
    std::vector<int> band;
    std::vector<std::optional<int>> score;
    std::vector<BandRange> ranges;  // one per band
};
FieldAssignment AssignScores(const std::vector<std::optional<double>>& marks, const AssignmentBands& bands);

}  // namespace scorvane

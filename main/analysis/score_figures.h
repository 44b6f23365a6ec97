#pragma once

#include <string>
#include <vector>

#include "main/analysis/field_marks.h"

namespace scorvane {

// The three lines of the statistics, each a percentage of the field's full marks: a mark passes at
// or above the pass line, excels at or above the excellent line, and is low below the low line.
struct ScoreLines {
    double pass = 60;
    double excellent = 85;
    double low = 40;
};

// True when `mark` reaches `percent` % of `fullMarks`. The comparison allows for the last bits of
// binary fractions, so 67.5 reaches 60 % of 112.5 exactly.
bool ReachesLine(double mark, double fullMarks, double percent);

// The figures of one field. With no marks (count 0) the mean, highest, lowest and deviation mean
// nothing and are left 0.
struct FieldFigures {
    int count = 0;
    double mean = 0;
    double highest = 0;
    double lowest = 0;
    double deviation = 0;  // population standard deviation: the squares' mean about the mean, rooted
    int passed = 0;
    int excellent = 0;
    int low = 0;
    int absent = 0;
};
FieldFigures ComputeFieldFigures(const FieldMarks& marks, double fullMarks, const ScoreLines& lines);

// The marks above a field's full marks (allowing for the last bits of binary fractions, as ReachesLine).
int CountAboveFullMarks(const std::vector<double>& marks, double fullMarks);

// The warning before a result opens, for the fields whose marks pass their full marks:
// "“总分”有 45 个成绩高于满分 100，请检查满分设置。" (several fields in one sentence, joined by "，");
// empty when there are none.
struct MarksAboveFullMarks {
    std::string field;
    int count = 0;
    double fullMarks = 0;
};
std::string MarksAboveFullMarksMessage(const std::vector<MarksAboveFullMarks>& fields);

// How the result tables write figures: two decimals (half away from zero, "85.00", "0.50"); a rate
// part / whole as a percentage with two decimals and "%" ("85.00%"), empty when whole is 0.
std::string TwoDecimals(double value);
std::string RateText(int part, int whole);

}  // namespace scorvane

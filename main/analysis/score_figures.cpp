#include "main/analysis/score_figures.h"

#include <algorithm>
#include <cmath>

#include "main/formula/number_format.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

// Room for the rounding of binary fractions in a comparison of marks with lines.
constexpr double kSlack = 1e-9;

}  // namespace

bool ReachesLine(double mark, double fullMarks, double percent) {
    const double line = fullMarks * percent;
    return mark * 100 >= line - kSlack * std::max(1.0, std::fabs(line));
}

FieldFigures ComputeFieldFigures(const FieldMarks& marks, double fullMarks, const ScoreLines& lines) {
    FieldFigures f;
    f.absent = marks.absent;
    f.count = static_cast<int>(marks.marks.size());
    if (f.count == 0) {
        return f;
    }
    double sum = 0;
    f.highest = marks.marks.front();
    f.lowest = marks.marks.front();
    for (double m : marks.marks) {
        sum += m;
        f.highest = std::max(f.highest, m);
        f.lowest = std::min(f.lowest, m);
        f.passed += ReachesLine(m, fullMarks, lines.pass) ? 1 : 0;
        f.excellent += ReachesLine(m, fullMarks, lines.excellent) ? 1 : 0;
        f.low += ReachesLine(m, fullMarks, lines.low) ? 0 : 1;
    }
    f.mean = sum / f.count;
    double squares = 0;
    for (double m : marks.marks) {
        squares += (m - f.mean) * (m - f.mean);
    }
    f.deviation = std::sqrt(squares / f.count);
    return f;
}

int CountAboveFullMarks(const std::vector<double>& marks, double fullMarks) {
    int count = 0;
    for (double m : marks) {
        count += m > fullMarks + kSlack * std::max(1.0, std::fabs(fullMarks)) ? 1 : 0;
    }
    return count;
}

std::string MarksAboveFullMarksMessage(const std::vector<MarksAboveFullMarks>& fields) {
    std::string text;
    for (const MarksAboveFullMarks& f : fields) {
        if (f.count > 0) {
            text += (text.empty() ? "“" : "，“") + f.field + "”有 " + std::to_string(f.count) +
                    " 个成绩高于满分 " + NumberToText(f.fullMarks);
        }
    }
    return text.empty() ? text : text + "，请检查满分设置。";
}

std::string TwoDecimals(double value) {
    return FormatNumberText(NumberToText(value), "0.00");
}

std::string RateText(int part, int whole) {
    if (whole <= 0) {
        return {};
    }
    return TwoDecimals(100.0 * part / whole) + "%";
}

}  // namespace scorvane

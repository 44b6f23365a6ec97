#include "main/analysis/score_figures.h"

#include <algorithm>
#include <cmath>

#include "main/formula/number_format.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

// Room for the rounding of binary fractions in a comparison of marks with lines.
constexpr double kSlack = 1e-9;

std::string percentText(double value) {
    return NumberToText(value);
}

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

std::string TwoDecimals(double value) {
    return FormatNumberText(NumberToText(value), "0.00");
}

std::string RateText(int part, int whole) {
    if (whole <= 0) {
        return {};
    }
    return TwoDecimals(100.0 * part / whole) + "%";
}

int BandCount(double width) {
    if (!(width > 0)) {
        return 0;
    }
    int n = static_cast<int>(std::floor(100 / width + kSlack));
    if (n * width < 100 - kSlack) {
        ++n;
    }
    return std::max(n, 1);
}

std::vector<int> CountBands(const std::vector<double>& marks, double fullMarks, double width) {
    const int n = BandCount(width);
    std::vector<int> counts(static_cast<size_t>(n) + 1, 0);
    if (n == 0 || !(fullMarks > 0)) {
        return counts;
    }
    const double bandMarks = fullMarks * width;
    for (double m : marks) {
        if (ReachesLine(m, fullMarks, 100)) {
            ++counts[0];
            continue;
        }
        const double q = std::floor(m * 100 / bandMarks + kSlack);
        const int band = q < 0 ? 0 : static_cast<int>(std::min<double>(q, n - 1));
        ++counts[static_cast<size_t>(n - band)];
    }
    return counts;
}

std::vector<std::string> BandTitles(double width) {
    const int n = BandCount(width);
    std::vector<std::string> titles;
    titles.reserve(static_cast<size_t>(n));
    for (int k = n - 1; k >= 0; --k) {
        const double lower = k * width;
        const double upper = std::min(100.0, (k + 1) * width);
        titles.push_back((k == 0 ? std::string("0") : percentText(lower) + "%") + "～" + percentText(upper) +
                         "%");
    }
    return titles;
}

}  // namespace scorvane

#include "main/analysis/score_bands.h"

#include <algorithm>
#include <cmath>

#include "main/analysis/score_figures.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

// Room for the rounding of binary fractions, as ReachesLine allows it.
constexpr double kSlack = 1e-9;

}  // namespace

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
        titles.push_back((k == 0 ? std::string("0") : NumberToText(lower) + "%") + "～" +
                         NumberToText(upper) + "%");
    }
    return titles;
}

}  // namespace scorvane

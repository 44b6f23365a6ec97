#include "main/printing/chart_axis.h"

#include <algorithm>
#include <cmath>

namespace scorvane {

std::vector<double> ChartedValues(const ChartData& data, ChartType type, const CellValueFn& value) {
    std::vector<double> values;
    const size_t fields =
        type == ChartType::Bar ? std::min<size_t>(data.fields.size(), 1) : data.fields.size();
    for (int row : data.rows) {
        for (size_t f = 0; f < fields; ++f) {
            values.push_back(value ? ChartValue(value(row, data.fields[f])) : 0);
        }
    }
    return values;
}

ChartAxis OfferedChartAxis(const std::vector<double>& values, ChartType type) {
    ChartAxis axis;
    if (values.empty()) {
        return axis;
    }
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    if (!(*highest > kDefaultChartMaximum)) {
        return axis;
    }
    const double step = std::pow(10.0, std::floor(std::log10(*highest))) / 2;
    axis.maximum = std::ceil(*highest / step) * step;
    if (type != ChartType::Bar) {
        double bottom = std::floor(*lowest / step) * step;
        if (bottom >= *lowest) {
            bottom -= step;
        }
        axis.minimum = *lowest >= 0 ? std::max(0.0, bottom) : bottom;
    }
    return axis;
}

}  // namespace scorvane

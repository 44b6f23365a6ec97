#pragma once

#include <vector>

#include "main/printing/charts.h"

namespace scorvane {

// The value axis the chart dialog offers for what is chosen, so that the lines of totals (250 to 480)
// stay on the chart instead of leaving it above the default 100.

inline constexpr double kDefaultChartMaximum = 100;

struct ChartAxis {
    double maximum = kDefaultChartMaximum;  // 最大值: the top of the value axis
    double minimum = 0;                     // 最小值: its bottom (line charts)
    bool operator==(const ChartAxis&) const = default;
};

// The values the chart draws for the choice: the chosen rows' values (ChartValue, an empty cell 0) in
// every ticked field for a line chart, in the first ticked field for a bar chart.
std::vector<double> ChartedValues(const ChartData& data, ChartType type, const CellValueFn& value);

// The axis offered for those values: 100 and 0 while no value exceeds 100. Otherwise the maximum is
// the smallest round number at or above the largest value and the minimum the largest round number
// below the smallest (not below 0 while no value is negative; always 0 for a bar chart, whose bars
// stand on 0). Round numbers are the multiples of half the largest value's power of ten: 483 gives
// 500 (multiples of 50), 1234 gives 1500, and 250 to 483 give 200 to 500.
ChartAxis OfferedChartAxis(const std::vector<double>& values, ChartType type);

}  // namespace scorvane

#include "main/printing/chart_axis.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"

namespace scorvane {
namespace {

TEST(ChartAxis, TheDefaultStaysUntilAValueExceedsIt) {
    struct Case {
        std::vector<double> values;
        ChartType type;
        ChartAxis offered;
    };
    const Case cases[] = {
        {{}, ChartType::LineUp, {100, 0}},
        {{60, 100, 85}, ChartType::LineUp, {100, 0}},
        {{250, 483, 300}, ChartType::LineUp, {500, 200}},  // totals of five subjects
        {{251, 480}, ChartType::LineUp, {500, 250}},
        {{300, 483, 0}, ChartType::LineUp, {500, 0}},  // a missed exam draws 0
        {{100.5, 120}, ChartType::LineUp, {150, 100}},
        {{1234, 1100}, ChartType::LineUp, {1500, 1000}},
        {{-30, 140}, ChartType::LineUp, {150, -50}},
        {{1, 135, 46}, ChartType::LineDown, {150, 0}},  // 年级名次 of a large grade
        {{250, 483}, ChartType::Bar, {500, 0}},         // bars stand on 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.values));
        const ChartAxis axis = OfferedChartAxis(c.values, c.type);
        EXPECT_EQ(axis.maximum, c.offered.maximum);
        EXPECT_EQ(axis.minimum, c.offered.minimum);
    }
}

TEST(ChartAxis, TheValuesAreThoseTheChartDraws) {
    const GradeTable table = testing::MakeTable({"姓名", "期中", "期末"},
                                                {{"甲", "310", ""}, {"乙", "483", "缺考"}, {"丙", "1", "2"}});
    const CellValueFn value = [&](int r, int c) { return std::string(table.cell(r, c)); };
    ChartData data;
    data.rows = {2, 1};
    data.fields = {3, 2};
    EXPECT_EQ(ChartedValues(data, ChartType::LineUp, value), (std::vector<double>{0, 483, 0, 310}));
    EXPECT_EQ(ChartedValues(data, ChartType::Bar, value), (std::vector<double>{0, 0}));
    data.fields.clear();
    EXPECT_TRUE(ChartedValues(data, ChartType::Bar, value).empty());
}

}  // namespace
}  // namespace scorvane

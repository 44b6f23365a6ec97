#include "main/formula/column_formulas.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

const std::string kSum = "！公式：cell(?,2)+cell(?,3)";
const std::string kOther = "！公式：cell(?,2)*2";

TEST(ColumnFormulas, AFieldIsAColumnFormulaWhenEveryFilledRowHoldsTheSameFormula) {
    struct Case {
        const char* what;
        GradeTable table;
        std::string formula;  // column 4's
    };
    const Case cases[] = {
        {"every row",
         MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "1", "2", kSum}, {"乙", "3", "4", kSum}}), kSum},
        {"empty rows between do not count",
         MakeTable({"姓名", "语文", "数学", "总分"},
                   {{"甲", "1", "2", kSum}, {"", "", "", ""}, {"乙", "", "", kSum}}),
         kSum},
        {"a blank among formulas",
         MakeTable({"姓名", "语文", "数学", "总分"},
                   {{"甲", "1", "2", kSum}, {"乙", "3", "4", " "}, {"丙", "", "", kSum}}),
         ""},
        {"a typed total among formulas",
         MakeTable({"姓名", "语文", "数学", "总分"},
                   {{"甲", "1", "2", kSum}, {"乙", "3", "4", "7"}, {"丙", "", "", kSum}}),
         ""},
        {"one row without it",
         MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "1", "2", kSum}, {"乙", "3", "4", ""}}), ""},
        {"another formula",
         MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "1", "2", kSum}, {"乙", "3", "4", kOther}}), ""},
        {"缺考 in place of the formula",
         MakeTable({"姓名", "语文", "数学", "总分"},
                   {{"甲", "1", "2", kSum}, {"乙", "缺考", "缺考", "缺考"}, {"丙", "3", "4", kSum}}),
         kSum},
        {"notes only", MakeTable({"姓名", "语文", "数学", "总分"}, {{"乙", "缺考", "缺考", "缺考"}}), ""},
        {"as many notes as formulas",
         MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "1", "2", kSum}, {"乙", "", "", "转学"}}), ""},
        {"a typed total",
         MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "1", "2", kSum}, {"乙", "3", "4", "7"}}), ""},
        {"no filled row", MakeTable({"姓名", "语文", "数学", "总分"}, {{"", "", "", ""}}), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> formulas = ColumnFormulas(c.table);
        EXPECT_EQ(formulas, (Strings{"", "", "", "", c.formula}));
    }
}

TEST(ColumnFormulas, NewStudentsGetTheFormulaWhereTheirFieldIsBlank) {
    GradeTable t = MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "1", "2", kSum},
                                                                {"乙", "3", "4", ""},
                                                                {"丙", "5", "6", "11"},
                                                                {"", "", "", ""},
                                                                {"", "", "", " "},
                                                                {"丁", "", "", ""}});
    const Strings formulas{"", "", "", "", kSum};
    // Row 1 lies before the new rows; 丙 keeps the value it brought; rows 4 and 5 hold no student.
    EXPECT_EQ(FillColumnFormulas(t, formulas, 2, 99), 2);
    EXPECT_EQ(testing::Column(t, 4), (Strings{kSum, kSum, "11", "", " ", kSum}));
    // Nothing outside the data rows.
    EXPECT_EQ(FillColumnFormulas(t, formulas, -5, 0), 0);
}

}  // namespace
}  // namespace scorvane

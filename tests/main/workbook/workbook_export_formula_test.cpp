#include "main/workbook/workbook_export_formula.h"

#include <gtest/gtest.h>

#include "main/workbook/workbook_export_cell.h"
#include "main/formula/evaluator.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::MakeTable;

TEST(SpreadsheetFormula, SheetAddressesAndNumbers) {
    // Title on row 1, grid row r on row r + 2, grid column 0 (the row numbers) in A.
    EXPECT_EQ(SheetAddress(0, 0), "A2");
    EXPECT_EQ(SheetAddress(1, 3), "D3");
    EXPECT_EQ(SheetAddress(19999, 25), "Z20001");
    EXPECT_EQ(SheetAddress(1, 26), "AA3");
    EXPECT_EQ(SheetAddress(1, 52), "BA3");

    struct Case {
        const char* text;
        bool number;
        double value;
    } cases[] = {
        {"85", true, 85},
        {" 85 ", true, 85},
        {"-5", true, -5},
        {"85.50", true, 85.5},
        {"0", true, 0},
        {"0.25", true, 0.25},
        {"-0", true, 0},
        {"123456789012345", true, 123456789012345},
        {"007", false, 0},
        {"00", false, 0},
        {".5", false, 0},
        {"5.", false, 0},
        {"+5", false, 0},
        {"1e5", false, 0},
        {"", false, 0},
        {"  ", false, 0},
        {"1234567890123456", false, 0},
        {"八十", false, 0},
        {"85分", false, 0},
    };
    for (const Case& c : cases) {
        double value = -1;
        EXPECT_EQ(ReadSheetNumber(c.text, value), c.number) << c.text;
        if (c.number) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

// The formula of cell (1, 4) of a table whose row 1 holds 80 and 6 in columns 2 and 3.
SheetFormula translate(const std::string& formula, const std::string& b = "80", const std::string& c = "6",
                       const std::string& format = "###.##") {
    GradeTable t = MakeTable({"姓名", "语文", "数学", "结果"}, {{"甲", b, c, "！公式：" + formula}});
    t.dataFormat = format;
    return TranslateFormula(t, 1, 4);
}

TEST(SpreadsheetFormula, TranslatesWhatTheSpreadsheetComputesAlike) {
    struct Case {
        const char* formula;
        const char* sheet;
        const char* shown;
    } cases[] = {
        {"cell(?,2)+cell(?,3)", "ROUND(C3+D3,2)", "86"},
        {"(cell(1,2)+cell(1,3))/2", "ROUND((C3+D3)/2,2)", "43"},
        {"CELL(?,2) - cell(?,3) - 1", "ROUND(C3-D3-1,2)", "73"},
        {"cell(?,2)-(cell(?,3)-1)", "ROUND(C3-(D3-1),2)", "75"},
        {"cell(?,2)/cell(?,3)", "ROUND(C3/D3,2)", "13.33"},
        // Implicit multiplication; "^" binds tighter than "*" and takes a number or a bracket.
        {"2(cell(?,3)+1)", "ROUND(2*(D3+1),2)", "14"},
        {"2pi", "ROUND(2*3.14159265358979,2)", "6.28"},
        {"cell(?,3)^2*2", "ROUND(D3^2*2,2)", "72"},
        {"2^(cell(?,3)-4)", "ROUND(2^(D3-4),2)", "4"},
        // The leading minus negates everything up to its closing bracket.
        {"-cell(?,3)+1", "ROUND(-(D3+1),2)", "-7"},
        {"(-cell(?,3))+1", "ROUND(-D3+1,2)", "-5"},
        {"(-cell(?,3))^2", "ROUND((-D3)^2,2)", "36"},
        {"3*(-2)+1", "ROUND(3*-2+1,2)", "-5"},
        // Functions in degrees with the system's pi; a missing ")" at the end is supplied.
        {"sr(cell(?,3)+10)", "ROUND(SQRT(D3+10),2)", "4"},
        {"sin 30", "ROUND(SIN((30)*(3.14159265358979/180)),2)", ".5"},
        {"log(cell(?,2)", "ROUND(LN(C3)/LN(10),2)", "1.9"},
        {"e", "ROUND(EXP(1),2)", "2.72"},
        {"1.50+.5", "ROUND(1.5+0.5,2)", "2"},
    };
    for (const Case& c : cases) {
        SheetFormula f = translate(c.formula);
        EXPECT_EQ(f.shown, c.shown) << c.formula;
        EXPECT_EQ(f.formula.value_or("(none)"), c.sheet) << c.formula;
    }
    // Every function of the evaluator has a spreadsheet form.
    for (const char* fn : {"sr", "log", "ln", "sin", "cos", "tan", "sec", "csc", "cot", "hsn", "hcs", "htn",
                           "hsc", "hcc", "hct", "itn", "ict", "ihs"}) {
        EXPECT_TRUE(translate(std::string(fn) + "(cell(?,3)/2)").formula) << fn;
    }
    for (const char* fn : {"isn", "ics", "iht", "ihsc"}) {
        EXPECT_TRUE(translate(std::string(fn) + "(cell(?,3)/10)").formula) << fn;
    }
    for (const char* fn : {"isc", "icc", "ihc", "ihcc", "ihct"}) {
        EXPECT_TRUE(translate(std::string(fn) + "(cell(?,3)/2)").formula) << fn;
    }
}

TEST(SpreadsheetFormula, AFunctionWrittenAsAQuotientIsBracketedAfterADivisionOrAProduct) {
    // log, sec, csc, cot and the inverse hyperbolics are quotients in the sheet: 100/log(80) must not be
    // written 100/LN(80)/LN(10), which a spreadsheet reads as (100/LN(80))/LN(10).
    const std::string toRadians = "*(3.14159265358979/180)";
    const std::string toDegrees = "*(180/3.14159265358979)";
    struct Case {
        std::string formula, sheet, shown;
    };
    const std::vector<Case> cases = {
        {"100/log(cell(?,2))", "ROUND(100/(LN(C3)/LN(10)),2)", "52.55"},
        {"100*log(cell(?,2))", "ROUND(100*(LN(C3)/LN(10)),2)", "190.31"},
        {"100/sec(cell(?,2))", "ROUND(100/(1/COS((C3)" + toRadians + ")),2)", "17.36"},
        {"100/csc(cell(?,3))", "ROUND(100/(1/SIN((D3)" + toRadians + ")),2)", "10.45"},
        {"100/cot(cell(?,2))", "ROUND(100/(1/TAN((C3)" + toRadians + ")),2)", "567.13"},
        {"100*hsc(cell(?,3)/10)", "ROUND(100*(1/COSH((D3/10)" + toRadians + ")),2)", "99.99"},
        {"100/iht(cell(?,3)/10)", "ROUND(100/(LN((1+(D3/10))/(1-(D3/10)))/2" + toDegrees + "),2)", "2.52"},
        {"100/ihct(cell(?,3)/2)", "ROUND(100/(LN(((D3/2)+1)/((D3/2)-1))/2" + toDegrees + "),2)", "5.04"},
    };
    for (const Case& c : cases) {
        SheetFormula f = translate(c.formula);
        EXPECT_EQ(f.shown, c.shown) << c.formula;
        EXPECT_EQ(f.formula.value_or("(none)"), c.sheet) << c.formula;
    }
}

TEST(SpreadsheetFormula, WhatDoesNotComputeAlikeIsLeftAsItsValue) {
    struct Case {
        const char* formula;
        const char* b;
        const char* c;
        const char* shown;
    } cases[] = {
        // References are replaced as text: a negative value extends over the rest of the term.
        {"2*cell(?,3)+1", "80", "-5", "-12"},
        // Digits beside a reference join its value: "2" and "80" read 280.
        {"2cell(?,2)", "80", "6", "280"},
        {"cell(?,2)cell(?,3)", "8", "5", "85"},
        // A reference to text, a formula that fails, the previous result, the cell itself.
        {"cell(?,1)+1", "80", "6", "公式错误"},
        {"cell(?,2)/(cell(?,3)-6)", "80", "6", "公式错误"},
        {"ans+1", "80", "6", ""},
        {"cell(?,?)*2", "80", "6", "引用错误"},
        {"cell(?,2)+cell(5,2)", "80", "6", "公式错误"},
        {"2^3^2", "80", "6", "公式错误"},
        // A blank that is not empty reads 0 in the formula but would be text in the sheet.
        {"cell(?,2)+1", " ", "6", "1"},
        // A student number with its leading zero is text in the sheet.
        {"cell(?,2)+1", "007", "6", "8"},
    };
    for (const Case& c : cases) {
        ResetPreviousResult();
        SheetFormula f = translate(c.formula, c.b, c.c);
        EXPECT_FALSE(f.formula) << c.formula << " -> " << *f.formula;
        if (std::string(c.formula) != "ans+1") {
            EXPECT_EQ(f.shown, c.shown) << c.formula;
        }
    }
}

TEST(SpreadsheetFormula, EmptyReferencesAndTheDataFormat) {
    // An empty cell is 0 both in the formula and in the spreadsheet.
    SheetFormula f = translate("cell(?,2)+cell(?,3)", "80", "");
    EXPECT_EQ(f.formula.value_or(""), "ROUND(C3+D3,2)");
    EXPECT_EQ(f.shown, "80");
    // The result is rounded as the table shows it; a pattern that always shows its decimals gives the
    // spreadsheet the same number format.
    f = translate("cell(?,2)/cell(?,3)", "80", "6", "###.0");
    EXPECT_EQ(f.formula.value_or(""), "ROUND(C3/D3,1)");
    EXPECT_EQ(f.shown, "13.3");
    EXPECT_EQ(SheetFormulaFormat("###.0"), "0.0");
    EXPECT_EQ(SheetFormulaFormat("###.00"), "0.00");
    EXPECT_EQ(SheetFormulaFormat("###.##"), "");
    EXPECT_EQ(SheetFormulaFormat("###."), "");
    f = translate("cell(?,2)/cell(?,3)", "80", "6", "###.");
    EXPECT_EQ(f.formula.value_or(""), "ROUND(C3/D3,0)");
}

TEST(SpreadsheetFormula, CellsOfTheSheet) {
    GradeTable t =
        MakeTable({"姓名", "学号", "语文", "总分"}, {{"甲", "007", "85.5", "！公式：cell(?,3)*2"},
                                                     {"乙", "2024", "", "！公式：cell(?,3)*2"},
                                                     {"丙", "2025", "缺考", "！公式：cell(?,3)*2"},
                                                     {"丁", "2026", "0.25", "！公式：cell(?,3)+ans"}});
    auto kindOf = [&](int r, int c) { return SheetCellOf(t, r, c).kind; };
    using Kind = SheetCell::Kind;
    EXPECT_EQ(SheetCellOf(t, 0, 3).text, "语文");
    EXPECT_EQ(kindOf(0, 3), Kind::Text);
    EXPECT_EQ(SheetCellOf(t, 1, 0).number, 1);  // the row numbers
    EXPECT_EQ(kindOf(1, 1), Kind::Text);
    EXPECT_EQ(kindOf(1, 2), Kind::Text);  // 007
    EXPECT_EQ(SheetCellOf(t, 2, 2).number, 2024);
    EXPECT_EQ(SheetCellOf(t, 1, 3).number, 85.5);
    EXPECT_EQ(kindOf(2, 3), Kind::Blank);

    SheetCell total = SheetCellOf(t, 1, 4);
    EXPECT_EQ(total.kind, Kind::Formula);
    EXPECT_EQ(total.text, "ROUND(D3*2,2)");
    EXPECT_EQ(total.number, 171);
    total = SheetCellOf(t, 2, 4);  // shown as "" (0 in "###.##")
    EXPECT_EQ(total.kind, Kind::Formula);
    EXPECT_EQ(total.number, 0);
    total = SheetCellOf(t, 3, 4);  // a failing formula is its value, as text
    EXPECT_EQ(total.kind, Kind::Text);
    EXPECT_EQ(total.text, "公式错误");
    ResetPreviousResult();
    total = SheetCellOf(t, 4, 4);  // "ans" is written as what the table shows
    EXPECT_EQ(total.kind, Kind::Number);
    EXPECT_EQ(total.number, 0.25);
}

}  // namespace
}  // namespace scorvane

#include "main/formula/formula_cell.h"

#include <gtest/gtest.h>

#include "main/document/cell_value.h"
#include "main/formula/evaluator.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

std::string F(std::string_view formula) {
    return std::string(kFormulaMarker) + std::string(formula);
}

// Five students, fields 姓名 语文 数学 英语 总分 (grid columns 1..5).
class FormulaCellTest : public ::testing::Test {
  protected:
    std::string value(int r, int c, std::string_view formula) {
        t.setCell(r, c, F(formula));
        return 公式2值(t, r, c);
    }
    GradeTable t = testing::MakeTable({"姓名", "语文", "数学", "英语", "总分"}, {{"张三", "80", "90", "70"},
                                                                                 {"李四", "85.5", "", "   "},
                                                                                 {"王五", "2", "-5", "1"},
                                                                                 {"赵六", "60", "70", "80"},
                                                                                 {"钱七", "缺考", "1", "1"}});
};

TEST_F(FormulaCellTest, PlainCellsAndNonFormulasPassUnchanged) {
    EXPECT_EQ(公式2值(t, 1, 1), "张三");
    EXPECT_EQ(公式2值(t, 0, 2), "语文");
    t.setCell(1, 5, "！公式cell(1,2)");  // no full-width colon: plain text
    EXPECT_EQ(公式2值(t, 1, 5), "！公式cell(1,2)");
    t.setCell(1, 5, "(公式错误)" + F("cell(1,2)"));
    EXPECT_EQ(公式2值(t, 1, 5), "(公式错误)" + F("cell(1,2)"));
    EXPECT_EQ(公式2值(t, 99, 1), "");
    EXPECT_EQ(公式2值(t, 1, -1), "");
    EXPECT_FALSE(IsFormula("！公式"));
    EXPECT_TRUE(IsFormula(F("")));
}

TEST_F(FormulaCellTest, WildcardsReadTheFormulaCellsOwnRowAndColumn) {
    EXPECT_EQ(value(4, 5, "cell(?,2)+cell(?,3)"), "130");
    EXPECT_EQ(value(1, 5, "(cell(?,2)+cell(?,3)+cell(?,4))/3"), "80");
    EXPECT_EQ(value(5, 3, "cell(1,?)*2"), "180");
    EXPECT_EQ(value(3, 5, "CELL(?,2)*Cell(4,2)"), "120");
    EXPECT_EQ(value(1, 5, "cell( 1 , 2 )+cell(?, 3)"), "170");  // spaces around written numbers
    EXPECT_EQ(value(1, 5, "cell(1, ?)"), "公式错误");           // a wildcard is written exactly ",?)"
}

TEST_F(FormulaCellTest, SelfReference) {
    EXPECT_EQ(value(1, 5, "cell(?,?)*2"), "引用错误");
    EXPECT_EQ(value(1, 5, "2+CELL(?,?)"), "引用错误");
    // By number the cell reads its own formula text, which cannot be evaluated.
    EXPECT_EQ(value(1, 2, "cell(?,2)"), "公式错误");
    // Without the test (the formula editor's copy), "cell(?,?)" reads the target cell.
    EXPECT_EQ(FormulaValue(t, "cell(?,?)+1", 4, 2), "61");
}

TEST_F(FormulaCellTest, ReferencedTextIsInsertedRaw) {
    t.setCell(1, 5, F("cell(?,2)"));
    EXPECT_EQ(value(2, 5, "cell(1,5)+1"), "公式错误");  // another formula's text
    EXPECT_EQ(value(5, 5, "cell(?,2)+1"), "公式错误");  // "缺考+1"
    EXPECT_EQ(value(1, 5, "cell(0,2)"), "公式错误");    // the title "语文"
    // "2*-5+1": the leading minus negates "5+1"; in parentheses it stays with its value.
    EXPECT_EQ(value(3, 5, "cell(3,2)*cell(3,3)+1"), "-12");
    EXPECT_EQ(value(3, 5, "cell(3,2)*(cell(3,3))+1"), "-9");
}

TEST_F(FormulaCellTest, BlankCellsCountAsZero) {
    EXPECT_EQ(value(2, 5, "cell(?,2)+cell(?,3)+cell(?,4)"), "85.5");
    EXPECT_EQ(value(2, 5, "cell(?,4)+1"), "1");
    EXPECT_EQ(value(2, 5, "cell(?,3)"), "");  // 0 through "###.##"
}

TEST_F(FormulaCellTest, UnreadableAndOutOfRangeReferencesFail) {
    for (const char* bad : {"cell(6,2)", "cell(1,6)", "cell(1.5,2)", "cell(a,2)", "cell 1,2)", "cell(1,2",
                            "cell(1 2)", "cell(-1,2)", "cell()", "cell", "1+cell(99999999999,1)"}) {
        EXPECT_EQ(value(1, 5, bad), "公式错误") << bad;
    }
    EXPECT_EQ(value(5, 5, "cell(5,5)"), "公式错误");  // in range: itself, by number
    EXPECT_EQ(value(5, 5, "cell(5,4)"), "1");
}

TEST_F(FormulaCellTest, ExpansionStopsAtTheLengthTheEvaluatorScans) {
    // "1" and spaces: a number the evaluator reads, as long as a cell may make it.
    t.setCell(1, 2, "1" + std::string(16380, ' '));
    EXPECT_EQ(value(1, 5, "cell(?,2)+cell(?,2)"), "2");  // 32,763 characters: within the limit
    EXPECT_EQ(value(1, 5, "cell(?,2)+cell(?,2)+cell(?,2)"), "公式错误");
    EXPECT_EQ(value(1, 5, "cell(?,2)+cell(?,2)+" + std::string(5, ' ')),
              "公式错误");  // the formula's own rest

    // Thousands of references to a cell of 30,000 characters: the expansion gives up as soon as it
    // passes the limit instead of building the product of both lengths (about 100 MB here).
    t.setCell(1, 2, std::string(30000, '1'));
    std::string many = "cell(1,2)";
    while (many.size() < 30000) {
        many += "+cell(1,2)";
    }
    std::string expanded;
    EXPECT_FALSE(ExpandFormulaReferences(t, many, 1, 5, expanded));
    EXPECT_LE(expanded.capacity(), 2 * kMaxExpressionLength + 64);
    EXPECT_EQ(value(1, 5, many), "公式错误");
    ASSERT_TRUE(ExpandFormulaReferences(t, "cell(?,3)*2", 1, 5, expanded));
    EXPECT_EQ(expanded, "90*2");
}

TEST_F(FormulaCellTest, ResultsFollowTheDataFormat) {
    EXPECT_EQ(value(1, 5, "cell(?,2)/3"), "26.67");
    EXPECT_DOUBLE_EQ(PreviousResult(), 26.6666666666667);  // the unformatted 15-digit value
    t.dataFormat = "###.000";
    EXPECT_EQ(公式2值(t, 1, 5), "26.667");
    t.dataFormat = "###.##";
    EXPECT_EQ(value(1, 5, "1/2"), ".5");
    EXPECT_EQ(value(1, 5, "1-1"), "");
    EXPECT_EQ(value(1, 5, "1/0"), "公式错误");
}

TEST_F(FormulaCellTest, CellValueFunctionAndReferenceList) {
    t.setCell(4, 5, F("cell(?,2)+cell(?,3)"));
    CellValueFn values = FormulaValues(t);
    EXPECT_EQ(values(4, 5), "130");
    EXPECT_EQ(values(4, 1), "赵六");
    t.setCell(4, 2, "10");
    EXPECT_EQ(values(4, 5), "80");  // computed afresh, never cached

    std::vector<CellAddress> refs = FormulaReferences(t, "cell(?,2)+CELL(3,?)*cell(9,9)+cell(1,1)", 4, 5);
    EXPECT_EQ(refs, (std::vector<CellAddress>{{4, 2}, {3, 5}}));
}

}  // namespace
}  // namespace scorvane

// The formula editor and the formula help window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "main/formula/evaluator.h"
#include "main/formula/ui/formula_editor_dialog.h"
#include "main/formula/ui/formula_help_dialog.h"
#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;
const std::string kRefusal = "公式中不可以引用已经包含公式的单元格！";

class FormulaEditorTest : public testing::QtTest {
  protected:
    // 姓名 语文 数学 英语 总分 for three students; the first one's 总分 is a formula.
    FormulaEditorTest() : table(4, 6) {
        table.setHeaderLayout("  |姓名|语文|数学|英语|总分");
        const Strings rows[] = {{"甲", "80", "90", "70"}, {"乙", "2", "4", "6"}, {"丙", "60", "", "100"}};
        for (int r = 1; r <= 3; ++r) {
            for (int c = 1; c <= 4; ++c) {
                table.setCell(r, c, rows[r - 1][static_cast<size_t>(c - 1)]);
            }
        }
        table.setCell(1, 5, "！公式：cell(?,2)+cell(?,3)+cell(?,4)");
    }
    static void choose(FormulaEditorDialog& d, const char* operation) {
        d.operationBox()->setCurrentText(QString::fromUtf8(operation));
    }
    static std::string formula(FormulaEditorDialog& d) { return d.formulaEdit()->text().toStdString(); }
    static std::string value(FormulaEditorDialog& d) { return d.valueEdit()->text().toStdString(); }
    static QPoint at(FormulaEditorDialog& d, int row, int col) {
        return d.grid()->visualRect(d.grid()->model()->index(row - 1, col - 1)).center();
    }

    GradeTable table;
    testing::ScriptedPrompter prompter;
    testing::ScriptedDialogs dialogs;
};

TEST_F(FormulaEditorTest, SelectionsAndOperationsMakeTheFormulaAndItsValue) {
    table.setMark(2, 2, {MarkColour::Red, true});
    FormulaEditorDialog d(table, {2, 5}, prompter);
    EXPECT_EQ(d.targetEdit()->text(), "行:2列:5");
    EXPECT_EQ(d.operationBox()->currentText(), "求和");
    EXPECT_FALSE(d.okButton()->isEnabled());  // nothing to put into the cell yet
    EXPECT_EQ(d.tableCopy().mark(2, 2), CellMark{});
    EXPECT_EQ(d.grid()->currentIndex(), d.grid()->model()->index(1, 4));  // on the target

    // The target's row is written "?"; the value is the table's "###.##".
    d.selectCells({2, 2}, {2, 4});
    EXPECT_EQ(formula(d), "cell(?,2)+cell(?,3)+cell(?,4)");
    EXPECT_EQ(value(d), "12");
    EXPECT_TRUE(d.okButton()->isEnabled());
    choose(d, "求方差");
    EXPECT_EQ(value(d), "2.67");
    choose(d, "求标准差");
    d.selectCells({2, 2}, {2, 3});
    EXPECT_EQ(value(d), "1");

    // Other rows keep their numbers; a block selected from its bottom right is listed from there;
    // 求差 subtracts left to right, an empty cell being 0.
    choose(d, "求差");
    d.selectCells({3, 4}, {2, 2});
    EXPECT_EQ(formula(d), "cell(3,4)-cell(3,3)-cell(3,2)-cell(?,4)-cell(?,3)-cell(?,2)");
    EXPECT_EQ(value(d), "28");
    EXPECT_TRUE(prompter.calls().empty());

    // A block reaching row 1's 总分, a formula, is refused: told once, no value, no 确定.
    d.selectCells({1, 4}, {1, 5});
    EXPECT_EQ(formula(d), "cell(1,4)-cell(1,?)");
    EXPECT_EQ(prompter.messages(), Strings{kRefusal});
    EXPECT_EQ(value(d), "");
    EXPECT_FALSE(d.okButton()->isEnabled());

    // Typed formulas are checked at every key; a refusal is told once while the text stays refused.
    d.show();
    d.formulaEdit()->clear();
    QTest::keyClicks(d.formulaEdit(), "cell(?,4)*2+cell(?,1)");
    EXPECT_EQ(value(d), "公式错误");  // 乙 is no number, and may still be accepted
    EXPECT_TRUE(d.okButton()->isEnabled());
    QTest::keyClicks(d.formulaEdit(), "+cell(1,5)+100");
    EXPECT_FALSE(d.okButton()->isEnabled());
    EXPECT_EQ(prompter.messages(), (Strings{kRefusal, kRefusal}));
}

TEST_F(FormulaEditorTest, TheMouseAndTheKeysSelectFromWhereTheSelectionStarts) {
    FormulaEditorDialog d(table, {2, 5}, prompter);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QWidget* cells = d.grid()->viewport();

    // A drag from row 3's 英语 up to row 1's 语文, taken when the button is let go.
    QTest::mousePress(cells, Qt::LeftButton, {}, at(d, 3, 4));
    QTest::mouseMove(cells, at(d, 2, 3));
    QTest::mouseMove(cells, at(d, 1, 2));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, at(d, 1, 2));
    EXPECT_EQ(formula(d),
              "cell(3,4)+cell(3,3)+cell(3,2)+cell(?,4)+cell(?,3)+cell(?,2)+cell(1,4)+cell(1,3)+cell(1,2)");
    EXPECT_EQ(value(d), "412");

    // A title selects its column from the top, a row number its row from the left.
    QHeaderView* titles = d.grid()->horizontalHeader();
    QTest::mouseClick(
        titles->viewport(), Qt::LeftButton, {},
        {titles->sectionViewportPosition(2) + titles->sectionSize(2) / 2, titles->height() / 2});
    EXPECT_EQ(formula(d), "cell(1,3)+cell(?,3)+cell(3,3)");
    QHeaderView* numbers = d.grid()->verticalHeader();
    QTest::mouseClick(
        numbers->viewport(), Qt::LeftButton, {},
        {numbers->width() / 2, numbers->sectionViewportPosition(2) + numbers->sectionSize(2) / 2});
    EXPECT_EQ(formula(d), "cell(3,1)+cell(3,2)+cell(3,3)+cell(3,4)+cell(3,?)");

    // Shift and the arrows extend from the cell clicked.
    QTest::mouseClick(cells, Qt::LeftButton, {}, at(d, 3, 4));
    QTest::keyClick(d.grid(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(d.grid(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(formula(d), "cell(3,4)+cell(3,3)+cell(?,4)+cell(?,3)");
    QTest::keyClick(d.grid(), Qt::Key_Down);
    EXPECT_EQ(formula(d), "cell(3,3)");

    // A drag over row 1's 总分 is refused once, when the button is let go.
    QTest::mousePress(cells, Qt::LeftButton, {}, at(d, 2, 5));
    QTest::mouseMove(cells, at(d, 1, 5));
    QTest::mouseMove(cells, at(d, 1, 4));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, at(d, 1, 4));
    EXPECT_EQ(formula(d), "cell(?,?)+cell(?,4)+cell(1,?)+cell(1,4)");
    EXPECT_EQ(prompter.messages(), Strings{kRefusal});
}

TEST_F(FormulaEditorTest, OkHandsTheMarkedFormulaToTheBarAndClosingHandsNothing) {
    dialogs.then([](QDialog& d) {
        auto& editor = static_cast<FormulaEditorDialog&>(d);
        choose(editor, "求平均");
        editor.selectCells({3, 2}, {3, 4});
        editor.okButton()->click();
    });
    EXPECT_EQ(RunFormulaEditor(table, {3, 5}, prompter, dialogs, nullptr),
              "！公式：(cell(?,2)+cell(?,3)+cell(?,4))/3");
    dialogs.then([](QDialog& d) {
        static_cast<FormulaEditorDialog&>(d).selectCells({3, 2}, {3, 4});
        static_cast<FormulaEditorDialog&>(d).cancelButton()->click();
    });
    EXPECT_EQ(RunFormulaEditor(table, {3, 5}, prompter, dialogs, nullptr), std::nullopt);
    // A refused formula is not accepted, not even by Enter.
    dialogs.then([](QDialog& d) {
        static_cast<FormulaEditorDialog&>(d).selectCells({1, 5}, {1, 5});
        QTest::keyClick(static_cast<FormulaEditorDialog&>(d).formulaEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(RunFormulaEditor(table, {3, 5}, prompter, dialogs, nullptr), std::nullopt);
    EXPECT_TRUE(dialogs.exhausted());
}

TEST(FormulaHelpTest, TheCalculatorComputesAndChangesAns) {
    testing::EnsureQtApplication();
    ResetPreviousResult();
    FormulaHelpDialog d;
    d.computeButton()->click();  // on its example
    EXPECT_EQ(d.resultEdit()->text(), "5.25");
    EXPECT_EQ(EvaluateExpression("ans*2"), "10.5");  // formulas read it as "ans"
    d.expressionEdit()->setText("ans+1");
    d.computeButton()->click();
    EXPECT_EQ(d.resultEdit()->text(), "11.5");
    // A failed calculation shows the error and leaves ans alone.
    d.expressionEdit()->setText("2+*");
    d.computeButton()->click();
    EXPECT_EQ(d.resultEdit()->text(), "公式错误");
    EXPECT_EQ(PreviousResult(), 11.5);
    ResetPreviousResult();
}

}  // namespace
}  // namespace scorvane

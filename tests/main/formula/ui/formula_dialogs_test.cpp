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

using testing::ScriptedDialogs;
using testing::ScriptedPrompter;
using Strings = std::vector<std::string>;

constexpr char kRefusal[] = "公式中不可以引用已经包含公式的单元格！";

// 姓名 语文 数学 英语 总分 for three students; the first one's 总分 is a formula.
GradeTable Scores() {
    GradeTable t(4, 6);
    t.setHeaderLayout("  |姓名|语文|数学|英语|总分");
    const Strings rows[] = {{"甲", "80", "90", "70"}, {"乙", "2", "4", "6"}, {"丙", "60", "", "100"}};
    for (int r = 1; r <= 3; ++r) {
        t.setCell(r, 0, std::to_string(r));
        for (int c = 1; c <= 4; ++c) {
            t.setCell(r, c, rows[r - 1][static_cast<size_t>(c - 1)]);
        }
    }
    t.setCell(1, 5, "！公式：cell(?,2)+cell(?,3)+cell(?,4)");
    return t;
}

class FormulaEditorTest : public testing::QtTest {
  protected:
    FormulaEditorTest() : table(Scores()) {}

    static void choose(FormulaEditorDialog& d, const char* operation) {
        d.operationBox()->setCurrentIndex(d.operationBox()->findText(QString::fromUtf8(operation)));
    }
    static std::string text(QLineEdit* box) { return box->text().toStdString(); }
    QPoint cellCentre(FormulaEditorDialog& d, int row, int col) {
        return d.grid()->visualRect(d.grid()->model()->index(row - 1, col - 1)).center();
    }

    GradeTable table;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
};

TEST_F(FormulaEditorTest, OpensOnACopyWithTheTargetShownAndNothingToAccept) {
    table.setMark(2, 2, {MarkColour::Red, true});
    FormulaEditorDialog d(table, {3, 5}, prompter);
    EXPECT_EQ(d.objectName(), "frm公式编辑");
    EXPECT_EQ(d.windowTitle(), "公式编辑器");
    EXPECT_EQ(d.grid()->objectName(), "MSFlexGrid1");
    EXPECT_EQ(text(d.targetEdit()), "行:3列:5");
    EXPECT_EQ(d.operationBox()->count(), 6);
    EXPECT_EQ(d.operationBox()->currentText(), "求和");
    EXPECT_TRUE(text(d.formulaEdit()).empty());
    EXPECT_FALSE(d.okButton()->isEnabled());  // an empty formula is nothing to put into the cell
    // The grid shows the copy: titles as headers, every cell text, no find marks.
    EXPECT_EQ(d.grid()->model()->headerData(4, Qt::Horizontal).toString(), "总分");
    EXPECT_EQ(d.grid()->model()->index(0, 4).data().toString(), "！公式：cell(?,2)+cell(?,3)+cell(?,4)");
    EXPECT_EQ(d.tableCopy().mark(2, 2), CellMark{});
    EXPECT_TRUE(d.grid()->selectionModel()->selection().isEmpty());
    EXPECT_EQ(d.grid()->currentIndex(), d.grid()->model()->index(2, 4));
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(FormulaEditorTest, SelectionsAndOperationsMakeTheFormulaAndItsValue) {
    FormulaEditorDialog d(table, {2, 5}, prompter);

    // The target's own row is written "?", so the formula fits every row of the column.
    d.selectCells({2, 2}, {2, 4});
    EXPECT_EQ(text(d.formulaEdit()), "cell(?,2)+cell(?,3)+cell(?,4)");
    EXPECT_EQ(text(d.valueEdit()), "12");
    EXPECT_TRUE(d.okButton()->isEnabled());
    choose(d, "求平均");
    EXPECT_EQ(text(d.formulaEdit()), "(cell(?,2)+cell(?,3)+cell(?,4))/3");
    EXPECT_EQ(text(d.valueEdit()), "4");
    choose(d, "求乘积");
    EXPECT_EQ(text(d.valueEdit()), "48");
    choose(d, "求方差");
    EXPECT_EQ(text(d.formulaEdit()),
              "(1/3)*(cell(?,2)^2+cell(?,3)^2+cell(?,4)^2-3*((cell(?,2)+cell(?,3)+cell(?,4))/3)^2)");
    EXPECT_EQ(text(d.valueEdit()), "2.67");  // in the table's "###.##"

    // 求标准差 of 2 and 4 is 1.
    choose(d, "求标准差");
    d.selectCells({2, 2}, {2, 3});
    EXPECT_EQ(text(d.valueEdit()), "1");

    // Cells of another row keep their row number; a block selected from its bottom right lists its
    // cells from there, row by row; 求差 subtracts from left to right.
    choose(d, "求差");
    d.selectCells({3, 4}, {2, 2});
    EXPECT_EQ(text(d.formulaEdit()), "cell(3,4)-cell(3,3)-cell(3,2)-cell(?,4)-cell(?,3)-cell(?,2)");
    EXPECT_EQ(text(d.valueEdit()), "28");  // 100-0-60-6-4-2: an empty cell counts as 0

    // The target's column is written "?" as well; a block holding the target itself gives cell(?,?),
    // which the editor evaluates (the table later refuses it).
    choose(d, "求和");
    d.selectCells({3, 5}, {3, 5});
    EXPECT_EQ(text(d.formulaEdit()), "cell(3,?)");
    EXPECT_EQ(text(d.valueEdit()), "");  // the empty 总分 of row 3: 0 shows as nothing in "###.##"
    EXPECT_EQ(d.公式2值b("cell(?,2)*10"), "20");
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(FormulaEditorTest, FormulaCellsAreRefusedAndATypedFormulaIsCheckedToo) {
    FormulaEditorDialog d(table, {2, 5}, prompter);
    d.selectCells({2, 2}, {2, 3});
    EXPECT_EQ(text(d.valueEdit()), "6");

    // The block reaches row 1's 总分, a formula: the message, and 确定 disabled.
    d.selectCells({1, 4}, {1, 5});
    EXPECT_EQ(text(d.formulaEdit()), "cell(1,4)+cell(1,?)");
    EXPECT_EQ(prompter.messages(), Strings{kRefusal});
    EXPECT_EQ(prompter.last().icon, Icon::Information);
    EXPECT_FALSE(d.okButton()->isEnabled());

    // Typing in the box: every change is checked; a value that cannot be computed is shown and may
    // still be accepted.
    d.show();
    d.formulaEdit()->clear();
    d.formulaEdit()->setFocus();
    QTest::keyClicks(d.formulaEdit(), "cell(?,4)*2");
    EXPECT_EQ(text(d.valueEdit()), "12");
    EXPECT_TRUE(d.okButton()->isEnabled());
    QTest::keyClicks(d.formulaEdit(), "+cell(?,1)");
    EXPECT_EQ(text(d.valueEdit()), "公式错误");  // 乙 is no number
    EXPECT_TRUE(d.okButton()->isEnabled());
    EXPECT_EQ(prompter.messages().size(), 1u);
}

TEST_F(FormulaEditorTest, TheMouseSelectsByDragAndByHeader) {
    FormulaEditorDialog d(table, {2, 5}, prompter);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QWidget* cells = d.grid()->viewport();

    // A drag from 英语 of row 3 to 语文 of row 1 passes over nothing but marks.
    QTest::mousePress(cells, Qt::LeftButton, {}, cellCentre(d, 3, 4));
    QTest::mouseMove(cells, cellCentre(d, 2, 3));
    QTest::mouseMove(cells, cellCentre(d, 1, 2));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, cellCentre(d, 1, 2));
    EXPECT_EQ(text(d.formulaEdit()),
              "cell(3,4)+cell(3,3)+cell(3,2)+cell(?,4)+cell(?,3)+cell(?,2)+cell(1,4)+cell(1,3)+cell(1,2)");
    EXPECT_EQ(text(d.valueEdit()), "412");

    // A click on a title selects the whole column, listed from the top; a click on a row number the
    // whole row, from the left.
    QHeaderView* titles = d.grid()->horizontalHeader();
    QTest::mouseClick(
        titles->viewport(), Qt::LeftButton, {},
        QPoint(titles->sectionViewportPosition(2) + titles->sectionSize(2) / 2, titles->height() / 2));
    EXPECT_EQ(text(d.formulaEdit()), "cell(1,3)+cell(?,3)+cell(3,3)");
    EXPECT_EQ(text(d.valueEdit()), "94");
    QHeaderView* numbers = d.grid()->verticalHeader();
    choose(d, "求差");
    QTest::mouseClick(
        numbers->viewport(), Qt::LeftButton, {},
        QPoint(numbers->width() / 2, numbers->sectionViewportPosition(2) + numbers->sectionSize(2) / 2));
    EXPECT_EQ(text(d.formulaEdit()), "cell(3,1)-cell(3,2)-cell(3,3)-cell(3,4)-cell(3,?)");
    EXPECT_EQ(text(d.valueEdit()), "公式错误");  // 丙 is no number
    choose(d, "求和");

    // Shift and the arrows extend the block from the cell clicked.
    QTest::mouseClick(cells, Qt::LeftButton, {}, cellCentre(d, 3, 4));
    EXPECT_EQ(text(d.formulaEdit()), "cell(3,4)");
    QTest::keyClick(d.grid(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(d.grid(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(text(d.formulaEdit()), "cell(3,4)+cell(3,3)+cell(?,4)+cell(?,3)");
    QTest::keyClick(d.grid(), Qt::Key_Down);
    EXPECT_EQ(text(d.formulaEdit()), "cell(3,3)");

    // A drag over 总分 of row 1 is refused once, when the button is let go.
    QTest::mousePress(cells, Qt::LeftButton, {}, cellCentre(d, 2, 5));
    QTest::mouseMove(cells, cellCentre(d, 1, 5));
    QTest::mouseMove(cells, cellCentre(d, 1, 4));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, cellCentre(d, 1, 4));
    EXPECT_EQ(text(d.formulaEdit()), "cell(?,?)+cell(?,4)+cell(1,?)+cell(1,4)");
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
        auto& editor = static_cast<FormulaEditorDialog&>(d);
        editor.selectCells({3, 2}, {3, 4});
        editor.cancelButton()->click();
    });
    EXPECT_EQ(RunFormulaEditor(table, {3, 5}, prompter, dialogs, nullptr), std::nullopt);

    // A refused formula cannot be accepted, not even by Enter.
    dialogs.then([](QDialog& d) {
        auto& editor = static_cast<FormulaEditorDialog&>(d);
        editor.selectCells({1, 5}, {1, 5});
        QTest::keyClick(editor.formulaEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(RunFormulaEditor(table, {3, 5}, prompter, dialogs, nullptr), std::nullopt);
    EXPECT_TRUE(dialogs.exhausted());
    // The table itself is never touched.
    EXPECT_EQ(table.cell(3, 5), "");
}

TEST(FormulaHelpTest, TheCalculatorComputesAndChangesAns) {
    testing::EnsureQtApplication();
    ResetPreviousResult();
    FormulaHelpDialog d;
    EXPECT_EQ(d.objectName(), "frm公式说明");
    EXPECT_EQ(d.windowTitle(), "公式说明");
    EXPECT_EQ(d.expressionEdit()->text(), "2*3-5+(2^3-5/(6-2))-3+sin(30)");

    d.computeButton()->click();
    EXPECT_EQ(d.resultEdit()->text(), "5.25");
    // Formulas read the calculator's result as "ans".
    EXPECT_EQ(EvaluateExpression("ans*2"), "10.5");

    d.expressionEdit()->setText("ans+1");
    d.computeButton()->click();
    EXPECT_EQ(d.resultEdit()->text(), "11.5");
    // A failed calculation shows the error and leaves ans alone.
    d.expressionEdit()->setText("2+*");
    d.computeButton()->click();
    EXPECT_EQ(d.resultEdit()->text(), "公式错误");
    EXPECT_EQ(PreviousResult(), 11.5);

    ScriptedDialogs dialogs;
    dialogs.then([](QDialog& shown) { static_cast<FormulaHelpDialog&>(shown).closeButton()->click(); });
    RunFormulaHelp(dialogs, nullptr);
    EXPECT_EQ(dialogs.shown(), Strings{"frm公式说明"});
    ResetPreviousResult();
}

}  // namespace
}  // namespace scorvane

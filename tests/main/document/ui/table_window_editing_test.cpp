#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include "main/document/ui/grade_table_model.h"
#include "table_window_fixture.h"

namespace scorvane {
namespace {

using testing::TableWindowTest;

class CellEditingTest : public TableWindowTest {
  protected:
    void SetUp() override { load(); }

    const GradeTable& table() const { return window->document().table; }
    QLineEdit* editor() const { return window->cellEditor(); }
    QTableView* grid() const { return window->grid(); }

    // Keys go where the user's keys go: to the widget that holds the focus.
    QWidget* focused() const { return QApplication::focusWidget(); }
    void type(const QString& text) {
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(focused(), c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
    void press(Qt::Key key) { QTest::keyClick(focused(), key); }

    QPoint cellCentre(int row, int col) const {
        return grid()->visualRect(window->model().indexOf(row, col)).center();
    }
};

TEST_F(CellEditingTest, ALetterOpensTheEditorExactlyOverTheCellAndEscKeepsTheOldText) {
    window->setCurrentCell(2, 2);  // "62"
    type("a");
    ASSERT_TRUE(window->editing());
    EXPECT_EQ(editor()->text(), "a");
    EXPECT_EQ(focused(), editor());
    EXPECT_EQ(window->valueBox()->text(), "a");
    // Over the inside of the cell, the grid lines around it left standing.
    const QRect cell = grid()->visualRect(window->model().indexOf(2, 2));
    EXPECT_EQ(QRect(editor()->mapTo(window.get(), QPoint(0, 0)), editor()->size()),
              QRect(grid()->viewport()->mapTo(window.get(), cell.topLeft()), cell.size() - QSize(1, 1)));

    press(Qt::Key_Escape);
    EXPECT_FALSE(window->editing());
    EXPECT_EQ(table().cell(2, 2), "62");
    EXPECT_EQ(window->valueBox()->text(), "62");
    EXPECT_EQ(focused(), grid());

    // The space bar and Enter open it on the cell's own text, "." opens it holding "."; Esc and Tab
    // on the grid open nothing.
    press(Qt::Key_Space);
    EXPECT_EQ(editor()->text(), "62");
    EXPECT_EQ(editor()->cursorPosition(), 2);
    press(Qt::Key_Escape);
    press(Qt::Key_Return);
    EXPECT_EQ(editor()->text(), "62");
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    EXPECT_FALSE(window->editing());
    type(".5");
    press(Qt::Key_Return);
    EXPECT_EQ(table().cell(2, 2), ".5");
}

TEST_F(CellEditingTest, KeysTypedQuicklyAllLandAndEnterCommitsAndMovesAsTheDirectionButtonsSay) {
    window->setCurrentCell(1, 2);
    // Every key is queued before any is handled, as when a teacher types fast; each goes to the widget
    // that holds the focus when its turn comes, as the window system delivers keys.
    for (int key : {int(Qt::Key_9), int(Qt::Key_7), int(Qt::Key_Return)}) {
        QMetaObject::invokeMethod(
            qApp, [key] { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); },
            Qt::QueuedConnection);
    }
    QApplication::processEvents();
    EXPECT_EQ(table().cell(1, 2), "97");
    EXPECT_EQ(window->currentRow(), 1);
    EXPECT_EQ(window->currentCol(), 3);
    EXPECT_TRUE(window->document().modified());

    // Along the row: from the last column to column 1 of the next row, from the last cell to (1, 1).
    window->setCurrentCell(2, 3);
    type("8");
    press(Qt::Key_Enter);
    EXPECT_EQ(table().cell(2, 3), "8");
    EXPECT_EQ(window->positionBox()->text(), "行:3列:1");
    window->setCurrentCell(5, 3);
    type("1");
    press(Qt::Key_Return);
    EXPECT_EQ(window->positionBox()->text(), "行:1列:1");

    // Down the column: from the last row to row 1 of the next column; in the last column to its row 1.
    host.direction = EnterDirection::DownColumn;
    window->setCurrentCell(4, 2);
    type("2");
    press(Qt::Key_Return);
    EXPECT_EQ(window->positionBox()->text(), "行:5列:2");
    type("3");
    press(Qt::Key_Return);
    EXPECT_EQ(table().cell(5, 2), "3");
    EXPECT_EQ(window->positionBox()->text(), "行:1列:3");
    window->setCurrentCell(5, 3);
    type("4");
    press(Qt::Key_Return);
    EXPECT_EQ(table().cell(5, 3), "4");
    EXPECT_EQ(window->positionBox()->text(), "行:1列:3");
    EXPECT_FALSE(window->editing());
}

TEST_F(CellEditingTest, EnterWritesTheEntryEvenWhereTheCursorCannotMove) {
    // One student, one field.
    GradeTable& t = window->document().table;
    t.resize(2, 2);
    t.setHeaderLayout("  |姓名");
    window->tableReset();
    host.direction = EnterDirection::DownColumn;
    window->setCurrentCell(1, 1);
    type("z");
    press(Qt::Key_Return);
    EXPECT_EQ(table().cell(1, 1), "z");
    EXPECT_FALSE(window->editing());
}

TEST_F(CellEditingTest, UpAndDownMoveOneRowAndAtTheEdgesOnlyGiveTheFocusBack) {
    window->setCurrentCell(3, 1);
    type("x");
    press(Qt::Key_Up);
    EXPECT_EQ(table().cell(3, 1), "x");
    EXPECT_EQ(window->currentRow(), 2);
    type("y");
    press(Qt::Key_Down);
    EXPECT_EQ(table().cell(2, 1), "y");
    EXPECT_EQ(window->currentRow(), 3);

    window->setCurrentCell(1, 2);
    type("u");
    press(Qt::Key_Up);
    EXPECT_EQ(window->currentRow(), 1);
    EXPECT_EQ(focused(), grid());
    EXPECT_EQ(table().cell(1, 2), "61");  // written once the cursor leaves the cell
    window->setCurrentCell(5, 2);
    EXPECT_EQ(table().cell(1, 2), "u");
    type("d");
    press(Qt::Key_Down);
    EXPECT_EQ(window->currentRow(), 5);
    EXPECT_EQ(focused(), grid());
    // A click on another cell writes it too.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(2, 3));
    EXPECT_EQ(table().cell(5, 2), "d");
    EXPECT_EQ(window->positionBox()->text(), "行:2列:3");
}

TEST_F(CellEditingTest, DoubleClickOpensTheEditorOnACellButNotOnTheTitlesOrTheRowNumbers) {
    // A double-click arrives as a click followed by the double-click event.
    auto doubleClick = [](QWidget* w, QPoint pos) {
        QTest::mouseClick(w, Qt::LeftButton, {}, pos);
        QTest::mouseDClick(w, Qt::LeftButton, {}, pos);
    };
    doubleClick(grid()->horizontalHeader(), QPoint(10, 5));
    doubleClick(grid()->verticalHeader(), QPoint(5, 30));
    EXPECT_FALSE(window->editing());
    doubleClick(grid()->viewport(), cellCentre(4, 1));
    ASSERT_TRUE(window->editing());
    EXPECT_EQ(window->editorCell(), (CellPosition{4, 1}));
    EXPECT_EQ(editor()->text(), "学生4");
}

TEST_F(CellEditingTest, TypingAfterALoadFillsTheFirstFieldAndAChineseEntryArrivesWhole) {
    EXPECT_EQ(window->currentCol(), 0);
    grid()->setFocus();
    EXPECT_EQ(window->currentCol(), 0);  // the grid taking the focus does not move the cursor
    EXPECT_TRUE(grid()->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent chinese;
    chinese.setCommitString(QStringLiteral("张三"));
    QCoreApplication::sendEvent(grid(), &chinese);
    ASSERT_TRUE(window->editing());
    EXPECT_EQ(window->editorCell(), (CellPosition{1, 1}));
    EXPECT_EQ(editor()->text(), "张三");
    type("A");
    press(Qt::Key_Return);
    EXPECT_EQ(table().cell(1, 1), "张三A");
}

TEST_F(CellEditingTest, EveryOpeningReplacesTheSnapshotAndUndoWaitsWhileTheEditorHasTheFocus) {
    QAction* undo = window->action("menuUndo");
    window->setCurrentCell(1, 2);
    QApplication::clipboard()->setText("99");
    window->paste();
    EXPECT_TRUE(undo->isEnabled());

    window->setCurrentCell(2, 2);
    type("5");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(window->undoAvailable());
    // Cancelled, and still the opening replaced the snapshot: Undo goes back to the pasted "99".
    press(Qt::Key_Escape);
    EXPECT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(table().cell(1, 2), "99");
    EXPECT_FALSE(undo->isEnabled());

    // Undo after an entry takes the entry back.
    type("7");
    press(Qt::Key_Return);
    EXPECT_EQ(table().cell(2, 2), "7");
    undo->trigger();
    EXPECT_EQ(table().cell(2, 2), "62");
    EXPECT_EQ(grid()->model()->index(1, 1).data().toString(), "62");
}

TEST_F(CellEditingTest, TheEditMenuActsOnTheEditorsTextWhileItHasTheFocusAndDeleteEmptiesTheSelection) {
    window->setCurrentCell(3, 1);
    press(Qt::Key_Space);
    editor()->setSelection(0, 2);  // "学生"
    window->action("menuCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "学生");
    window->action("menuDel")->trigger();
    EXPECT_EQ(editor()->text(), "3");
    EXPECT_EQ(table().cell(3, 1), "学生3");
    press(Qt::Key_Escape);

    // On the grid the Delete key reaches the Delete command: the whole selection, made upward.
    window->setSelection({4, 3, 3, 2});
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_FALSE(window->editing());
    EXPECT_EQ(table().cell(3, 2) + table().cell(3, 3) + table().cell(4, 2) + table().cell(4, 3), "");
    EXPECT_EQ(table().cell(2, 2), "62");
}

TEST_F(CellEditingTest, CommandsWriteAnOpenEntryFirst) {
    window->setCurrentCell(2, 1);
    type("新");
    grid()->setFocus();  // the editor stays open over its cell
    ASSERT_TRUE(window->editing());
    host.prompts.type("备注");
    window->action("menuIstLei")->trigger();  // a new first field: the entry stays with its student
    EXPECT_FALSE(window->editing());
    EXPECT_EQ(table().cell(2, 2), "新");
    EXPECT_EQ(table().cell(0, 1), "备注");
}

TEST_F(CellEditingTest, TheEditorFollowsItsCellWhenTheGridScrolls) {
    window->document().table.resize(200, 4);
    window->document().table.renumber();
    window->tableReset();
    window->setCurrentCell(3, 2);
    type("1");
    const QPoint before = editor()->pos();
    grid()->verticalScrollBar()->setValue(2);
    EXPECT_EQ(editor()->geometry(), grid()->visualRect(window->model().indexOf(3, 2)).adjusted(0, 0, -1, -1));
    EXPECT_NE(editor()->pos(), before);
}

// ---- the formula bar

class FormulaBarTest : public CellEditingTest {
  protected:
    void SetUp() override {
        load();
        window->document().table.setCell(2, 3, "！公式：cell(?,2)+10");  // 62 + 10
        window->tableReset();
    }
    QCheckBox* tick() const { return window->formulaCheck(); }
    QLabel* value() const { return window->valueLabel(); }
};

TEST_F(FormulaBarTest, TheBoxAndTheValueLabelFollowTheCursorWithoutWritingAnything) {
    window->setCurrentCell(2, 2);
    EXPECT_FALSE(tick()->isChecked());
    EXPECT_FALSE(value()->isEnabled());
    EXPECT_EQ(value()->text(), "非公式单元格");
    window->setCurrentCell(2, 3);
    EXPECT_TRUE(tick()->isChecked());
    EXPECT_TRUE(value()->isEnabled());
    EXPECT_EQ(value()->text(), "=72");
    window->setCurrentCell(3, 3);
    // Passing between plain and formula cells neither marks the table changed nor takes a snapshot.
    EXPECT_FALSE(window->document().modified());
    EXPECT_FALSE(window->undoAvailable());
    // The row numbers take no text from the bar.
    window->setCurrentCell(3, 0);
    EXPECT_TRUE(window->valueBox()->isReadOnly());
    EXPECT_FALSE(tick()->isEnabled());
}

TEST_F(FormulaBarTest, EnterInTheBarTakesTheSnapshotAndWritesTheCellAndTheOpenEditor) {
    window->setCurrentCell(4, 2);
    window->valueBox()->setFocus();
    window->valueBox()->selectAll();
    QTest::keyClicks(window->valueBox(), "88");
    EXPECT_TRUE(window->document().modified());
    EXPECT_EQ(table().cell(4, 2), "64");  // waits for Enter
    QTest::keyClick(window->valueBox(), Qt::Key_Return);
    EXPECT_EQ(table().cell(4, 2), "88");
    EXPECT_EQ(grid()->model()->index(3, 1).data().toString(), "88");
    EXPECT_TRUE(window->action("menuUndo")->isEnabled());
    window->undo();
    EXPECT_EQ(table().cell(4, 2), "64");

    // With the editor open over the cell, Enter in the bar gives the editor the same text.
    window->setCurrentCell(4, 2);
    grid()->setFocus();
    type("1");
    window->valueBox()->setFocus();
    window->valueBox()->setText("77");
    QTest::keyClick(window->valueBox(), Qt::Key_Return);
    EXPECT_EQ(editor()->text(), "77");
    EXPECT_EQ(table().cell(4, 2), "77");
}

TEST_F(FormulaBarTest, TickingOrTypingTheMarkerMakesAFormulaAtOnce) {
    window->setCurrentCell(1, 3);
    window->valueBox()->setFocus();
    window->valueBox()->setText("cell(?,2)*2");
    EXPECT_EQ(table().cell(1, 3), "71");
    QTest::mouseClick(tick(), Qt::LeftButton);
    EXPECT_EQ(table().cell(1, 3), "！公式：cell(?,2)*2");
    EXPECT_EQ(window->valueBox()->text(), "！公式：cell(?,2)*2");
    EXPECT_EQ(value()->text(), "=122");
    EXPECT_TRUE(window->undoAvailable());
    // Unticking takes the marker off and writes the plain text.
    QTest::mouseClick(tick(), Qt::LeftButton);
    EXPECT_EQ(table().cell(1, 3), "cell(?,2)*2");
    EXPECT_EQ(value()->text(), "非公式单元格");

    // Typing the marker's last character turns the bar's text into a formula: written at once.
    window->setCurrentCell(5, 3);
    window->valueBox()->setFocus();
    window->valueBox()->setText(QStringLiteral("！公式"));
    type(QStringLiteral("："));
    EXPECT_EQ(table().cell(5, 3), "！公式：");
    EXPECT_TRUE(tick()->isChecked());
}

TEST_F(FormulaBarTest, AFormulaPutIntoTheBarIsWrittenOnlyWhenTheCellHeldNone) {
    window->setCurrentCell(3, 3);
    window->setFormulaBarText(QStringLiteral("！公式：cell(?,2)/3"));
    EXPECT_EQ(table().cell(3, 3), "！公式：cell(?,2)/3");
    EXPECT_EQ(value()->text(), "=21");
    window->setCurrentCell(2, 3);
    window->setFormulaBarText(QStringLiteral("！公式：cell(?,2)"));
    EXPECT_EQ(table().cell(2, 3), "！公式：cell(?,2)+10");  // waits for Enter
    window->commitFormulaBar();
    EXPECT_EQ(table().cell(2, 3), "！公式：cell(?,2)");
}

// ---- the context menu

TEST_F(FormulaBarTest, TheRightButtonMakesTheCellCurrentAndOffersTheColumnFormulaOnlyForFormulas) {
    QMenu* menu = window->contextMenu();
    EXPECT_EQ(menu->objectName(), "menuPop1");
    QStringList items;
    for (QAction* a : menu->actions()) {
        items << a->text();
    }
    EXPECT_EQ(items, (QStringList{"编辑选中单元格(&E)", "从CS&V文件导入到该列", "设置该公式为本列公式(&S)"}));
    QAction* applyToColumn = window->findChild<QAction*>("menuSetGStoLine");

    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cellCentre(4, 2));
    EXPECT_EQ(window->positionBox()->text(), "行:4列:2");
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(applyToColumn->isEnabled());
    menu->hide();
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cellCentre(2, 3));
    EXPECT_TRUE(applyToColumn->isEnabled());
    menu->hide();

    // The formula into every row of its column, after the question.
    host.prompts.answer(Answer::No).answer(Answer::Yes);
    applyToColumn->trigger();
    EXPECT_EQ(table().cell(1, 3), "71");
    applyToColumn->trigger();
    EXPECT_EQ(host.prompts.questions().back(), "本操作将会覆盖第 3 列(数学成绩总评)的所有数据，是否继续？");
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(table().cell(r, 3), "！公式：cell(?,2)+10") << r;
    }
    EXPECT_EQ(table().cell(0, 3), "数学成绩总评");
    EXPECT_EQ(grid()->model()->index(4, 2).data().toString(), "！公式：cell(?,2)+10");
    window->undo();
    EXPECT_EQ(table().cell(5, 3), "75");

    // "编辑选中单元格" opens the editor on the cell's text.
    window->findChild<QAction*>("menuEditit")->trigger();
    EXPECT_EQ(editor()->text(), "！公式：cell(?,2)+10");
}

TEST_F(CellEditingTest, ImportingACsvFileFillsTheRightClickedColumn) {
    testing::WriteBytes(dir.file("分数.csv"), "85,90\r\n77\r\n");
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cellCentre(2, 2));
    window->contextMenu()->hide();
    host.prompts.answer(Answer::No);
    window->findChild<QAction*>("menuImportCVS")->trigger();
    EXPECT_EQ(table().cell(1, 2), "61");
    host.prompts.answer(Answer::Yes).chooseOpen(dir.file("分数.csv"));
    window->findChild<QAction*>("menuImportCVS")->trigger();
    EXPECT_EQ(host.prompts.questions().back(), "本操作将会覆盖第 2 列(语文)的所有数据，是否继续？");
    EXPECT_EQ(table().cell(1, 2) + table().cell(2, 2) + table().cell(3, 2) + table().cell(4, 2), "85907764");
    EXPECT_EQ(grid()->model()->index(2, 1).data().toString(), "77");
    EXPECT_TRUE(window->action("menuUndo")->isEnabled());
    EXPECT_EQ(host.prompts.calls().back().title, "打开以逗号分隔的文本文件，可以用Excel导出");
}

}  // namespace
}  // namespace scorvane

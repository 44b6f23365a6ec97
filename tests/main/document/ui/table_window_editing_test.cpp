#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
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
    void enter(int row, int col, const QString& text) {
        window->setCurrentCell(row, col);
        type(text);
        press(Qt::Key_Return);
    }
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

    // Enter on the grid opens the cell's own text, caret at its end; Esc on the grid opens nothing.
    press(Qt::Key_Return);
    EXPECT_EQ(editor()->text(), "62");
    EXPECT_EQ(editor()->cursorPosition(), 2);
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    EXPECT_FALSE(window->editing());
    enter(2, 2, ".5");
    EXPECT_EQ(table().cell(2, 2), ".5");
}

TEST_F(CellEditingTest, QueuedKeysAllLandAndEnterWritesAndMovesAsTheDirectionButtonsSay) {
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
    EXPECT_EQ(window->positionBox()->text(), "行:1列:3");
    EXPECT_TRUE(window->document().modified());

    enter(5, 3, "1");  // the last cell: back to (1, 1)
    EXPECT_EQ(window->positionBox()->text(), "行:1列:1");
    host.direction = EnterDirection::DownColumn;
    enter(5, 2, "3");  // the last row: row 1 of the next column
    EXPECT_EQ(table().cell(5, 2), "3");
    EXPECT_EQ(window->positionBox()->text(), "行:1列:3");

    // Where Enter finds no other cell to go to, the entry is written all the same.
    window->document().table.resize(2, 2);
    window->document().table.setHeaderLayout("  |姓名");
    window->tableReset();
    enter(1, 1, "z");
    EXPECT_EQ(table().cell(1, 1), "z");
    EXPECT_FALSE(window->editing());
}

TEST_F(CellEditingTest, UpDownTabAndClicksLeaveTheCellAndWriteIt) {
    window->setCurrentCell(3, 1);
    type("x");
    press(Qt::Key_Up);
    EXPECT_EQ(table().cell(3, 1), "x");
    EXPECT_EQ(window->currentRow(), 2);
    type("y");
    press(Qt::Key_Down);
    EXPECT_EQ(table().cell(2, 1), "y");
    EXPECT_EQ(window->currentRow(), 3);

    // At the first row Up only gives the focus back; the entry waits until the cursor leaves.
    window->setCurrentCell(1, 2);
    type("u");
    press(Qt::Key_Up);
    EXPECT_EQ(window->currentRow(), 1);
    EXPECT_EQ(focused(), grid());
    EXPECT_EQ(table().cell(1, 2), "61");
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(2, 3));
    EXPECT_EQ(table().cell(1, 2), "u");
    EXPECT_EQ(window->positionBox()->text(), "行:2列:3");

    type("t");
    press(Qt::Key_Tab);
    EXPECT_EQ(table().cell(2, 3), "t");
    EXPECT_EQ(window->positionBox()->text(), "行:3列:1");
    EXPECT_FALSE(window->editing());
}

TEST_F(CellEditingTest, DoubleClickOpensACellButNotTheTitlesOrTheRowNumbers) {
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

TEST_F(CellEditingTest, AfterALoadTypingFillsTheFirstFieldAndAChineseEntryArrivesWhole) {
    grid()->setFocus();
    EXPECT_EQ(window->currentCol(), 0);  // the grid taking the focus does not move the cursor
    EXPECT_TRUE(grid()->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent chinese;
    chinese.setCommitString(QStringLiteral("张三"));
    QCoreApplication::sendEvent(grid(), &chinese);
    ASSERT_TRUE(window->editing());
    EXPECT_EQ(window->editorCell(), (CellPosition{1, 1}));
    type("A");
    press(Qt::Key_Return);
    EXPECT_EQ(table().cell(1, 1), "张三A");
}

TEST_F(CellEditingTest, EveryOpeningReplacesTheSnapshotAndUndoWaitsWhileTheEditorHasTheFocus) {
    QAction* undo = window->action("menuUndo");
    window->setCurrentCell(1, 2);
    QApplication::clipboard()->setText("99");
    window->paste();
    window->setCurrentCell(2, 2);
    type("5");
    EXPECT_FALSE(undo->isEnabled());
    // Cancelled, and still the opening replaced the snapshot: Undo goes back to the pasted "99".
    press(Qt::Key_Escape);
    EXPECT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(table().cell(1, 2), "99");

    // Undo after an entry takes the entry back, the grid with it.
    enter(2, 2, "7");
    undo->trigger();
    EXPECT_EQ(table().cell(2, 2), "62");
    EXPECT_EQ(grid()->model()->index(1, 1).data().toString(), "62");
}

TEST_F(CellEditingTest, TheEditMenuActsOnTheEditorsTextAndCommandsWriteAnOpenEntryFirst) {
    window->setCurrentCell(3, 1);
    press(Qt::Key_Space);
    editor()->setSelection(0, 2);  // "学生"
    window->action("menuCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "学生");
    window->action("menuDel")->trigger();
    EXPECT_EQ(editor()->text(), "3");
    EXPECT_EQ(table().cell(3, 1), "学生3");

    grid()->setFocus();  // the editor stays open over its cell
    host.prompts.type("备注");
    window->action("menuIstLei")->trigger();  // a new first field: the entry stays with its student
    EXPECT_FALSE(window->editing());
    EXPECT_EQ(table().cell(3, 2), "3");

    // On the grid the Delete key reaches the Delete command: the whole selection, made upward.
    window->setSelection({4, 3, 3, 2});
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_EQ(table().cell(3, 2) + table().cell(3, 3) + table().cell(4, 2) + table().cell(4, 3), "");
    EXPECT_EQ(table().cell(2, 2), "学生2");
}

TEST_F(CellEditingTest, TheOpeningAndTheEditorsKeysGoThroughMSFlexGridEditAndEditKeyCode) {
    // 32, the space bar, opens the editor on the cell's own text; a character replaces it.
    window->setCurrentCell(2, 1);
    ASSERT_TRUE(window->MSFlexGridEdit(*grid(), *editor(), QStringLiteral(" ")));
    EXPECT_EQ(editor()->text(), "学生2");
    EXPECT_TRUE(window->EditKeyCode(*grid(), *editor(), Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(window->editing());
    EXPECT_EQ(table().cell(2, 1), "学生2");

    ASSERT_TRUE(window->MSFlexGridEdit(*grid(), *editor(), QStringLiteral("8")));
    EXPECT_EQ(editor()->text(), "8");
    // Other keys are the editor's own text keys.
    EXPECT_FALSE(window->EditKeyCode(*grid(), *editor(), Qt::Key_Left, Qt::NoModifier));
    EXPECT_TRUE(window->editing());
    EXPECT_TRUE(window->EditKeyCode(*grid(), *editor(), Qt::Key_Down, Qt::NoModifier));
    EXPECT_EQ(table().cell(2, 1), "8");
    EXPECT_EQ(window->positionBox()->text(), "行:3列:1");
    EXPECT_EQ(focused(), grid());

    // A control key (Esc typed on the grid) opens nothing.
    EXPECT_FALSE(window->MSFlexGridEdit(*grid(), *editor(), QStringLiteral("\x1b")));
    EXPECT_FALSE(window->editing());
}

TEST_F(CellEditingTest, TheEditorFollowsItsCellWhenTheGridScrolls) {
    window->document().table.resize(200, 4);
    window->tableReset();
    window->setCurrentCell(3, 2);
    type("1");
    grid()->verticalScrollBar()->setValue(2);
    EXPECT_EQ(editor()->geometry(), grid()->visualRect(window->model().indexOf(3, 2)).adjusted(0, 0, -1, -1));
}

// ---- the formula bar and the context menu

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

TEST_F(FormulaBarTest, TheBoxAndTheValueFollowTheCursorWithoutWritingAndEnterWritesWithASnapshot) {
    window->setCurrentCell(2, 2);
    EXPECT_FALSE(tick()->isChecked());
    EXPECT_FALSE(value()->isEnabled());
    EXPECT_EQ(value()->text(), "非公式单元格");
    window->setCurrentCell(2, 3);
    EXPECT_TRUE(tick()->isChecked());
    EXPECT_EQ(value()->text(), "=72");
    window->setCurrentCell(3, 3);
    // Passing between plain and formula cells neither marks the table changed nor takes a snapshot.
    EXPECT_FALSE(window->document().modified());
    EXPECT_FALSE(window->undoAvailable());

    window->setCurrentCell(4, 2);
    window->valueBox()->setFocus();
    window->valueBox()->selectAll();
    QTest::keyClicks(window->valueBox(), "88");
    EXPECT_TRUE(window->document().modified());
    EXPECT_EQ(table().cell(4, 2), "64");  // waits for Enter
    QTest::keyClick(window->valueBox(), Qt::Key_Return);
    EXPECT_EQ(grid()->model()->index(3, 1).data().toString(), "88");
    window->undo();
    EXPECT_EQ(table().cell(4, 2), "64");

    // With the editor open over the cell, Enter in the bar gives the editor the same text.
    grid()->setFocus();
    type("1");
    window->valueBox()->setFocus();
    window->valueBox()->setText("77");
    QTest::keyClick(window->valueBox(), Qt::Key_Return);
    EXPECT_EQ(editor()->text(), "77");
    EXPECT_EQ(table().cell(4, 2), "77");
}

TEST_F(FormulaBarTest, SelectAllUndoAndDeleteKeysInTheBoxDoWhatTheirMenuItemsDo) {
    QLineEdit* box = window->valueBox();
    window->setCurrentCell(4, 2);
    QApplication::clipboard()->setText("99");
    window->paste();
    ASSERT_EQ(table().cell(4, 2), "99");

    // Del takes only the selected text: with nothing selected it leaves the box as it is.
    box->setFocus();
    box->setCursorPosition(0);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), "99");
    window->action("menuDel")->trigger();
    EXPECT_EQ(box->text(), "99");
    box->setSelection(0, 1);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), "9");
    EXPECT_EQ(table().cell(4, 2), "99");  // the bar writes on Enter

    // Ctrl+Z restores the table's snapshot, as 撤消 does, and the box shows the cell again.
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table().cell(4, 2), "64");
    EXPECT_EQ(box->text(), "64");
    EXPECT_FALSE(window->undoAvailable());

    // Ctrl+A selects every data cell, as 全选 does.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->selection(), (GridSelection{1, 1, 5, 3}));
    EXPECT_EQ(window->positionBox()->text(), "行:1列:1");
    EXPECT_EQ(box->text(), "学生1");
}

TEST_F(FormulaBarTest, TheMarkerTickedTypedOrPutInFromOutsideMakesAFormulaAtOnce) {
    window->setCurrentCell(1, 3);
    window->valueBox()->setFocus();
    window->valueBox()->setText("cell(?,2)*2");
    QTest::mouseClick(tick(), Qt::LeftButton);
    EXPECT_EQ(table().cell(1, 3), "！公式：cell(?,2)*2");
    EXPECT_EQ(value()->text(), "=122");
    EXPECT_TRUE(window->undoAvailable());
    QTest::mouseClick(tick(), Qt::LeftButton);
    EXPECT_EQ(table().cell(1, 3), "cell(?,2)*2");

    // Typing the marker's last character turns the bar's text into a formula.
    window->valueBox()->setFocus();
    window->valueBox()->setText(QStringLiteral("！公式"));
    type(QStringLiteral("："));
    EXPECT_EQ(table().cell(1, 3), "！公式：");

    // A formula put in from outside (the formula editor) is written only when the cell held none.
    window->setCurrentCell(3, 3);
    window->setFormulaBarText(QStringLiteral("！公式：cell(?,2)/3"));
    EXPECT_EQ(table().cell(3, 3), "！公式：cell(?,2)/3");
    window->setCurrentCell(2, 3);
    window->setFormulaBarText(QStringLiteral("！公式：cell(?,2)"));
    EXPECT_EQ(table().cell(2, 3), "！公式：cell(?,2)+10");
}

TEST_F(FormulaBarTest, TheRightButtonMakesTheCellCurrentAndOffersTheColumnFormulaOnlyForFormulas) {
    QMenu* menu = window->contextMenu();
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

    host.prompts.answer(Answer::Yes);
    applyToColumn->trigger();
    EXPECT_EQ(host.prompts.questions().back(), "本操作将会覆盖第 3 列(数学成绩总评)的所有数据，是否继续？");
    EXPECT_EQ(table().cell(5, 3), "！公式：cell(?,2)+10");
    EXPECT_EQ(grid()->model()->index(4, 2).data().toString(), "！公式：cell(?,2)+10");
    EXPECT_EQ(table().cell(0, 3), "数学成绩总评");

    window->findChild<QAction*>("menuEditit")->trigger();
    EXPECT_EQ(editor()->text(), "！公式：cell(?,2)+10");
    press(Qt::Key_Escape);

    // The comma-separated values go into the right-clicked column.
    testing::WriteBytes(dir.file("分数.csv"), "85,90\r\n77\r\n");
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cellCentre(2, 2));
    menu->hide();
    host.prompts.answer(Answer::Yes).chooseOpen(dir.file("分数.csv"));
    window->findChild<QAction*>("menuImportCVS")->trigger();
    EXPECT_EQ(host.prompts.questions().back(), "本操作将会覆盖第 2 列(语文)的所有数据，是否继续？");
    EXPECT_EQ(table().cell(1, 2) + table().cell(2, 2) + table().cell(3, 2) + table().cell(4, 2), "85907764");
    EXPECT_EQ(grid()->model()->index(2, 1).data().toString(), "77");
}

TEST_F(FormulaBarTest, TheMenuKeyAndShiftF10OpenTheCellMenuAtTheCurrentCell) {
    QMenu* menu = window->contextMenu();
    QAction* applyToColumn = window->findChild<QAction*>("menuSetGStoLine");
    struct Case {
        int row, col;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool formula;
    };
    for (const Case& c :
         {Case{4, 2, Qt::Key_Menu, {}, false}, Case{2, 3, Qt::Key_F10, Qt::ShiftModifier, true}}) {
        window->setCurrentCell(c.row, c.col);
        QTest::keyClick(grid(), c.key, c.modifiers);
        ASSERT_TRUE(menu->isVisible()) << c.key;
        EXPECT_TRUE(menu->geometry().contains(grid()->viewport()->mapToGlobal(cellCentre(c.row, c.col)) +
                                              QPoint(1, 1)))
            << c.key;
        EXPECT_EQ(applyToColumn->isEnabled(), c.formula) << c.key;
        menu->hide();
    }
    // F10 alone is not the menu's key.
    QTest::keyClick(grid(), Qt::Key_F10);
    EXPECT_FALSE(menu->isVisible());
    // Where the platform turns the Menu key into a menu request, the request opens it at the cell too.
    window->setCurrentCell(3, 2);
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0), Qt::NoModifier);
    QApplication::sendEvent(grid(), &request);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(menu->geometry().contains(grid()->viewport()->mapToGlobal(cellCentre(3, 2)) + QPoint(1, 1)));
    menu->hide();
}

}  // namespace
}  // namespace scorvane

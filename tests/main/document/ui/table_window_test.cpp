#include "main/document/ui/table_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/qt/screen_twips.h"
#include "common/text_codec.h"
#include "main/document/column_widths.h"
#include "main/document/ui/class_info_dialog.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/table_window_host.h"
#include "main/workspace/workspace_folder.h"
#include "table_window_fixture.h"

namespace scorvane {
namespace {

using testing::TableWindowTest;
using testing::TempDir;

TEST_F(TableWindowTest, AFreshWindowHasItsNamedPartsAndTheDesignSize) {
    EXPECT_EQ(window->objectName(), "Form1");
    EXPECT_EQ(window->windowTitle(), "未命名的表格");
    EXPECT_EQ(window->document().table.rows(), 2);
    EXPECT_EQ(window->document().table.cols(), 2);
    EXPECT_EQ(window->grid()->objectName(), "成绩表");
    EXPECT_EQ(window->grid()->model()->rowCount(), 1);
    for (const char* name : {"Label1", "Check1", "Label2", "Text1", "Command2", "Text2", "txtEdit"}) {
        EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;
    }
    EXPECT_EQ(window->findChild<QLabel*>("Label1")->text(), "值：");
    EXPECT_EQ(window->formulaCheck()->text(), "公式");
    EXPECT_EQ(window->formulaEditorButton()->text(), "…");
    EXPECT_EQ(window->formulaEditorButton()->toolTip(), "公式编辑器");
    EXPECT_FALSE(window->cellEditor()->isVisible());
    EXPECT_EQ(window->busyLabel()->text(), "表格处理中……");
    EXPECT_EQ(window->currentCol(), 0);
}

TEST_F(TableWindowTest, LoadingShowsItsProgressAndHidesTheGridWhileItReads) {
    load();
    EXPECT_EQ(host.texts, (std::vector<std::string>{"文件读取中...", "就绪"}));
    EXPECT_EQ(host.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.gridShownWhenBusy, (std::vector<bool>{false, true}));
    EXPECT_TRUE(window->grid()->isVisible());
    EXPECT_FALSE(window->busyLabel()->isHidden());  // behind the grid, uncovered while it is hidden

    // The grid shows the table: titles and row numbers as its headers, cells by (row, column).
    const QAbstractItemModel* m = window->grid()->model();
    EXPECT_EQ(m->rowCount(), 5);
    EXPECT_EQ(m->columnCount(), 3);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "姓名");
    EXPECT_EQ(m->headerData(4, Qt::Vertical).toString(), "5");
    EXPECT_EQ(m->index(2, 1).data().toString(), "63");
    EXPECT_EQ(window->windowTitle(), "期中");
    // The current column is 0 after a load.
    EXPECT_EQ(window->currentRow(), 1);
    EXPECT_EQ(window->currentCol(), 0);
    EXPECT_EQ(window->positionBox()->text(), "行:1列:0");

    // Saving reports the same way.
    host.texts.clear();
    host.busyChanges.clear();
    host.gridShownWhenBusy.clear();
    host.prompts.answer(Answer::Yes);
    EXPECT_EQ(window->save(), SaveOutcome::Saved);
    EXPECT_EQ(host.texts, (std::vector<std::string>{"正在保存文件...", "就绪"}));
    EXPECT_EQ(host.gridShownWhenBusy, (std::vector<bool>{false, true}));
    EXPECT_TRUE(window->grid()->isVisible());
}

TEST_F(TableWindowTest, AFileThatIsNoTableIsRefusedAndLeavesTheWindowAsItWas) {
    testing::WriteBytes(dir.file("坏.skv"), "something else\r\n");
    EXPECT_EQ(window->loadData(dir.file("坏"), true), LoadOutcome::Refused);
    EXPECT_EQ(host.prompts.messages(), (std::vector<std::string>{"文件格式不正确!"}));
    EXPECT_EQ(window->loadData(dir.file("没有"), true), LoadOutcome::Closed);
    EXPECT_EQ(window->windowTitle(), "未命名的表格");
    EXPECT_TRUE(window->grid()->isVisible());
    EXPECT_EQ(host.texts.back(), "就绪");
}

TEST_F(TableWindowTest, TheValueAndPositionBoxesFollowTheCurrentCell) {
    load();
    window->grid()->setCurrentIndex(window->model().indexOf(3, 2));
    EXPECT_EQ(window->currentRow(), 3);
    EXPECT_EQ(window->currentCol(), 2);
    EXPECT_EQ(window->positionBox()->text(), "行:3列:2");
    EXPECT_EQ(window->valueBox()->text(), "63");
    window->setCurrentCell(5, 1);
    EXPECT_EQ(window->valueBox()->text(), "学生5");
    EXPECT_EQ(window->positionBox()->text(), "行:5列:1");
}

TEST_F(TableWindowTest, TheStripFollowsTheWindowWidthAndKeepsItsSizesWhenTooNarrow) {
    auto px = [this](int twips) { return TwipsToPixelsX(twips, *window); };
    window->resize(800, 400);
    QRect value = window->valueBox()->geometry();
    EXPECT_EQ(value.left(), px(2430));
    EXPECT_EQ(value.width(), 800 - px(1700 + 2430));
    EXPECT_EQ(window->formulaEditorButton()->geometry().left(), value.left() + value.width() + px(20));
    EXPECT_EQ(window->positionBox()->geometry().left(), value.left() + value.width() + px(350));
    EXPECT_EQ(window->positionBox()->width(), px(1200));
    EXPECT_EQ(window->grid()->geometry(), QRect(0, px(330), 800, 400 - px(330)));

    window->resize(900, 400);
    EXPECT_EQ(window->valueBox()->width(), 900 - px(1700 + 2430));
    const int wide = window->valueBox()->width();
    window->resize(150, 400);  // narrower than the strip needs: the boxes keep their sizes
    EXPECT_EQ(window->valueBox()->width(), wide);
    EXPECT_EQ(window->positionBox()->geometry().left(), px(2430) + wide + px(350));
}

TEST_F(TableWindowTest, ThePointerOverTheTitlesOrTheRowNumbersCountsAsInTheHeader) {
    load();
    auto move = [](QWidget* w) {
        QMouseEvent event(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    };
    move(window->grid()->horizontalHeader());
    EXPECT_TRUE(window->inHeader());
    move(window->grid()->viewport());
    EXPECT_FALSE(window->inHeader());
    move(window->grid()->verticalHeader());
    EXPECT_TRUE(window->inHeader());

    // The sizes recorded after the load are those of the row-number column and of a row, in twips.
    EXPECT_EQ(window->headerColWidth(), PixelsToTwipsX(window->grid()->verticalHeader()->width(), *window));
    EXPECT_EQ(window->headerRowHeight(),
              PixelsToTwipsY(window->grid()->verticalHeader()->sectionSize(0), *window));
}

TEST_F(TableWindowTest, ColumnsFitTheirTitlesAndRowsShareOneHeight) {
    load();
    QFont font("宋体");
    font.setPointSize(12);
    window->applyTableFont(font);
    QFontMetrics metrics(font);
    QHeaderView* cols = window->grid()->horizontalHeader();
    const int longTitle =
        FitColumnWidth(static_cast<int>(metrics.horizontalAdvance("数学成绩总评") * TwipsPerPixelX(*window)));
    EXPECT_EQ(cols->sectionSize(2), TwipsToPixelsX(longTitle, *window));
    EXPECT_EQ(cols->sectionSize(0), TwipsToPixelsX(kMinFieldColumnWidthTwips, *window));
    EXPECT_GT(cols->sectionSize(2), cols->sectionSize(0));
    QHeaderView* rows = window->grid()->verticalHeader();
    EXPECT_EQ(rows->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(rows->sectionSize(0), rows->sectionSize(4));

    // A width set for a column stays until the titles are set again.
    window->document().table.setColumnWidth(1, 3000);
    window->applyLayout();
    EXPECT_EQ(cols->sectionSize(0), TwipsToPixelsX(3000, *window));
    window->document().table.setHeaderLayout("  |姓名|语文|数学成绩总评");
    window->tableReset();
    EXPECT_EQ(cols->sectionSize(0), TwipsToPixelsX(kMinFieldColumnWidthTwips, *window));
}

TEST_F(TableWindowTest, TheClassInformationDialogResizesTheTableAndUndoBringsTheRowsBack) {
    load(5);
    Document& doc = window->document();
    EXPECT_FALSE(doc.modified());
    QString shownSize;
    QString shownTeacher;
    host.dialogs.then([&](QDialog& d) {
        auto& info = static_cast<ClassInfoDialog&>(d);
        EXPECT_EQ(d.objectName(), "frmClassInfo");
        EXPECT_EQ(d.windowTitle(), "班级信息设置：");
        shownSize = info.classSizeEdit()->text();
        shownTeacher = info.teacherEdit()->text();
        info.classSizeEdit()->setText("3");
        info.classInfoEdit()->setPlainText("一行\n二行");
        info.confirmButton()->click();
    });
    window->setupClassInfo();
    EXPECT_EQ(shownSize, "5");
    EXPECT_EQ(shownTeacher, "李老师");
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.table.rows(), 4);
    EXPECT_EQ(window->grid()->model()->rowCount(), 3);
    EXPECT_EQ(doc.table.classInfo, "一行\r\n二行");
    EXPECT_TRUE(window->undoAvailable());
    EXPECT_TRUE(window->action("menuUndo")->isEnabled());

    // Undo returns the dropped rows with their data.
    window->action("menuUndo")->trigger();
    EXPECT_EQ(doc.table.rows(), 6);
    EXPECT_EQ(doc.table.cell(5, 1), "学生5");
    EXPECT_EQ(window->grid()->model()->rowCount(), 5);
    EXPECT_FALSE(window->action("menuUndo")->isEnabled());

    // Rows added at the end are empty and numbered; Cancel changes nothing.
    host.dialogs.then([](QDialog& d) {
        static_cast<ClassInfoDialog&>(d).classSizeEdit()->setText("7");
        static_cast<ClassInfoDialog&>(d).confirmButton()->click();
    });
    window->setupClassInfo();
    EXPECT_EQ(doc.table.rows(), 8);
    EXPECT_EQ(doc.table.cell(7, 0), "7");
    EXPECT_EQ(doc.table.cell(7, 1), "");
    host.dialogs.then([](QDialog& d) {
        static_cast<ClassInfoDialog&>(d).classSizeEdit()->setText("0");
        static_cast<ClassInfoDialog&>(d).cancelButton()->click();
    });
    window->setupClassInfo();
    EXPECT_EQ(doc.table.rows(), 8);
}

TEST_F(TableWindowTest, TheClassSizeBoxTakesOnlyDigitsUpToTheLargestClass) {
    ClassInfoDialog dialog({12, "王", "信息"});
    QLineEdit* size = dialog.classSizeEdit();
    EXPECT_EQ(size->text(), "12");
    size->setText("");
    EXPECT_EQ(size->text(), "1");
    size->setText("40000");
    EXPECT_EQ(size->text(), "32766");
    size->clear();
    size->insert("4a5");  // the box takes no letter
    EXPECT_NE(size->text(), "4a5");
}

TEST_F(TableWindowTest, ImportingAWholeTableAppendsItsRowsAndCanBeUndone) {
    load(2);
    GradeTable other(3, 4);
    other.setHeaderLayout("  |姓名|语文|数学成绩总评");
    other.setCell(1, 1, "转学生");
    other.setCell(2, 1, "插班生");
    ASSERT_TRUE(WriteDataFile(other, dir.file("二班")));

    host.prompts.chooseOpen("");  // cancelled after the warning: nothing happens
    window->action("menuImportAll")->trigger();
    EXPECT_EQ(window->document().table.rows(), 3);
    EXPECT_FALSE(window->undoAvailable());

    host.prompts.chooseOpen(dir.file("二班.skv"));
    window->action("menuImportAll")->trigger();
    const GradeTable& t = window->document().table;
    EXPECT_EQ(t.rows(), 5);
    EXPECT_EQ(t.cell(4, 1), "插班生");
    EXPECT_EQ(t.cell(4, 0), "4");
    EXPECT_EQ(window->grid()->model()->rowCount(), 4);
    EXPECT_TRUE(window->document().modified());
    EXPECT_TRUE(window->action("menuUndo")->isEnabled());
    EXPECT_EQ(host.texts[host.texts.size() - 2], "文件导入中...");
    EXPECT_EQ(host.prompts.messages().size(), 2u);  // the warning before each dialog

    window->undo();
    EXPECT_EQ(window->document().table.rows(), 3);
    EXPECT_EQ(window->grid()->model()->rowCount(), 2);
}

TEST_F(TableWindowTest, TitleChangesNeedAnAnswerAndMarkTheTableChanged) {
    load();
    host.prompts.type("").type(std::nullopt).type("期末");
    window->changeTitle();
    window->changeTitle();
    EXPECT_EQ(window->windowTitle(), "期中");
    EXPECT_FALSE(window->document().modified());
    window->changeTitle();
    EXPECT_EQ(window->windowTitle(), "期末");
    EXPECT_TRUE(window->document().modified());
    const auto& call = host.prompts.calls().front();
    EXPECT_EQ(call.title, "更改标题");
    EXPECT_EQ(call.offered, "期中");
}

TEST_F(TableWindowTest, ClipboardCommandsWorkOnTheSelectionsFarCorner) {
    load();
    Document& doc = window->document();
    // A range selected from (1,1) to (2,2): the current cell is where it started, copy takes the far
    // corner.
    window->setSelection({1, 1, 2, 2});
    EXPECT_EQ(window->currentRow(), 1);
    EXPECT_EQ(window->currentCol(), 1);
    EXPECT_EQ(window->selection(), (GridSelection{1, 1, 2, 2}));
    window->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "62");

    window->setCurrentCell(4, 1);
    window->paste();
    EXPECT_EQ(doc.table.cell(4, 1), "62");
    EXPECT_EQ(window->grid()->model()->index(3, 0).data().toString(), "62");
    EXPECT_EQ(window->valueBox()->text(), "62");
    EXPECT_TRUE(doc.modified());

    window->setCurrentCell(1, 3);
    window->cut();
    EXPECT_EQ(QApplication::clipboard()->text(), "71");
    EXPECT_EQ(doc.table.cell(1, 3), "");
    window->undo();
    EXPECT_EQ(doc.table.cell(1, 3), "71");

    // Delete empties the whole selection, whichever corner it started from.
    window->setSelection({3, 3, 2, 2});
    window->deleteSelection();
    EXPECT_EQ(doc.table.cell(2, 2), "");
    EXPECT_EQ(doc.table.cell(3, 3), "");
    EXPECT_EQ(doc.table.cell(4, 2), "64");
}

TEST_F(TableWindowTest, SelectAllStartsAtTheFirstCellAndCopyAndPasteThenActOnTheLast) {
    load();
    const GradeTable& t = window->document().table;
    window->setCurrentCell(3, 2);
    QTest::keyClick(window->grid(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window->selection(), (GridSelection{1, 1, 5, 3}));
    EXPECT_EQ(window->grid()->selectionModel()->selectedIndexes().size(), 15);
    EXPECT_EQ(window->currentRow(), 1);
    EXPECT_EQ(window->currentCol(), 1);
    EXPECT_EQ(window->positionBox()->text(), "行:1列:1");
    EXPECT_EQ(window->valueBox()->text(), "学生1");
    // The view stays at the top-left corner where the cursor stands.
    EXPECT_EQ(window->grid()->rowAt(0), 0);
    EXPECT_EQ(window->grid()->columnAt(0), 0);

    QTest::keyClick(window->grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "75");
    QApplication::clipboard()->setText("99");
    QTest::keyClick(window->grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(t.cell(5, 3), "99");
    EXPECT_EQ(t.cell(1, 1), "学生1");
}

TEST_F(TableWindowTest, ASelectionStartsWhereTheUserClickedAndShiftArrowsMoveItsFarCorner) {
    load();
    QTableView* grid = window->grid();
    grid->setFocus();
    const QPoint start = grid->visualRect(window->model().indexOf(2, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, start);
    EXPECT_EQ(window->selection(), (GridSelection{2, 1, 2, 1}));
    QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(window->selection(), (GridSelection{2, 1, 3, 2}));
    // The current cell stays where the selection started: the boxes show it, copy takes the far corner.
    EXPECT_EQ(window->currentRow(), 2);
    EXPECT_EQ(window->currentCol(), 1);
    EXPECT_EQ(window->positionBox()->text(), "行:2列:1");
    EXPECT_EQ(window->valueBox()->text(), "学生2");
    window->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "63");

    // Shift+click moves the far corner too; a plain arrow moves from the current cell and leaves a
    // single cell selected.
    const QPoint far = grid->visualRect(window->model().indexOf(1, 3)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, far);
    EXPECT_EQ(window->selection(), (GridSelection{2, 1, 1, 3}));
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(window->selection(), GridSelection::cell(3, 1));
    EXPECT_EQ(window->positionBox()->text(), "行:3列:1");
    // After 全选 Shift+arrows move the far corner from the last data cell.
    window->selectAll();
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(window->selection(), (GridSelection{1, 1, 4, 3}));
}

}  // namespace
}  // namespace scorvane

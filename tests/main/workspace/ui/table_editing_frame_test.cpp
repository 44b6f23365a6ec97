// Editing a table inside the frame: the direction buttons, the undo button while a cell is edited, the
// size a table window opens at.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include "common/qt/screen_twips.h"
#include "frame_fixture.h"

namespace scorvane {
namespace {

using testing::FrameTest;

class TableEditingFrameTest : public FrameTest {
  protected:
    TableWindow* openOne() {
        writeTable(dir.file("一"), "表一", 4);
        TableWindow* t = window->openTable(dir.file("一"));
        if (t) {
            t->grid()->setFocus();
        }
        return t;
    }
    void typeEntry(TableWindow* t, char key) {
        QTest::keyClick(t->grid(), key);
        QTest::keyClick(t->cellEditor(), Qt::Key_Return);
    }
};

TEST_F(TableEditingFrameTest, ATableWindowOpensAtItsDesignSize) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->size(), QSize(TwipsToPixelsX(7500, w), TwipsToPixelsY(4305, w)));
}

TEST_F(TableEditingFrameTest, EnterMovesTheWayTheToolbarsDirectionButtonsSay) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(1, 1);
    typeEntry(t, 'a');
    EXPECT_EQ(t->positionBox()->text(), "行:1列:2");

    w.toolbarButton(MainWindow::kEnterDownColumn)->trigger();
    typeEntry(t, 'b');
    EXPECT_EQ(t->document().table.cell(1, 2), "b");
    EXPECT_EQ(t->positionBox()->text(), "行:2列:2");
}

TEST_F(TableEditingFrameTest, TheUndoButtonIsOffWhileACellIsEditedAndOnAfterwards) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    QAction* undo = w.toolbarButton(MainWindow::kUndo);
    t->setCurrentCell(2, 2);
    QTest::keyClick(t->grid(), Qt::Key_Delete);
    EXPECT_TRUE(undo->isEnabled());
    QTest::keyClick(t->grid(), '7');
    EXPECT_FALSE(undo->isEnabled());
    QTest::keyClick(t->cellEditor(), Qt::Key_Return);
    EXPECT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(t->document().table.cell(2, 2), "");
}

TEST_F(TableEditingFrameTest, SortingWritesAnOpenEntryFirst) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(4, 2);
    QTest::keyClick(t->grid(), '9');
    QTest::keyClick(t->cellEditor(), '9');
    dialogs.then([](QDialog& d) { d.reject(); });
    w.toolbarButton(MainWindow::kSortAscending)->trigger();
    EXPECT_FALSE(t->editing());
    EXPECT_EQ(t->document().table.cell(4, 2), "99");
}

TEST_F(TableEditingFrameTest, TheToolsMenuOpensTheFormulaEditorOnTheActiveTableAndTheHelp) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    QStringList items;
    QMenu* tools = w.findChild<QMenu*>("menuTools");
    ASSERT_NE(tools, nullptr);
    for (QAction* a : tools->actions()) {
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(items, (QStringList{"公式编辑器(&G)", "公式说明(&V)", "-", "报表编辑器"}));

    t->setCurrentCell(3, 2);
    dialogs.then([](QDialog& d) { d.reject(); }).then([](QDialog& d) { d.reject(); });
    w.action("menuGSBJ")->trigger();
    w.action("menuGSSM")->trigger();
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"frm公式编辑", "frm公式说明"}));
    EXPECT_TRUE(w.toolbarButton(MainWindow::kUndo)->isEnabled());  // the editor's snapshot
}

}  // namespace
}  // namespace scorvane

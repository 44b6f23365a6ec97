// Editing a table inside the frame: the size a table window opens at, the direction buttons with the
// undo button while a cell is edited, and the tools menu.
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
};

TEST_F(TableEditingFrameTest, ATableOpensAtItsDesignSizeAndEnterMovesAsTheDirectionButtonsSay) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->size(), QSize(TwipsToPixelsX(7500, w), TwipsToPixelsY(4305, w)));

    QAction* undo = w.toolbarButton(MainWindow::kUndo);
    t->setCurrentCell(1, 1);
    QTest::keyClick(t->grid(), 'a');
    EXPECT_FALSE(undo->isEnabled());  // while the editor holds the focus
    QTest::keyClick(t->cellEditor(), Qt::Key_Return);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(t->positionBox()->text(), "行:1列:2");

    w.toolbarButton(MainWindow::kEnterDownColumn)->trigger();
    QTest::keyClick(t->grid(), 'b');
    QTest::keyClick(t->cellEditor(), Qt::Key_Return);
    EXPECT_EQ(t->document().table.cell(1, 2), "b");
    EXPECT_EQ(t->positionBox()->text(), "行:2列:2");
}

TEST_F(TableEditingFrameTest, TheUndoItemAndButtonFollowTheTablesUndoWhoeverTakesTheSnapshot) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    QAction* button = w.toolbarButton(MainWindow::kUndo);
    QAction* item = t->action("menuUndo");
    auto both = [&] { return std::pair(item->isEnabled(), button->isEnabled()); };
    EXPECT_EQ(both(), std::pair(false, false));
    // A window of another part of the program takes the snapshot on the table itself.
    t->document().takeSnapshot();
    EXPECT_EQ(both(), std::pair(true, true));
    t->setCurrentCell(1, 1);
    QTest::keyClick(t->grid(), 'a');
    EXPECT_EQ(both(), std::pair(false, false));  // while the editor holds the focus
    QTest::keyClick(t->cellEditor(), Qt::Key_Escape);
    EXPECT_EQ(both(), std::pair(true, true));
    button->trigger();
    EXPECT_EQ(both(), std::pair(false, false));

    // The button follows the active table only.
    writeTable(dir.file("二"), "表二");
    TableWindow* second = w.openTable(dir.file("二"));
    ASSERT_NE(second, nullptr);
    t->document().takeSnapshot();
    EXPECT_TRUE(item->isEnabled());
    EXPECT_FALSE(button->isEnabled());
    w.documentArea()->setActiveSubWindow(subWindowOf(t));
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(TableEditingFrameTest, TheToolsMenuOpensTheFormulaEditorOnTheActiveTableAndTheHelp) {
    MainWindow& w = start();
    TableWindow* t = openOne();
    ASSERT_NE(t, nullptr);
    QStringList items;
    for (QAction* a : w.findChild<QMenu*>("menuTools")->actions()) {
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

// The sort dialog, the find window and the replace dialog as the frame and a table window show them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "main/document/ui/grade_table_model.h"
#include "main/formula/ui/find_window.h"
#include "main/formula/ui/replace_dialog.h"
#include "main/formula/ui/sort_dialog.h"
#include "main/workspace/ui/frame_fixture.h"

namespace scorvane {
namespace {

using testing::Flush;
using testing::FrameTest;
using Strings = std::vector<std::string>;

class TableToolsTest : public FrameTest {
  protected:
    // Opens a table with the fields 姓名 总分 名次 and the given names and totals.
    TableWindow* openScores(const std::vector<std::pair<std::string, std::string>>& rows) {
        GradeTable t(static_cast<int>(rows.size()) + 1, 4);
        t.title = "成绩";
        t.setCell(0, 1, "姓名");
        t.setCell(0, 2, "总分");
        t.setCell(0, 3, "名次");
        for (size_t i = 0; i < rows.size(); ++i) {
            t.setCell(static_cast<int>(i) + 1, 1, rows[i].first);
            t.setCell(static_cast<int>(i) + 1, 2, rows[i].second);
        }
        EXPECT_TRUE(WriteDataFile(t, dir.file("成绩")));
        return window->openTable(dir.file("成绩"));
    }

    Strings column(TableWindow* t, int col) {
        Strings cells;
        for (int r = 1; r < t->document().table.rows(); ++r) {
            cells.push_back(t->document().table.cell(r, col));
        }
        return cells;
    }

    QStringList resultCaptions(TableWindow* t) {
        QStringList captions;
        for (QAction* a : t->findResultMenu()->actions()) {
            captions << a->text();
        }
        return captions;
    }
};

// ---- sort

TEST_F(TableToolsTest, TheSortButtonsRefuseATableWithoutFields) {
    MainWindow& w = start();
    GradeTable bare(3, 1);
    bare.title = "空";
    ASSERT_TRUE(WriteDataFile(bare, dir.file("空")));
    ASSERT_NE(w.openTable(dir.file("空")), nullptr);
    w.toolbarButton(MainWindow::kSortAscending)->trigger();
    w.toolbarButton(MainWindow::kSortDescending)->trigger();
    EXPECT_EQ(prompter.messages(), (Strings{"没有可供排序的字段！", "没有可供排序的字段！"}));
    EXPECT_EQ(prompter.calls().front().title, "提示");
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(TableToolsTest, SortingDescendingWritesRanksAndRenumbers) {
    MainWindow& w = start();
    TableWindow* t = openScores({{"甲", "250"}, {"乙", "281"}, {"丙", "99"}, {"丁", "281"}});
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(1, 2);
    dialogs.then([&](QDialog& d) {
        auto& sort = static_cast<SortDialog&>(d);
        EXPECT_EQ(d.objectName(), "frm排序");
        EXPECT_EQ(d.windowTitle(), "排序：");
        EXPECT_TRUE(sort.descendingOption()->isChecked());
        EXPECT_EQ(sort.sortFieldBox()->currentText(), "总分");  // the current column's field
        EXPECT_EQ(sort.rankFieldBox()->currentText(), "名次");  // the last field
        EXPECT_EQ(sort.sortFieldBox()->count(), 3);
        EXPECT_FALSE(sort.rankFieldBox()->isEnabled());
        sort.rankCheck()->setChecked(true);
        EXPECT_TRUE(sort.rankFieldBox()->isEnabled());
        sort.okButton()->click();
    });
    w.toolbarButton(MainWindow::kSortDescending)->trigger();
    EXPECT_EQ(column(t, 1), (Strings{"乙", "丁", "甲", "丙"}));  // ties keep their order
    EXPECT_EQ(column(t, 3), (Strings{"1", "2", "3", "4"}));
    EXPECT_EQ(column(t, 0), (Strings{"1", "2", "3", "4"}));
    EXPECT_TRUE(t->document().modified());
    EXPECT_EQ(t->grid()->model()->index(0, 0).data().toString(), "乙");

    // Ascending from its own button; 取消 changes nothing.
    dialogs.then([](QDialog& d) {
        EXPECT_TRUE(static_cast<SortDialog&>(d).ascendingOption()->isChecked());
        static_cast<SortDialog&>(d).cancelButton()->click();
    });
    w.toolbarButton(MainWindow::kSortAscending)->trigger();
    EXPECT_EQ(column(t, 1), (Strings{"乙", "丁", "甲", "丙"}));
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(TableToolsTest, TheSortFieldsColumnBecomesTheCurrentColumn) {
    MainWindow& w = start();
    TableWindow* t = openScores({{"甲", "70"}, {"乙", "90"}, {"丙", "80"}});
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(2, 1);
    dialogs.then([](QDialog& d) {
        auto& sort = static_cast<SortDialog&>(d);
        sort.sortFieldBox()->setCurrentIndex(1);  // 总分
        sort.okButton()->click();
    });
    w.toolbarButton(MainWindow::kSortDescending)->trigger();
    EXPECT_EQ(column(t, 1), (Strings{"乙", "丙", "甲"}));
    EXPECT_EQ(t->currentCol(), 2);
    EXPECT_EQ(t->currentRow(), 2);
    EXPECT_EQ(t->positionBox()->text(), "行:2列:2");
    EXPECT_EQ(t->valueBox()->text(), "80");

    // 取消 leaves the cursor where it was.
    t->setCurrentCell(1, 1);
    dialogs.then([](QDialog& d) {
        static_cast<SortDialog&>(d).sortFieldBox()->setCurrentIndex(1);
        static_cast<SortDialog&>(d).cancelButton()->click();
    });
    w.toolbarButton(MainWindow::kSortAscending)->trigger();
    EXPECT_EQ(t->currentCol(), 1);
}

TEST_F(TableToolsTest, TheRankFieldIsKeptApartFromTheSortField) {
    MainWindow& w = start();
    TableWindow* t = openScores({{"甲", "1"}, {"乙", "2"}});
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(1, 3);  // the last field
    dialogs.then([&](QDialog& d) {
        auto& sort = static_cast<SortDialog&>(d);
        EXPECT_EQ(sort.sortFieldBox()->currentIndex(), 2);
        sort.rankCheck()->setChecked(true);  // both on 名次: moved to the previous field
        EXPECT_EQ(sort.rankFieldBox()->currentIndex(), 1);
        sort.sortFieldBox()->setCurrentIndex(0);
        sort.rankFieldBox()->setCurrentIndex(0);  // both on 姓名: moved to the next field
        EXPECT_EQ(sort.rankFieldBox()->currentIndex(), 1);
        sort.rankCheck()->setChecked(false);
        sort.rankFieldBox()->setCurrentIndex(0);  // unticked, the same field is no matter
        EXPECT_EQ(sort.rankFieldBox()->currentIndex(), 0);
        d.reject();
    });
    w.toolbarButton(MainWindow::kSortAscending)->trigger();
    EXPECT_EQ(prompter.messages(), (Strings{"排序结果不可写回原字段！", "排序结果不可写回原字段！"}));
}

// ---- find

TEST_F(TableToolsTest, FindMarksCellsListsTheRowsAndJumpsToThem) {
    MainWindow& w = start();
    TableWindow* t = openScores({{"甲", "85"}, {"乙", "185"}, {"丙", "70"}, {"丁", "85"}});
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(resultCaptions(t), (QStringList{"(空)"}));

    w.toolbarButton(MainWindow::kFind)->trigger();
    FindWindow* find = w.findWindow();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->objectName(), "frmFind");
    EXPECT_EQ(find->windowTitle(), "查找...");
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(find->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(find->findButton()->isEnabled());
    find->check("Check4")->setChecked(true);
    EXPECT_FALSE(find->check("Check5")->isEnabled());
    find->check("Check4")->setChecked(false);
    EXPECT_TRUE(find->check("Check5")->isEnabled());

    find->findEdit()->setText("85");
    EXPECT_TRUE(find->findButton()->isEnabled());
    find->check("Check1")->setChecked(true);
    find->check("Check5")->setChecked(true);
    find->check("Check2")->setChecked(true);
    find->findButton()->click();
    Flush();
    EXPECT_EQ(w.findWindow(), nullptr);  // the window closes after searching

    const GradeTable& table = t->document().table;
    EXPECT_EQ(table.mark(1, 2), (CellMark{MarkColour::Red, true}));
    EXPECT_EQ(table.mark(2, 2), (CellMark{MarkColour::Blue, true}));
    EXPECT_EQ(table.mark(3, 2), CellMark{});
    const QModelIndex red = t->model().indexOf(1, 2);
    EXPECT_EQ(red.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_TRUE(red.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(t->document().modified());

    const QStringList captions = resultCaptions(t);
    ASSERT_EQ(captions.size(), 4);
    EXPECT_EQ(captions[0], "共 3 行包含查找内容。");
    EXPECT_EQ(captions[1], "1: 第 1 行。“甲；85”");
    EXPECT_EQ(captions[3], "3: 第 4 行。“丁；85”");

    // A result row: the whole row selected, current and at the top.
    t->findResultMenu()->actions()[3]->trigger();
    EXPECT_EQ(t->currentRow(), 4);
    EXPECT_EQ(t->grid()->selectionModel()->selectedIndexes().size(), 3);
    EXPECT_TRUE(t->grid()->selectionModel()->isRowSelected(3, QModelIndex()));
    t->findResultMenu()->actions()[0]->trigger();  // the summary goes nowhere
    EXPECT_EQ(t->currentRow(), 4);

    // The edit menu's clear removes every mark.
    t->action("menuMark")->trigger();
    EXPECT_EQ(table.mark(1, 2), CellMark{});

    // A search without matches rebuilds the menu from scratch.
    t->action("menuFind")->trigger();
    ASSERT_NE(w.findWindow(), nullptr);
    w.findWindow()->findEdit()->setText("不存在");
    w.findWindow()->find();
    EXPECT_EQ(resultCaptions(t), (QStringList{"(空)"}));
}

// Records the grid being hidden and shown.
class VisibilityLog : public QObject {
  public:
    explicit VisibilityLog(QWidget* widget) { widget->installEventFilter(this); }
    QStringList events;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            events << "hide";
        } else if (event->type() == QEvent::Show) {
            events << "show";
        }
        return false;
    }
};

TEST_F(TableToolsTest, TheGridIsHiddenWhileFindAndClearingTheMarksRun) {
    MainWindow& w = start();
    TableWindow* t = openScores({{"甲", "85"}, {"乙", "90"}});
    ASSERT_NE(t, nullptr);
    VisibilityLog log(t->grid());
    w.showFind();
    w.findWindow()->findEdit()->setText("85");
    w.findWindow()->find();
    EXPECT_EQ(log.events, (QStringList{"hide", "show"}));
    EXPECT_EQ(t->document().table.mark(1, 2).colour, MarkColour::Red);

    log.events.clear();
    // Hidden with the focus on it, the grid gets the focus back and its current cell stays put.
    t->setCurrentCell(2, 1);
    t->grid()->setFocus();
    ASSERT_TRUE(t->grid()->hasFocus());
    t->action("menuMark")->trigger();
    EXPECT_EQ(log.events, (QStringList{"hide", "show"}));
    EXPECT_TRUE(t->grid()->isVisible());
    EXPECT_EQ(t->document().table.mark(1, 2), CellMark{});
    EXPECT_TRUE(t->grid()->hasFocus());
    EXPECT_EQ(t->selection(), GridSelection::cell(2, 1));
    EXPECT_EQ(t->positionBox()->text(), "行:2列:1");
}

TEST_F(TableToolsTest, TheFindWindowStaysOpenAndSearchesWhicheverTableIsActive) {
    MainWindow& w = start();
    TableWindow* first = openScores({{"学生2", "1"}});
    writeTable(dir.file("二"), "表二");
    w.documentArea()->setActiveSubWindow(subWindowOf(first));
    w.showFind();
    QPointer<FindWindow> find = w.findWindow();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->table(), first);
    find->findEdit()->setText("学生2");

    // Another table becomes active: the window stays as it was and searches that one.
    TableWindow* second = w.openTable(dir.file("二"));
    ASSERT_NE(second, nullptr);
    Flush();
    ASSERT_FALSE(find.isNull());
    EXPECT_EQ(w.findWindow(), find);
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(find->table(), second);
    EXPECT_EQ(find->findEdit()->text(), "学生2");
    find->findButton()->click();
    Flush();
    EXPECT_EQ(second->document().table.mark(2, 1).colour, MarkColour::Red);
    EXPECT_EQ(first->document().table.mark(1, 1), CellMark{});
    EXPECT_EQ(resultCaptions(first), (QStringList{"(空)"}));

    // Back to the first table; when the last table closes the window goes with it.
    w.showFind();
    find = w.findWindow();
    ASSERT_NE(find, nullptr);
    w.documentArea()->setActiveSubWindow(subWindowOf(first));
    EXPECT_EQ(find->table(), first);
    ASSERT_TRUE(w.closeAllTables());
    Flush();
    EXPECT_TRUE(find.isNull());
}

// ---- replace

TEST_F(TableToolsTest, ReplaceChangesEveryMatchingCellAndUndoRestoresTheTable) {
    MainWindow& w = start();
    TableWindow* t = openScores({{"甲", "85分"}, {"乙", "90分"}, {"丙", ""}});
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(1, 2);
    dialogs.then([](QDialog& d) {
        auto& r = static_cast<ReplaceDialog&>(d);
        EXPECT_EQ(d.objectName(), "frmChang");
        EXPECT_EQ(d.windowTitle(), "替换");
        EXPECT_EQ(r.findEdit()->text(), "85分");  // the current cell's text
        r.findEdit()->setText("");
        EXPECT_FALSE(r.replaceButton()->isEnabled());
        r.replacementEdit()->setText("x");
        EXPECT_TRUE(r.replaceButton()->isEnabled());
        r.findEdit()->setText("分");
        r.replacementEdit()->setText("");
        r.replaceButton()->click();
        EXPECT_EQ(r.replaced(), 2);
    });
    t->action("menuChange")->trigger();
    EXPECT_EQ(column(t, 2), (Strings{"85", "90", ""}));
    EXPECT_TRUE(t->document().modified());
    EXPECT_TRUE(w.toolbarButton(MainWindow::kUndo)->isEnabled());
    EXPECT_EQ(t->grid()->model()->index(0, 1).data().toString(), "85");

    // Whole-cell mode with an empty search text fills the empty cells.
    dialogs.then([](QDialog& d) {
        auto& r = static_cast<ReplaceDialog&>(d);
        r.findEdit()->setText("");
        r.replacementEdit()->setText("缺考");
        r.wholeCellCheck()->setChecked(true);
        r.replaceButton()->click();
    });
    t->action("menuChange")->trigger();
    EXPECT_EQ(column(t, 3), (Strings{"缺考", "缺考", "缺考"}));

    // Undo returns the table to where it was when the window opened.
    w.toolbarButton(MainWindow::kUndo)->trigger();
    EXPECT_EQ(column(t, 3), (Strings{"", "", ""}));
    EXPECT_EQ(column(t, 2), (Strings{"85", "90", ""}));
}

}  // namespace
}  // namespace scorvane

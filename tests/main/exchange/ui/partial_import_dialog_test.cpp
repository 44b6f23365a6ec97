// The partial import dialog (frmImport) opened from a table window's menu: choosing columns, loading
// the source, the row-by-row question, key matching, undo, and a source that is no data file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QtTest/QTest>

#include "main/document/ui/table_window_fixture.h"
#include "main/exchange/ui/partial_import_dialog.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::Column;
using testing::GbkLines;
using testing::MakeTable;
using testing::WriteBytes;
using Strings = std::vector<std::string>;

const std::string kChooseColumns =
    "请先设置原始表格与导入数据的表格的要进行操作的列！\n请设定完毕再试或按“取消”按钮结束导入操作。";

class PartialImportDialogTest : public testing::TableWindowTest {
  protected:
    // The class table: 姓名 学号 英语, the 英语 column still empty ("-").
    void SetUp() override {
        GradeTable t = MakeTable(
            {"姓名", "学号", "英语"},
            {{"张三", "01", "-"}, {"李四", "02", "-"}, {"王五", "03", "-"}, {"", "04", "-"}}, "一班");
        ASSERT_TRUE(WriteDataFile(t, dir.file("一班")));
        ASSERT_EQ(window->loadData(dir.file("一班"), true), LoadOutcome::Loaded);
    }

    // The other table, in another order: 李四 twice (the first counts), 王五 missing, an empty name.
    std::string writeSource() {
        GradeTable s = MakeTable({"学号", "姓名", "英语成绩"}, {{"02", "李四", "92"},
                                                                {"01", "张三", "91"},
                                                                {"05", "李四", "99"},
                                                                {"06", "", "空"},
                                                                {"07", "赵六", "97"}});
        EXPECT_TRUE(WriteDataFile(s, dir.file("英语")));
        return dir.file("英语.skv");
    }

    Strings english() const { return Column(window->document().table, 3); }

    // Opens the dialog from the menu; `step` fills it in.
    void importSome(std::function<void(PartialImportDialog&)> step) {
        host.dialogs.then([step](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmImport");
            step(static_cast<PartialImportDialog&>(d));
        });
        window->action("menuImportSome")->trigger();
        EXPECT_TRUE(host.dialogs.exhausted());
    }

    static void clickCell(QTableView* grid, int row, int col) {
        const QRect cell = grid->visualRect(grid->model()->index(row, col));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

TEST_F(PartialImportDialogTest, OpensOnACopyOfTheTableWithNothingChosenAndConfirmUnusable) {
    importSome([&](PartialImportDialog& d) {
        EXPECT_EQ(d.windowTitle(), "部分数据导入：");
        auto* grid = d.findChild<QTableView*>("MSFlexGrid1");
        ASSERT_EQ(grid, d.targetGrid());
        EXPECT_EQ(grid->model()->rowCount(), 4);
        EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "英语");
        EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "张三");
        EXPECT_EQ(d.sourceGrid()->model()->rowCount(), 0);
        EXPECT_EQ(d.findChild<QLabel*>("Label1")->text(), "被编辑的表格：(选择要被填充的列，只可导入一列)");
        EXPECT_EQ(d.findChild<QLabel*>("Label2")->text(), "需提取数据的表格：(选择要被导入数据的列)");
        EXPECT_EQ(d.findChild<QPushButton*>("Command1")->text(), "浏览(&B)...");
        EXPECT_EQ(d.findChild<QPushButton*>("Command3")->text(), "取消(&C)");
        auto* confirm = d.findChild<QPushButton*>("Command2");
        EXPECT_EQ(confirm->text(), "确认(&O)");
        EXPECT_FALSE(confirm->isEnabled());
        auto* combo1 = d.findChild<QComboBox*>("Combo1");
        EXPECT_EQ(combo1->count(), 3);
        EXPECT_EQ(combo1->currentText(), "姓名");
        EXPECT_FALSE(combo1->isEnabled());
        EXPECT_EQ(d.findChild<QComboBox*>("Combo2")->count(), 0);
        EXPECT_EQ(d.targetColumn(), 0);

        // Clicking any cell of a column chooses that whole column, and only it.
        clickCell(grid, 2, 2);
        EXPECT_EQ(d.targetColumn(), 3);
        EXPECT_TRUE(grid->selectionModel()->isColumnSelected(2, {}));
        clickCell(grid, 0, 1);
        EXPECT_EQ(d.targetColumn(), 2);
        EXPECT_FALSE(grid->selectionModel()->isColumnSelected(2, {}));
        EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 4);
        d.cancelButton()->click();
    });
    EXPECT_EQ(english(), (Strings{"-", "-", "-", "-"}));
}

TEST_F(PartialImportDialogTest, TickingKeyMatchingEnablesTheKeyListsAndReddensTheExplanation) {
    importSome([&](PartialImportDialog& d) {
        QLabel* label = d.findChild<QLabel*>("Label3");
        EXPECT_EQ(
            label->text().toStdString(),
            "    许多的数据表出于种种原因，它们的排列顺序都有所不同，遇到这种情况，使用“对号入座”功能，可以"
            "实现根据所选的两表相关字段（如：姓名 与 姓名）把数据自动填充到应该所在的位置。（使用本功能的前"
            "提：“相关字段”中的数据必须唯一，否则，结果会有出入，所以请事先做一定的调整。）");
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        auto* check = d.findChild<QCheckBox*>("Check1");
        EXPECT_EQ(check->text(), "对号入座：");
        check->click();
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 25, 25));
        EXPECT_TRUE(d.targetKeyBox()->isEnabled());
        EXPECT_TRUE(d.sourceKeyBox()->isEnabled());
        check->click();
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        EXPECT_FALSE(d.targetKeyBox()->isEnabled());
        EXPECT_FALSE(d.sourceKeyBox()->isEnabled());
        d.reject();
    });
}

TEST_F(PartialImportDialogTest, ColumnZeroGivesTheTwoLineMessageAndTheRowByRowQuestionCanBeDeclined) {
    const std::string source = writeSource();
    host.prompts.chooseOpen(source);
    importSome([&](PartialImportDialog& d) {
        d.browseButton()->click();
        EXPECT_EQ(host.prompts.calls().back().text, "*.skv");
        EXPECT_EQ(host.prompts.calls().back().title, "打开数据文件");
        EXPECT_TRUE(d.confirmButton()->isEnabled());
        EXPECT_EQ(d.sourceGrid()->model()->rowCount(), 5);
        EXPECT_EQ(d.sourceKeyBox()->count(), 3);
        EXPECT_EQ(d.sourceKeyBox()->currentText(), "学号");

        // No column chosen in the source grid: the message, nothing imported, the dialog stays.
        d.chooseTargetColumn(3);
        d.confirmButton()->click();
        EXPECT_EQ(host.prompts.messages(), Strings{kChooseColumns});
        EXPECT_EQ(host.prompts.last().title, "提示");
        EXPECT_TRUE(d.isVisible());

        // Row by row: the question; No leaves the dialog open and the table as it was.
        d.chooseSourceColumn(3);
        host.prompts.answer(Answer::No);
        d.confirmButton()->click();
        EXPECT_EQ(host.prompts.questions(),
                  Strings{"您没有选择“对号入座”功能，因此，数据只是简单的按次序导入，确定继续么？"});
        EXPECT_EQ(host.prompts.last().title, "询问");
        EXPECT_EQ(english(), (Strings{"-", "-", "-", "-"}));
        EXPECT_TRUE(d.isVisible());

        host.prompts.answer(Answer::Yes);
        d.confirmButton()->click();
    });
    // Rows 1 to 4 of the source, in its order; the grid shows them.
    EXPECT_EQ(english(), (Strings{"92", "91", "99", "空"}));
    EXPECT_EQ(window->grid()->model()->index(0, 2).data().toString(), "92");
    EXPECT_TRUE(window->document().modified());
}

TEST_F(PartialImportDialogTest, KeyMatchingFillsEachStudentsRowAndUndoRestoresTheTable) {
    const std::string source = writeSource();
    host.prompts.chooseOpen(source);
    EXPECT_FALSE(window->action("menuUndo")->isEnabled());
    importSome([&](PartialImportDialog& d) {
        d.browseButton()->click();
        d.chooseTargetColumn(3);
        d.chooseSourceColumn(3);
        d.keyMatchingCheck()->click();
        d.targetKeyBox()->setCurrentIndex(0);  // 姓名
        d.sourceKeyBox()->setCurrentIndex(1);  // 姓名
        d.confirmButton()->click();
    });
    // 张三 and 李四 (first occurrence) found, 王五 absent keeps its value, the empty name takes the first
    // empty source name. No question is asked with key matching.
    EXPECT_EQ(english(), (Strings{"91", "92", "-", "空"}));
    EXPECT_TRUE(host.prompts.questions().empty());
    EXPECT_EQ(window->grid()->model()->index(1, 2).data().toString(), "92");

    ASSERT_TRUE(window->action("menuUndo")->isEnabled());
    window->action("menuUndo")->trigger();
    EXPECT_EQ(english(), (Strings{"-", "-", "-", "-"}));
    EXPECT_EQ(window->grid()->model()->index(1, 2).data().toString(), "-");
    EXPECT_FALSE(window->action("menuUndo")->isEnabled());

    // Matched on 学号 instead.
    host.prompts.chooseOpen(source);
    importSome([&](PartialImportDialog& d) {
        d.browseButton()->click();
        d.chooseTargetColumn(3);
        d.chooseSourceColumn(3);
        d.keyMatchingCheck()->click();
        d.targetKeyBox()->setCurrentIndex(1);
        d.sourceKeyBox()->setCurrentIndex(0);
        d.confirmButton()->click();
    });
    EXPECT_EQ(english(), (Strings{"91", "92", "-", "-"}));
}

TEST_F(PartialImportDialogTest, ASourceThatIsNoDataFileClosesTheDialogWithTheFormatMessage) {
    WriteBytes(dir.file("坏.skv"), GbkLines({"这不是数据文件", "x"}));
    const std::string source = writeSource();
    // A cancelled dialog or a missing file loads nothing; a first source stays when the next is missing.
    host.prompts.chooseOpen("")
        .chooseOpen(source)
        .chooseOpen(dir.file("无.skv"))
        .chooseOpen(dir.file("坏.skv"));
    bool closedByBrowse = false;
    importSome([&](PartialImportDialog& d) {
        d.browseButton()->click();
        EXPECT_FALSE(d.confirmButton()->isEnabled());
        d.browseButton()->click();
        d.browseButton()->click();
        EXPECT_TRUE(d.confirmButton()->isEnabled());
        EXPECT_EQ(d.sourceGrid()->model()->rowCount(), 5);
        EXPECT_TRUE(host.prompts.messages().empty());
        d.browseButton()->click();
        closedByBrowse = d.result() == QDialog::Rejected && !d.isVisible();
    });
    EXPECT_TRUE(closedByBrowse);
    EXPECT_EQ(host.prompts.messages(), Strings{"文件格式不正确!"});
    EXPECT_EQ(host.prompts.last().title, "提示");
    EXPECT_EQ(english(), (Strings{"-", "-", "-", "-"}));
    EXPECT_EQ(host.texts.back(), "就绪");
}

TEST_F(PartialImportDialogTest, TabGoesThroughEveryControlInReadingOrderAndEveryButtonHasItsKey) {
    host.prompts.chooseOpen(writeSource());
    importSome([&](PartialImportDialog& d) {
        d.show();
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
            QTest::keyClick(QApplication::focusWidget(), k, m);
        };
        key(Qt::Key_B, Qt::AltModifier);  // 浏览(&B)..., which clicks a moment later
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.sourceGrid()->model()->rowCount() == 5; }));
        d.targetGrid()->setFocus();
        QStringList visited;
        for (int i = 0; i < 9; ++i) {
            visited << QApplication::focusWidget()->objectName();
            if (visited.back() == "Check1") {
                key(Qt::Key_Space);  // ticked, the key lists can be reached
            }
            key(Qt::Key_Tab);
        }
        EXPECT_EQ(visited, (QStringList{"MSFlexGrid1", "Command1", "MSFlexGrid2", "Check1", "Combo1",
                                        "Combo2", "Command2", "Command3", "MSFlexGrid1"}));
        QStringList back;
        d.cancelButton()->setFocus();
        for (int i = 0; i < 9; ++i) {
            back << QApplication::focusWidget()->objectName();
            key(Qt::Key_Backtab);
        }
        EXPECT_EQ(back,
                  (QStringList{"Command3", "Command2", "Combo2", "Combo1", "Check1", "MSFlexGrid2",
                               "Command1", "MSFlexGrid1", "Command3"}));  // Shift+Tab the other way round
        // The arrows choose the column in a grid.
        d.sourceGrid()->setFocus();
        d.sourceGrid()->setCurrentIndex(d.sourceGrid()->model()->index(0, 0));
        key(Qt::Key_Right);
        EXPECT_EQ(d.sourceColumn(), 2);
        key(Qt::Key_C, Qt::AltModifier);  // 取消(&C)
        EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }));
        EXPECT_EQ(d.result(), QDialog::Rejected);
    });
}

TEST_F(PartialImportDialogTest, TheTableMenuOffersTheExchangeEntriesInTheirPlaces) {
    QMenu* table = window->menus().first();
    QStringList names;
    for (QAction* a : table->actions()) {
        names << (a->isSeparator() ? QStringLiteral("-")
                  : a->menu()      ? a->menu()->objectName()
                                   : a->objectName());
    }
    const QString order = names.join(' ');
    EXPECT_TRUE(order.contains("menuCopyTable menuexptable menuSaveCVS menuSaveXlsx - menuDRother menuImport"))
        << order.toStdString();
    EXPECT_EQ(window->action("menuexptable")->text(), "导出部分表格(&E)");
    QMenu* import = table->findChild<QMenu*>("menuImport");
    ASSERT_NE(import, nullptr);
    EXPECT_EQ(import->title(), "导入另一张表格(&I)");
    QStringList entries;
    for (QAction* a : import->actions()) {
        entries << a->text();
    }
    EXPECT_EQ(entries, (QStringList{"导入整张表格(&E)", "导入选定数据到指定位置(&S)", "从电子表格追加学生(&X)..."}));
    EXPECT_EQ(import->actions()[1]->objectName(), "menuImportSome");
}

}  // namespace
}  // namespace scorvane

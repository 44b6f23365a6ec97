// The partial export dialog (frmExpTable): the chosen rows and fields written as a new table, the 全选
// boxes, and the open question, from a table window in the frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>

#include "main/exchange/ui/partial_export_dialog.h"
#include "main/workspace/ui/frame_fixture.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::ReadBytes;
using Strings = std::vector<std::string>;

class PartialExportDialogTest : public testing::FrameTest {
  protected:
    // Six students with 姓名 语文 数学 总分 (a formula), opened in a window.
    TableWindow* openClass() {
        GradeTable t(7, 5);
        t.title = "期中";
        t.teacher = "王老师";
        t.classInfo = "高一(1)班";
        t.dataFormat = "###.#";
        t.setHeaderLayout("  |姓名|语文|数学|总分");
        const char* names[] = {"甲", "乙", "丙", "丁", "戊", "己"};
        for (int r = 1; r <= 6; ++r) {
            t.setCell(r, 1, names[r - 1]);
            t.setCell(r, 2, std::to_string(70 + r));
            t.setCell(r, 3, std::to_string(80 + r));
            t.setCell(r, 4, "！公式：cell(?,2)+cell(?,3)");
        }
        t.renumber();
        EXPECT_TRUE(WriteDataFile(t, dir.file("期中")));
        return window->openTable(dir.file("期中"));
    }

    void exportSome(TableWindow* table, std::function<void(PartialExportDialog&)> step) {
        dialogs.then([step](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmExpTable");
            step(static_cast<PartialExportDialog&>(d));
        });
        table->action("menuexptable")->trigger();
        EXPECT_TRUE(dialogs.exhausted());
    }

    static void choose(QAbstractItemView* list, std::initializer_list<int> entries) {
        for (int e : entries) {
            list->selectionModel()->select(list->model()->index(e, 0), QItemSelectionModel::Select);
        }
    }
};

TEST_F(PartialExportDialogTest, RowsTwoAndFiveWithFieldsOneAndThreeAreWrittenAndNoKeepsTheDialog) {
    start();
    TableWindow* table = openClass();
    ASSERT_NE(table, nullptr);
    prompter.chooseSave(dir.file("选出"))
        .answer(Answer::No)
        .chooseSave(dir.file("再选.skv"))
        .answer(Answer::No);
    exportSome(table, [&](PartialExportDialog& d) {
        EXPECT_EQ(d.windowTitle(), "导出表格指定数据");
        EXPECT_EQ(d.findChild<QLabel*>("Label1")->text(),
                  "选择需要导出的项目，按“确定”，所选择的项目将被保存为一张新的表格。");
        auto* rows = d.findChild<QListView*>("List2");
        auto* fields = d.findChild<QListWidget*>("List1");
        ASSERT_EQ(rows->model()->rowCount(), 6);
        EXPECT_EQ(rows->model()->index(4, 0).data().toString(), "戊");
        ASSERT_EQ(fields->count(), 4);
        EXPECT_EQ(fields->item(2)->text(), "数学");
        EXPECT_EQ(fields->currentRow(), 3);  // the last field is current, but not chosen
        EXPECT_TRUE(d.chosenFields().empty());
        EXPECT_EQ(d.findChild<QPushButton*>("Command1")->text(), "确定(&O)");
        EXPECT_EQ(d.findChild<QPushButton*>("Command3")->text(), "保存(&S)");
        EXPECT_EQ(d.findChild<QPushButton*>("Command2")->text(), "取消");
        EXPECT_EQ(d.findChild<QCheckBox*>("Check3")->text(), "单独导出每行");

        choose(rows, {4, 1});
        choose(fields, {2, 0});
        EXPECT_EQ(d.chosenRows(), (std::vector<int>{2, 5}));
        d.okButton()->click();
        EXPECT_TRUE(d.isVisible());  // No to the open question: the dialog stays for another export

        // "保存(&S)" and "单独导出每行" change nothing.
        d.eachRowCheck()->click();
        d.saveButton()->click();
        choose(rows, {5});  // the last row, like any other
        d.okButton()->click();
        EXPECT_TRUE(d.isVisible());
        d.cancelButton()->click();
    });
    EXPECT_EQ(ReadBytes(dir.file("选出.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "期中 导出表", "3", "3", "王老师", "高一(1)班", "###.#",
                        "  ", "姓名", "数学", "2", "乙", "82", "5", "戊", "85"}));
    EXPECT_EQ(ReadBytes(dir.file("再选.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "期中 导出表", "4", "3", "王老师", "高一(1)班", "###.#",
                        "  ", "姓名", "数学", "2", "乙", "82", "5", "戊", "85", "6", "己", "86"}));
    EXPECT_EQ(prompter.questions(),
              (Strings{"文件保存完毕，是否现在打开？", "文件保存完毕，是否现在打开？"}));
    EXPECT_EQ(prompter.last().title, "询问");
    EXPECT_EQ(window->tables().size(), 1);
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(PartialExportDialogTest, TheAllBoxesChooseEveryEntryAndNoneAgain) {
    start();
    TableWindow* table = openClass();
    ASSERT_NE(table, nullptr);
    exportSome(table, [&](PartialExportDialog& d) {
        d.findChild<QCheckBox*>("Check1")->click();
        EXPECT_EQ(d.chosenRows(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
        EXPECT_TRUE(d.chosenFields().empty());
        d.findChild<QCheckBox*>("Check2")->click();
        EXPECT_EQ(d.chosenFields(), (std::vector<int>{1, 2, 3, 4}));
        d.allRowsCheck()->click();
        EXPECT_TRUE(d.chosenRows().empty());
        EXPECT_EQ(d.chosenFields().size(), 4u);
        d.allFieldsCheck()->click();
        EXPECT_TRUE(d.chosenFields().empty());
        d.reject();
    });
}

TEST_F(PartialExportDialogTest, YesOpensTheNewTableInAWindowAndClosesTheDialog) {
    start();
    TableWindow* table = openClass();
    ASSERT_NE(table, nullptr);
    prompter.chooseSave("").chooseSave(dir.file("两科.skv")).answer(Answer::Yes);
    bool closed = false;
    exportSome(table, [&](PartialExportDialog& d) {
        d.allRowsCheck()->click();
        choose(d.fieldList(), {0, 3});
        d.okButton()->click();  // the save dialog cancelled: nothing written, the dialog stays
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(ReadBytes(dir.file("两科.skv")), "");
        d.okButton()->click();
        closed = !d.isVisible() && d.result() == QDialog::Accepted;
    });
    EXPECT_TRUE(closed);
    ASSERT_EQ(window->tables().size(), 2);
    TableWindow* opened = window->activeTable();
    ASSERT_NE(opened, table);
    EXPECT_EQ(opened->caption(), "期中 导出表");
    EXPECT_EQ(opened->document().table.filePath, dir.file("两科"));
    EXPECT_EQ(opened->document().table.rows(), 7);
    EXPECT_EQ(opened->document().table.fieldTitles(), (Strings{"姓名", "总分"}));
    // Cells are copied as stored: the formula keeps its text.
    EXPECT_EQ(opened->document().table.cell(1, 2), "！公式：cell(?,2)+cell(?,3)");
    EXPECT_EQ(window->statusText(1), "就绪");
}

}  // namespace
}  // namespace scorvane

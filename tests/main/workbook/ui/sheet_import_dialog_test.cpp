// Workbooks from the windows: 导入电子表格 in the frame (a sheet as a new, unsaved table window, with
// its header row changed in the dialog), 从电子表格追加学生 appending to an open table, 导出为电子表格.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTableView>

#include "common/file_io.h"
#include "main/workbook/ui/sheet_import_dialog.h"
#include "main/workspace/ui/frame_fixture.h"
#include "support/sample_table.h"
#include "support/workbook_builder.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;
using testing::MakeTable;

class SheetImportDialogTest : public testing::FrameTest {
  protected:
    // 封面, then 成绩: a title row, a notes row of two cells, the real header and two students.
    std::string writeBook() {
        testing::XlsxBook b;
        b.shared = {"期中成绩", "说明", "见背面", "序号", "姓名", "语文", "张三", "李四"};
        auto s = [](const std::string& ref, int i) {
            return "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(i) + "</v></c>";
        };
        auto n = [](const std::string& ref, const std::string& v) {
            return "<c r=\"" + ref + "\"><v>" + v + "</v></c>";
        };
        b.sheets = {{"封面", testing::SheetData({s("A1", 0)})},
                    {"成绩", testing::SheetData({s("A1", 0), s("A2", 1) + s("B2", 2),
                                                 s("A3", 3) + s("B3", 4) + s("C3", 5),
                                                 n("A4", "1") + s("B4", 6) + n("C4", "90"),
                                                 n("A5", "2") + s("B5", 7) + n("C5", "85.5")})}};
        const std::string path = dir.file("期中.xlsx");
        testing::WriteBytes(path, testing::XlsxBytes(b));
        return path;
    }

    static std::vector<std::string> row(const GradeTable& t, int r) {
        std::vector<std::string> out;
        for (int c = 1; c < t.cols(); ++c) {
            out.push_back(t.cell(r, c));
        }
        return out;
    }
};

TEST_F(SheetImportDialogTest, FrameImportShowsTheSheetAndOpensItAsANewUnsavedTable) {
    start();
    prompter.chooseOpen(writeBook());
    dialogs.then([](QDialog& dialog) {
        ASSERT_EQ(dialog.objectName(), "frmSheetImport");
        auto& d = static_cast<SheetImportDialog&>(dialog);
        ASSERT_EQ(d.sheetCombo()->count(), 2);
        EXPECT_EQ(d.sheetCombo()->currentText(), "封面");
        d.sheetCombo()->setCurrentIndex(1);
        EXPECT_EQ(d.headerRowSpin()->value(), 2);  // the first row of two cells
        EXPECT_EQ(d.titleLabel()->text(), "期中成绩");
        EXPECT_EQ(d.previewGrid()->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                  "说明");
        d.headerRowSpin()->setValue(3);
        EXPECT_EQ(d.previewGrid()->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                  "姓名");
        EXPECT_EQ(d.previewGrid()->model()->rowCount(), 2);
        EXPECT_EQ(d.countLabel()->text(), "共 2 名学生，2 个字段（第一列为序号，不作为字段）");
        d.okButton()->click();
    });
    window->action("menuOpenSheet")->trigger();
    EXPECT_TRUE(dialogs.exhausted());
    ASSERT_EQ(window->tables().size(), 1);
    TableWindow* table = window->tables().first();
    const GradeTable& t = table->document().table;
    EXPECT_EQ(t.title, "期中成绩");
    EXPECT_EQ(row(t, 0), (Strings{"姓名", "语文"}));
    EXPECT_EQ(row(t, 2), (Strings{"李四", "85.5"}));
    EXPECT_TRUE(t.filePath.empty());
    EXPECT_TRUE(table->document().modified());  // closing it asks about saving

    // 表格另存为 writes it wherever the teacher chooses.
    prompter.chooseSave(dir.file("期中.skv"));
    table->action("menuCopyTable")->trigger();
    EXPECT_TRUE(testing::ReadBytes(dir.file("期中.skv")).find("KVL'S Scorvane") != std::string::npos);
}

TEST_F(SheetImportDialogTest, ALargeSheetShowsItsFirstRowsAtOnceAndTheWholeSheetOnItsOwnThread) {
    start();
    auto cell = [](const std::string& type, const std::string& value) {
        return "<table:table-cell office:value-type=\"" + type +
               "\" office:" + (type == "float" ? "value" : "string-value") + "=\"" + value + "\"/>";
    };
    std::string rows =
        "<table:table-row>" + cell("string", "姓名") + cell("string", "语文") + "</table:table-row>";
    for (int i = 1; i <= SheetImportDialog::kFirstLookRows + 50; ++i) {
        rows += "<table:table-row>" + cell("string", "学生" + std::to_string(i)) +
                cell("float", std::to_string(i)) + "</table:table-row>";
    }
    const std::string path = dir.file("全年级.ods");
    testing::WriteBytes(path, testing::OdsBytes({{"成绩", rows}, {"封面", ""}}));
    prompter.chooseOpen(path);
    dialogs.then([](QDialog& dialog) {
        auto& d = static_cast<SheetImportDialog&>(dialog);
        EXPECT_TRUE(d.reading());
        EXPECT_EQ(d.countLabel()->text(), "正在读取整张工作表……");
        EXPECT_EQ(d.previewGrid()->model()->rowCount(), SheetImportDialog::kPreviewRows);
        EXPECT_EQ(d.sheetCombo()->count(), 1);  // the first look stops before the next sheet
        d.waitForSheet();
        EXPECT_EQ(d.countLabel()->text(), "共 250 名学生，2 个字段");
        EXPECT_EQ(d.sheetCombo()->count(), 2);
        d.okButton()->click();
    });
    window->action("menuOpenSheet")->trigger();
    ASSERT_EQ(window->tables().size(), 1);
    const GradeTable& t = window->tables().first()->document().table;
    ASSERT_EQ(t.rows(), 251);
    EXPECT_EQ(row(t, 250), (Strings{"学生250", "250"}));
}

// A window shown and then destroyed does not read its preview after it is gone (ASan sees it).
TEST_F(SheetImportDialogTest, AShownWindowIsDestroyedAfterItsPreviewIsLetGo) {
    SheetGrid grid;
    grid.sheetNames = {"成绩"};
    for (const auto& [r, c, text] : std::vector<std::tuple<int, int, std::string>>{
             {0, 0, "姓名"}, {0, 1, "语文"}, {1, 0, "张三"}, {1, 1, "90"}}) {
        ASSERT_TRUE(grid.set(r, c, text));
    }
    auto dialog = std::make_unique<SheetImportDialog>(dir.file("成绩.xlsx"), std::move(grid));
    dialog->show();
    QApplication::processEvents();
    EXPECT_EQ(dialog->previewGrid()->model()->headerData(0, Qt::Horizontal).toString(), "姓名");
    dialog->headerRowSpin()->setValue(2);  // a new preview, its header laid out when next needed
    EXPECT_EQ(dialog->previewGrid()->model()->headerData(0, Qt::Horizontal).toString(), "张三");
    dialog.reset();
}

TEST_F(SheetImportDialogTest, AWorkbookThatCannotBeReadGetsTheFormatMessageAndNoWindow) {
    start();
    testing::WriteBytes(dir.file("坏.xlsx"), "PK\x03\x04 broken");
    prompter.chooseOpen(dir.file("坏.xlsx"));
    window->action("menuOpenSheet")->trigger();
    EXPECT_EQ(prompter.messages(), (Strings{"文件格式不正确!"}));
    EXPECT_TRUE(window->tables().isEmpty());
}

TEST_F(SheetImportDialogTest, AppendingFromTheMenuAddsTheStudentsAfterTheLastRowAndUndoes) {
    start();
    writeTable(dir.file("班"), "班", 2);
    TableWindow* table = window->openTable(dir.file("班"));
    ASSERT_NE(table, nullptr);
    const GradeTable before = table->document().table;
    prompter.chooseOpen(writeBook());
    dialogs.then([](QDialog& dialog) {
        auto& d = static_cast<SheetImportDialog&>(dialog);
        d.sheetCombo()->setCurrentIndex(1);
        d.headerRowSpin()->setValue(3);
        d.okButton()->click();
    });
    table->action("menuImportSheet")->trigger();
    const GradeTable& t = table->document().table;
    ASSERT_EQ(t.rows(), 5);
    EXPECT_EQ(row(t, 3), (Strings{"张三", "90"}));
    EXPECT_EQ(t.cell(4, 0), "4");
    EXPECT_TRUE(prompter.messages().empty());
    table->action("menuUndo")->trigger();
    EXPECT_EQ(table->document().table.cellTexts(), before.cellTexts());
}

TEST_F(SheetImportDialogTest, AppendingSaysWhichColumnGoesWhereAndTakesThemByTitle) {
    start();
    Document d;
    d.table = MakeTable({"学号", "语文", "姓名"}, {{"7", "66", "王五"}});
    const GradeTable before = d.table;
    testing::RecordingStatus status;
    prompter.chooseOpen(writeBook());
    dialogs.then([](QDialog& dialog) {
        auto& d = static_cast<SheetImportDialog&>(dialog);
        EXPECT_EQ(d.windowTitle(), "从电子表格追加学生 - 期中.xlsx");
        d.sheetCombo()->setCurrentIndex(1);
        // Row 2 holds 说明 and 见背面: no field of the table has either title.
        EXPECT_EQ(d.columnsLabel()->text(), "电子表格中没有与表格相同的字段，无法导入！");
        EXPECT_FALSE(d.okButton()->isEnabled());
        d.headerRowSpin()->setValue(3);
        EXPECT_EQ(d.columnsLabel()->text(), "姓名 → 姓名；语文 → 语文；学号：电子表格中没有此字段，留空");
        EXPECT_TRUE(d.okButton()->isEnabled());
        d.okButton()->click();
    });
    ASSERT_TRUE(RunSheetAppendDialog(d, prompter, status, dialogs, window.get()));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(d.table.cellTexts(), (Strings{"  ", "学号", "语文", "姓名",  //
                                            "1", "7", "66", "王五",        //
                                            "2", "", "90", "张三",         //
                                            "3", "", "85.5", "李四"}));
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(d.table.cellTexts(), before.cellTexts());
}

TEST_F(SheetImportDialogTest, AHeaderRowPastTheSheetsEndLetsNothingThrough) {
    start();
    prompter.chooseOpen(writeBook());
    dialogs.then([](QDialog& dialog) {
        auto& d = static_cast<SheetImportDialog&>(dialog);
        d.sheetCombo()->setCurrentIndex(1);
        EXPECT_TRUE(d.okButton()->isEnabled());
        d.headerRowSpin()->setValue(40);
        EXPECT_EQ(d.countLabel()->text(), "共 0 名学生，0 个字段");
        EXPECT_FALSE(d.okButton()->isEnabled());
        dialog.accept();  // Enter, or a click already on its way, takes nothing either
        EXPECT_FALSE(d.result());
        d.reject();
    });
    window->action("menuOpenSheet")->trigger();
    EXPECT_TRUE(window->tables().isEmpty());
}

TEST_F(SheetImportDialogTest, ExportWritesTheWorkbookAndAFailedWriteSaysSo) {
    start();
    writeTable(dir.file("班"), "高一(1)班", 2);
    TableWindow* table = window->openTable(dir.file("班"));
    ASSERT_NE(table, nullptr);
    prompter.chooseSave(dir.file("交教务处"));
    table->action("menuSaveXlsx")->trigger();
    EXPECT_EQ(prompter.last().suggestedName, "高一(1)班");
    SheetGrid grid;
    const SheetTable back = ImportWorkbook(dir.file("交教务处.xlsx"), {}, -1, grid);
    ASSERT_EQ(back.message, "");
    EXPECT_EQ(back.table.title, "高一(1)班");
    EXPECT_EQ(back.table.cellTexts(), table->document().table.cellTexts());

    // A folder stands where the workbook would go.
    ASSERT_TRUE(MakeDirectories(dir.file("是文件夹.xlsx")));
    prompter.chooseSave(dir.file("是文件夹.xlsx"));
    table->action("menuSaveXlsx")->trigger();
    EXPECT_EQ(prompter.messages(), (Strings{"文件保存失败！"}));
}

TEST_F(SheetImportDialogTest, EveryMnemonicIsUniqueInTheMenusWithWorkbookEntries) {
    start();
    writeTable(dir.file("班"), "班", 1);
    TableWindow* table = window->openTable(dir.file("班"));
    ASSERT_NE(table, nullptr);
    auto mnemonics = [](const QMenu* menu) {
        QStringList keys;
        for (const QAction* a : menu->actions()) {
            const qsizetype at = a->text().indexOf('&');
            if (at >= 0 && at + 1 < a->text().size() && a->text()[at + 1] != '&') {
                keys << a->text().mid(at + 1, 1).toUpper();
            }
        }
        return keys;
    };
    // Each new entry's key is its own in its menu.
    auto own = [&mnemonics](const QAction* a) {
        const QStringList keys = mnemonics(qobject_cast<QMenu*>(a->parent()));
        return keys.count(a->text().mid(a->text().indexOf('&') + 1, 1)) == 1;
    };
    EXPECT_TRUE(own(window->action("menuOpenSheet")));
    for (const char* entry : {"menuSaveXlsx", "menuImportSheet", "menuOpenSheet"}) {
        EXPECT_TRUE(own(table->action(entry))) << entry;
    }
}

}  // namespace
}  // namespace scorvane

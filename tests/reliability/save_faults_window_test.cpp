// The windows that save, with the disk failing under them: each says "文件保存失败！", keeps the old
// file byte for byte, leaves no temporary file, and keeps what the user has in front of him.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>

#include "common/file_io.h"
#include "common/qt/print_path.h"
#include "common/text_codec.h"
#include "main/exchange/dbf_builder.h"
#include "main/exchange/ui/dbf_converter_dialog.h"
#include "main/exchange/ui/partial_export_dialog.h"
#include "main/printing/ui/chart_dialog.h"
#include "main/workspace/ui/frame_fixture.h"
#include "main/workspace/ui/school_editor_dialog.h"
#include "support/sample_table.h"
#include "support/write_faults.h"

namespace scorvane {
namespace {

using testing::FolderEntries;
using testing::ReadBytes;
using testing::ScopedWriteFault;
using testing::WriteBytes;
using testing::WriteFault;

const std::string kFailed(kSaveFailedMessage);
// Two faults for each window (the core tests go through every step of every save).
constexpr WriteFault kFaults[] = {WriteFault::NoSpace, WriteFault::Rename};

class WindowSaveFaults : public testing::FrameTest {
  protected:
    // A file that must come through untouched, and the folder around it.
    struct Kept {
        std::string path;
        std::string bytes;
        std::vector<std::string> folder;
    };
    Kept keep(const std::string& path, const std::string& bytes = "the old file\r\n") {
        WriteBytes(path, bytes);
        return {path, bytes, FolderEntries(dir.path())};
    }
    void expectKept(const Kept& kept) {
        EXPECT_EQ(ReadBytes(kept.path), kept.bytes);
        EXPECT_EQ(FolderEntries(dir.path()), kept.folder);
        ASSERT_FALSE(prompter.messages().empty());
        EXPECT_EQ(prompter.messages().back(), kFailed);
        EXPECT_EQ(prompter.last().title, "错误");
    }
    TableWindow* openTable() {
        GradeTable t = testing::MakeClass(3, "甲");
        t.title = "期中";
        EXPECT_TRUE(WriteDataFile(t, dir.file("期中")));
        return window->openTable(dir.file("期中"));
    }
};

TEST_F(WindowSaveFaults, TheTableWindowKeepsItsTableAndTheOldFiles) {
    start();
    TableWindow* t = openTable();
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(1, 3);
    t->setFormulaBarText("99");
    t->commitFormulaBar();
    ASSERT_TRUE(t->document().modified());
    const Kept csv = keep(dir.file("成绩.csv"));
    const Kept table{dir.file("期中.skv"), ReadBytes(dir.file("期中.skv")), FolderEntries(dir.path())};
    for (WriteFault fault : kFaults) {
        SCOPED_TRACE(std::string(testing::WriteFaultName(fault)));
        ScopedWriteFault injected(fault);
        prompter.answer(Answer::Yes);  // replace the table's file
        EXPECT_EQ(t->save(), SaveOutcome::Failed);
        expectKept(table);
        EXPECT_TRUE(t->document().modified());

        // Closing asks to save; the save fails, so the window stays with the change.
        prompter.answer(Answer::Yes).answer(Answer::Yes);
        subWindowOf(t)->close();
        testing::Flush();
        ASSERT_EQ(window->tables().size(), 1);
        EXPECT_EQ(t->document().table.cell(1, 3), "99");
        expectKept(table);

        prompter.chooseSave(csv.path);
        t->saveCsv();
        expectKept(csv);
    }
    // The field template goes into the workspace's template folder.
    ASSERT_TRUE(MakeDirectories(dir.file("表格模版")));
    WriteBytes(dir.file("表格模版/考试.templet"), "the old template");
    for (WriteFault fault : kFaults) {
        ScopedWriteFault injected(fault);
        prompter.type("考试");
        t->saveFieldTemplate();
        EXPECT_EQ(ReadBytes(dir.file("表格模版/考试.templet")), "the old template");
        EXPECT_EQ(FolderEntries(dir.file("表格模版")), std::vector<std::string>{"考试.templet"});
        EXPECT_EQ(prompter.messages().back(), kFailed);
    }
}

TEST_F(WindowSaveFaults, TheConverterAndThePartialExportStayOpen) {
    MainWindow& w = start();
    WriteBytes(
        dir.file("学生.dbf"),
        testing::DbfBuilder{0x03, {{"XH", 'C', 6}, {"XM", 'C', 8}}, {{{"0101", EncodeGbk("张三")}}}}.bytes());
    const Kept converted = keep(dir.file("一班.skv"));
    prompter.chooseOpen(dir.file("学生.dbf"));
    for (int i = 0; i < 2; ++i) {
        prompter.chooseSave(converted.path).answer(Answer::Yes);
    }
    dialogs.then([&](QDialog& d) {
        ASSERT_EQ(d.objectName(), "Form2");
        d.findChild<QPushButton*>("Command1")->click();
        for (WriteFault fault : kFaults) {
            ScopedWriteFault injected(fault);
            d.findChild<QPushButton*>("Command2")->click();
            expectKept(converted);
            EXPECT_TRUE(d.isVisible());
            EXPECT_TRUE(d.findChild<QPushButton*>("Command2")->isEnabled());
        }
        d.reject();
    });
    w.action("menuFoxExp")->trigger();
    EXPECT_TRUE(dialogs.exhausted());

    TableWindow* t = openTable();
    ASSERT_NE(t, nullptr);
    const Kept exported = keep(dir.file("选出.skv"));
    for (int i = 0; i < 2; ++i) {
        prompter.chooseSave(exported.path);
    }
    dialogs.then([&](QDialog& d) {
        auto& dialog = static_cast<PartialExportDialog&>(d);
        auto* rows = d.findChild<QListView*>("List2");
        rows->selectionModel()->select(rows->model()->index(0, 0), QItemSelectionModel::Select);
        d.findChild<QListWidget*>("List1")->item(0)->setSelected(true);
        for (WriteFault fault : kFaults) {
            ScopedWriteFault injected(fault);
            dialog.okButton()->click();
            expectKept(exported);
            EXPECT_TRUE(d.isVisible());
        }
        dialog.cancelButton()->click();
    });
    t->action("menuexptable")->trigger();
    EXPECT_TRUE(dialogs.exhausted());
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(WindowSaveFaults, ThePrintWindowsKeepTheOldPictureAndTheOldPdf) {
    start();
    TableWindow* t = openTable();
    ASSERT_NE(t, nullptr);
    window->printPath().setPrintersInstalled([] { return false; });  // print into a PDF file
    Kept picture = keep(dir.file("图表.bmp"));
    const Kept pdf = keep(dir.file("打印.pdf"));
    picture.folder = pdf.folder;
    auto expectPrintFailed = [&] {
        EXPECT_EQ(ReadBytes(pdf.path), pdf.bytes);
        EXPECT_EQ(FolderEntries(dir.path()), pdf.folder);
        ASSERT_FALSE(prompter.messages().empty());
        EXPECT_EQ(prompter.messages().back(), kPrintErrorMessage);
        EXPECT_EQ(prompter.last().title, kPrintErrorTitle);
    };

    dialogs.then([&](QDialog& d) {
        ASSERT_EQ(d.objectName(), "frm图表");
        d.findChild<QListWidget*>("List1")->item(1)->setCheckState(Qt::Checked);
        d.findChild<QListWidget*>("List2")->item(0)->setSelected(true);
        d.findChild<QPushButton*>("Command4")->click();  // 预览
        for (WriteFault fault : kFaults) {
            SCOPED_TRACE(std::string(testing::WriteFaultName(fault)));
            ScopedWriteFault injected(fault);
            prompter.chooseSave(picture.path);
            emit d.findChild<QLabel*>("Label9")->linkActivated("save");  // 保存图片
            expectKept(picture);
            prompter.chooseSave(pdf.path);
            d.findChild<QPushButton*>("Command5")->click();  // 打印
            expectPrintFailed();
            EXPECT_TRUE(d.isVisible());
        }
        d.reject();
    });
    t->action("menuPrintTB")->trigger();
    EXPECT_TRUE(dialogs.exhausted());

    dialogs.then([&](QDialog& d) {
        ASSERT_EQ(d.objectName(), "frmPrintSetup");
        for (WriteFault fault : kFaults) {
            SCOPED_TRACE(std::string(testing::WriteFaultName(fault)));
            ScopedWriteFault injected(fault);
            prompter.chooseSave(pdf.path);
            d.findChild<QPushButton*>("cmdPrint")->click();
            expectPrintFailed();
            EXPECT_TRUE(d.isVisible());
        }
        d.reject();
    });
    t->action("menuPrintView")->trigger();
    EXPECT_TRUE(dialogs.exhausted());
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(WindowSaveFaults, TheSchoolEditorStaysOpenWithItsChanges) {
    testing::EnsureQtApplication();
    const Kept school =
        keep(dir.file("SchoolInfo.ini"), EncodeGbk("[School]\r\nName=旧学校\r\nGrade=-1\r\n"));
    SchoolEditorDialog d(prompter, dir.path() + "/");
    d.show();
    d.schoolNameEdit()->setText("新学校");
    for (WriteFault fault : kFaults) {
        ScopedWriteFault injected(fault);
        d.button("Command7")->click();  // 完成
        expectKept(school);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.schoolNameEdit()->text(), "新学校");
    }
}

}  // namespace
}  // namespace scorvane

// The FoxPro converter (Form2) from the frame's file menu and from a table window: reading a table,
// saving it as a grade table with the typed title, teacher and class information, the overwrite
// question, and a damaged table.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/text_codec.h"
#include "main/exchange/dbf_builder.h"
#include "main/exchange/ui/dbf_converter_dialog.h"
#include "main/workspace/ui/frame_fixture.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::ReadBytes;
using testing::WriteBytes;
using Strings = std::vector<std::string>;

class DbfConverterDialogTest : public testing::FrameTest {
  protected:
    // The office's list: XH and XM, two students.
    std::string writeList() {
        const std::string bytes =
            testing::DbfBuilder{0x03,
                                {{"XH", 'C', 6}, {"XM", 'C', 8}},
                                {{{"0101", EncodeGbk("张三")}}, {{"0102", EncodeGbk("李四")}}}}
                .bytes();
        WriteBytes(dir.file("学生.dbf"), bytes);
        return dir.file("学生.dbf");
    }

    void convert(QAction* menuEntry, std::function<void(DbfConverterDialog&)> step) {
        dialogs.then([step](QDialog& d) {
            ASSERT_EQ(d.objectName(), "Form2");
            step(static_cast<DbfConverterDialog&>(d));
        });
        menuEntry->trigger();
        EXPECT_TRUE(dialogs.exhausted());
    }
};

TEST_F(DbfConverterDialogTest, TheTwoStudentListSavesAsAThreeByThreeTableAndAsksBeforeOverwriting) {
    MainWindow& w = start();
    ASSERT_EQ(w.activeTable(), nullptr);  // no table is needed
    QAction* entry = w.action("menuFoxExp");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "转换&FoxPro格式表格");
    const std::string list = writeList();
    prompter.chooseOpen(list)
        .chooseSave(dir.file("一班.skv"))
        .chooseSave(dir.file("一班.skv"))
        .answer(Answer::No)
        .chooseSave(dir.file("一班"))
        .answer(Answer::Yes);
    convert(entry, [&](DbfConverterDialog& d) {
        EXPECT_EQ(d.windowTitle(), "DBF2DAT,KVL'S Scorvane 数据格式转换器 ");
        EXPECT_EQ(d.findChild<QGroupBox*>()->title(), "格式：");
        auto* save = d.findChild<QPushButton*>("Command2");
        EXPECT_EQ(save->text(), "转换保存(&S)...");
        EXPECT_FALSE(save->isEnabled());
        auto* open = d.findChild<QPushButton*>("Command1");
        EXPECT_EQ(open->text(), "打开(&O)");
        open->click();
        EXPECT_EQ(prompter.calls()[0].text, "*.dbf");
        EXPECT_EQ(prompter.calls()[0].title, "打开FoxPro 2.5数据库文件");
        EXPECT_EQ(d.findChild<QLineEdit*>("Text1")->text().toStdString(), list);
        QTableView* grid = d.findChild<QTableView*>("MSFlexGrid1");
        ASSERT_EQ(grid->model()->rowCount(), 2);
        EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "XM");
        EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical).toString(), "2");
        EXPECT_EQ(grid->model()->index(1, 1).data().toString(), "李四");
        EXPECT_TRUE(save->isEnabled());

        d.findChild<QLineEdit*>("Text3")->setText("高一(1)班名单");
        d.findChild<QLineEdit*>("Text4")->setText("王老师");
        d.findChild<QPlainTextEdit*>("Text5")->setPlainText("高一\n(1)班");
        save->click();
        EXPECT_EQ(prompter.questions().size(), 0u);  // a new file: no question
        EXPECT_TRUE(d.isVisible());                  // the converter stays open

        d.findChild<QLineEdit*>("Text3")->setText("第二次");
        save->click();  // No: the first file stays
        EXPECT_EQ(prompter.questions(), Strings{"确实覆盖原有数据么？"});
        EXPECT_EQ(prompter.last().title, "提示：");
        EXPECT_NE(ReadBytes(dir.file("一班.skv")).find(EncodeGbk("高一(1)班名单")), std::string::npos);
        save->click();  // Yes
        d.reject();
    });
    EXPECT_EQ(ReadBytes(dir.file("一班.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "第二次", "3", "3", "王老师", "高一[/](1)班", "###.##",
                        "  ", "XH", "XM", "1", "0101", "张三", "2", "0102", "李四"}));
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(DbfConverterDialogTest, TheKeyboardAloneReadsFillsInAndSavesATwoLineClassInformation) {
    MainWindow& w = start();
    prompter.chooseOpen(writeList()).chooseSave(dir.file("二班.skv"));
    convert(w.action("menuFoxExp"), [&](DbfConverterDialog& d) {
        d.show();
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
            QTest::keyClick(QApplication::focusWidget(), k, m);
        };
        auto focus = [] { return QApplication::focusWidget()->objectName(); };
        key(Qt::Key_O, Qt::AltModifier);  // 打开(&O), which clicks a moment later
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.grid()->model()->rowCount() == 2; }));
        d.grid()->setFocus();
        d.grid()->setCurrentIndex(d.grid()->model()->index(0, 0));
        key(Qt::Key_Right);  // the arrows move in the grid
        EXPECT_EQ(d.grid()->currentIndex().column(), 1);
        key(Qt::Key_Tab);  // Tab leaves it
        EXPECT_EQ(focus(), "Text3");
        QTest::keyClicks(QApplication::focusWidget(), "list");
        key(Qt::Key_Tab);
        EXPECT_EQ(focus(), "Text4");
        key(Qt::Key_Tab);
        EXPECT_EQ(focus(), "Text5");
        QTest::keyClicks(QApplication::focusWidget(), "one");
        key(Qt::Key_Return);  // a second line
        QTest::keyClicks(QApplication::focusWidget(), "two");
        key(Qt::Key_Tab);
        EXPECT_EQ(focus(), "Command2");
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        key(Qt::Key_Backtab);
        EXPECT_EQ(focus(), "MSFlexGrid1");
        EXPECT_EQ(d.info().classInfo, "one\r\ntwo");  // CR LF, as every value keeps a line break
        key(Qt::Key_S, Qt::AltModifier);              // 转换保存(&S)...
        EXPECT_TRUE(QTest::qWaitFor([&] { return prompter.exhausted(); }));
        d.reject();
    });
    const std::string head =
        GbkLines({"KVL'S Scorvane数据文件", "list", "3", "3", "", "one[/]two", "###.##"});
    EXPECT_EQ(ReadBytes(dir.file("二班.skv")).substr(0, head.size()), head);
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(DbfConverterDialogTest, ADamagedTableShowsTheErrorNumberAndKeepsSavingUnusable) {
    MainWindow& w = start();
    std::string damaged = testing::DbfBuilder{0x03, {{"XH", 'C', 6}}, {{{"0101"}}, {{"0102"}}}}.bytes();
    damaged.resize(damaged.size() - 8);  // the last record cut short
    WriteBytes(dir.file("坏.dbf"), damaged);
    WriteBytes(dir.file("不是.dbf"), "not a table at all, only some text written by hand");
    writeTable(dir.file("班"), "班");
    TableWindow* table = w.openTable(dir.file("班"));
    ASSERT_NE(table, nullptr);
    const std::string list = writeList();
    prompter.chooseOpen(dir.file("坏.dbf"))
        .chooseOpen(dir.file("不是.dbf"))
        .chooseOpen(list)
        .chooseOpen(dir.file("坏.dbf"));
    // From the table window's own entry; the table is not touched.
    convert(table->action("menuDRother"), [&](DbfConverterDialog& d) {
        d.openButton()->click();
        d.openButton()->click();
        EXPECT_FALSE(d.saveButton()->isEnabled());
        EXPECT_EQ(d.grid()->model()->rowCount(), 0);
        EXPECT_EQ(d.pathBox()->text(), "");
        // After a good table, a damaged one leaves the grid, the path box and the save button as they were.
        d.openButton()->click();
        d.openButton()->click();
        EXPECT_TRUE(d.saveButton()->isEnabled());
        EXPECT_EQ(d.grid()->model()->rowCount(), 2);
        EXPECT_EQ(d.pathBox()->text().toStdString(), list);
        d.reject();
    });
    EXPECT_EQ(prompter.messages(),
              (Strings{"数据库读取发生错误。错误代码：\n4", "数据库读取发生错误。错误代码：\n2",
                       "数据库读取发生错误。错误代码：\n4"}));
    EXPECT_EQ(prompter.last().title, "错误");
    EXPECT_EQ(prompter.last().icon, Icon::Error);
    EXPECT_EQ(table->action("menuDRother")->text(), "导入FoxFro格式表格(&I)");
    EXPECT_FALSE(table->document().modified());
}

}  // namespace
}  // namespace scorvane

// 导入全年级成绩 and 任课表 from the school tree's pop-up on a grade: the sheet preview, the classes'
// preview, the question about existing tables, the tables written and the tree shown again; the grade's
// 任课表 opened as any table.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/file_io.h"
#include "main/document/field_template.h"
#include "main/workbook/ui/grade_split_dialog.h"
#include "main/workspace/school_info.h"
#include "main/workspace/ui/frame_fixture.h"
#include "support/sample_table.h"
#include "support/workbook_builder.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;
using testing::MakeTable;

class GradeSplitWindowTest : public testing::FrameTest {
  protected:
    std::string grade() const { return dir.path() + "/表格数据/一中/高一/"; }
    // The grade's marks: a title row, 班级, 姓名 and two subjects; a class the tree lacks.
    std::string writeBook() {
        testing::XlsxBook b;
        auto t = [](const std::string& ref, const std::string& text) {
            return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
        };
        b.sheets = {{"成绩", testing::SheetData(
                                 {t("A1", "高一期中"),
                                  t("A2", "班级") + t("B2", "姓名") + t("C2", "语文") + t("D2", "数学"),
                                  t("A3", "高一1班") + t("B3", "甲") + t("C3", "80") + t("D3", "90"),
                                  t("A4", "高一2班") + t("B4", "乙") + t("C4", "70") + t("D4", "60"),
                                  t("A5", "高一(3)班") + t("B5", "丙") + t("C5", "50") + t("D5", "缺考")})}};
        const std::string path = dir.file("全年级.xlsx");
        testing::WriteBytes(path, testing::XlsxBytes(b));
        return path;
    }
    void selectGrade() {
        window->tree()->setCurrentItem(item("Grade0"));
        QTest::keyClick(window->tree(), Qt::Key_Menu);
        window->treePopup()->close();
    }
    static QStringList lines(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) {
            out << list->item(i)->text();
        }
        return out;
    }
    static QList<QWidget*> tabOrder(QWidget* window) {
        QList<QWidget*> order;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
                order << w;
            }
        }
        return order;
    }
};

TEST_F(GradeSplitWindowTest, TheWholeGradesSheetBecomesEachClasssTableAndTheTreeShowsTheNewClass) {
    writeSchool();
    ASSERT_EQ(WriteFieldTemplate(dir.file("表格模版/考试成绩.templet"),
                                 {"  ", {"姓名", "语文", "数学", "总分", "平均"}}),
              TemplateWriteResult::Written);
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"旧"}}), grade() + "(2)班/期中"));
    const std::string before = testing::ReadBytes(grade() + "(2)班/期中.skv");
    MainWindow& w = start();
    QAction* import = w.action("menuGradeImport");
    ASSERT_NE(import, nullptr);
    EXPECT_EQ(import->text(), "导入全年级成绩(&I)...");
    selectGrade();
    ASSERT_TRUE(import->isEnabled());

    prompter.chooseOpen(writeBook());
    prompter.answer(Answer::No);  // 跳过这些班级
    dialogs
        .then([](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmSheetImport");
            EXPECT_TRUE(d.windowTitle().startsWith("导入全年级成绩 - "));
            QTest::keyClick(&d, Qt::Key_Return);
        })
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmGradeSplit");
            auto& g = static_cast<GradeSplitDialog&>(d);
            EXPECT_EQ(g.classColumnBox()->currentText(), "班级");
            EXPECT_EQ(g.nameEdit()->text(), "期中");
            EXPECT_TRUE(g.templateCheck()->isChecked());
            EXPECT_EQ(g.templateBox()->currentText(), "考试成绩");
            EXPECT_EQ(lines(g.classList()),
                      (QStringList{"(1)班　1 名学生", "(2)班　1 名学生（已有表格“期中”）",
                                   "第 5 行的班级“高一(3)班”在学校关系树中不存在"}));
            EXPECT_EQ(g.countLabel()->text(), "2 个班级，共 2 名学生；1 行不属于本年级的班级");
            EXPECT_EQ(tabOrder(&g),
                      (QList<QWidget*>{g.classColumnBox(), g.nameEdit(), g.templateCheck(), g.templateBox(),
                                       g.classList(), g.addClassesCheck(), g.okButton(), g.cancelButton()}));
            EXPECT_TRUE(g.okButton()->isDefault());
            // The new name shows which classes hold it; the class column changed matches nothing.
            g.nameEdit()->setText("月考");
            EXPECT_EQ(lines(g.classList())[1], "(2)班　1 名学生");
            g.nameEdit()->setText("期中");
            QTest::keyClick(g.addClassesCheck(), Qt::Key_Space);
            EXPECT_EQ(lines(g.classList())[2], "(3)班　1 名学生（学校关系树中没有，将添加）");
            g.okButton()->click();
            EXPECT_EQ(g.result(), QDialog::Accepted);
        });
    import->trigger();
    ASSERT_TRUE(dialogs.exhausted());
    EXPECT_TRUE(prompter.exhausted());
    const std::string summary =
        "已为 2 个班级建立表格“期中”，共 2 名学生；跳过 1 个班级\n以下班级已有表格“期中”，已跳过：(2)班";
    EXPECT_EQ(prompter.messages(), Strings{summary});
    EXPECT_EQ(w.statusText(1), "已为 2 个班级建立表格“期中”，共 2 名学生；跳过 1 个班级");
    EXPECT_EQ(testing::ReadBytes(grade() + "(2)班/期中.skv"), before);
    ASSERT_NE(item("Grade0Class2"), nullptr);  // (3)班, in the tree at once
    GradeTable three;
    ASSERT_TRUE(ReadDataFile(grade() + "(3)班/期中.skv", three));
    EXPECT_EQ(testing::AllRowCells(three),
              (std::vector<Strings>{
                  {"姓名", "语文", "数学", "总分", "平均"},
                  {"丙", "50", "缺考", "！公式：cell(?,2)+cell(?,3)", "！公式：(cell(?,2)+cell(?,3))/2"}}));
    // The class's pop-up lists its new table.
    window->tree()->setCurrentItem(item("Grade0Class0"));
    QTest::keyClick(window->tree(), Qt::Key_Menu);
    window->treePopup()->close();
    EXPECT_EQ(w.listedTables(), Strings{"期中"});
}

TEST_F(GradeSplitWindowTest, ARefusedChoiceIsToldAndTheWindowStaysEscapeWritesNothing) {
    writeSchool();
    MainWindow& w = start();
    selectGrade();
    testing::WriteBytes(dir.file("全年级.csv"), "姓名,班级\n甲,1班\n乙,2班\n");
    prompter.chooseOpen(dir.file("全年级.csv"));
    dialogs.then([&](QDialog& d) {
        ASSERT_EQ(d.objectName(), "frmGradeSplit");
        auto& g = static_cast<GradeSplitDialog&>(d);
        EXPECT_EQ(g.nameEdit()->text(), "全年级");
        EXPECT_FALSE(g.templateCheck()->isEnabled());  // no template in the workspace
        g.nameEdit()->setText("  ");
        g.okButton()->click();
        g.nameEdit()->setText("期/中");
        g.okButton()->click();
        g.nameEdit()->setText("期中");
        g.classColumnBox()->setCurrentIndex(0);  // 姓名: no class
        EXPECT_EQ(g.countLabel()->text(), "0 个班级，共 0 名学生；2 行不属于本年级的班级");
        g.okButton()->click();
        EXPECT_EQ(prompter.messages(), (Strings{"文件名称不能为空！请重新输入。",
                                                "文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。",
                                                "没有属于本年级班级的学生，请检查班级列！"}));
        EXPECT_TRUE(g.isVisible());
        QTest::keyClick(&g, Qt::Key_Escape);
    });
    w.action("menuGradeImport")->trigger();
    EXPECT_TRUE(dialogs.exhausted());
    EXPECT_FALSE(DirectoryExists(grade() + "(1)班"));

    // A file that cannot be read is told, and no window opens.
    testing::WriteBytes(dir.file("坏.xlsx"), "PK");
    prompter.clear();
    prompter.chooseOpen(dir.file("坏.xlsx"));
    w.action("menuGradeImport")->trigger();
    EXPECT_EQ(prompter.messages(), Strings{"文件格式不正确!"});
}

TEST_F(GradeSplitWindowTest, TheGradesTeacherTableIsMadeOnceAndOpensAsAnyTable) {
    writeSchool();
    ASSERT_TRUE(
        WriteDataFile(MakeTable({"姓名", "语文", "数学"}, {{"甲", "80", "90"}}), grade() + "(1)班/期中"));
    const std::string school = testing::ReadBytes(dir.file("SchoolInfo.ini"));
    MainWindow& w = start();
    QAction* teachers = w.action("menuTeacherTable");
    ASSERT_NE(teachers, nullptr);
    EXPECT_EQ(teachers->text(), "任课表(&T)...");
    selectGrade();
    teachers->trigger();
    ASSERT_EQ(w.tables().size(), 1);
    TableWindow* table = w.tables().front();
    EXPECT_EQ(table->document().table.title, "高一任课表");
    EXPECT_EQ(testing::AllRowCells(table->document().table),
              (std::vector<Strings>{{"班级", "语文", "数学"}, {"(1)班", "", ""}, {"(2)班", "", ""}}));
    EXPECT_TRUE(FileExists(grade() + "任课表.skv"));
    EXPECT_TRUE(table->document().file.holdsLock());
    // Asked again, the open window comes forward; the tree and the school file stay as they were.
    teachers->trigger();
    EXPECT_EQ(w.tables().size(), 1);
    EXPECT_EQ(testing::ReadBytes(dir.file("SchoolInfo.ini")), school);
    window->tree()->setCurrentItem(item("Grade0Class0"));
    QTest::keyClick(window->tree(), Qt::Key_Menu);
    window->treePopup()->close();
    EXPECT_EQ(w.listedTables(), Strings{"期中"});
}

}  // namespace
}  // namespace scorvane

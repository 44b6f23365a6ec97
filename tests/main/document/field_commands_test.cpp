#include "main/document/field_commands.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/field_template.h"
#include "sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::RowCells;
using testing::SampleDocument;
using testing::ScriptedPrompter;
using testing::Strings;
using testing::TempDir;
using testing::WriteBytes;

Document TwoStudents() {
    return SampleDocument({"姓名", "语文", "数学"}, {{"张三", "85", "90"}, {"李四", "70", "66"}});
}

TEST(InsertColumnTest, InsertsAtTheCurrentColumnMovingCellsRightAndAsksForTheTitle) {
    Document doc = TwoStudents();
    ScriptedPrompter prompter;
    prompter.type("英语");
    EXPECT_EQ(InsertColumn(doc, 2, prompter), 2);
    const GradeTable& t = doc.table;
    EXPECT_EQ(t.cols(), 5);
    EXPECT_EQ(t.fieldTitles(), (Strings{"姓名", "英语", "语文", "数学"}));
    EXPECT_EQ(RowCells(t, 1), (Strings{"张三", "", "85", "90"}));
    EXPECT_EQ(RowCells(t, 2), (Strings{"李四", "", "70", "66"}));
    EXPECT_EQ(t.cell(2, 0), "2");
    EXPECT_EQ(t.headerLayout(), "  |姓名|英语|语文|数学");
    EXPECT_EQ(prompter.last().text, "请输入新的字段名称：");
    EXPECT_EQ(prompter.last().title, "字段名称");
    EXPECT_EQ(prompter.last().offered, "");
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.undoAvailable());
}

TEST(InsertColumnTest, AtColumnZeroAddsANewFirstFieldAndACancelledTitleLeavesItBlank) {
    Document doc = TwoStudents();
    ScriptedPrompter prompter;
    prompter.type(std::nullopt);
    EXPECT_EQ(InsertColumn(doc, 0, prompter), 1);
    EXPECT_EQ(doc.table.headerLayout(), "  |   |姓名|语文|数学");
    EXPECT_EQ(RowCells(doc.table, 1), (Strings{"", "张三", "85", "90"}));
    EXPECT_EQ(doc.table.cell(1, 0), "1");  // the row numbers stay in column 0

    Document empty = SampleDocument({}, {{}, {}});
    prompter.type("姓名");
    EXPECT_EQ(InsertColumn(empty, 0, prompter), 1);
    EXPECT_EQ(empty.table.cols(), 2);
    EXPECT_EQ(empty.table.fieldTitles(), Strings{"姓名"});
}

TEST(InsertColumnTest, UndoAfterInsertingReturnsTheOldColumnsDataAndTitles) {
    Document doc = TwoStudents();
    const GradeTable before = doc.table;
    ScriptedPrompter prompter;
    prompter.type("英语");
    InsertColumn(doc, 1, prompter);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.table.cols(), before.cols());
    EXPECT_EQ(doc.table.fieldTitles(), before.fieldTitles());
    EXPECT_EQ(RowCells(doc.table, 1), RowCells(before, 1));
    EXPECT_EQ(RowCells(doc.table, 2), RowCells(before, 2));
    EXPECT_EQ(doc.table.headerLayout(), before.headerLayout());
    EXPECT_FALSE(doc.undoAvailable());
}

TEST(RemoveColumnTest, RemovesTheCurrentColumnOrTheFirstFieldFromColumnZero) {
    Document doc = TwoStudents();
    EXPECT_TRUE(RemoveColumn(doc, 2));
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "数学"}));
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"李四", "66"}));
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(RemoveColumn(doc, 0));
    EXPECT_EQ(doc.table.fieldTitles(), Strings{"数学"});
    EXPECT_EQ(RowCells(doc.table, 1), Strings{"90"});
    EXPECT_EQ(doc.table.cell(1, 0), "1");
    // The last field may go too; then there is nothing left to remove or rename.
    EXPECT_TRUE(RemoveColumn(doc, 1));
    EXPECT_EQ(doc.table.cols(), 1);
    EXPECT_EQ(doc.table.headerLayout(), "  ");
    doc.undo();
    EXPECT_EQ(doc.table.fieldTitles(), Strings{"数学"});
    Document none = SampleDocument({}, {{}});
    ScriptedPrompter prompter;
    EXPECT_FALSE(RemoveColumn(none, 0));
    EXPECT_FALSE(RenameColumn(none, 0, prompter));
    EXPECT_FALSE(none.undoAvailable());
    EXPECT_FALSE(none.modified());
    EXPECT_TRUE(prompter.calls().empty());
}

TEST(RenameColumnTest, OffersTheTrimmedTitleAndTakesTheSnapshotOnlyForAnAnswer) {
    Document doc = SampleDocument({" 姓名 ", "语文"}, {{"张三", "85"}});
    ScriptedPrompter prompter;
    prompter.type("").type(std::nullopt).type("学生姓名");
    EXPECT_FALSE(RenameColumn(doc, 0, prompter));
    EXPECT_FALSE(RenameColumn(doc, 1, prompter));
    EXPECT_FALSE(doc.undoAvailable());
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(RenameColumn(doc, 0, prompter));
    EXPECT_EQ(prompter.last().offered, "姓名");
    EXPECT_EQ(doc.table.headerLayout(), "  |学生姓名|语文");
    EXPECT_TRUE(doc.undoAvailable());
    EXPECT_TRUE(doc.modified());
    doc.undo();
    EXPECT_EQ(doc.table.cell(0, 1), " 姓名 ");
}

TEST(RenameColumnTest, ATitleWithABarIsRefusedAndAskedAgain) {
    Document doc = TwoStudents();
    ScriptedPrompter prompter;
    prompter.type("语|文").type("语文一");
    EXPECT_TRUE(RenameColumn(doc, 2, prompter));
    EXPECT_EQ(prompter.messages(), Strings{"字段名称中不能包含字符“|”，请重新输入。"});
    EXPECT_EQ(prompter.last().offered, "语|文");
    EXPECT_EQ(doc.table.cols(), 4);
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文一", "数学"}));
}

class FieldTemplateCommandTest : public ::testing::Test {
  protected:
    std::string folder() const { return dir.path() + "/表格模版/"; }
    TempDir dir;
    ScriptedPrompter prompter;
};

TEST_F(FieldTemplateCommandTest, ABCSavedAndAppliedToATwoFieldTableGivesThreeColumns) {
    Document abc = SampleDocument({"A", "B", "C"}, {{"1", "2", "3"}});
    prompter.type("三科");
    ASSERT_TRUE(SaveFieldTemplate(abc, prompter, folder()));
    EXPECT_EQ(prompter.last().text, "请输入要保存的模版名称:");
    EXPECT_EQ(prompter.last().title, "保存模版");
    EXPECT_EQ(prompter.last().offered, "模版");
    EXPECT_FALSE(abc.undoAvailable());
    EXPECT_EQ(ReadFieldTemplate(folder() + "三科.templet"), (FieldTemplate{"  ", {"A", "B", "C"}}));

    Document two = SampleDocument({"X", "Y"}, {{"x1", "y1"}, {"x2", "y2"}});
    ASSERT_TRUE(ApplyFieldTemplate(two, "三科.templet", prompter, folder()));
    EXPECT_EQ(two.table.cols(), 4);
    EXPECT_EQ(two.table.fieldTitles(), (Strings{"A", "B", "C"}));
    EXPECT_EQ(RowCells(two.table, 1), (Strings{"x1", "y1", ""}));
    EXPECT_EQ(RowCells(two.table, 2), (Strings{"x2", "y2", ""}));
    EXPECT_EQ(two.table.headerLayout(), "  |A|B|C");
    EXPECT_TRUE(two.modified());
    two.undo();
    EXPECT_EQ(two.table.fieldTitles(), (Strings{"X", "Y"}));
}

TEST_F(FieldTemplateCommandTest, AWrongFirstRecordIsReportedLeavesTheTableAndStillEnablesUndo) {
    WriteBytes(folder() + "坏.templet", EncodeGbk("KVL'S Scorvane数据文件\r\n"));
    Document doc = TwoStudents();
    const GradeTable before = doc.table;
    EXPECT_FALSE(ApplyFieldTemplate(doc, "坏.templet", prompter, folder()));
    EXPECT_FALSE(ApplyFieldTemplate(doc, "missing.templet", prompter, folder()));
    EXPECT_FALSE(ApplyFieldTemplate(doc, "../坏.templet", prompter, folder()));
    EXPECT_EQ(prompter.messages(), Strings(3, "模版文件格式错误!"));
    EXPECT_EQ(prompter.last().title, "提示");
    EXPECT_EQ(prompter.last().icon, Icon::Information);
    EXPECT_EQ(doc.table.cells(), before.cells());
    EXPECT_TRUE(doc.undoAvailable());
    EXPECT_FALSE(doc.modified());
}

TEST_F(FieldTemplateCommandTest, TemplateNamesAreCheckedAndTooLongTitlesAreReported) {
    Document doc = TwoStudents();
    prompter.type("   ").type(std::nullopt);
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, folder()));
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, folder()));
    prompter.type("期中/期末").type(" 期中 ");
    EXPECT_TRUE(SaveFieldTemplate(doc, prompter, folder()));
    EXPECT_EQ(prompter.messages(), Strings{"文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。"});
    EXPECT_EQ(prompter.last().offered, "期中/期末");
    EXPECT_EQ(ListFieldTemplates(folder()), Strings{"期中.templet"});

    prompter.clear();
    doc.table.setCell(0, 2, std::string(127, 'x'));
    prompter.type("长");
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, folder()));
    EXPECT_EQ(prompter.messages(), Strings{"字段名称过长，无法保存为模版。"});
    EXPECT_EQ(prompter.last().title, "提示");
    EXPECT_EQ(ReadBytes(folder() + "长.templet"), "");
}

TEST_F(FieldTemplateCommandTest, AFailedWriteIsReported) {
    WriteBytes(dir.file("plain"), "x");
    Document doc = TwoStudents();
    prompter.type("模版");
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, dir.file("plain") + "/"));
    EXPECT_EQ(prompter.messages(), Strings{"文件保存失败！"});
}

}  // namespace
}  // namespace scorvane

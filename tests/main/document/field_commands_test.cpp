#include "main/document/field_commands.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/field_template.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::RowCells;
using testing::SampleDocument;
using testing::ScriptedPrompter;
using testing::Strings;

Document ThreeFields() {
    return SampleDocument({"姓名", "语文", "数学"}, {{"张三", "85", "90"}, {"李四", "70", "66"}});
}

TEST(FieldCommandsTest, InsertMovesCellsRightAsksForTheTitleAndUndoReturnsTheOldTable) {
    Document doc = ThreeFields();
    const GradeTable before = doc.table;
    ScriptedPrompter prompter;
    prompter.type("英语");
    EXPECT_EQ(InsertColumn(doc, 2, prompter), 2);
    EXPECT_EQ(doc.table.headerLayout(), "  |姓名|英语|语文|数学");
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"李四", "", "70", "66"}));
    EXPECT_EQ(prompter.last().title, "字段名称");
    EXPECT_TRUE(doc.modified());
    // The title prompt must not replace the snapshot taken before the column was inserted.
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.table.cols(), before.cols());
    EXPECT_EQ(doc.table.headerLayout(), before.headerLayout());
    EXPECT_EQ(RowCells(doc.table, 2), RowCells(before, 2));
}

TEST(FieldCommandsTest, ColumnZeroStandsForTheFirstField) {
    Document doc = ThreeFields();
    ScriptedPrompter prompter;
    prompter.type(std::nullopt).type("学生");
    EXPECT_EQ(InsertColumn(doc, 0, prompter), 1);
    EXPECT_EQ(doc.table.headerLayout(), "  |   |姓名|语文|数学");
    EXPECT_EQ(RowCells(doc.table, 1), (Strings{"", "张三", "85", "90"}));
    EXPECT_EQ(doc.table.cell(1, 0), "1");
    EXPECT_TRUE(RenameColumn(doc, 0, prompter));
    EXPECT_EQ(prompter.last().offered, "");  // "   " offered trimmed
    EXPECT_TRUE(RemoveColumn(doc, 0));
    EXPECT_EQ(doc.table.headerLayout(), "  |姓名|语文|数学");
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"李四", "70", "66"}));
}

TEST(FieldCommandsTest, TheLastFieldMayGoAndWithoutFieldsRemoveAndRenameDoNothing) {
    Document doc = SampleDocument({"A"}, {{"1"}});
    ScriptedPrompter prompter;
    EXPECT_TRUE(RemoveColumn(doc, 1));
    EXPECT_EQ(doc.table.cols(), 1);
    EXPECT_EQ(doc.table.headerLayout(), "  ");
    Document none = SampleDocument({}, {{}});
    EXPECT_FALSE(RemoveColumn(none, 0));
    EXPECT_FALSE(RenameColumn(none, 0, prompter));
    EXPECT_FALSE(none.undoAvailable() || none.modified());
}

TEST(FieldCommandsTest, RenameTakesTheSnapshotOnlyForAnAnswerAndRefusesABar) {
    Document doc = ThreeFields();
    ScriptedPrompter prompter;
    prompter.type("").type("语|文").type("语文一");
    EXPECT_FALSE(RenameColumn(doc, 2, prompter));
    EXPECT_FALSE(doc.undoAvailable() || doc.modified());
    EXPECT_TRUE(RenameColumn(doc, 2, prompter));
    EXPECT_EQ(prompter.messages(), Strings{"字段名称中不能包含字符“|”，请重新输入。"});
    EXPECT_EQ(doc.table.headerLayout(), "  |姓名|语文一|数学");
    EXPECT_TRUE(doc.undoAvailable() && doc.modified());
}

class FieldTemplateCommandTest : public ::testing::Test {
  protected:
    std::string folder() const { return dir.path() + "/表格模版/"; }
    testing::TempDir dir;
    ScriptedPrompter prompter;
};

TEST_F(FieldTemplateCommandTest, ABCSavedAndAppliedToATwoFieldTableGivesThreeColumns) {
    Document abc = SampleDocument({"A", "B", "C"}, {{"1", "2", "3"}});
    prompter.type("期中/期末").type(" 三科 ");
    ASSERT_TRUE(SaveFieldTemplate(abc, prompter, folder()));
    EXPECT_EQ(prompter.calls()[0].offered, "模版");
    EXPECT_EQ(prompter.messages(), Strings{"文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。"});
    EXPECT_FALSE(abc.undoAvailable());

    Document two = SampleDocument({"X", "Y"}, {{"x1", "y1"}});
    ASSERT_TRUE(ApplyFieldTemplate(two, "三科.templet", prompter, folder()));
    EXPECT_EQ(two.table.headerLayout(), "  |A|B|C");
    EXPECT_EQ(RowCells(two.table, 1), (Strings{"x1", "y1", ""}));
    EXPECT_TRUE(two.modified());
    two.undo();
    EXPECT_EQ(two.table.fieldTitles(), (Strings{"X", "Y"}));
}

TEST_F(FieldTemplateCommandTest, AWrongFirstRecordIsReportedAndLeavesTheTableWithUndoEnabled) {
    testing::WriteBytes(folder() + "坏.templet", EncodeGbk("KVL'S Scorvane数据文件\r\n"));
    Document doc = ThreeFields();
    const GradeTable before = doc.table;
    EXPECT_FALSE(ApplyFieldTemplate(doc, "坏.templet", prompter, folder()));
    EXPECT_FALSE(ApplyFieldTemplate(doc, "missing.templet", prompter, folder()));
    EXPECT_EQ(prompter.messages(), Strings(2, "模版文件格式错误!"));
    EXPECT_EQ(doc.table.cellTexts(), before.cellTexts());
    EXPECT_TRUE(doc.undoAvailable());
    EXPECT_FALSE(doc.modified());
}

TEST_F(FieldTemplateCommandTest, TooLongTitlesAndFailedWritesAreReportedAndWriteNothing) {
    Document doc = ThreeFields();
    doc.table.setCell(0, 2, std::string(127, 'x'));
    testing::WriteBytes(dir.file("plain"), "x");
    prompter.type("长").type("模版").type("   ").type("　\t");
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, folder()));
    doc.table.setCell(0, 2, "语文");
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, dir.file("plain") + "/"));
    // A name of blanks alone, full-width ones included, is no name.
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, folder()));
    EXPECT_FALSE(SaveFieldTemplate(doc, prompter, folder()));
    EXPECT_EQ(prompter.messages(), (Strings{"字段名称过长，无法保存为模版。", "文件保存失败！"}));
    EXPECT_TRUE(ListFieldTemplates(folder()).empty());
}

}  // namespace
}  // namespace scorvane

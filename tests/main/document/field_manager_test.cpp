#include "main/document/field_manager.h"

#include <gtest/gtest.h>

#include "sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::RowCells;
using testing::SampleDocument;
using testing::ScriptedPrompter;
using testing::Strings;
using Call = ScriptedPrompter::Call;

TEST(FieldManagerTest, OpeningTakesTheSnapshotListsTrimmedTitlesAndSelectsTheLast) {
    Document doc = SampleDocument({" 姓名 ", "语文", ""}, {{"张三", "85", "x"}});
    FieldManager manager;
    manager.open(doc);
    EXPECT_EQ(manager.items(), (Strings{"姓名", "语文", ""}));
    EXPECT_EQ(manager.selected(), 2);
    EXPECT_TRUE(doc.undoAvailable());
    EXPECT_FALSE(doc.modified());

    // A fresh table has no titles set yet.
    Document fresh;
    manager.open(fresh);
    EXPECT_TRUE(manager.items().empty());
    EXPECT_EQ(manager.selected(), -1);
}

TEST(FieldManagerTest, OkSetsTheTitlesAndColumnCountButNeverMovesCells) {
    Document doc = SampleDocument({"姓名", "语文", "数学"}, {{"张三", "85", "90"}});
    FieldManager manager;
    ScriptedPrompter prompter;
    manager.open(doc);
    manager.select(0);
    prompter.answer(Answer::Yes).type("英语");
    manager.remove(prompter);
    manager.insert(prompter);
    EXPECT_EQ(manager.items(), (Strings{"语文", "数学", "英语"}));
    EXPECT_EQ(manager.selected(), 2);
    manager.accept(doc);
    EXPECT_EQ(doc.table.headerLayout(), "   |语文|数学|英语");
    EXPECT_EQ(doc.table.cols(), 4);
    EXPECT_EQ(RowCells(doc.table, 1), (Strings{"张三", "85", "90"}));
    EXPECT_TRUE(doc.modified());
    doc.undo();
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文", "数学"}));

    // Dropping the last item drops the last column's cells; an unchanged list changes nothing.
    Document other = SampleDocument({"A", "B"}, {{"1", "2"}});
    manager.open(other);
    manager.accept(other);
    EXPECT_FALSE(other.modified());
    prompter.answer(Answer::Yes);
    manager.remove(prompter);
    manager.accept(other);
    EXPECT_EQ(other.table.cols(), 2);
    EXPECT_EQ(RowCells(other.table, 1), Strings{"1"});
    EXPECT_TRUE(other.modified());
}

TEST(FieldManagerTest, ButtonsAskForASelectionAndConfirmDeletion) {
    Document doc = SampleDocument({"A", "B"}, {{"1", "2"}});
    FieldManager manager;
    ScriptedPrompter prompter;
    manager.open(doc);
    manager.select(-1);
    manager.remove(prompter);
    manager.clear(prompter);
    manager.rename(prompter);
    EXPECT_EQ(prompter.messages(),
              (Strings{"请先选择要删除的项目。", "请先选择要删除的项目。", "请先选定要改名的项目！"}));
    EXPECT_EQ(prompter.last().title, "提示");
    EXPECT_EQ(prompter.last().icon, Icon::Information);

    prompter.clear();
    manager.select(1);
    prompter.answer(Answer::No).answer(Answer::No).answer(Answer::Yes);
    manager.remove(prompter);
    manager.clear(prompter);
    EXPECT_EQ(manager.items(), (Strings{"A", "B"}));
    manager.clear(prompter);
    EXPECT_TRUE(manager.items().empty());
    ASSERT_EQ(prompter.calls().size(), 3u);
    const Call& removeQuestion = prompter.calls()[0];
    EXPECT_EQ(removeQuestion.text, "确实删除项目：“B” 么？");
    EXPECT_EQ(removeQuestion.title, "确认删除");
    EXPECT_EQ(removeQuestion.icon, Icon::Question);
    EXPECT_EQ(removeQuestion.defaultAnswer, Answer::No);
    EXPECT_EQ(prompter.calls()[1].text, "确实要删除所有项目？");
    EXPECT_EQ(prompter.calls()[1].defaultAnswer, Answer::No);

    // An emptied list applied leaves no fields; the wizard's next use starts from it.
    manager.accept(doc);
    EXPECT_EQ(doc.table.cols(), 1);
    EXPECT_EQ(doc.table.headerLayout(), "   ");
}

TEST(FieldManagerTest, InsertAndRenameTakeNonEmptyTitlesWithoutBars) {
    FieldManager manager;
    ScriptedPrompter prompter;
    prompter.type("").type("A|B").type("A");
    manager.insert(prompter);
    EXPECT_TRUE(manager.items().empty());
    manager.insert(prompter);
    EXPECT_EQ(manager.items(), Strings{"A"});
    EXPECT_EQ(prompter.calls()[0].text, "请输入一个新的项目名称：");
    EXPECT_EQ(prompter.calls()[0].title, "插入项目");
    EXPECT_EQ(prompter.messages(), Strings{"字段名称中不能包含字符“|”，请重新输入。"});

    prompter.type(std::nullopt).type("甲");
    manager.rename(prompter);
    EXPECT_EQ(manager.items(), Strings{"A"});
    manager.rename(prompter);
    EXPECT_EQ(manager.items(), Strings{"甲"});
    EXPECT_EQ(prompter.last().title, "项目重命名");
    EXPECT_EQ(prompter.last().offered, "A");
    EXPECT_TRUE(prompter.exhausted());
}

}  // namespace
}  // namespace scorvane

#include "main/document/field_manager.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::RowCells;
using testing::SampleDocument;
using testing::ScriptedPrompter;
using testing::Strings;

TEST(FieldManagerTest, OkSetsTitlesAndColumnCountWithoutMovingCells) {
    Document doc = SampleDocument({" 姓名 ", "语文", "数学"}, {{"张三", "85", "90"}});
    FieldManager manager;
    ScriptedPrompter prompter;
    manager.open(doc);
    EXPECT_EQ(manager.items(), (Strings{"姓名", "语文", "数学"}));
    EXPECT_TRUE(doc.undoAvailable());
    manager.select(0);
    prompter.answer(Answer::Yes).type("").type("A|B").type("英语");
    manager.remove(prompter);
    EXPECT_EQ(prompter.last().text, "确实删除项目：“姓名” 么？");
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::No);
    EXPECT_EQ(manager.selected(), 0);
    manager.insert(prompter);
    manager.insert(prompter);
    EXPECT_EQ(prompter.messages(), Strings{"字段名称中不能包含字符“|”，请重新输入。"});
    EXPECT_EQ(manager.selected(), 2);
    manager.accept(doc);
    EXPECT_EQ(doc.table.headerLayout(), "   |语文|数学|英语");
    EXPECT_EQ(RowCells(doc.table, 1), (Strings{"张三", "85", "90"}));
    EXPECT_TRUE(doc.modified());
    doc.undo();
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{" 姓名 ", "语文", "数学"}));

    // A fresh table has no titles set yet; an unchanged list changes nothing.
    Document fresh;
    manager.open(fresh);
    EXPECT_TRUE(manager.items().empty());
    Document same = SampleDocument({"A"}, {{"1"}});
    manager.open(same);
    manager.accept(same);
    EXPECT_FALSE(same.modified());
}

TEST(FieldManagerTest, ButtonsAskForASelectionFirstEvenToClearEverything) {
    FieldManager manager;
    ScriptedPrompter prompter;
    manager.remove(prompter);
    manager.clear(prompter);
    manager.rename(prompter);
    EXPECT_EQ(prompter.messages(),
              (Strings{"请先选择要删除的项目。", "请先选择要删除的项目。", "请先选定要改名的项目！"}));
    prompter.clear();
    prompter.type("A").type("B").type("乙").answer(Answer::No).answer(Answer::Yes);
    manager.insert(prompter);
    manager.insert(prompter);
    manager.rename(prompter);
    EXPECT_EQ(prompter.last().offered, "B");
    EXPECT_EQ(manager.items(), (Strings{"A", "乙"}));
    manager.clear(prompter);
    EXPECT_EQ(manager.items().size(), 2u);
    manager.clear(prompter);
    EXPECT_TRUE(manager.items().empty());
    EXPECT_EQ(prompter.questions(), Strings(2, "确实要删除所有项目？"));
}

}  // namespace
}  // namespace scorvane

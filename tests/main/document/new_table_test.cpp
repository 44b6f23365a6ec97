#include "main/document/new_table.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/document_life.h"
#include "main/workspace/workspace_folder.h"
#include "sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::RecordingStatus;
using testing::SampleDocument;
using testing::ScriptedPrompter;
using testing::Strings;
using testing::TempDir;
using testing::WriteBytes;
using Call = ScriptedPrompter::Call;

constexpr std::string_view kNewOnlyPrompt =
    "请输入新表格要使用的文件名称，可以使用中文，这要可以使该表格更易于管理。同时该文件名也将暂时作为表格的标"
    "题。";

class NewTableTest : public ::testing::Test {
  protected:
    NewTableTest() : saved_(ProgramFolder()) { SetProgramFolder(dir.path()); }
    ~NewTableTest() override { SetProgramFolder(saved_); }

    TempDir dir;
    ScriptedPrompter prompter;
    RecordingStatus status;

  private:
    std::string saved_;
};

TEST_F(NewTableTest, TheDefaultNameCountsTheClassFilesMinusOne) {
    EXPECT_EQ(DefaultNewTableName(3), "新成绩表2");
    EXPECT_EQ(DefaultNewTableName(1), "新成绩表0");
    EXPECT_EQ(DefaultNewTableName(0), "新成绩表-1");
}

TEST_F(NewTableTest, TheNamePromptRepeatsUntilTheNameIsUsable) {
    Document doc;
    prompter.type(std::nullopt).type("  ").type("期中?").type("a\"b").type(" 期中考试 ");
    NewTableInClass(doc, prompter, "一中/高一/(1)班", 3);
    EXPECT_EQ(prompter.messages(),
              (Strings{"文件名称不能为空！请重新输入。", "文件名称不能为空！请重新输入。",
                       "文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。",
                       "文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。"}));
    const Call& first = prompter.calls().front();
    EXPECT_EQ(first.text, kNewOnlyPrompt);
    EXPECT_EQ(first.title, "表格");
    EXPECT_EQ(first.offered, "新成绩表2");
    for (const Call& call : prompter.calls()) {
        if (call.kind == Call::Message) {
            EXPECT_EQ(call.icon, Icon::Information);
        }
    }
    EXPECT_EQ(doc.table.filePath, dir.path() + "/表格数据/一中/高一/(1)班/期中考试");
    EXPECT_EQ(doc.table.title, "期中考试");
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(NewTableTest, TheWizardSetsThePathButNotTheCaptionAndInsistsOnATitle) {
    Document doc;
    prompter.type("月考");
    WizardNameStep(doc, prompter, "一中/高一/(1)班", 0);
    EXPECT_EQ(prompter.last().text,
              "请输入新表格要使用的文件名称，可以使用中文，这要可以使该表格更易于管理。");
    EXPECT_EQ(prompter.last().offered, "新成绩表-1");
    EXPECT_EQ(doc.table.filePath, dir.path() + "/表格数据/一中/高一/(1)班/月考");
    EXPECT_EQ(doc.table.title, "未命名的表格");

    prompter.clear();
    prompter.type("").type(std::nullopt).type("高一(1)班月考成绩");
    WizardTitleStep(doc, prompter);
    EXPECT_EQ(prompter.messages(), Strings(2, "标题不能为空！"));
    EXPECT_EQ(prompter.calls()[1].title, "提示");
    EXPECT_EQ(prompter.calls()[0].title, "更改标题");
    EXPECT_EQ(prompter.calls()[0].offered, "未命名的表格");
    EXPECT_EQ(doc.table.title, "高一(1)班月考成绩");
}

TEST_F(NewTableTest, ChangingTheTitleNeedsAnAnswerAndMarksTheTable) {
    Document doc;
    prompter.type(std::nullopt).type(" ").type("期末");
    EXPECT_FALSE(ChangeTableTitle(doc, prompter));
    EXPECT_FALSE(ChangeTableTitle(doc, prompter));
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(ChangeTableTitle(doc, prompter));
    EXPECT_EQ(doc.table.title, "期末");
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(ActiveTableStatus(&doc), "当前表格：期末");
    EXPECT_EQ(ActiveTableStatus(nullptr), "当前表格：无");
}

TEST_F(NewTableTest, TheCloseCheckAsksOnlyAboutChangedTables) {
    Document doc = SampleDocument({"姓名"}, {{"张三"}});
    doc.table.title = "期中";
    EXPECT_TRUE(CloseCheck(doc, prompter, status));
    EXPECT_TRUE(prompter.calls().empty());

    doc.setModified();
    prompter.answer(Answer::Cancel).answer(Answer::No);
    EXPECT_FALSE(CloseCheck(doc, prompter, status));
    EXPECT_TRUE(CloseCheck(doc, prompter, status));
    const Call& question = prompter.calls()[0];
    EXPECT_EQ(question.text, "是否更改对表格：“期中”所做的修改?");
    EXPECT_EQ(question.title, "提示：");
    EXPECT_EQ(question.icon, Icon::Question);
    EXPECT_EQ(question.buttons, Buttons::YesNoCancel);
}

TEST_F(NewTableTest, YesClosesOnlyWhenTheFileWasWritten) {
    Document doc = SampleDocument({"姓名"}, {{"张三"}});
    doc.setModified();
    // No file yet: the save dialog; its path loses ".skv" and the table's own path stays empty.
    prompter.answer(Answer::Yes).chooseSave(dir.file("out.SKV"));
    EXPECT_TRUE(CloseCheck(doc, prompter, status));
    EXPECT_NE(ReadBytes(dir.file("out.skv")), "");
    EXPECT_EQ(doc.table.filePath, "");

    // A cancelled dialog writes nothing and keeps the window.
    prompter.answer(Answer::Yes).chooseSave("");
    EXPECT_FALSE(CloseCheck(doc, prompter, status));

    // So does a declined overwrite; the file keeps what it held.
    doc.table.filePath = dir.file("out");
    doc.table.setCell(1, 1, "李四");
    prompter.answer(Answer::Yes).answer(Answer::No);
    EXPECT_FALSE(CloseCheck(doc, prompter, status));
    EXPECT_EQ(ReadBytes(dir.file("out.skv")).find(EncodeGbk("李四")), std::string::npos);

    // A failed save keeps the window, so the changes are not lost.
    WriteBytes(dir.file("plain"), "x");
    doc.table.filePath = dir.file("plain") + "/t";
    prompter.clear();
    prompter.answer(Answer::Yes);
    EXPECT_FALSE(CloseCheck(doc, prompter, status));
    EXPECT_EQ(prompter.messages(), Strings{"文件保存失败！"});
}

TEST_F(NewTableTest, SaveUsesTheTablesPathAndSaveAsAlwaysTheDialog) {
    Document doc = SampleDocument({"姓名"}, {{"张三"}});
    doc.table.filePath = dir.file("a");
    EXPECT_EQ(SaveTable(doc, prompter, status), SaveOutcome::Saved);
    EXPECT_NE(ReadBytes(dir.file("a.skv")), "");
    prompter.answer(Answer::No);
    EXPECT_EQ(SaveTable(doc, prompter, status), SaveOutcome::Declined);
    EXPECT_EQ(prompter.questions(), Strings{"确实覆盖原有数据么？"});

    prompter.chooseSave(dir.file("b.skv")).chooseSave("");
    EXPECT_EQ(SaveTableAs(doc, prompter, status), SaveOutcome::Saved);
    EXPECT_NE(ReadBytes(dir.file("b.skv")), "");
    EXPECT_EQ(SaveTableAs(doc, prompter, status), SaveOutcome::Declined);
    EXPECT_EQ(doc.table.filePath, dir.file("a"));
    EXPECT_EQ(prompter.last().text, "*.skv");
    EXPECT_EQ(DataPathOf("/x/y.skv"), "/x/y");
    EXPECT_EQ(DataPathOf("/x/y.txt"), "/x/y.txt");
}

}  // namespace
}  // namespace scorvane

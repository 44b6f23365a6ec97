#include "main/document/new_table.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/document_life.h"
#include "support/sample_table.h"
#include "support/scoped_program_folder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ScriptedPrompter;
using testing::Strings;

class NewTableTest : public ::testing::Test {
  protected:
    testing::TempDir dir;
    testing::ScopedProgramFolder folder{dir.path()};
    ScriptedPrompter prompter;
    testing::RecordingStatus status;
};

TEST_F(NewTableTest, TheNamePromptOffersTheDefaultNameAndRepeatsUntilTheNameIsUsable) {
    EXPECT_EQ(DefaultNewTableName(0), "新成绩表-1");
    Document doc;
    prompter.type(std::nullopt).type("  ").type("期中?").type(" 期中考试 ");
    NewTableInClass(doc, prompter, "一中/高一/(1)班", 3);
    EXPECT_EQ(prompter.messages(),
              (Strings{"文件名称不能为空！请重新输入。", "文件名称不能为空！请重新输入。",
                       "文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。"}));
    EXPECT_EQ(prompter.calls()[0].offered, "新成绩表2");
    EXPECT_TRUE(prompter.calls()[0].text.ends_with("同时该文件名也将暂时作为表格的标题。"));
    EXPECT_EQ(doc.table.filePath, dir.path() + "/表格数据/一中/高一/(1)班/期中考试");
    EXPECT_EQ(doc.table.title, "期中考试");
}

// The wizard's own test follows both steps' texts and the path; here what only the steps show.
TEST_F(NewTableTest, TheWizardsNameLeavesTheCaptionAndACancelledTitleIsAskedAgain) {
    Document doc;
    prompter.type("月考").type("").type(std::nullopt).type("月考成绩");
    WizardNameStep(doc, prompter, "一中/高一/(1)班", 1);
    EXPECT_EQ(doc.table.title, "未命名的表格");
    WizardTitleStep(doc, prompter);
    EXPECT_EQ(prompter.messages(), Strings(2, "标题不能为空！"));
    EXPECT_EQ(doc.table.title, "月考成绩");
    EXPECT_FALSE(ChangeTableTitle(doc, prompter.type(" ")));
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(ChangeTableTitle(doc, prompter.type("期末")));
    EXPECT_TRUE(doc.modified());
}

TEST_F(NewTableTest, ANameOrTitleOfBlanksAloneCountsAsEmpty) {
    // Full-width blanks, as a Chinese input method types them, and tabs are blanks too.
    Document doc;
    prompter.type("　").type("月考").type("　 \t").type("月考成绩");
    NewTableInClass(doc, prompter, "一中/高一/(1)班", 1);
    WizardTitleStep(doc, prompter);
    EXPECT_EQ(prompter.messages(), (Strings{"文件名称不能为空！请重新输入。", "标题不能为空！"}));
    EXPECT_EQ(doc.table.title, "月考成绩");
    EXPECT_FALSE(ChangeTableTitle(doc, prompter.type("\t　")));
    EXPECT_EQ(doc.table.title, "月考成绩");
}

TEST_F(NewTableTest, TheCloseCheckAsksAboutChangedTablesAndClosesOnlyWhenTheFileWasWritten) {
    Document doc = testing::SampleDocument({"姓名"}, {{"张三"}});
    doc.table.title = "期中";
    EXPECT_TRUE(CloseCheck(doc, prompter, status));
    doc.setModified();
    prompter.answer(Answer::Cancel).answer(Answer::No);
    EXPECT_FALSE(CloseCheck(doc, prompter, status));
    EXPECT_TRUE(CloseCheck(doc, prompter, status));
    EXPECT_EQ(prompter.questions(), Strings(2, "是否更改对表格：“期中”所做的修改?"));
    EXPECT_EQ(prompter.last().buttons, Buttons::YesNoCancel);

    // No file yet: the save dialog, whose ".skv" is dropped; the table's own path stays empty.
    prompter.answer(Answer::Yes).chooseSave(dir.file("out.SKV")).answer(Answer::Yes).chooseSave("");
    EXPECT_TRUE(CloseCheck(doc, prompter, status));
    EXPECT_NE(testing::ReadBytes(dir.file("out.skv")), "");
    EXPECT_EQ(doc.table.filePath, "");
    EXPECT_FALSE(CloseCheck(doc, prompter, status));  // a cancelled dialog wrote nothing: the window stays

    // So does a declined overwrite; the file keeps what it held.
    doc.table.filePath = dir.file("out");
    doc.table.setCell(1, 1, "李四");
    prompter.answer(Answer::Yes).answer(Answer::No);
    EXPECT_FALSE(CloseCheck(doc, prompter, status));
    EXPECT_EQ(testing::ReadBytes(dir.file("out.skv")).find(EncodeGbk("李四")), std::string::npos);

    testing::WriteBytes(dir.file("plain"), "x");
    doc.table.filePath = dir.file("plain") + "/t";
    prompter.answer(Answer::Yes);
    EXPECT_FALSE(CloseCheck(doc, prompter, status));
    EXPECT_EQ(prompter.messages(), Strings{"文件保存失败！"});
}

TEST_F(NewTableTest, TheSaveDialogOpensInTheTablesClassAndOffersItsTitle) {
    struct Case {
        std::string filePath, classFolder, folder;
    };
    const std::string data = dir.path() + "/表格数据/";
    const std::vector<Case> cases = {
        {data + "一中/高一/(1)班/期中", "", data + "一中/高一/(1)班"},
        {data + "一中/高一/(1)班/期中", data + "一中/高一/(2)班/", data + "一中/高一/(1)班"},
        {"", data + "一中/高一/(2)班/", data + "一中/高一/(2)班/"},
        {"", "", data},
    };
    for (const Case& c : cases) {
        Document doc = testing::SampleDocument({"姓名"}, {{"张三"}});
        doc.table.title = "期中考试";
        doc.table.filePath = c.filePath;
        const FileDialogSpec spec = TableSaveDialog(doc.table, c.classFolder);
        EXPECT_EQ(spec.folder, c.folder) << c.filePath << c.classFolder;
        EXPECT_EQ(spec.suggestedName, "期中考试");
        EXPECT_EQ(spec.pattern, "*.skv");
        prompter.chooseSave("");
        EXPECT_EQ(SaveTableAs(doc, prompter, status, c.classFolder), SaveOutcome::Declined);
        EXPECT_EQ(prompter.last().folder, c.folder);
        EXPECT_EQ(prompter.last().suggestedName, "期中考试");
    }
}

}  // namespace
}  // namespace scorvane

#include "main/workspace/school_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/file_sharing.h"
#include "common/text_codec.h"
#include "main/workspace/school_file_watch.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;

class SchoolEditorTest : public ::testing::Test {
  protected:
    std::string folder() const { return dir.path() + "/"; }
    void loadThreeGrades() {
        testing::WriteBytes(
            dir.file("SchoolInfo.ini"),
            testing::GbkLines({"[School]", "Name=一中", "Grade=2", "Grade0=高一", "Grade0Class=1",
                               "Grade1=高二", "Grade1Class=0", "Grade2=高三", "Grade2Class=1", "[Grade0]",
                               "Class0=(1)班", "Class1=(2)班", "[Grade1]", "Class0=甲班", "[Grade2]",
                               "Class0=乙班", "Class1=丙班"}));
        editor.load(folder());
    }
    std::string saved() const { return DecodeGbk(testing::ReadBytes(dir.file("SchoolInfo.ini"))); }

    testing::TempDir dir;
    SchoolEditor editor;
    testing::ScriptedPrompter prompter;
};

TEST_F(SchoolEditorTest, ThePlaceholderFollowsTheFocusAndIsSavedWhenNoNameWasTyped) {
    editor.load(folder());
    EXPECT_EQ(editor.schoolName(), "在此输入学校名称");
    editor.schoolNameFocusGained();
    EXPECT_EQ(editor.schoolName(), "");
    EXPECT_TRUE(editor.modified());  // emptying the box changes its text
    editor.schoolNameFocusLost();
    ASSERT_TRUE(editor.confirm(prompter, folder()));
    EXPECT_NE(saved().find("Name=在此输入学校名称\r\nGrade=-1\r\n"), std::string::npos);
    loadThreeGrades();
    EXPECT_EQ(editor.classNames(), (Strings{"(1)班", "(2)班"}));  // the first grade is selected
    editor.schoolNameFocusGained();
    EXPECT_FALSE(editor.modified());
}

TEST_F(SchoolEditorTest, AddAndDeleteSetTheFlagAtOnceRenameOnlyAfterAChange) {
    loadThreeGrades();
    editor.selectGrade(-1);
    editor.deleteGrade(prompter);
    editor.addClass(prompter);
    editor.renameGrade(prompter);
    EXPECT_EQ(prompter.messages(),
              (Strings{"请先选择要删除的项目!", "请先选择要添加班级的年级!", "请先选择要重命名的项目!"}));
    EXPECT_TRUE(editor.modified());
    loadThreeGrades();
    prompter.type("").type(std::nullopt);
    editor.renameGrade(prompter);
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(prompter.last().offered, "高一");
    editor.addGrade(prompter);  // cancelled: still modified, and the last grade is selected
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(editor.selectedGrade(), 2);
}

TEST_F(SchoolEditorTest, DeletingGrade1Of3SavesTheFormerGrade2AsGrade1WithItsOwnClasses) {
    loadThreeGrades();
    editor.selectGrade(1);
    prompter.answer(Answer::No).answer(Answer::Yes);
    editor.deleteGrade(prompter);
    EXPECT_EQ(editor.gradeNames().size(), 3u);
    EXPECT_EQ(prompter.last().text, "确实删除项目：“高二” 么？");
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::No);
    editor.deleteGrade(prompter);
    EXPECT_EQ(editor.classNames(), (Strings{"乙班", "丙班"}));
    ASSERT_TRUE(editor.confirm(prompter, folder()));
    EXPECT_NE(saved().find("Grade=1\r\nGrade0=高一\r\nGrade0Class=1\r\nGrade1=高三\r\nGrade1Class=1\r\n"),
              std::string::npos);
    EXPECT_NE(saved().find("[Grade1]\r\nClass0=乙班\r\nClass1=丙班\r\n"), std::string::npos);
    EXPECT_EQ(saved().find("甲班"), std::string::npos);
}

TEST_F(SchoolEditorTest, ClassesAreAddedRenamedAndDeletedWithTheSelectionKeptInPlace) {
    loadThreeGrades();
    prompter.type("(3)班").type("实验班").answer(Answer::Yes).answer(Answer::Yes);
    editor.addClass(prompter);
    editor.selectClass(1);
    editor.renameClass(prompter);
    EXPECT_EQ(prompter.last().title, "班机重命名");
    editor.selectClass(0);
    editor.deleteClass(prompter);
    EXPECT_EQ(editor.classNames(), (Strings{"实验班", "(3)班"}));
    EXPECT_EQ(editor.selectedClass(), 0);
    editor.selectClass(1);
    editor.deleteClass(prompter);
    EXPECT_EQ(editor.selectedClass(), -1);
}

TEST_F(SchoolEditorTest, NamesThatCannotBeFolderNamesAreRefusedAndAskedAgain) {
    loadThreeGrades();
    prompter.type("高/二").type(" .. ").type("高二").type("a*b").type(std::nullopt);
    editor.addGrade(prompter);
    EXPECT_EQ(prompter.last().offered, " .. ");  // the refused text is offered to be corrected
    editor.renameGrade(prompter);
    EXPECT_EQ(editor.gradeNames().back(), "高二");
    editor.setSchoolName("..");
    EXPECT_FALSE(editor.confirm(prompter, folder()));
    EXPECT_EQ(prompter.messages(), Strings(4, "名称中包含了诸如“\\/*?”之类的非法字符，请重新输入。"));
    EXPECT_EQ(saved().find(".."), std::string::npos);
}

TEST_F(SchoolEditorTest, ANameOfBlanksAloneIsNoAnswer) {
    // It would name a tree node that shows nothing and a folder of blanks; full-width blanks, as a
    // Chinese input method types them, and tabs count as blanks too.
    loadThreeGrades();
    prompter.type("　").type(" \t　").type("　　").type("　 ");
    editor.addGrade(prompter);
    editor.selectGrade(0);
    editor.renameGrade(prompter);
    editor.addClass(prompter);
    editor.selectClass(0);
    editor.renameClass(prompter);
    EXPECT_EQ(editor.gradeNames(), (Strings{"高一", "高二", "高三"}));
    EXPECT_EQ(editor.classNames(), (Strings{"(1)班", "(2)班"}));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(SchoolEditorTest, CancelAsksOnlyWhenModifiedAndAFailedSaveKeepsTheEditorOpen) {
    loadThreeGrades();
    EXPECT_TRUE(editor.cancel(prompter));
    editor.setSchoolName("二中");
    prompter.answer(Answer::No).answer(Answer::Yes);
    EXPECT_FALSE(editor.cancel(prompter));
    EXPECT_TRUE(editor.cancel(prompter));
    EXPECT_EQ(prompter.questions(), Strings(2, "真的不保存修改么?"));
    testing::WriteBytes(dir.file("plain"), "x");
    EXPECT_FALSE(editor.confirm(prompter, dir.file("plain") + "/"));
    EXPECT_EQ(prompter.last().text, "文件保存失败！");
}

TEST_F(SchoolEditorTest, ASchoolTreeSavedMeanwhileElsewhereIsOverwrittenOnlyAfterTheQuestion) {
    const std::string question =
        "学校关系树在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方的修改。\n取消：不保存，回到"
        "编辑窗口。";
    loadThreeGrades();
    editor.setSchoolName("二中");
    // Unchanged since it was read: written without a question.
    ASSERT_TRUE(editor.confirm(prompter, folder()));
    EXPECT_TRUE(prompter.calls().empty());

    // Another computer's editor saves the file meanwhile.
    const std::string theirs = testing::GbkLines({"[School]", "Name=三中", "Grade=-1"});
    testing::WriteBytes(dir.file("SchoolInfo.ini"), theirs);
    editor.setSchoolName("四中");
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(editor.confirm(prompter, folder()));
    EXPECT_EQ(testing::ReadBytes(dir.file("SchoolInfo.ini")), theirs);
    ASSERT_EQ(prompter.questions(), Strings{question});
    EXPECT_EQ(prompter.last().captions, (Strings{"覆盖(&O)", "取消"}));
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::Cancel);
    EXPECT_EQ(prompter.last().escapeAnswer, Answer::Cancel);

    // Saved once more while the question is open: 覆盖 is followed by another look, and the question.
    const std::string again = testing::GbkLines({"[School]", "Name=五中", "Grade=-1"});
    prompter.clear();
    prompter.meanwhile([&] { testing::WriteBytes(dir.file("SchoolInfo.ini"), again); });
    prompter.answer(kOverwrite).answer(Answer::Cancel);
    EXPECT_FALSE(editor.confirm(prompter, folder()));
    EXPECT_EQ(prompter.questions(), (Strings{question, question}));
    EXPECT_EQ(testing::ReadBytes(dir.file("SchoolInfo.ini")), again);

    prompter.answer(kOverwrite);
    EXPECT_TRUE(editor.confirm(prompter, folder()));
    EXPECT_NE(saved().find("Name=四中"), std::string::npos);
    EXPECT_TRUE(prompter.exhausted());
}

TEST(SchoolFileWatch, TellsTheFrameWhenTheSchoolFileChangedSinceTheTreeWasRead) {
    testing::TempDir dir;
    const std::string folder = dir.path() + "/";
    const std::string file = dir.file("SchoolInfo.ini");
    const std::string school = testing::GbkLines({"[School]", "Name=一中", "Grade=-1"});
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
        bool changed;
    } cases[] = {
        {"nothing", [] {}, false},
        {"the same bytes saved again", [&] { testing::WriteBytes(file, school); }, false},
        {"another school",
         [&] {
             testing::WriteBytes(file, testing::GbkLines({"[School]", "Name=二中", "Grade=-1"}));
         },
         true},
        {"removed", [&] { std::filesystem::remove(file); }, true},
    };
    SchoolFileWatch watch;
    EXPECT_FALSE(watch.changedSinceRead());
    for (const Case& c : cases) {
        testing::WriteBytes(file, school);
        EXPECT_EQ(watch.readTree(folder).nodes.size(), 1u);
        c.meanwhile();
        EXPECT_EQ(watch.changedSinceRead(), c.changed) << c.what;
    }
    // A school file made where there was none.
    std::filesystem::remove(file);
    EXPECT_FALSE(watch.readTree(folder).enabled);
    EXPECT_FALSE(watch.changedSinceRead());
    testing::WriteBytes(file, school);
    EXPECT_TRUE(watch.changedSinceRead());
}

}  // namespace
}  // namespace scorvane

#include "main/workspace/school_editor.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/workspace/school_tree.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::ReadBytes;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Call = ScriptedPrompter::Call;

class SchoolEditorTest : public ::testing::Test {
  protected:
    std::string folder() const { return dir.path() + "/"; }
    // Three grades: 高一 with (1)班 (2)班, 高二 with 甲班, 高三 with 乙班 丙班.
    void loadThreeGrades() {
        WriteBytes(
            dir.file("SchoolInfo.ini"),
            GbkLines({"[School]", "Name=第一中学", "Grade=2", "Grade0=高一", "Grade0Class=1", "Grade1=高二",
                      "Grade1Class=0", "Grade2=高三", "Grade2Class=1", "[Grade0]", "Class0=(1)班",
                      "Class1=(2)班", "[Grade1]", "Class0=甲班", "[Grade2]", "Class0=乙班", "Class1=丙班"}));
        editor.load(folder());
    }
    std::string savedText() const { return DecodeGbk(ReadBytes(dir.file("SchoolInfo.ini"))); }

    TempDir dir;
    SchoolEditor editor;
    ScriptedPrompter prompter;
};

TEST_F(SchoolEditorTest, LoadingWithoutAFileShowsThePlaceholderAndWithAFileSelectsTheFirstGrade) {
    editor.load(folder());
    EXPECT_EQ(editor.schoolName(), "在此输入学校名称");
    EXPECT_TRUE(editor.gradeNames().empty());
    EXPECT_EQ(editor.selectedGrade(), -1);
    EXPECT_FALSE(editor.modified());

    loadThreeGrades();
    EXPECT_EQ(editor.schoolName(), "第一中学");
    EXPECT_EQ(editor.gradeNames(), (std::vector<std::string>{"高一", "高二", "高三"}));
    EXPECT_EQ(editor.selectedGrade(), 0);
    EXPECT_EQ(editor.classNames(), (std::vector<std::string>{"(1)班", "(2)班"}));
    EXPECT_EQ(editor.selectedClass(), -1);
    editor.selectGrade(2);
    EXPECT_EQ(editor.classNames(), (std::vector<std::string>{"乙班", "丙班"}));
    EXPECT_FALSE(editor.modified());
}

TEST_F(SchoolEditorTest, ThePlaceholderFollowsTheFocusAndEveryChangeOfTheBoxSetsTheFlag) {
    editor.load(folder());
    editor.schoolNameFocusGained();
    EXPECT_EQ(editor.schoolName(), "");
    EXPECT_TRUE(editor.modified());  // emptying the box is a change of its text
    editor.setSchoolName("   ");
    editor.schoolNameFocusLost();
    EXPECT_EQ(editor.schoolName(), "在此输入学校名称");

    loadThreeGrades();
    editor.schoolNameFocusGained();
    editor.schoolNameFocusLost();
    EXPECT_EQ(editor.schoolName(), "第一中学");
    EXPECT_FALSE(editor.modified());
    editor.setSchoolName("第一中学");
    EXPECT_FALSE(editor.modified());
    editor.setSchoolName("第二中学");
    EXPECT_TRUE(editor.modified());
}

TEST_F(SchoolEditorTest, AddingAGradeOrClassSetsTheFlagEvenWhenCancelledAndSelectsTheLast) {
    loadThreeGrades();
    prompter.type(std::nullopt);
    editor.addGrade(prompter);
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(editor.gradeNames().size(), 3u);
    EXPECT_EQ(editor.selectedGrade(), 2);
    ASSERT_EQ(prompter.calls().size(), 1u);
    EXPECT_EQ(prompter.last().text, "请输入一个年级的名称：（如：一年级）");
    EXPECT_EQ(prompter.last().title, "添加年级");

    prompter.type("高四");
    editor.addGrade(prompter);
    EXPECT_EQ(editor.gradeNames().back(), "高四");
    EXPECT_EQ(editor.selectedGrade(), 3);
    EXPECT_TRUE(editor.classNames().empty());

    prompter.type("");
    editor.addClass(prompter);
    EXPECT_TRUE(editor.classNames().empty());
    EXPECT_EQ(prompter.last().text, "请输入一个班级的名称：（如：(1)班）");
    EXPECT_EQ(prompter.last().title, "添加班级");
    prompter.type("(1)班").type("(2)班");
    editor.addClass(prompter);
    editor.addClass(prompter);
    EXPECT_EQ(editor.classNames(), (std::vector<std::string>{"(1)班", "(2)班"}));
    EXPECT_EQ(editor.selectedClass(), 1);
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(SchoolEditorTest, OperationsWithoutASelectionSayWhatToSelect) {
    editor.load(folder());
    editor.deleteGrade(prompter);
    EXPECT_TRUE(editor.modified());  // deleting sets the flag before it looks at the selection
    editor.renameGrade(prompter);
    editor.addClass(prompter);
    editor.deleteClass(prompter);
    editor.renameClass(prompter);
    EXPECT_EQ(prompter.messages(),
              (std::vector<std::string>{"请先选择要删除的项目!", "请先选择要重命名的项目!",
                                        "请先选择要添加班级的年级!", "请先选择要删除的项目!",
                                        "请先选择要重命名的项目!"}));
    for (const Call& call : prompter.calls()) {
        EXPECT_EQ(call.title, "提示");
        EXPECT_EQ(call.icon, Icon::Information);
    }
    // A selected grade without a selected class still has no class to delete or rename.
    loadThreeGrades();
    prompter.clear();
    editor.renameClass(prompter);
    EXPECT_FALSE(editor.modified());  // renaming sets the flag only after a change
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{"请先选择要重命名的项目!"});
}

TEST_F(SchoolEditorTest, DeletingTheMiddleGradeRenumbersTheLaterGradesWithTheirOwnClasses) {
    loadThreeGrades();
    editor.selectGrade(1);
    prompter.answer(Answer::No).answer(Answer::Yes);
    editor.deleteGrade(prompter);
    EXPECT_EQ(editor.gradeNames().size(), 3u);
    const Call& question = prompter.calls()[0];
    EXPECT_EQ(question.kind, Call::Ask);
    EXPECT_EQ(question.text, "确实删除项目：“高二” 么？");
    EXPECT_EQ(question.title, "确认删除");
    EXPECT_EQ(question.icon, Icon::Question);
    EXPECT_EQ(question.buttons, Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Answer::No);
    editor.deleteGrade(prompter);
    EXPECT_EQ(editor.gradeNames(), (std::vector<std::string>{"高一", "高三"}));
    EXPECT_EQ(editor.selectedGrade(), 1);
    EXPECT_EQ(editor.classNames(), (std::vector<std::string>{"乙班", "丙班"}));

    ASSERT_TRUE(editor.confirm(prompter, folder()));
    std::string text = savedText();
    EXPECT_NE(text.find("Grade=1\r\nGrade0=高一\r\nGrade0Class=1\r\nGrade1=高三\r\nGrade1Class=1\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[Grade1]\r\nClass0=乙班\r\nClass1=丙班\r\n"), std::string::npos);
    EXPECT_EQ(text.find("甲班"), std::string::npos);
    EXPECT_EQ(text.find("Grade2"), std::string::npos);
}

TEST_F(SchoolEditorTest, DeletingTheOnlyGradeThenAddingOneGivesAGradeWithoutClasses) {
    WriteBytes(dir.file("SchoolInfo.ini"), GbkLines({"[School]", "Name=甲", "Grade=0", "Grade0=高一",
                                                     "Grade0Class=0", "[Grade0]", "Class0=(1)班"}));
    editor.load(folder());
    prompter.answer(Answer::Yes).type("高二");
    editor.deleteGrade(prompter);
    EXPECT_EQ(editor.selectedGrade(), -1);
    EXPECT_TRUE(editor.classNames().empty());
    editor.addGrade(prompter);
    EXPECT_TRUE(editor.classNames().empty());
    ASSERT_TRUE(editor.confirm(prompter, folder()));
    std::string text = savedText();
    EXPECT_NE(text.find("Grade=0\r\nGrade0=高二\r\nGrade0Class=-1\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[Grade0]"), std::string::npos);
    SchoolTree tree = AddDot(folder());
    ASSERT_EQ(tree.nodes.size(), 2u);
    EXPECT_EQ(tree.nodes[1].text, "高二");
}

TEST_F(SchoolEditorTest, DeletingAClassKeepsTheSelectionAtItsPlaceWhenPossible) {
    loadThreeGrades();
    editor.selectClass(0);
    prompter.answer(Answer::Yes).answer(Answer::Yes);
    editor.deleteClass(prompter);
    EXPECT_EQ(prompter.questions(), std::vector<std::string>{"确实删除项目：“(1)班” 么？"});
    EXPECT_EQ(editor.classNames(), std::vector<std::string>{"(2)班"});
    EXPECT_EQ(editor.selectedClass(), 0);
    editor.deleteClass(prompter);
    EXPECT_TRUE(editor.classNames().empty());
    EXPECT_EQ(editor.selectedClass(), -1);
}

TEST_F(SchoolEditorTest, RenamingOffersTheNameAndChangesOnlyOnANonEmptyAnswer) {
    loadThreeGrades();
    prompter.type("").type("高一年级");
    editor.renameGrade(prompter);
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(prompter.last().offered, "高一");
    EXPECT_EQ(prompter.last().text, "请输入新的年级名称：（如：二年级）");
    EXPECT_EQ(prompter.last().title, "年级重命名");
    editor.renameGrade(prompter);
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(editor.gradeNames()[0], "高一年级");

    editor.selectClass(1);
    prompter.type("实验班");
    editor.renameClass(prompter);
    EXPECT_EQ(prompter.last().offered, "(2)班");
    EXPECT_EQ(prompter.last().text, "请输入新的班级名称：（如：(2)班）");
    EXPECT_EQ(prompter.last().title, "班机重命名");
    EXPECT_EQ(editor.classNames()[1], "实验班");
}

TEST_F(SchoolEditorTest, NamesThatCannotBeFolderNamesAreRefusedAndAskedAgain) {
    loadThreeGrades();
    prompter.type("高/二").type("..").type(" . ").type("高二");
    editor.addGrade(prompter);
    EXPECT_EQ(editor.gradeNames().back(), "高二");
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>(3, "名称中包含了诸如“\\/*?”之类的非法字符，请重新输入。"));
    // Each new box offers what was refused, so it can be corrected.
    std::vector<std::string> offered;
    for (const Call& call : prompter.calls()) {
        if (call.kind == Call::Input) {
            offered.push_back(call.offered);
        }
    }
    EXPECT_EQ(offered, (std::vector<std::string>{"", "高/二", "..", " . "}));

    prompter.clear();
    prompter.type("a*b").type(std::nullopt);
    editor.renameGrade(prompter);  // refused, then cancelled: nothing changes
    EXPECT_EQ(editor.gradeNames().back(), "高二");
    prompter.type("(3)班?").type("(3)班");
    editor.addClass(prompter);
    EXPECT_EQ(editor.classNames(), std::vector<std::string>{"(3)班"});
    prompter.type("   ");
    editor.renameClass(prompter);  // blanks only: nothing to rename to
    EXPECT_EQ(editor.classNames(), std::vector<std::string>{"(3)班"});
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(SchoolEditorTest, ConfirmingRefusesASchoolNameThatCannotBeAFolderAndSavesThePlaceholder) {
    editor.load(folder());
    editor.setSchoolName("..");
    EXPECT_FALSE(editor.confirm(prompter, folder()));
    EXPECT_EQ(prompter.messages(),
              std::vector<std::string>{"名称中包含了诸如“\\/*?”之类的非法字符，请重新输入。"});
    EXPECT_EQ(ReadBytes(dir.file("SchoolInfo.ini")), "");

    editor.load(folder());
    ASSERT_TRUE(editor.confirm(prompter, folder()));
    EXPECT_NE(savedText().find("Name=在此输入学校名称\r\nGrade=-1\r\n"), std::string::npos);
}

TEST_F(SchoolEditorTest, AFailedSaveIsReportedAndKeepsTheEditorOpen) {
    WriteBytes(dir.file("plain"), "x");
    editor.load(folder());
    EXPECT_FALSE(editor.confirm(prompter, dir.file("plain") + "/"));
    ASSERT_EQ(prompter.calls().size(), 1u);
    EXPECT_EQ(prompter.last().text, "文件保存失败！");
    EXPECT_EQ(prompter.last().title, "错误");
    EXPECT_EQ(prompter.last().icon, Icon::Error);
}

TEST_F(SchoolEditorTest, CancellingAsksOnlyWhenModified) {
    loadThreeGrades();
    EXPECT_TRUE(editor.cancel(prompter));
    EXPECT_TRUE(prompter.calls().empty());

    editor.setSchoolName("别的");
    prompter.answer(Answer::No).answer(Answer::Yes);
    EXPECT_FALSE(editor.cancel(prompter));
    EXPECT_TRUE(editor.cancel(prompter));
    EXPECT_EQ(prompter.questions(), std::vector<std::string>(2, "真的不保存修改么?"));
    EXPECT_EQ(prompter.last().title, "提示");
    EXPECT_EQ(prompter.last().icon, Icon::Question);
    EXPECT_EQ(prompter.last().buttons, Buttons::YesNo);
    // Nothing was written.
    EXPECT_NE(savedText().find("Name=第一中学"), std::string::npos);
}

}  // namespace
}  // namespace scorvane

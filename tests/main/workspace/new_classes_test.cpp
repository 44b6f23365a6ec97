#include "main/workspace/new_classes.h"

#include <gtest/gtest.h>

#include "main/workspace/school_file_watch.h"
#include "main/workspace/school_info.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;

class NewClassesTest : public ::testing::Test {
  protected:
    std::string folder() const { return dir.path() + "/"; }
    void writeSchool(const Strings& gradeOne) {
        SchoolInfo info{"一中", {{"高一", gradeOne}, {"高二", {"甲班"}}}};
        ASSERT_TRUE(SaveSchoolInfo(info, folder()));
    }
    Strings classesOf(size_t grade) const {
        const std::optional<SchoolInfo> info = LoadSchoolInfo(folder());
        return info && grade < info->grades.size() ? info->grades[grade].classes : Strings{"(no file)"};
    }
    NewClassesOutcome add(const Strings& names, const FileState& seen, std::string_view grade = "高一") {
        return AddNewClasses(folder(), "一中", grade, names, seen, prompter);
    }

    testing::TempDir dir;
    testing::ScriptedPrompter prompter;
};

TEST_F(NewClassesTest, TheClassesGoAfterTheGradesOwnAndOnlyThoseItLacks) {
    writeSchool({"(1)班", "(2)班"});
    EXPECT_EQ(add({"(13)班", "(2)班", "(14)班"}, TakeSchoolFileState(folder())), NewClassesOutcome::Added);
    EXPECT_EQ(classesOf(0), (Strings{"(1)班", "(2)班", "(13)班", "(14)班"}));
    EXPECT_EQ(classesOf(1), (Strings{"甲班"}));
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(NewClassesTest, AFileChangedMeanwhileIsAskedAboutAndWhatTheOtherSavedStays) {
    writeSchool({"(1)班"});
    const FileState seen = TakeSchoolFileState(folder());
    writeSchool({"(1)班", "(5)班"});  // another computer added (5)班

    prompter.answer(Answer::Cancel);
    EXPECT_EQ(add({"(13)班"}, seen), NewClassesOutcome::Cancelled);
    EXPECT_EQ(classesOf(0), (Strings{"(1)班", "(5)班"}));
    ASSERT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.questions()[0], kChangedSchoolBeforeAddingQuestion);
    EXPECT_EQ(prompter.last().captions, (Strings{"添加(&A)", "取消"}));
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::Cancel);

    prompter.answer(Answer::Yes);
    EXPECT_EQ(add({"(13)班"}, seen), NewClassesOutcome::Added);
    EXPECT_EQ(classesOf(0), (Strings{"(1)班", "(5)班", "(13)班"}));
}

TEST_F(NewClassesTest, RefusedWithoutTheGradeOrWithANameThatCannotBeAFolder) {
    writeSchool({"(1)班"});
    const FileState seen = TakeSchoolFileState(folder());
    EXPECT_EQ(add({"(13)班"}, seen, "高三"), NewClassesOutcome::Failed);
    EXPECT_EQ(add({"a/b"}, seen), NewClassesOutcome::Failed);
    EXPECT_EQ(AddNewClasses(folder(), "二中", "高一", {"(13)班"}, seen, prompter), NewClassesOutcome::Failed);
    EXPECT_EQ(prompter.messages(), (Strings{GradeMissingForClassesMessage("高三"),
                                            "名称中包含了诸如“\\/*?”之类的非法字符，请重新输入。",
                                            "学校关系树中没有年级“高一”，无法添加班级。"}));
    EXPECT_EQ(classesOf(0), (Strings{"(1)班"}));
}

}  // namespace
}  // namespace scorvane

// Two designer windows on one template, each as another teacher's program: its lock identity and
// its own scripted answers.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/file_sharing.h"
#include "common/report_template.h"
#include "designer/template_file_commands.h"
#include "designer_window_fixture.h"
#include "support/lock_programs.h"

namespace scorvane::designer {
namespace {

using testing_support::DesignerWindowFixture;
using testing_support::Strings;

constexpr char kLineA[] = "王老师,办公室-1,101,2024-09-02T08:05:09+08:00";

class DesignerSharing : public DesignerWindowFixture {
  protected:
    DesignerSharing() : other(otherPrompter, dialogs) {
        TemplateDocument first;
        first.lines.append("1000,1500,9000,1500,1", LineStore::DrawnName(0));
        EXPECT_TRUE(WriteReportTemplate(first.toReportTemplate(), path));
        window.document().file.setIdentity(::scorvane::testing::LockProgram("王老师", "办公室-1", 101));
        other.document().file.setIdentity(::scorvane::testing::LockProgram("李老师", "办公室-2", 202));
        other.setExitHandler([] {});
        window.setExitHandler([] {});
    }
    void drawLine(DesignerWindow& w, const char* record) {
        TemplateDocument& doc = w.document();
        doc.lines.append(record, LineStore::DrawnName(doc.lines.records().size()));
        doc.markChanged();
    }
    bool fileHasLine(const char* record) const {
        return ::scorvane::testing::ReadBytes(path).find(record) != std::string::npos;
    }
    std::string lock() const { return LockFilePath(path); }

    std::string path = dir.file("成绩单.rvx");
    ::scorvane::testing::ScriptedPrompter otherPrompter;
    DesignerWindow other;
};

TEST_F(DesignerSharing, ATemplateOpenElsewhereShowsReadOnlyUntilSavedUnderAnotherName) {
    prompter.chooseOpen(path);
    action("menuOpen")->trigger();
    EXPECT_EQ(::scorvane::testing::ReadBytes(lock()), kLineA);
    EXPECT_EQ(window.windowTitle(), "成绩单.rvx[*] - ScorvaneVelmora");

    otherPrompter.answer(kOpenReadOnly);
    ASSERT_TRUE(other.openAtStart(path));
    EXPECT_EQ(otherPrompter.last().captions, (Strings{"只读打开(&R)", "仍然打开(&O)", "取消"}));
    EXPECT_EQ(other.windowTitle(), "成绩单.rvx（只读）[*] - ScorvaneVelmora");

    // 保存 is 另存为; the copy becomes the window's file, no longer read-only.
    otherPrompter.clear();
    drawLine(other, "3,3,3,3,1");
    otherPrompter.chooseSave(dir.file("副本.rvx"));
    other.findChild<QAction*>("menuSave")->trigger();
    EXPECT_EQ(otherPrompter.calls().front().kind, ::scorvane::testing::ScriptedPrompter::Call::SaveFile);
    EXPECT_EQ(other.windowTitle(), "副本.rvx[*] - ScorvaneVelmora");
    EXPECT_FALSE(fileHasLine("3,3,3,3,1"));
    EXPECT_EQ(::scorvane::testing::ReadBytes(lock()), kLineA);
}

TEST_F(DesignerSharing, SavingAfterTheOtherSavedAsksFirst) {
    struct Case {
        Answer answer;
        const char* inFile;
    } cases[] = {{Answer::Cancel, "2,2,2,2,1"}, {kOverwrite, "3,3,3,3,1"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(window.openAtStart(path));
        otherPrompter.answer(kOpenAnyway);
        ASSERT_TRUE(other.openAtStart(path));
        drawLine(window, c.answer == kOverwrite ? "2,2,2,2,2" : "2,2,2,2,1");
        action("menuSave")->trigger();

        otherPrompter.clear();
        drawLine(other, "3,3,3,3,1");
        otherPrompter.answer(c.answer);
        other.findChild<QAction*>("menuSave")->trigger();
        EXPECT_EQ(otherPrompter.questions(),
                  Strings{"模板“成绩单”在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方"
                          "的修改。\n另存为：把您的内容保存为另一个文件。"});
        EXPECT_TRUE(fileHasLine(c.inFile));
        EXPECT_EQ(other.isWindowModified(), c.answer == Answer::Cancel);
        // Both let go of the template, the unsaved changes given up.
        ASSERT_TRUE(NewTemplate(window.document(), prompter));
        if (c.answer == Answer::Cancel) {
            otherPrompter.answer(Answer::Yes);
        }
        ASSERT_TRUE(NewTemplate(other.document(), otherPrompter));
    }
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(DesignerSharing, TheLockGoesWhenTheWindowClosesAndWhenTheProgramEnds) {
    ASSERT_TRUE(window.openAtStart(path));
    ASSERT_TRUE(FileExists(lock()));
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(FileExists(lock()));

    ASSERT_TRUE(other.openAtStart(path));
    ASSERT_TRUE(FileExists(lock()));
    other.findChild<QAction*>("menuExit")->trigger();
    EXPECT_FALSE(FileExists(lock()));
}

}  // namespace
}  // namespace scorvane::designer

// Two designers on one shared template: its lock file, the read-only template and the changed-on-disk
// question.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/file_sharing.h"
#include "designer/template_file_commands.h"
#include "support/lock_programs.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane::designer {
namespace {

using testing::ReadBytes;
using testing::ScriptedPrompter;
using Strings = std::vector<std::string>;

constexpr char kLockLineA[] = "王老师,办公室-1,101,2024-09-02T08:05:09+08:00";
constexpr char kLockLineB[] = "李老师,办公室-2,202,2024-09-02T08:05:09+08:00";

class SharedTemplate : public ::testing::Test {
  protected:
    void SetUp() override {
        writeTemplate();
        resetDocuments();
    }
    // The template on the shared folder: one line.
    void writeTemplate() {
        TemplateDocument first;
        first.lines.append("1000,1500,9000,1500,1", LineStore::DrawnName(0));
        ASSERT_TRUE(WriteReportTemplate(first.toReportTemplate(), path));
    }
    void resetDocuments() {
        a = TemplateDocument();
        b = TemplateDocument();
        a.file.setIdentity(testing::LockProgram("王老师", "办公室-1", 101));
        b.file.setIdentity(testing::LockProgram("李老师", "办公室-2", 202));
    }
    static void drawLine(TemplateDocument& doc, const char* record) {
        doc.lines.append(record, LineStore::DrawnName(doc.lines.records().size()));
        doc.markChanged();
    }
    bool fileHasLine(const char* record) const { return ReadBytes(path).find(record) != std::string::npos; }

    testing::TempDir dir;
    std::string path = dir.file("成绩单.rvx");
    ScriptedPrompter prompter;
    testing::RecordingStatus status;
    TemplateDocument a;
    TemplateDocument b;
};

TEST_F(SharedTemplate, ATemplateOpenElsewhereOpensReadOnlyAndSavesOnlyUnderAnotherName) {
    ASSERT_TRUE(OpenTemplateFile(a, path, prompter, status));
    EXPECT_EQ(ReadBytes(LockFilePath(path)), kLockLineA);

    ScriptedPrompter p;
    p.answer(Answer::Cancel);
    EXPECT_FALSE(OpenTemplateFile(b, path, p, status));
    EXPECT_EQ(b.fileName, "");
    EXPECT_EQ(p.questions(), Strings{"模板“成绩单”已由 王老师（办公室-1）于 2024-09-02 08:05 打开。\n\n"
                                     "只读打开：可以查看和打印，不能保存修改。"});
    EXPECT_EQ(p.last().captions, (Strings{"只读打开(&R)", "仍然打开(&O)", "取消"}));

    p.answer(kOpenReadOnly);
    ASSERT_TRUE(OpenTemplateFile(b, path, p, status));
    EXPECT_TRUE(b.file.readOnly());
    EXPECT_EQ(ReadOnlyCaption(DocumentTitle(b), b.file), "成绩单.rvx（只读）");
    p.clear();

    // 保存 is 另存为, which refuses the template's own file.
    drawLine(b, "1,2,3,4,1");
    p.chooseSave(path);
    EXPECT_FALSE(SaveTemplate(b, p));
    EXPECT_EQ(p.messages(), Strings{"只读打开的模板不能保存到原来的文件，请另选一个文件名！"});
    const std::string copy = dir.file("成绩单-李老师.rvx");
    p.chooseSave(copy);
    ASSERT_TRUE(SaveTemplate(b, p));
    EXPECT_EQ(b.fileName, copy);
    EXPECT_FALSE(b.file.readOnly());
    EXPECT_EQ(ReadBytes(LockFilePath(copy)), kLockLineB);
    EXPECT_EQ(ReadBytes(LockFilePath(path)), kLockLineA);
    EXPECT_FALSE(fileHasLine("1,2,3,4,1"));

    // 新建 lets go of the file and its lock.
    ASSERT_TRUE(NewTemplate(a, prompter));
    EXPECT_FALSE(FileExists(LockFilePath(path)));
}

TEST_F(SharedTemplate, SavingOverTheOthersSaveAsksFirstAndADeletedTemplateIsWrittenAgain) {
    const std::string elsewhere = dir.file("成绩单-另存.rvx");
    struct Case {
        Answer answer;
        bool saved;
        const char* inFile;     // the line of the designer whose template the file holds afterwards
        const char* notInFile;  // the other's
    } cases[] = {
        {Answer::Cancel, false, "2,2,2,2,1", "3,3,3,3,1"},
        {kOverwrite, true, "3,3,3,3,1", "2,2,2,2,1"},
        {kSaveElsewhere, true, "2,2,2,2,1", "3,3,3,3,1"},
    };
    for (const Case& c : cases) {
        writeTemplate();
        resetDocuments();
        ASSERT_TRUE(OpenTemplateFile(a, path, prompter, status));
        ScriptedPrompter p;
        p.answer(kOpenAnyway);
        ASSERT_TRUE(OpenTemplateFile(b, path, p, status));
        drawLine(a, "2,2,2,2,1");
        ASSERT_TRUE(SaveTemplate(a, prompter));
        EXPECT_TRUE(prompter.calls().empty());  // unchanged meanwhile: no question

        p.clear();
        drawLine(b, "3,3,3,3,1");
        p.answer(c.answer);
        if (c.answer == kSaveElsewhere) {
            p.chooseSave(elsewhere);
        }
        EXPECT_EQ(SaveTemplate(b, p), c.saved);
        EXPECT_EQ(p.questions(),
                  Strings{"模板“成绩单”在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方"
                          "的修改。\n另存为：把您的内容保存为另一个文件。"});
        EXPECT_EQ(p.calls()[0].defaultAnswer, Answer::Cancel);
        EXPECT_TRUE(fileHasLine(c.inFile));
        EXPECT_FALSE(fileHasLine(c.notInFile));
        EXPECT_EQ(b.changed, !c.saved);
    }
    EXPECT_EQ(b.fileName, elsewhere);

    // Deleted meanwhile: written again without a question.
    std::filesystem::remove(path);
    drawLine(a, "4,4,4,4,1");
    ASSERT_TRUE(SaveTemplate(a, prompter));
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_TRUE(fileHasLine("4,4,4,4,1"));
}

}  // namespace
}  // namespace scorvane::designer

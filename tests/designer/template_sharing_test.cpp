// Two designers on one shared template: its lock file, the read-only template and the changed-on-disk
// question.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/file_sharing.h"
#include "designer/template_file_commands.h"
#include "designer/template_recovery.h"
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
    EXPECT_EQ(p.questions(), Strings{"模板“成绩单”（成绩单.rvx）已由 王老师（办公室-1）于 2024-09-02 08:05 打开。\n\n"
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
    EXPECT_EQ(p.calls()[0].title, "另存为 — 只读打开的模板不能保存到原来的文件");
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
        if (c.answer == kSaveElsewhere) {
            // The dialog offers the template's folder and name.
            ASSERT_EQ(p.calls().size(), 2u);
            EXPECT_EQ(p.calls()[1].kind, ScriptedPrompter::Call::SaveFile);
            EXPECT_EQ(p.calls()[1].folder, dir.path());
            EXPECT_EQ(p.calls()[1].suggestedName, "成绩单.rvx");
        }
    }
    EXPECT_EQ(b.fileName, elsewhere);

    // Deleted meanwhile: written again without a question.
    std::filesystem::remove(path);
    drawLine(a, "4,4,4,4,1");
    ASSERT_TRUE(SaveTemplate(a, prompter));
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_TRUE(fileHasLine("4,4,4,4,1"));

    // Deleted with its folder: not made again, and said so.
    TemplateDocument inFolder;
    inFolder.file.setIdentity(testing::LockProgram("王老师", "办公室-1", 101));
    const std::string folder = dir.file("班");
    ASSERT_TRUE(WriteReportTemplate(inFolder.toReportTemplate(), folder + "/单.rvx"));
    ASSERT_TRUE(OpenTemplateFile(inFolder, folder + "/单.rvx", prompter, status));
    std::filesystem::remove_all(folder);
    drawLine(inFolder, "5,5,5,5,1");
    prompter.clear();
    EXPECT_FALSE(SaveTemplate(inFolder, prompter));
    EXPECT_EQ(prompter.messages(), Strings{"文件保存失败！"});
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_TRUE(inFolder.changed);
}

TEST_F(SharedTemplate, SaveAsOverATemplateOpenElsewhereNamesItsHolderAndItsOwnFileByAnotherNameIsItsOwn) {
    const std::string other = dir.file("其他.rvx");
    writeTemplate();
    ASSERT_TRUE(WriteReportTemplate(TemplateDocument().toReportTemplate(), other));
    ASSERT_TRUE(OpenTemplateFile(b, other, prompter, status));  // 李老师 has it open
    ASSERT_TRUE(OpenTemplateFile(a, path, prompter, status));
    const Strings held = {
        "文件“其他.rvx”正由 李老师（办公室-2）于 2024-09-02 08:05 打开。\n\n"
        "覆盖后，对方的修改将无法保存到这个文件。"};
    drawLine(a, "5,5,5,5,1");
    ScriptedPrompter p;
    p.chooseSave(other).answer(Answer::Cancel);
    EXPECT_FALSE(SaveTemplateAs(a, p));
    EXPECT_EQ(p.questions(), held);  // instead of "其他.rvx 已存在。…"
    EXPECT_EQ(ReadBytes(other).find("5,5,5,5,1"), std::string::npos);
    EXPECT_EQ(a.fileName, path);
    p.clear();
    p.chooseSave(other).answer(kOverwrite);
    EXPECT_TRUE(SaveTemplateAs(a, p));
    EXPECT_EQ(p.questions(), held);
    EXPECT_NE(ReadBytes(other).find("5,5,5,5,1"), std::string::npos);
    EXPECT_EQ(a.fileName, other);
    EXPECT_EQ(ReadBytes(LockFilePath(other)), kLockLineB);  // 李老师's lock stays
    EXPECT_FALSE(FileExists(LockFilePath(path)));

    // Its own file by another name (a link in the path) is its own: the changed question, not the
    // routine one, when the other saved meanwhile.
    resetDocuments();
    const std::string link = dir.file("链接");
    ASSERT_EQ(::symlink(dir.path().c_str(), link.c_str()), 0);
    ASSERT_TRUE(OpenTemplateFile(a, path, prompter, status));
    p.clear();
    p.answer(kOpenAnyway);
    ASSERT_TRUE(OpenTemplateFile(b, path, p, status));
    drawLine(b, "6,6,6,6,1");
    ASSERT_TRUE(SaveTemplate(b, p));
    drawLine(a, "7,7,7,7,1");
    p.clear();
    p.chooseSave(link + "/成绩单.rvx").answer(Answer::Cancel);
    EXPECT_FALSE(SaveTemplateAs(a, p));
    EXPECT_EQ(p.questions(), Strings{"模板“成绩单”在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换"
                                     "对方的修改。\n另存为：把您的内容保存为另一个文件。"});
    EXPECT_TRUE(fileHasLine("6,6,6,6,1"));
    p.clear();
    p.chooseSave(link + "/成绩单.rvx").answer(kOverwrite);
    EXPECT_TRUE(SaveTemplateAs(a, p));
    EXPECT_TRUE(fileHasLine("7,7,7,7,1"));
    EXPECT_EQ(ReadBytes(LockFilePath(path)), kLockLineA);
    // Remembered as written: saved again, nothing is asked.
    drawLine(a, "8,8,8,8,1");
    p.clear();
    EXPECT_TRUE(SaveTemplate(a, p));
    EXPECT_TRUE(p.calls().empty());
}

TEST_F(SharedTemplate, ARestoredTemplateTakesItsLockAndItsFirstSaveMeetsWhatWasSavedMeanwhile) {
    ASSERT_TRUE(OpenTemplateFile(a, path, prompter, status));
    drawLine(a, "2,2,2,2,1");
    RecoveryInfo info = TemplateCopyInfo(a);
    ASSERT_TRUE(info.file.has_value());
    TemplateCopy copy;
    copy.id = "a";
    copy.info = info;
    copy.records = ParseReportTemplate(SerializeReportTemplate(a.toReportTemplate()));
    // The designer is gone (its lock with it, as a stale one would be taken over); a colleague saves.
    a.file.release();
    TemplateDocument colleague;
    colleague.lines.append("9,9,9,9,1", LineStore::DrawnName(0));
    ASSERT_TRUE(WriteReportTemplate(colleague.toReportTemplate(), path));

    ScriptedPrompter p;
    TemplateDocument restored;
    restored.file.setIdentity(testing::LockProgram("王老师", "办公室-1", 101));
    ASSERT_TRUE(RecoverTemplate(restored, copy, ClaimRecoveredTemplate(copy, restored.file.identity(), p)));
    EXPECT_TRUE(p.calls().empty());
    EXPECT_TRUE(restored.file.holdsLock());
    EXPECT_TRUE(restored.changed);
    p.answer(Answer::Cancel);
    EXPECT_FALSE(SaveTemplate(restored, p));
    ASSERT_EQ(p.questions().size(), 1u);
    EXPECT_EQ(p.questions()[0].find("模板“成绩单”在您打开之后已被其他人修改并保存。"), 0u);
    EXPECT_TRUE(fileHasLine("9,9,9,9,1"));

    // A new template's copy claims nothing: no question, no lock.
    TemplateCopy untitled = copy;
    untitled.info->filePath.clear();
    ScriptedPrompter none;
    const OpenClaim nothing = ClaimRecoveredTemplate(untitled, restored.file.identity(), none);
    EXPECT_EQ(nothing.mode, OpenClaim::Mode::Normal);
    EXPECT_FALSE(nothing.lock.held());
    EXPECT_TRUE(none.calls().empty());

    // Open elsewhere: the lock question; 取消 restores nothing.
    ScriptedPrompter q;
    q.answer(Answer::Cancel);
    TemplateDocument second;
    second.file.setIdentity(testing::LockProgram("李老师", "办公室-2", 202));
    EXPECT_FALSE(RecoverTemplate(second, copy, ClaimRecoveredTemplate(copy, second.file.identity(), q)));
    EXPECT_EQ(q.questions().size(), 1u);
    EXPECT_FALSE(second.changed);
    EXPECT_EQ(second.fileName, "");
    // A copy that recorded nothing takes the file as changed.
    restored.file.release();
    copy.info->file.reset();
    TemplateDocument third;
    third.file.setIdentity(testing::LockProgram("王老师", "办公室-1", 101));
    ASSERT_TRUE(RecoverTemplate(third, copy, ClaimRecoveredTemplate(copy, third.file.identity(), p)));
    WriteReportTemplate(colleague.toReportTemplate(), path);  // the same bytes as before
    p.clear();
    p.answer(Answer::Cancel);
    EXPECT_FALSE(SaveTemplate(third, p));
    EXPECT_EQ(p.questions().size(), 1u);
}

}  // namespace
}  // namespace scorvane::designer

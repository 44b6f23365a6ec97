// Two table windows on one table file, each as another teacher's program: its own lock identity and
// its own host with scripted answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "common/file_io.h"
#include "common/file_sharing.h"
#include "common/text_codec.h"
#include "main/document/document_life.h"
#include "main/document/ui/table_window.h"
#include "support/lock_programs.h"
#include "support/sample_table.h"
#include "table_window_fixture.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using Call = testing::ScriptedPrompter::Call;
using Strings = std::vector<std::string>;

constexpr char kLineA[] = "王老师,办公室-1,101,2024-09-02T08:05:09+08:00";
constexpr char kChangedText[] =
    "表格“期中考试”在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方的修改。\n另存为：把您的内容"
    "保存为另一个文件。";

class SharedTableWindows : public testing::QtTest {
  protected:
    SharedTableWindows() {
        writeTable();
        a = windowOf(hostA, testing::LockProgram("王老师", "办公室-1", 101));
        b = windowOf(hostB, testing::LockProgram("李老师", "办公室-2", 202));
    }
    void writeTable() {
        EXPECT_TRUE(WriteDataFile(testing::MakeTable({"姓名", "语文"}, {{"张三", "90"}}, "期中考试"), path));
    }
    static std::unique_ptr<TableWindow> windowOf(testing::RecordingHost& host, LockIdentity identity) {
        auto window = std::make_unique<TableWindow>(host);
        window->document().file.setIdentity(std::move(identity));
        return window;
    }
    std::string file() const { return path + ".skv"; }
    std::string lock() const { return LockFilePath(file()); }
    bool fileHolds(const std::string& text) const {
        return ReadBytes(file()).find(EncodeGbk(text)) != std::string::npos;
    }
    // The window changes 张三's mark.
    static void edit(TableWindow& window, const std::string& mark) {
        window.document().table.setCell(1, 2, mark);
        window.document().setModified();
    }

    testing::TempDir dir;
    std::string path = dir.file("期中");
    testing::RecordingHost hostA;
    testing::RecordingHost hostB;
    std::unique_ptr<TableWindow> a;
    std::unique_ptr<TableWindow> b;
};

TEST_F(SharedTableWindows, TheSecondWindowAsksAndOpensReadOnlyNormallyOrNotAtAll) {
    ASSERT_EQ(a->openTable(path), LoadOutcome::Loaded);
    EXPECT_TRUE(hostA.prompts.calls().empty());
    EXPECT_EQ(ReadBytes(lock()), kLineA);
    EXPECT_EQ(a->windowTitle(), "期中考试");

    struct Case {
        Answer answer;
        LoadOutcome outcome;
        QString title;
    } cases[] = {
        {Answer::Cancel, LoadOutcome::Closed, "未命名的表格"},
        {kOpenReadOnly, LoadOutcome::Loaded, "期中考试（只读）"},
        {kOpenAnyway, LoadOutcome::Loaded, "期中考试"},
    };
    for (const Case& c : cases) {
        testing::RecordingHost host;
        auto other = windowOf(host, testing::LockProgram("李老师", "办公室-2", 202));
        host.prompts.answer(c.answer);
        EXPECT_EQ(other->openTable(path), c.outcome);
        ASSERT_EQ(host.prompts.calls().size(), 1u);
        EXPECT_EQ(host.prompts.last().captions, (Strings{"只读打开(&R)", "仍然打开(&O)", "取消"}));
        EXPECT_EQ(other->windowTitle(), c.title);
        EXPECT_EQ(other->caption(), c.title);
    }
    // The first window's lock stands throughout.
    EXPECT_EQ(ReadBytes(lock()), kLineA);
}

TEST_F(SharedTableWindows, AReadOnlyWindowMayBeEditedButSavesOnlyACopy) {
    ASSERT_EQ(a->openTable(path), LoadOutcome::Loaded);
    hostB.prompts.answer(kOpenReadOnly);
    ASSERT_EQ(b->openTable(path), LoadOutcome::Loaded);
    hostB.prompts.clear();
    edit(*b, "李");

    // 保存表格 asks for another name; the table's own file is refused.
    hostB.prompts.chooseSave(file());
    EXPECT_EQ(b->save(), SaveOutcome::Declined);
    EXPECT_EQ(hostB.prompts.calls().front().kind, Call::SaveFile);
    EXPECT_EQ(hostB.prompts.messages(), Strings{"只读打开的表格不能保存到原来的文件，请另选一个文件名！"});

    const std::string copy = dir.file("副本.skv");
    hostB.prompts.chooseSave(copy);
    EXPECT_EQ(b->save(), SaveOutcome::Saved);
    EXPECT_NE(ReadBytes(copy).find(EncodeGbk("李")), std::string::npos);
    EXPECT_TRUE(fileHolds("90"));
    EXPECT_FALSE(fileHolds("李"));
    // The window stays a read-only view of the table's file.
    EXPECT_EQ(b->windowTitle(), "期中考试（只读）");
    EXPECT_EQ(b->document().table.filePath, path);
    EXPECT_EQ(ReadBytes(lock()), kLineA);
}

TEST_F(SharedTableWindows, AStaleLockOfThisComputerIsTakenOverWithoutAWord) {
    // Left by a program of 王老师's computer that no longer runs.
    testing::WriteBytes(lock(), "王老师,办公室-1,999,2024-09-01T17:00:00+08:00");
    ASSERT_EQ(a->openTable(path), LoadOutcome::Loaded);
    EXPECT_TRUE(hostA.prompts.calls().empty());
    EXPECT_EQ(a->windowTitle(), "期中考试");
    EXPECT_EQ(ReadBytes(lock()), kLineA);
}

TEST_F(SharedTableWindows, SavingAfterTheOtherSavedAsksAndEachAnswerKeepsItsWord) {
    const std::string elsewhere = dir.file("期中-李老师.skv");
    struct Case {
        Answer answer;
        SaveOutcome outcome;
        std::string inFile;  // the mark the table's file holds afterwards
    } cases[] = {
        {Answer::Cancel, SaveOutcome::Declined, "王"},
        {kOverwrite, SaveOutcome::Saved, "李"},
        {kSaveElsewhere, SaveOutcome::Saved, "王"},
    };
    for (const Case& c : cases) {
        writeTable();
        a = windowOf(hostA, testing::LockProgram("王老师", "办公室-1", 101));
        b = windowOf(hostB, testing::LockProgram("李老师", "办公室-2", 202));
        ASSERT_EQ(a->openTable(path), LoadOutcome::Loaded);
        hostB.prompts.answer(kOpenAnyway);
        ASSERT_EQ(b->openTable(path), LoadOutcome::Loaded);
        edit(*a, "王");
        hostA.prompts.answer(Answer::Yes);  // the overwrite question of a save to its own file
        ASSERT_EQ(a->save(), SaveOutcome::Saved);

        hostB.prompts.clear();
        edit(*b, "李");
        hostB.prompts.answer(c.answer);
        if (c.answer == kSaveElsewhere) {
            hostB.prompts.chooseSave(elsewhere);
        }
        EXPECT_EQ(b->save(), c.outcome);
        EXPECT_EQ(hostB.prompts.questions(), Strings{kChangedText});
        EXPECT_TRUE(hostB.prompts.exhausted());
        EXPECT_TRUE(fileHolds(c.inFile));
    }
    EXPECT_NE(ReadBytes(elsewhere).find(EncodeGbk("李")), std::string::npos);
}

TEST_F(SharedTableWindows, ClosingTheWindowRemovesItsLockButNotAnothersTakenMeanwhile) {
    ASSERT_EQ(a->openTable(path), LoadOutcome::Loaded);
    a->show();
    EXPECT_TRUE(a->close());
    EXPECT_FALSE(FileExists(lock()));

    ASSERT_EQ(a->openTable(path), LoadOutcome::Loaded);
    // Another program took the lock over (the file manager's user removed ours, say).
    testing::WriteBytes(lock(), "赵老师,办公室-3,303,2024-09-02T09:00:00+08:00");
    EXPECT_TRUE(a->close());
    EXPECT_EQ(ReadBytes(lock()), "赵老师,办公室-3,303,2024-09-02T09:00:00+08:00");
}

}  // namespace
}  // namespace scorvane

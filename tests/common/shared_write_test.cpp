#include "common/shared_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/file_sharing.h"
#include "support/lock_programs.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;
using Strings = std::vector<std::string>;

constexpr char kRoutine[] = "确实覆盖原有数据么？";
constexpr char kChanged[] = "表格“期中”在您打开之后已被其他人修改并保存。";
constexpr char kHeld[] =
    "文件“期中.skv”正由 王老师（办公室-2）于 2024-09-02 08:05 "
    "打开。\n\n覆盖后，对方的修改将无法保存到这个文件。";

class SharedWrite : public ::testing::Test {
  protected:
    SharedWrite() {
        WriteBytes(path, "old");
        remembered = TakeFileState(path);
    }
    // The target of the writer's own file, or of another (own = false).
    WriteTarget target(bool own) {
        WriteTarget t;
        t.path = path;
        if (own) {
            t.ownState = &remembered;
            t.changedQuestion.text = kChanged;
            t.changedQuestion.buttons = {
                {"覆盖(&O)", kOverwrite}, {"另存为(&A)...", kSaveElsewhere}, {"取消", Answer::Cancel}};
        }
        t.mayReplace = [this] {
            return prompter.ask(kRoutine, "提示：", Buttons::YesNo, Icon::Question, Answer::Yes) ==
                   Answer::Yes;
        };
        t.identity = &me;
        return t;
    }
    void colleagueOpens() { WriteBytes(LockFilePath(path), "王老师,办公室-2,7,2024-09-02T08:05:09+08:00"); }

    testing::TempDir dir;
    std::string path = dir.file("班/期中.skv");
    FileState remembered;
    LockIdentity me = testing::LockProgram("李老师", "办公室-1", 20);
    testing::ScriptedPrompter prompter;
};

TEST_F(SharedWrite, AnotherFileAsksTheRoutineQuestionOrTheHeldOneInsteadWhenItIsOpenElsewhere) {
    struct Case {
        const char* what;
        std::function<void()> before;
        std::vector<Answer> answers;
        BeforeWriting result;
        Strings questions;
    } cases[] = {
        {"no file", [&] { std::filesystem::remove(path); }, {}, BeforeWriting::Write, {}},
        {"a file, 是", [] {}, {Answer::Yes}, BeforeWriting::Write, {kRoutine}},
        {"a file, 否", [] {}, {Answer::No}, BeforeWriting::Cancelled, {kRoutine}},
        {"open elsewhere, 覆盖", [&] { colleagueOpens(); }, {kOverwrite}, BeforeWriting::Write, {kHeld}},
        {"open elsewhere, 取消",
         [&] { colleagueOpens(); },
         {Answer::Cancel},
         BeforeWriting::Cancelled,
         {kHeld}},
        {"a stale lock",
         [&] { WriteBytes(LockFilePath(path), "王老师,办公室-1,8,t"); },
         {Answer::Yes},
         BeforeWriting::Write,
         {kRoutine}},
        {"opened elsewhere while the routine question is open",
         [&] { prompter.meanwhile([&] { colleagueOpens(); }); },
         {Answer::Yes, Answer::Cancel},
         BeforeWriting::Cancelled,
         {kRoutine, kHeld}},
    };
    for (const Case& c : cases) {
        WriteBytes(path, "old");
        std::filesystem::remove(LockFilePath(path));
        prompter.clear();
        c.before();
        for (Answer a : c.answers) {
            prompter.answer(a);
        }
        EXPECT_EQ(PrepareToWrite(target(false), prompter), c.result) << c.what;
        EXPECT_EQ(prompter.questions(), c.questions) << c.what;
        EXPECT_TRUE(prompter.exhausted()) << c.what;
    }
    // The held question as a teacher sees it.
    colleagueOpens();
    prompter.clear();
    prompter.answer(Answer::Cancel);
    PrepareToWrite(target(false), prompter);
    EXPECT_EQ(prompter.last().title, "询问");
    EXPECT_EQ(prompter.last().captions, (Strings{"覆盖(&O)", "取消"}));
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::Cancel);
    EXPECT_EQ(prompter.last().escapeAnswer, Answer::Cancel);
    // A lock that cannot be read is an unknown user's.
    WriteBytes(LockFilePath(path), std::string("\x01\x02", 2));
    prompter.clear();
    prompter.answer(Answer::Cancel);
    EXPECT_EQ(PrepareToWrite(target(false), prompter), BeforeWriting::Cancelled);
    ASSERT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.questions()[0].find("文件“期中.skv”正由 未知用户（未知计算机）于 "), 0u);
}

TEST_F(SharedWrite, TheOwnFileIsLookedAtLastAfterEveryAnswer) {
    auto colleagueSaves = [&](const char* bytes) { return [this, bytes] { WriteBytes(path, bytes); }; };
    struct Case {
        const char* what;
        std::function<void()> before;
        std::vector<Answer> answers;
        BeforeWriting result;
        Strings questions;
    } cases[] = {
        {"unchanged", [] {}, {Answer::Yes}, BeforeWriting::Write, {kRoutine}},
        {"unchanged, 否", [] {}, {Answer::No}, BeforeWriting::Cancelled, {kRoutine}},
        // 覆盖 answers the routine question too.
        {"changed before", colleagueSaves("new"), {kOverwrite}, BeforeWriting::Write, {kChanged}},
        {"changed before, 另存为",
         colleagueSaves("new"),
         {kSaveElsewhere},
         BeforeWriting::SaveElsewhere,
         {kChanged}},
        {"changed before, 取消",
         colleagueSaves("new"),
         {Answer::Cancel},
         BeforeWriting::Cancelled,
         {kChanged}},
        {"saved while the routine question is open",
         [&] { prompter.meanwhile(colleagueSaves("new")); },
         {Answer::Yes, Answer::Cancel},
         BeforeWriting::Cancelled,
         {kRoutine, kChanged}},
        {"saved while the routine question is open, 覆盖",
         [&] { prompter.meanwhile(colleagueSaves("new")); },
         {Answer::Yes, kOverwrite},
         BeforeWriting::Write,
         {kRoutine, kChanged}},
        {"saved again while the changed question is open",
         [&] {
             WriteBytes(path, "new");
             prompter.meanwhile(colleagueSaves("newer"));
         },
         {kOverwrite, kOverwrite},
         BeforeWriting::Write,
         {kChanged, kChanged}},
        {"deleted", [&] { std::filesystem::remove(path); }, {}, BeforeWriting::WriteAgain, {}},
        {"deleted with its folder",
         [&] { std::filesystem::remove_all(dir.file("班")); },
         {},
         BeforeWriting::FolderGone,
         {}},
        {"its folder replaced by a file",
         [&] {
             std::filesystem::remove_all(dir.file("班"));
             WriteBytes(dir.file("班"), "x");
         },
         {},
         BeforeWriting::FolderGone,
         {}},
        // Another's lock beside the own file was answered when it was opened.
        {"open elsewhere", [&] { colleagueOpens(); }, {Answer::Yes}, BeforeWriting::Write, {kRoutine}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir.file("班"));
        WriteBytes(path, "old");
        prompter.clear();
        c.before();
        for (Answer a : c.answers) {
            prompter.answer(a);
        }
        EXPECT_EQ(PrepareToWrite(target(true), prompter), c.result) << c.what;
        EXPECT_EQ(prompter.questions(), c.questions) << c.what;
        EXPECT_TRUE(prompter.exhausted()) << c.what;
    }
    // Without a routine question: nothing asked while unchanged, the changed question when changed.
    std::filesystem::remove_all(dir.file("班"));
    WriteBytes(path, "old");
    WriteTarget quiet = target(true);
    quiet.mayReplace = nullptr;
    prompter.clear();
    EXPECT_EQ(PrepareToWrite(quiet, prompter), BeforeWriting::Write);
    EXPECT_TRUE(prompter.calls().empty());
    WriteBytes(path, "new");
    prompter.answer(Answer::Cancel);
    EXPECT_EQ(PrepareToWrite(quiet, prompter), BeforeWriting::Cancelled);
    EXPECT_EQ(prompter.questions(), Strings{kChanged});
}

TEST_F(SharedWrite, AFileOfWhichNothingIsKnownIsTakenAsChanged) {
    FileState unknown;
    unknown.kind = FileState::Kind::Unknown;
    WriteTarget t = target(true);
    t.ownState = &unknown;
    prompter.answer(kOverwrite);
    EXPECT_EQ(PrepareToWrite(t, prompter), BeforeWriting::Write);
    EXPECT_EQ(prompter.questions(), Strings{kChanged});
    prompter.clear();
    std::filesystem::remove(path);
    EXPECT_EQ(PrepareToWrite(t, prompter), BeforeWriting::WriteAgain);
    EXPECT_TRUE(prompter.calls().empty());
}

}  // namespace
}  // namespace scorvane

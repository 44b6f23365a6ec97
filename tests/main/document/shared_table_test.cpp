#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/file_sharing.h"
#include "common/text_codec.h"
#include "common/utf8.h"
#include "main/document/document_life.h"
#include "main/document/open_table.h"
#include "support/lock_holder.h"
#include "support/lock_programs.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using Strings = std::vector<std::string>;

constexpr char kLockedText[] =
    "表格“期中考试”（期中.skv）已由 王老师（办公室-1）于 2024-09-02 08:05 "
    "打开。\n\n只读打开：可以查看和打印，不能保存修改。";
constexpr char kChangedText[] =
    "表格“期中考试”在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方的修改。\n另存为：把您的内容"
    "保存为"
    "另一个文件。";
constexpr char kOverwriteText[] = "确实覆盖原有数据么？";

// Two teachers' programs on one workspace: 王老师 on 办公室-1 and 李老师 on 办公室-2, each with a
// document (a table window's) and a prompter of its own.
class SharedTable : public ::testing::Test {
  protected:
    void SetUp() override {
        writeTable();
        a.file.setIdentity(testing::LockProgram("王老师", "办公室-1", 101));
        b.file.setIdentity(testing::LockProgram("李老师", "办公室-2", 202));
    }
    void writeTable() {
        ASSERT_TRUE(WriteDataFile(testing::MakeTable({"姓名", "语文"}, {{"张三", "90"}}, "期中考试"), path));
    }
    std::string file() const { return path + ".skv"; }
    std::string lock() const { return LockFilePath(file()); }
    bool holds(const std::string& bytes, const std::string& text) const {
        return bytes.find(EncodeGbk(text)) != std::string::npos;
    }
    // A changes a mark and saves over its own file (answering the overwrite question).
    void aSaves(const std::string& mark) {
        a.table.setCell(1, 2, mark);
        pa.answer(Answer::Yes);
        ASSERT_EQ(SaveTable(a, pa, status), SaveOutcome::Saved);
    }

    testing::TempDir dir;
    std::string classFolder = dir.file("表格数据/一中/高一/(1)班");
    std::string path = classFolder + "/期中";
    Document a;
    Document b;
    ScriptedPrompter pa;
    ScriptedPrompter pb;
    RecordingStatus status;
};

TEST_F(SharedTable, ATableOpenElsewhereAsksAndOpensReadOnlyNormallyOrNotAtAll) {
    ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
    EXPECT_TRUE(pa.calls().empty());
    EXPECT_EQ(ReadBytes(lock()), "王老师,办公室-1,101,2024-09-02T08:05:09+08:00");

    struct Case {
        Answer answer;
        LoadOutcome outcome;
        bool readOnly;
        std::string caption;
    } cases[] = {
        {Answer::Cancel, LoadOutcome::Closed, false, "未命名的表格"},  // the new window's, as it was
        {kOpenReadOnly, LoadOutcome::Loaded, true, "期中考试（只读）"},
        {kOpenAnyway, LoadOutcome::Loaded, false, "期中考试"},
    };
    for (const Case& c : cases) {
        Document other;
        other.file.setIdentity(testing::LockProgram("李老师", "办公室-2", 202));
        ScriptedPrompter p;
        p.answer(c.answer);
        EXPECT_EQ(OpenTable(other, path, p, status), c.outcome);
        ASSERT_EQ(p.questions(), Strings{kLockedText});
        EXPECT_EQ(p.last().title, "询问");
        EXPECT_EQ(p.last().icon, Icon::Question);
        EXPECT_EQ(p.last().captions, (Strings{"只读打开(&R)", "仍然打开(&O)", "取消"}));
        EXPECT_EQ(p.last().defaultAnswer, kOpenReadOnly);
        EXPECT_EQ(p.last().escapeAnswer, Answer::Cancel);
        EXPECT_EQ(other.file.readOnly(), c.readOnly);
        EXPECT_FALSE(other.file.holdsLock());
        EXPECT_EQ(ReadOnlyCaption(other.table.title, other.file), c.caption);
        EXPECT_EQ(ActiveTableStatus(&other), "当前表格：" + c.caption);
    }
    // The other program's lock stands throughout.
    EXPECT_EQ(ReadBytes(lock()), "王老师,办公室-1,101,2024-09-02T08:05:09+08:00");
    // A copy of the document, made for a command's own use, holds no lock: it goes, the lock stays.
    {
        const Document copy = a;
        EXPECT_FALSE(copy.file.holdsLock());
    }
    EXPECT_TRUE(FileExists(lock()));
    // Closing the window removes it.
    a.file.release();
    EXPECT_FALSE(FileExists(lock()));
}

TEST_F(SharedTable, AStaleLockIsTakenOverSilentlyAndAnUnreadableOneIsAnUnknownUsers) {
    // Left by a program of 李老师's own computer that is gone.
    testing::WriteBytes(lock(), "王老师,办公室-2,999,2024-09-01T17:00:00+08:00");
    ASSERT_EQ(OpenTable(b, path, pb, status), LoadOutcome::Loaded);
    EXPECT_TRUE(pb.calls().empty());
    EXPECT_TRUE(b.file.holdsLock());
    EXPECT_EQ(ReadBytes(lock()), "李老师,办公室-2,202,2024-09-02T08:05:09+08:00");

    b.file.release();
    testing::WriteBytes(lock(), std::string("\x01\x02\x03", 3));
    pb.answer(Answer::Cancel);
    EXPECT_EQ(OpenTable(b, path, pb, status), LoadOutcome::Closed);
    ASSERT_EQ(pb.questions().size(), 1u);
    EXPECT_TRUE(StartsWith(pb.questions()[0], "表格“期中考试”（期中.skv）已由 未知用户（未知计算机）于 "));
}

TEST_F(SharedTable, ATableWhoseFolderAllowsNoLockOpensWithANote) {
    ::chmod(dir.path().c_str(), 0755);
    for (const char* level : {"表格数据", "表格数据/一中", "表格数据/一中/高一"}) {
        ::chmod(dir.file(level).c_str(), 0755);
    }
    ::chmod(classFolder.c_str(), 0555);
    ::chmod(file().c_str(), 0644);
    EXPECT_TRUE(testing::RunWithoutPrivileges([&] {
        Document d;
        ScriptedPrompter p;
        RecordingStatus s;
        return OpenTable(d, path, p, s) == LoadOutcome::Loaded && p.calls().empty() && !d.file.holdsLock() &&
               !d.file.readOnly() && d.file.note() == kLockNotCreatedNote &&
               s.texts.back() == kLockNotCreatedNote;
    }));
    ::chmod(classFolder.c_str(), 0755);
}

TEST_F(SharedTable, SavingOverTheOthersSaveAsksFirstAndEachAnswerKeepsItsWord) {
    const std::string elsewhere = dir.file("期中-李老师.skv");
    struct Case {
        Answer answer;
        SaveOutcome outcome;
        std::string inFile;     // the mark the table's file holds afterwards
        std::string bFilePath;  // 李老师's table's path afterwards
    } cases[] = {
        {Answer::Cancel, SaveOutcome::Declined, "王", path},
        {kOverwrite, SaveOutcome::Saved, "李", path},
        {kSaveElsewhere, SaveOutcome::Saved, "王", path},
    };
    for (const Case& c : cases) {
        writeTable();
        a.file.release();
        b.file.release();
        pa.clear();
        ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
        pb.answer(kOpenAnyway);
        ASSERT_EQ(OpenTable(b, path, pb, status), LoadOutcome::Loaded);
        aSaves("王");
        pb.clear();

        b.table.setCell(1, 2, "李");
        b.setModified();
        pb.answer(c.answer);
        if (c.answer == kSaveElsewhere) {
            pb.chooseSave(elsewhere);
        }
        EXPECT_EQ(SaveTable(b, pb, status), c.outcome);
        ASSERT_GE(pb.calls().size(), 1u);
        EXPECT_EQ(pb.calls()[0].text, kChangedText);
        EXPECT_EQ(pb.calls()[0].captions, (Strings{"覆盖(&O)", "另存为(&A)...", "取消"}));
        EXPECT_EQ(pb.calls()[0].defaultAnswer, Answer::Cancel);
        EXPECT_EQ(pb.questions(), Strings{kChangedText});  // 覆盖 is not asked again as an overwrite
        EXPECT_TRUE(pb.exhausted());
        EXPECT_TRUE(holds(ReadBytes(file()), c.inFile));
        EXPECT_TRUE(b.modified());
        EXPECT_EQ(b.table.filePath, c.bFilePath);
    }
    // 另存为 wrote a copy: 李老师's window keeps the table's file and its changes, and takes no lock on
    // the copy; saved again, it still meets 王老师's save.
    EXPECT_TRUE(holds(ReadBytes(elsewhere), "李"));
    EXPECT_FALSE(FileExists(LockFilePath(elsewhere)));
    pb.clear();
    pb.answer(Answer::Cancel);
    EXPECT_EQ(SaveTable(b, pb, status), SaveOutcome::Declined);
    EXPECT_EQ(pb.questions(), Strings{kChangedText});
}

TEST_F(SharedTable, AFileDeletedMeanwhileIsSavedAgainButNotIntoAClassRemovedMeanwhile) {
    ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
    std::filesystem::remove(file());
    EXPECT_EQ(SaveTable(a, pa, status), SaveOutcome::Saved);
    EXPECT_TRUE(pa.calls().empty());
    EXPECT_TRUE(holds(ReadBytes(file()), "张三"));

    for (bool fileInItsPlace : {false, true}) {
        a.file.release();
        pa.clear();
        writeTable();
        ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
        std::filesystem::remove_all(classFolder);
        if (fileInItsPlace) {
            testing::WriteBytes(classFolder, "x");  // a file of the class's name, made on another computer
        }
        EXPECT_EQ(SaveTable(a, pa, status), SaveOutcome::Failed);
        EXPECT_EQ(pa.messages(), Strings{"文件保存失败！"});
        EXPECT_FALSE(DirectoryExists(classFolder));
        std::filesystem::remove_all(classFolder);
    }
}

TEST_F(SharedTable, AReadOnlyTableSavesOnlyUnderAnotherNameAndASaveAsLeavesTheLockWhereItIs) {
    ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
    pb.answer(kOpenReadOnly);
    ASSERT_EQ(OpenTable(b, path, pb, status), LoadOutcome::Loaded);
    pb.clear();

    // 保存表格 offers 表格另存为; its own file is refused.
    pb.chooseSave(file());
    EXPECT_EQ(SaveTable(b, pb, status), SaveOutcome::Declined);
    EXPECT_EQ(pb.calls()[0].kind, ScriptedPrompter::Call::SaveFile);
    EXPECT_EQ(pb.calls()[0].title, "另存为 — 只读打开的表格不能保存到原来的文件");
    EXPECT_EQ(pb.messages(), Strings{"只读打开的表格不能保存到原来的文件，请另选一个文件名！"});

    const std::string copy = dir.file("副本.skv");
    pb.chooseSave(copy);
    EXPECT_EQ(SaveTable(b, pb, status), SaveOutcome::Saved);
    EXPECT_TRUE(FileExists(copy));
    // The copy is written; the window stays a read-only view of the table's file.
    EXPECT_EQ(b.table.filePath, path);
    EXPECT_TRUE(b.file.readOnly());
    EXPECT_FALSE(FileExists(LockFilePath(copy)));
    EXPECT_EQ(ReadBytes(lock()), "王老师,办公室-1,101,2024-09-02T08:05:09+08:00");

    // 表格另存为 of the table that holds the lock writes a copy: the window keeps its file and its lock.
    const std::string renamed = dir.file("期中-改.skv");
    pa.chooseSave(renamed);
    EXPECT_EQ(SaveTableAs(a, pa, status), SaveOutcome::Saved);
    EXPECT_TRUE(FileExists(renamed));
    EXPECT_EQ(a.table.filePath, path);
    EXPECT_TRUE(a.file.holdsLock());
    EXPECT_EQ(ReadBytes(lock()), "王老师,办公室-1,101,2024-09-02T08:05:09+08:00");
    EXPECT_FALSE(FileExists(LockFilePath(renamed)));
}

// 表格另存为 onto a table that another program of this computer has open (a process of its own).
TEST_F(SharedTable, ACopyOverATableOpenElsewhereNamesItAndItsHolderInsteadOfTheRoutineQuestion) {
    const std::string other = classFolder + "/期末.skv";
    ASSERT_TRUE(WriteDataFile(testing::MakeTable({"姓名"}, {{"赵六"}}, "期末考试"), classFolder + "/期末"));
    const std::string before = ReadBytes(other);
    const pid_t holder = testing::StartLockHolder(other, "王老师", dir.path());
    ASSERT_GT(holder, 0);
    Document mine;  // this program, as the system sees it
    ASSERT_EQ(OpenTable(mine, path, pb, status), LoadOutcome::Loaded);
    const std::string held = "文件“期末.skv”正由 王老师（" + testing::ThisHost() +
                             "）于 2024-09-02 08:05 打开。\n\n覆盖后，对方的修改将无法保存到这个文件。";
    struct Case {
        Answer answer;
        SaveOutcome outcome;
        bool written;
    } cases[] = {{Answer::Cancel, SaveOutcome::Declined, false}, {kOverwrite, SaveOutcome::Saved, true}};
    for (const Case& c : cases) {
        pb.clear();
        pb.chooseSave(other);
        pb.answer(c.answer);
        EXPECT_EQ(SaveTableAs(mine, pb, status), c.outcome);
        EXPECT_EQ(pb.questions(), Strings{held});
        EXPECT_EQ(pb.last().captions, (Strings{"覆盖(&O)", "取消"}));
        EXPECT_EQ(pb.last().defaultAnswer, Answer::Cancel);
        EXPECT_EQ(ReadBytes(other) != before, c.written);
    }
    // The holder keeps its lock; the window keeps its own file.
    EXPECT_EQ(ParseLockLine(ReadBytes(LockFilePath(other)))->pid, holder);
    EXPECT_EQ(mine.table.filePath, path);
    // Once that program has ended, the copy asks the routine question again.
    ::kill(holder, SIGKILL);
    testing::WaitForProgram(holder);
    pb.clear();
    pb.chooseSave(other);
    pb.answer(Answer::Yes);
    EXPECT_EQ(SaveTableAs(mine, pb, status), SaveOutcome::Saved);
    EXPECT_EQ(pb.questions(), Strings{kOverwriteText});
}

TEST_F(SharedTable, TheOwnFileUnderAnotherNameIsSavedAsTheOwnFile) {
    const std::string link = dir.file("链接");
    ASSERT_EQ(::symlink(classFolder.c_str(), link.c_str()), 0);
    for (const std::string& spelling : {link + "/期中.skv", classFolder + "/./期中.skv"}) {
        a.file.release();
        b.file.release();
        writeTable();
        ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
        pb.clear();
        pb.answer(kOpenAnyway);
        ASSERT_EQ(OpenTable(b, path, pb, status), LoadOutcome::Loaded);
        b.table.setCell(1, 2, "李");
        pb.answer(Answer::Yes);
        ASSERT_EQ(SaveTable(b, pb, status), SaveOutcome::Saved);

        // 表格另存为 to its own file by another name: the changed question, as 保存表格 asks it.
        a.table.setCell(1, 2, "王");
        pa.clear();
        pa.chooseSave(spelling);
        pa.answer(Answer::Cancel);
        EXPECT_EQ(SaveTableAs(a, pa, status), SaveOutcome::Declined) << spelling;
        EXPECT_EQ(pa.questions(), Strings{kChangedText}) << spelling;
        EXPECT_TRUE(holds(ReadBytes(file()), "李"));
        pa.clear();
        pa.chooseSave(spelling);
        pa.answer(kOverwrite);
        EXPECT_EQ(SaveTableAs(a, pa, status), SaveOutcome::Saved) << spelling;
        EXPECT_TRUE(holds(ReadBytes(file()), "王"));
        // What it wrote is remembered, and the window keeps its file, its name and its lock.
        EXPECT_EQ(a.file.path(), file());
        EXPECT_TRUE(a.file.holdsLock());
        EXPECT_EQ(ReadBytes(lock()), "王老师,办公室-1,101,2024-09-02T08:05:09+08:00");
        pa.clear();
        pa.answer(Answer::Yes);
        EXPECT_EQ(SaveTable(a, pa, status), SaveOutcome::Saved);
        EXPECT_EQ(pa.questions(), Strings{kOverwriteText}) << spelling;
    }
}

// A colleague's program (a process of its own) saves the table while this one's overwrite question is
// open: the answer 是 is followed by a last look, and the changed question.
TEST_F(SharedTable, ASaveMadeWhileTheOverwriteQuestionIsOpenIsNotOverwrittenUnasked) {
    ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
    int go[2];
    int done[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t colleague = ::fork();
    if (colleague == 0) {
        char mark = 0;
        if (::read(go[0], &mark, 1) != 1) {
            ::_exit(2);
        }
        Document c;
        c.file.setIdentity(testing::LockProgram("李老师", "办公室-2", 202));
        ScriptedPrompter p;
        RecordingStatus s;
        p.answer(kOpenAnyway).answer(Answer::Yes);
        const bool saved = OpenTable(c, path, p, s) == LoadOutcome::Loaded &&
                           (c.table.setCell(1, 2, "李"), SaveTable(c, p, s) == SaveOutcome::Saved);
        c.file.release();
        (void)!::write(done[1], saved ? "s" : "f", 1);
        ::_exit(0);
    }
    ASSERT_GT(colleague, 0);
    char said = 0;
    pa.meanwhile([&] {
        ASSERT_EQ(::write(go[1], "g", 1), 1);
        ASSERT_EQ(::read(done[0], &said, 1), 1);
    });
    a.table.setCell(1, 2, "王");
    pa.answer(Answer::Yes).answer(Answer::Cancel);
    EXPECT_EQ(SaveTable(a, pa, status), SaveOutcome::Declined);
    testing::WaitForProgram(colleague);
    EXPECT_EQ(said, 's');
    EXPECT_EQ(pa.questions(), (Strings{kOverwriteText, kChangedText}));
    EXPECT_TRUE(holds(ReadBytes(file()), "李"));
    for (int fd : {go[0], go[1], done[0], done[1]}) {
        ::close(fd);
    }
}

TEST_F(SharedTable, AWindowOpenedWithoutALockTakesItWhenItSavesItsFile) {
    ::chmod(dir.path().c_str(), 0755);
    for (const char* level : {"表格数据", "表格数据/一中", "表格数据/一中/高一"}) {
        ::chmod(dir.file(level).c_str(), 0755);
    }
    if (::geteuid() == 0) {
        // The class folder is the user's own, so that the user may open it up again.
        ASSERT_EQ(::chown(classFolder.c_str(), 65534, 65534), 0);
    }
    ::chmod(classFolder.c_str(), 0555);
    ::chmod(file().c_str(), 0666);
    EXPECT_TRUE(testing::RunWithoutPrivileges([&] {
        Document d;
        ScriptedPrompter p;
        RecordingStatus s;
        if (OpenTable(d, path, p, s) != LoadOutcome::Loaded || d.file.holdsLock() ||
            d.file.note() != kLockNotCreatedNote || ::chmod(classFolder.c_str(), 0755) != 0) {
            return false;
        }
        p.answer(Answer::Yes);
        return SaveTable(d, p, s) == SaveOutcome::Saved && d.file.holdsLock() && d.file.note().empty() &&
               FileExists(lock());
    }));
    ::chmod(classFolder.c_str(), 0755);
}

TEST_F(SharedTable, SaveDataToTheOwnFileLooksAtItLastAndRemembersWhatItWrote) {
    ASSERT_EQ(OpenTable(a, path, pa, status), LoadOutcome::Loaded);
    pb.answer(kOpenAnyway);
    ASSERT_EQ(OpenTable(b, path, pb, status), LoadOutcome::Loaded);
    aSaves("王");
    pb.clear();
    b.table.setCell(1, 2, "李");
    pb.answer(Answer::Cancel);
    EXPECT_EQ(SaveData(b, false, path, pb, status), SaveOutcome::Declined);
    EXPECT_EQ(pb.questions(), Strings{kChangedText});
    EXPECT_TRUE(holds(ReadBytes(file()), "王"));
    pb.clear();
    pb.answer(kOverwrite);
    EXPECT_EQ(SaveData(b, false, path, pb, status), SaveOutcome::Saved);
    EXPECT_TRUE(holds(ReadBytes(file()), "李"));
    pb.clear();
    pb.answer(Answer::Yes);
    EXPECT_EQ(SaveData(b, false, path, pb, status), SaveOutcome::Saved);
    EXPECT_EQ(pb.questions(), Strings{kOverwriteText});
    // Its class removed meanwhile: not made again.
    std::filesystem::remove_all(classFolder);
    pb.clear();
    EXPECT_EQ(SaveData(b, false, path, pb, status), SaveOutcome::Failed);
    EXPECT_EQ(pb.messages(), Strings{"文件保存失败！"});
    EXPECT_FALSE(DirectoryExists(classFolder));
}

}  // namespace
}  // namespace scorvane

#include "main/document/table_recovery.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/recovery/recovery_store.h"
#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "main/document/document_life.h"
#include "main/document/open_table.h"
#include "support/lock_programs.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using Strings = std::vector<std::string>;

constexpr char kChangedText[] =
    "表格“期中考试”在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方的修改。\n另存为：把您的内容"
    "保存为另一个文件。";
constexpr char kOverwriteText[] = "确实覆盖原有数据么？";

bool Holds(const std::string& file, const std::string& text) {
    return ReadBytes(file).find(EncodeGbk(text)) != std::string::npos;
}

constexpr const char* kEnded = "00000000000000ee";  // the session of a program that has ended

// Writes a copy of `table` as a program that worked on `workspace` and has ended.
void WriteCopy(const RecoveryFolder& folder, const std::string& id, const GradeTable& table,
               const std::string& workspace) {
    RecoveryInfo info = TableCopyInfo(table, workspace);
    info.session = kEnded;
    info.time = 1714550000;
    ASSERT_TRUE(folder.write(id, kTableCopyExtension, SerializeDataFile(table), info));
}

TEST(TableRecovery, CopiesOfThisWorkspaceAreFoundAndRecoveredUnsavedUnderTheirOwnPath) {
    TempDir dir;
    const RecoveryFolder folder(dir.file("recovery"));
    const std::string workspace = dir.file("school");
    const std::string other = dir.file("other school");
    MakeDirectories(workspace);
    MakeDirectories(other);
    GradeTable table = testing::MakeClass(3, "甲");
    table.title = "期中考试";
    table.filePath = workspace + "/表格数据/星河中学/高一/(1)班/期中考试";
    table.setCell(2, 3, "97");
    WriteCopy(folder, "a", table, workspace + "/");
    WriteCopy(folder, "b", testing::MakeClass(2, "乙"), other);
    ASSERT_TRUE(folder.write("c", kTableCopyExtension, "不是数据文件", [&] {
        RecoveryInfo info = TableCopyInfo(table, workspace);
        info.session = kEnded;
        info.time = 1714550001;
        return info;
    }()));

    const std::vector<TableCopy> copies = FindTableCopies(folder, workspace);
    ASSERT_EQ(copies.size(), 2u);  // the other workspace's copy is not offered here
    EXPECT_EQ(copies[1].id, "c");
    EXPECT_TRUE(copies[1].damaged());
    const TableCopyRow row = DescribeTableCopy(copies[0], workspace + "/表格数据/");
    EXPECT_EQ(row.table, "期中考试");
    EXPECT_EQ(row.className, "高一 (1)班");
    EXPECT_FALSE(row.damaged);
    EXPECT_EQ(DescribeTableCopy(copies[1], "").table,
              std::string("期中考试") + std::string(kDamagedCopyMark));

    Document document;
    EXPECT_FALSE(RecoverTable(document, copies[1], {}));
    EXPECT_FALSE(document.modified());
    OpenClaim cancelled;
    cancelled.mode = OpenClaim::Mode::Cancelled;
    EXPECT_FALSE(RecoverTable(document, copies[0], std::move(cancelled)));
    EXPECT_FALSE(document.modified());
    ASSERT_TRUE(RecoverTable(document, copies[0], {}));
    EXPECT_TRUE(document.modified());
    EXPECT_EQ(document.table.filePath, table.filePath);
    EXPECT_EQ(document.table.title, "期中考试");
    EXPECT_EQ(SerializeDataFile(document.table), SerializeDataFile(table));
    EXPECT_EQ(document.table.headerLayout(), table.headerLayout());
    // The other workspace finds its own.
    EXPECT_EQ(FindTableCopies(folder, other).size(), 1u);
}

TEST(TableRecovery, NoTwoLinesOfTheOfferAreAlike) {
    // Copies of a class's table and of results that have no file: the same title, class and minute
    // show the seconds; the same second too gets a number.
    struct Copy {
        std::string title, file;
        int64_t time;
    };
    const std::vector<Copy> made = {
        {"期中 成绩统计", "", 1714550000},
        {"期中 成绩统计", "", 1714550007},
        {"期中 成绩统计", "", 1714550007},
        {"期中", "/w/表格数据/一中/高一/(1)班/期中", 1714550000},
        {"期中", "/w/表格数据/一中/高一/(2)班/期中", 1714550000},
        {"期中 分数段", "", 1714550000},
    };
    std::vector<TableCopy> copies;
    for (const Copy& c : made) {
        TableCopy copy;
        copy.table = testing::MakeTable({"科目"}, {}, c.title);
        copy.info = RecoveryInfo();
        copy.info->filePath = c.file;
        copy.info->time = c.time;
        copies.push_back(std::move(copy));
    }
    const std::vector<TableCopyRow> rows = DescribeTableCopies(copies, "/w/表格数据/");
    ASSERT_EQ(rows.size(), made.size());
    const std::string minute = RecoveryTimeText(1714550000);
    const std::vector<std::vector<std::string>> expected = {
        {"期中 成绩统计", "无", RecoveryTimeText(1714550000, true)},
        {"期中 成绩统计", "无", RecoveryTimeText(1714550007, true)},
        {"期中 成绩统计 (2)", "无", RecoveryTimeText(1714550007, true)},
        {"期中", "高一 (1)班", minute},
        {"期中", "高一 (2)班", minute},
        {"期中 分数段", "无", minute},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ((std::vector<std::string>{rows[i].table, rows[i].className, rows[i].time}), expected[i])
            << i;
    }
    EXPECT_EQ(RecoveryTimeText(1714550007, true).substr(0, minute.size()), minute);
    EXPECT_EQ(RecoveryTimeText(1714550007, true).size(), minute.size() + 3);
}

TEST(TableRecovery, ClassOfATableIsItsGradeAndClassFolder) {
    const std::string data = "/w/表格数据/";
    EXPECT_EQ(ClassOfTablePath("/w/表格数据/星河中学/高一/(1)班/期中", data), "高一 (1)班");
    EXPECT_EQ(ClassOfTablePath("/w/表格数据/高一/期中", data), "高一");
    EXPECT_EQ(ClassOfTablePath("/w/表格数据/期中", data), "无");
    EXPECT_EQ(ClassOfTablePath("/home/t/期中", data), "无");
    EXPECT_EQ(ClassOfTablePath("", data), "无");
}

// A program is killed (kill -9) while its window holds unsaved changes of a table; a colleague saves the
// table while it is gone; the next start restores the copy. The restored window takes over the dead
// program's lock without a word, and its first save asks the changed question instead of writing over
// the colleague's marks. The killed program is a process of its own.
TEST(TableRecovery, ARestoredTableTakesItsLockAndMeetsWhatWasSavedWhileItsProgramWasGone) {
    TempDir dir;
    const std::string workspace = dir.path();
    const std::string path = dir.file("表格数据/一中/高一/(1)班/期中");
    const std::string file = path + ".skv";
    const std::string recovery = dir.file("recovery");
    ASSERT_TRUE(WriteDataFile(testing::MakeTable({"姓名", "语文"}, {{"张三", "90"}}, "期中考试"), path));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t program = ::fork();
    if (program == 0) {
        Document d;
        d.file.setIdentity(LockIdentity::ThisProgram());
        ScriptedPrompter p;
        RecordingStatus s;
        if (OpenTable(d, path, p, s) != LoadOutcome::Loaded) {
            ::_exit(2);
        }
        d.table.setCell(1, 2, "95");
        d.setModified();
        RecoveryStore store(recovery, 1);
        RecoveryInfo info = TableCopyInfo(d, workspace);
        info.session = store.session();
        const std::string bytes = SerializeDataFile(d.table);
        store.writer().write(
            {store.newCopyId(), std::string(kTableCopyExtension), [bytes] { return bytes; }, info});
        store.writer().wait();
        (void)!::write(ready[1], "r", 1);
        while (true) {
            ::pause();
        }
    }
    ASSERT_GT(program, 0);
    char mark = 0;
    ASSERT_EQ(::read(ready[0], &mark, 1), 1);
    ::kill(program, SIGKILL);
    testing::WaitForProgram(program);
    ASSERT_EQ(ParseLockLine(ReadBytes(LockFilePath(file)))->pid, program);  // the crash left its lock
    // The colleague's save while the program was gone.
    ASSERT_TRUE(WriteDataFile(testing::MakeTable({"姓名", "语文"}, {{"张三", "88"}}, "期中考试"), path));

    const std::vector<TableCopy> copies = FindTableCopies(RecoveryFolder(recovery), workspace);
    ASSERT_EQ(copies.size(), 1u);
    ASSERT_TRUE(copies[0].info->file.has_value());
    const LockIdentity me = LockIdentity::ThisProgram();
    ScriptedPrompter prompter;
    RecordingStatus status;
    Document restored;
    restored.file.setIdentity(me);
    ASSERT_TRUE(RecoverTable(restored, copies[0], ClaimRecoveredTable(copies[0], me, prompter)));
    EXPECT_TRUE(prompter.calls().empty());  // the dead program's lock is taken over
    EXPECT_TRUE(restored.file.holdsLock());
    EXPECT_EQ(ParseLockLine(ReadBytes(LockFilePath(file)))->pid, ::getpid());
    EXPECT_EQ(restored.table.cell(1, 2), "95");

    prompter.answer(Answer::Cancel);
    EXPECT_EQ(SaveTable(restored, prompter, status), SaveOutcome::Declined);
    EXPECT_EQ(prompter.questions(), Strings{kChangedText});
    EXPECT_TRUE(Holds(file, "88"));
    prompter.clear();
    prompter.answer(kOverwrite);
    EXPECT_EQ(SaveTable(restored, prompter, status), SaveOutcome::Saved);
    EXPECT_TRUE(Holds(file, "95"));
}

TEST(TableRecovery, ARestoredTableAsksTheLockQuestionAndACopyThatRecordedNothingTakesTheFileAsChanged) {
    TempDir dir;
    const RecoveryFolder folder(dir.file("recovery"));
    const std::string workspace = dir.path();
    const std::string path = dir.file("表格数据/一中/高一/(1)班/期中");
    const std::string file = path + ".skv";
    GradeTable table = testing::MakeTable({"姓名", "语文"}, {{"张三", "90"}}, "期中考试");
    ASSERT_TRUE(WriteDataFile(table, path));
    table.filePath = path;
    const LockIdentity me = testing::LockProgram("李老师", "办公室-1", 20);
    struct Case {
        const char* what;
        bool recorded;   // the sidecar records the file as the window had it
        bool colleague;  // another computer's program has the table open
        std::vector<Answer> lockAnswer;
        bool restored;
        bool readOnly;
        Strings firstSave;  // the questions of the first 保存表格 (answered 取消 / 否)
    } cases[] = {
        {"recorded, unchanged", true, false, {}, true, false, {kOverwriteText}},
        {"nothing recorded", false, false, {}, true, false, {kChangedText}},
        {"open elsewhere, 取消", true, true, {Answer::Cancel}, false, false, {}},
        {"open elsewhere, 仍然打开", true, true, {kOpenAnyway}, true, false, {kOverwriteText}},
        {"open elsewhere, 只读打开", true, true, {kOpenReadOnly}, true, true, {}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder.path());
        std::filesystem::remove(LockFilePath(file));
        RecoveryInfo info = TableCopyInfo(table, workspace);
        if (c.recorded) {
            info.file = RecordFile(TakeFileState(file));
        }
        info.session = "00000000000000ee";
        ASSERT_TRUE(folder.write("a", kTableCopyExtension, SerializeDataFile(table), info));
        if (c.colleague) {
            testing::WriteBytes(LockFilePath(file), "王老师,办公室-2,7,2024-09-02T08:05:09+08:00");
        }
        const std::vector<TableCopy> copies = FindTableCopies(folder, workspace);
        ASSERT_EQ(copies.size(), 1u);
        ScriptedPrompter prompter;
        RecordingStatus status;
        for (Answer a : c.lockAnswer) {
            prompter.answer(a);
        }
        Document restored;
        restored.file.setIdentity(me);
        EXPECT_EQ(RecoverTable(restored, copies[0], ClaimRecoveredTable(copies[0], me, prompter)), c.restored)
            << c.what;
        EXPECT_EQ(prompter.questions().size(), c.lockAnswer.size()) << c.what;
        EXPECT_EQ(restored.modified(), c.restored) << c.what;
        EXPECT_EQ(restored.file.readOnly(), c.readOnly) << c.what;
        EXPECT_EQ(restored.file.holdsLock(), c.restored && !c.colleague) << c.what;
        if (!c.restored || c.readOnly) {
            continue;
        }
        prompter.clear();
        prompter.answer(c.firstSave[0] == kChangedText ? Answer::Cancel : Answer::No);
        EXPECT_EQ(SaveTable(restored, prompter, status), SaveOutcome::Declined) << c.what;
        EXPECT_EQ(prompter.questions(), c.firstSave) << c.what;
    }
}

}  // namespace
}  // namespace scorvane

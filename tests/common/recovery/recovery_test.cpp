// Recovery copies: the sidecar, the interval, the schedule, the folder with its sessions and
// permissions, the writer thread.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/file_io.h"
#include "common/recovery/recovery_folder.h"
#include "common/recovery/recovery_interval.h"
#include "common/recovery/recovery_offer.h"
#include "common/recovery/recovery_schedule.h"
#include "common/recovery/recovery_session.h"
#include "common/recovery/recovery_writer.h"
#include "common/text_codec.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::TempDir;

RecoveryInfo SampleInfo() {
    return {"/校/表格数据/高一/(1)班/期中%0A\n考试", "期中\r\n考试", "/home/王老师/成绩", 1714550000,
            "ab12cd34"};
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(RecoveryInfo, EveryValueReadsBackExactly) {
    const std::string bytes = SerializeRecoveryInfo(SampleInfo());
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);  // only the line ends break lines
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 6);
    EXPECT_EQ(ParseRecoveryInfo(bytes), SampleInfo());
}

TEST(RecoveryInfo, DamagedSidecarsAreRefused) {
    const std::string magic = std::string(kRecoveryInfoMagic) + "\r\n";
    const std::string good = "Time=5\r\nSession=ab\r\n";
    for (const std::string& text : {
             std::string("Time=5\r\nSession=ab\r\n"),             // no magic
             magic + "Path=a%2\r\n" + good,                       // cut escape
             magic + "Path=a%zz\r\n" + good,                      // not hexadecimal
             magic + "Path\r\n" + good,                           // no "="
             magic + "Time=5\r\n" + good,                         // a key twice
             magic + "Time=-5\r\nSession=ab\r\n",                 // not a whole number
             magic + "Time=99999999999999999\r\nSession=ab\r\n",  // too large
             magic + "Time=5\r\nSession=a/b\r\n",                 // a session that is no name
             magic + "Time=5\r\n",                                // no session
         }) {
        EXPECT_FALSE(ParseRecoveryInfo(EncodeGbk(text))) << text;
    }
    EXPECT_TRUE(ParseRecoveryInfo(EncodeGbk(magic + "Other=1\r\n" + good)));  // unknown keys pass
}

TEST(RecoveryInfo, TheFileAsTheWindowHadItReadsBackAndIsUnknownWhenNotRecorded) {
    RecoveryInfo info = SampleInfo();
    info.file = RecordedFile{1234567, 0x0123456789ABCDEFULL};
    const std::string bytes = SerializeRecoveryInfo(info);
    EXPECT_NE(bytes.find("FileSize=1234567\r\nFileHash=0123456789abcdef\r\n"), std::string::npos);
    EXPECT_EQ(ParseRecoveryInfo(bytes), info);
    info.file = RecordedFile{0, ~0ULL};
    EXPECT_EQ(ParseRecoveryInfo(SerializeRecoveryInfo(info)), info);

    // A sidecar of a program that did not record the file, or a record not understood: the copy stays
    // sound, and nothing is known of the file.
    const std::string magic = std::string(kRecoveryInfoMagic) + "\r\n";
    const std::string good = "Time=5\r\nSession=ab\r\n";
    for (const std::string& record : {
             std::string(),
             std::string("FileSize=12\r\n"),                // no hash
             std::string("FileHash=0123456789abcdef\r\n"),  // no size
             std::string("FileSize=1x\r\nFileHash=0123456789abcdef\r\n"),
             std::string("FileSize=12\r\nFileHash=0123456789abcde\r\n"),   // 15 digits
             std::string("FileSize=12\r\nFileHash=0123456789abcdeg\r\n"),  // not hexadecimal
             std::string("FileSize=\r\nFileHash=0123456789abcdef\r\n"),
             std::string("FileSize=12345678901234567890\r\nFileHash=0123456789abcdef\r\n"),  // too large
         }) {
        const std::optional<RecoveryInfo> read = ParseRecoveryInfo(EncodeGbk(magic + record + good));
        ASSERT_TRUE(read) << record;
        EXPECT_FALSE(read->file) << record;
        EXPECT_EQ(RecordedState(read->file).kind, FileState::Kind::Unknown);
    }
    const std::optional<RecoveryInfo> upper =
        ParseRecoveryInfo(EncodeGbk(magic + "FileSize=12\r\nFileHash=00000000000000FF\r\n" + good));
    ASSERT_TRUE(upper && upper->file);
    EXPECT_EQ(*upper->file, (RecordedFile{12, 255}));

    // Only a file read whole is recorded, and it comes back as that file's state.
    FileState state;
    state.kind = FileState::Kind::File;
    state.size = 3;
    state.hash = 77;
    state.modifiedSeconds = 1714550000;
    ASSERT_TRUE(RecordFile(state));
    EXPECT_EQ(*RecordFile(state), (RecordedFile{3, 77}));
    const FileState back = RecordedState(RecordFile(state));
    EXPECT_TRUE(back.isFile());
    EXPECT_EQ(back.size, 3u);
    EXPECT_EQ(back.hash, 77u);
    for (FileState::Kind kind :
         {FileState::Kind::Missing, FileState::Kind::Unreadable, FileState::Kind::Unknown}) {
        state.kind = kind;
        EXPECT_FALSE(RecordFile(state));
    }
}

TEST(RecoveryInterval, EnvironmentThenSettingThenSixtySeconds) {
    struct Case {
        std::optional<std::string_view> environment, setting;
        int64_t millis;
    };
    for (const Case& c : std::initializer_list<Case>{
             {std::nullopt, std::nullopt, 60000},
             {std::nullopt, "30", 30000},
             {"5", "30", 5000},
             {"0", "30", 0},          // turned off by the administrator
             {std::nullopt, "0", 0},  // turned off by the user
             {"0.25", std::nullopt, 250},
             {"abc", "30", 30000},  // a value that is no number is passed over
             {"-1", "x", 60000},
             {"100000", std::nullopt, 60000},  // more than a day
         }) {
        EXPECT_EQ(RecoveryIntervalMillis(c.environment, c.setting), c.millis)
            << c.environment.value_or("-") << " " << c.setting.value_or("-");
    }
}

TEST(RecoverySchedule, FirstChangeMakesACopyDueOneIntervalLaterAndBulkChangesAtOnce) {
    RecoverySchedule s(60000);
    EXPECT_FALSE(s.due());
    s.changedInBulk(10);  // a bulk command that changed nothing (a load) asks for no copy
    EXPECT_FALSE(s.due());
    s.edited(1000);
    s.edited(50000);  // later changes do not put the copy off
    EXPECT_EQ(s.due(), 61000);
    s.changedInBulk(52000);
    EXPECT_EQ(s.due(), 52000);
    s.copied();
    EXPECT_FALSE(s.due());
    s.edited(70000);
    EXPECT_EQ(s.due(), 130000);
    s.settled();
    EXPECT_FALSE(s.due());

    RecoverySchedule off(0);
    off.edited(1);
    off.changedInBulk(2);
    EXPECT_FALSE(off.due());
}

TEST(RecoveryOffer, RecoverTakesTheTickedSoundCopiesDiscardEveryTickedOne) {
    const std::vector<bool> ticked = {true, true, false};
    const std::vector<bool> damaged = {false, true, false};
    EXPECT_EQ(CopiesToRecover(RecoveryChoice::Recover, ticked, damaged), std::vector<size_t>{0});
    EXPECT_EQ(CopiesToRemove(RecoveryChoice::Discard, ticked), (std::vector<size_t>{0, 1}));
    EXPECT_TRUE(CopiesToRecover(RecoveryChoice::Later, ticked, damaged).empty());
    EXPECT_TRUE(CopiesToRemove(RecoveryChoice::Recover, ticked).empty());
    EXPECT_FALSE(CanRecover({false, true, false}, damaged));  // only the damaged one ticked
    EXPECT_TRUE(CanDiscard({false, true, false}));
    EXPECT_FALSE(CanDiscard({false, false, false}));
}

TEST(RecoveryFolder, FolderAndFilesAreTheOwnersAlone) {
    TempDir dir;
    const std::string path = dir.file("data/recovery");
    const mode_t mask = ::umask(022);
    const RecoveryFolder folder(path);
    ASSERT_TRUE(folder.write("c1", ".skv", "table", SampleInfo()));
    EXPECT_EQ(ModeOf(path), 0700u);
    EXPECT_EQ(ModeOf(folder.documentPath("c1", ".skv")), 0600u);
    EXPECT_EQ(ModeOf(folder.infoPath("c1", ".skv")), 0600u);
    // A folder opened up by hand is closed again; a replaced file is 0600 whatever it was.
    ::chmod(path.c_str(), 0755);
    ::chmod(folder.documentPath("c1", ".skv").c_str(), 0644);
    ASSERT_TRUE(folder.write("c1", ".skv", "table 2", SampleInfo()));
    EXPECT_EQ(ModeOf(path), 0700u);
    EXPECT_EQ(ModeOf(folder.documentPath("c1", ".skv")), 0600u);
    ::umask(mask);
    // A link standing where the folder belongs is not used.
    ASSERT_EQ(::symlink(dir.path().c_str(), dir.file("link").c_str()), 0);
    EXPECT_FALSE(RecoveryFolder(dir.file("link")).prepare());
}

TEST(RecoveryFolder, OnlyCopiesOfEndedProgramsAreFound) {
    TempDir dir;
    const RecoveryFolder folder(dir.path());
    auto running = std::make_unique<RecoverySession>(dir.path());
    ASSERT_TRUE(running->held());
    RecoveryInfo info = SampleInfo();
    info.session = running->id();
    ASSERT_TRUE(folder.write("mine", ".skv", "table", info));
    ASSERT_TRUE(folder.write("template", ".rvx", "template", info));
    info.session = "0123456789abcdef";  // a program that has ended
    info.time = 1;
    ASSERT_TRUE(folder.write("old", ".skv", "old table", info));
    // Ended between sidecar and document: found, without bytes.
    ASSERT_TRUE(folder.writeInfo("half", ".skv", info));
    testing::WriteBytes(dir.file("stale.skv.info"), "garbage");  // a sidecar that cannot be read

    std::vector<FoundCopy> found = folder.find(".skv");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].id, "stale");  // no time: first
    EXPECT_FALSE(found[0].info);
    EXPECT_EQ(found[1].id, "half");
    EXPECT_FALSE(found[1].bytes);
    EXPECT_EQ(found[2].id, "old");
    EXPECT_EQ(found[2].bytes, "old table");

    const std::string lock = dir.file(RecoverySession::LockFileName(running->id()));
    running.reset();  // the program ends: its lock file goes, its copies are offered
    EXPECT_FALSE(FileExists(lock));
    EXPECT_EQ(folder.find(".skv").size(), 4u);
    EXPECT_EQ(folder.find(".rvx").size(), 1u);

    folder.remove("old", ".skv");
    EXPECT_FALSE(FileExists(folder.documentPath("old", ".skv")));
    EXPECT_FALSE(FileExists(folder.infoPath("old", ".skv")));
}

TEST(RecoveryFolder, LockFilesOfEndedProgramsThatNoCopyNamesAreCleared) {
    TempDir dir;
    const RecoveryFolder folder(dir.path());
    testing::WriteBytes(dir.file("00000000000000aa.lock"), "");  // a killed program's, naming no copy
    testing::WriteBytes(dir.file("00000000000000bb.lock"), "");
    RecoveryInfo info = SampleInfo();
    info.session = "00000000000000bb";
    ASSERT_TRUE(folder.write("c", ".skv", "t", info));
    RecoverySession running(dir.path());
    folder.find(".skv");
    EXPECT_FALSE(FileExists(dir.file("00000000000000aa.lock")));
    EXPECT_TRUE(FileExists(dir.file("00000000000000bb.lock")));
    EXPECT_TRUE(FileExists(dir.file(RecoverySession::LockFileName(running.id()))));
}

TEST(RecoveryWriter, WritesOnItsThreadAndRemovesWhatWasAskedFor) {
    TempDir dir;
    const RecoveryFolder folder(dir.path());
    RecoveryWriter writer(folder);
    const std::thread::id asking = std::this_thread::get_id();
    std::atomic<bool> elsewhere{false};
    writer.write({"a", ".skv",
                  [&] {
                      elsewhere = std::this_thread::get_id() != asking;
                      return std::string("first");
                  },
                  SampleInfo()});
    writer.wait();
    EXPECT_TRUE(elsewhere);
    EXPECT_EQ(testing::ReadBytes(folder.documentPath("a", ".skv")), "first");
    EXPECT_GT(ParseRecoveryInfo(testing::ReadBytes(folder.infoPath("a", ".skv")))->time, 1714550000);

    // A copy still being made when its removal is asked for is waited for, then removed; one asked
    // for later is never written.
    std::atomic<bool> started{false};
    std::atomic<bool> release{false};
    writer.write({"b", ".skv",
                  [&] {
                      started = true;
                      while (!release)
                          std::this_thread::yield();
                      return std::string("slow");
                  },
                  SampleInfo()});
    writer.write({"c", ".skv", [] { return std::string("never"); }, SampleInfo()});
    writer.write({"c", ".skv", [] { return std::string("never either"); }, SampleInfo()});
    while (!started)
        std::this_thread::yield();
    writer.remove("c", ".skv");  // not begun: dropped
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        release = true;
    });
    writer.remove("b", ".skv");
    releaser.join();
    writer.wait();
    EXPECT_FALSE(FileExists(folder.documentPath("b", ".skv")));
    EXPECT_FALSE(FileExists(folder.infoPath("c", ".skv")));
    EXPECT_EQ(writer.written(), 2);
}

TEST(RecoveryFolderName, SameFolderFollowsTheSystemsNames) {
    TempDir dir;
    MakeDirectories(dir.file("w"));
    EXPECT_TRUE(SameFolder(dir.file("w"), dir.file("w/")));
    EXPECT_TRUE(SameFolder(dir.file("w"), dir.path() + "/./w/../w"));
    EXPECT_FALSE(SameFolder(dir.file("w"), dir.path()));
    EXPECT_TRUE(SameFolder("/gone/w/", "/gone/w"));
    EXPECT_FALSE(SameFolder("", ""));
}

}  // namespace
}  // namespace scorvane

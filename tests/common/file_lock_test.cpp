#include "common/file_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>

#include "common/file_io.h"
#include "support/lock_holder.h"
#include "support/lock_programs.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace scorvane {
namespace {

using testing::LockProgram;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string ThisHostName() {
    return testing::ThisHost();
}

TEST(LockFile, IsNamedBesideTheFileAndIsNeitherATableNorATemporaryFile) {
    EXPECT_EQ(LockFilePath("/学校/高一/(1)班/期中考试.skv"), "/学校/高一/(1)班/.~lock.期中考试.skv#");
    EXPECT_EQ(LockFilePath("成绩通知单.rvx"), ".~lock.成绩通知单.rvx#");
    EXPECT_EQ(LockFilePath("/SchoolInfo.ini"), "/.~lock.SchoolInfo.ini#");

    // A save's clearing of abandoned temporary files leaves the lock, and the class lists no table for it.
    TempDir dir;
    const std::string table = dir.file("期中.skv");
    WriteBytes(table, "old");
    LockAttempt taken = TakeLock(table, LockProgram("王老师", "办公室", 10));
    ASSERT_EQ(taken.result, LockAttempt::Result::Taken);
    ASSERT_TRUE(WriteFileAtomically(table, "new"));
    RemoveAbandonedTemporaries(table);
    EXPECT_TRUE(FileExists(LockFilePath(table)));
    EXPECT_EQ(FilesWithExtension(dir.path(), ".skv"), std::vector<std::string>{"期中.skv"});
}

TEST(LockFile, ItsLineReadsBackWithCommasInANameEscaped) {
    struct Case {
        LockOwner owner;
        std::string line;
    } cases[] = {
        {{"wang", "office-pc", 4242, "2024-09-02T08:05:09+08:00"},
         "wang,office-pc,4242,2024-09-02T08:05:09+08:00"},
        {{"王老师", "教务处", 7, "2024-09-02T08:05:09+08:00"}, "王老师,教务处,7,2024-09-02T08:05:09+08:00"},
        {{"Wang, Li", "pc,1", 1, "t"}, "Wang%2C Li,pc%2C1,1,t"},
        {{"100%", "h", 2, "t"}, "100%25,h,2,t"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LockLine(c.owner), c.line);
        EXPECT_EQ(ParseLockLine(c.line), c.owner) << c.line;
    }
    // A line end after the line is allowed.
    EXPECT_EQ(ParseLockLine("wang,pc,3,t\r\n"), (LockOwner{"wang", "pc", 3, "t"}));
}

TEST(LockFile, LinesThatAreNoLockAreRefused) {
    const std::string refused[] = {
        "",
        "wang,pc,3",              // three fields
        "wang,pc,3,t,extra",      // five
        ",pc,3,t",                // no user
        "wang,,3,t",              // no host
        "wang,pc,0,t",            // no process 0
        "wang,pc,+3,t",           //
        "wang,pc,x3,t",           //
        "wang,pc,99999999999,t",  // beyond any process id
        "wang,pc,3,",             // no time
        "wa%0Ang,pc,3,t",         // a line break in a name
        "wang,p%4,3,t",           // a broken escape
        "wang,pc,3,t\tx",         // a control character
        std::string("wang,pc,3,t\0", 12),
        "\xff\xfe,pc,3,t",       // not UTF-8
        std::string(5000, 'a'),  // far too long
    };
    for (const std::string& line : refused) {
        EXPECT_FALSE(ParseLockLine(line).has_value()) << line;
    }
}

TEST(LockFile, TheTimeIsShownToTheMinute) {
    EXPECT_EQ(LockTimeForDisplay("2024-09-02T08:05:09+08:00"), "2024-09-02 08:05");
    EXPECT_EQ(LockTimeForDisplay("2024-09-02 18:30"), "2024-09-02 18:30");
    EXPECT_EQ(LockTimeForDisplay("昨天"), "昨天");
    EXPECT_EQ(LockTimeForDisplay("2024-09-02T8:05"), "2024-09-02T8:05");
}

TEST(LockFile, ALockIsLiveUnlessItsProgramOnThisHostIsGone) {
    TempDir dir;
    const std::string table = dir.file("t.skv");
    const LockIdentity me = LockProgram("李老师", "Office-1", 20, {30});
    struct Case {
        std::string line;
        LockState state;
    } cases[] = {
        {"王老师,office-1,30,t", LockState::Live},   // this host (the name in any case), still running
        {"王老师,Office-1,31,t", LockState::Stale},  // this host, gone
        {"王老师,OFFICE-1,31,t", LockState::Stale},  // this host in other letters, gone
        {"王老师,Office-2,31,t", LockState::Live},   // another host: its processes cannot be seen
        {"李老师,Office-1,20,t", LockState::Live},   // this very program
    };
    for (const Case& c : cases) {
        WriteBytes(LockFilePath(table), c.line);
        EXPECT_EQ(InspectLock(table, me).state, c.state) << c.line;
    }
    RemoveFile(LockFilePath(table));
    EXPECT_EQ(InspectLock(table, me).state, LockState::None);
    // No lock where none can stand: no folder, a file in a folder's place, a name too long for one.
    WriteBytes(dir.file("班"), "x");
    for (const std::string& nowhere :
         {dir.file("无/t.skv"), dir.file("班/t.skv"), dir.file(std::string(250, 'a'))}) {
        EXPECT_EQ(InspectLock(nowhere, me).state, LockState::None) << nowhere.size();
    }
}

TEST(LockFile, AnythingUnreadableInItsPlaceIsAnotherUsersLockAndNeverHangs) {
    TempDir dir;
    const std::string table = dir.file("t.skv");
    const std::string lock = LockFilePath(table);
    const LockIdentity me = LockProgram("李老师", "pc", 20);
    WriteBytes(dir.file("sound"), "王老师,pc,31,t");  // stale, if it were read
    const std::function<void()> makers[] = {
        [&] { WriteBytes(lock, ""); },
        [&] { WriteBytes(lock, std::string("\x00\x01\x02\xff\xfe", 5)); },
        [&] { WriteBytes(lock, "王老师,pc,31,t" + std::string(1 << 20, ' ')); },
        [&] { ASSERT_EQ(::symlink(dir.file("sound").c_str(), lock.c_str()), 0); },
        [&] { ASSERT_TRUE(MakeDirectories(lock)); },
        [&] { ASSERT_EQ(::mkfifo(lock.c_str(), 0644), 0); },
    };
    for (const auto& make : makers) {
        make();
        const LockInspection seen = InspectLock(table, me);
        EXPECT_EQ(seen.state, LockState::Unreadable);
        EXPECT_EQ(seen.owner.user, "未知用户");
        EXPECT_EQ(seen.owner.host, "未知计算机");
        EXPECT_EQ(LockTimeForDisplay(seen.owner.time).size(), 16u) << seen.owner.time;
        // It is not taken over either.
        EXPECT_EQ(TakeLock(table, me).result, LockAttempt::Result::Busy);
        std::filesystem::remove(lock);
    }
}

TEST(LockFile, IsTakenWhenFreeOrStaleAndRemovedOnlyWhileItIsOurs) {
    TempDir dir;
    const std::string table = dir.file("t.skv");
    const std::string lock = LockFilePath(table);
    const LockIdentity a = LockProgram("王老师", "pc", 30);
    const LockIdentity b = LockProgram("李老师", "pc", 40);  // 30 does not run for b

    {
        LockAttempt first = TakeLock(table, a);
        ASSERT_EQ(first.result, LockAttempt::Result::Taken);
        EXPECT_EQ(ReadBytes(lock), "王老师,pc,30,2024-09-02T08:05:09+08:00");
        // Made with the usual permissions: readable by colleagues as the file mode mask allows.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        struct stat st {};
        ASSERT_EQ(::stat(lock.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

        // For b the lock is stale: taken over. a's lock object then leaves b's lock alone.
        LockAttempt second = TakeLock(table, b);
        ASSERT_EQ(second.result, LockAttempt::Result::TakenOver);
        EXPECT_EQ(ReadBytes(lock), "李老师,pc,40,2024-09-02T08:05:09+08:00");
        first.lock.release();
        EXPECT_EQ(ReadBytes(lock), "李老师,pc,40,2024-09-02T08:05:09+08:00");

        // For a, b's lock is live: busy, and said by whom.
        LockAttempt third = TakeLock(table, LockProgram("王老师", "pc", 30, {40}));
        ASSERT_EQ(third.result, LockAttempt::Result::Busy);
        EXPECT_EQ(third.holder.owner, (LockOwner{"李老师", "pc", 40, "2024-09-02T08:05:09+08:00"}));
        EXPECT_TRUE(FileExists(lock));
    }
    // b's lock went with its object.
    EXPECT_FALSE(FileExists(lock));
}

TEST(LockFile, AFolderThatAllowsNoNewFileGivesNoLockAndNoQuestion) {
    TempDir dir;
    const std::string table = dir.file("ro/t.skv");
    WriteBytes(table, "x");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.file("ro").c_str(), 0555);
    // Run as a user whom permissions bind (as root the test drops its rights in a child process).
    EXPECT_TRUE(testing::RunWithoutPrivileges([&] {
        LockAttempt attempt = TakeLock(table, LockProgram("王老师", "pc", 30));
        return attempt.result == LockAttempt::Result::NotCreated && attempt.error == EACCES &&
               !FileExists(LockFilePath(table));
    }));
    ::chmod(dir.file("ro").c_str(), 0755);
}

// The identity of a program of this computer as the programs themselves are: its own process id, and
// the system's process table to tell whether another program runs.
LockIdentity RealProgram(std::string user, long pid) {
    LockIdentity identity = LockProgram(std::move(user), ThisHostName(), pid);
    identity.programRuns = OurProgramRuns;
    return identity;
}

TEST(LockProcess, OnlyAProcessThatIsGoneOrPlainlyAnotherProgramLeavesItsLockStale) {
    TempDir dir;
    const std::string ours = dir.file("scorvane");
    const std::string other = dir.file("calc");
    std::filesystem::copy_file("/bin/sleep", ours);
    std::filesystem::copy_file("/bin/sleep", other);
    const pid_t running = testing::StartProgram(ours, {"60"});
    const pid_t another = testing::StartProgram(other, {"60"});
    ASSERT_GT(running, 0);
    ASSERT_GT(another, 0);
    EXPECT_TRUE(OurProgramRuns(running));
    EXPECT_FALSE(OurProgramRuns(another));  // our own user's process: seen to be another program
    // An update replaces the executable while the program runs: it is still ours.
    std::filesystem::remove(ours);
    EXPECT_TRUE(OurProgramRuns(running));
    ::kill(running, SIGKILL);
    ::kill(another, SIGKILL);
    testing::WaitForProgram(running);
    testing::WaitForProgram(another);
    EXPECT_FALSE(OurProgramRuns(running));
    EXPECT_FALSE(OurProgramRuns(0));
    EXPECT_FALSE(OurProgramRuns(-5));
    EXPECT_FALSE(OurProgramRuns(0x7FFFFFFFL + 1));
}

// A colleague's program that this user may not look at (another user's process, a /proc mounted with
// hidepid): its lock stands, seen from a second process.
TEST(LockProcess, AProcessThatExistsButCannotBeLookedAtHoldsItsLock) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string table = dir.file("t.skv");
    WriteBytes(table, "x");
    long holder = 0;
    pid_t started = -1;
    if (::geteuid() == 0) {
        // Looked at below by a process that has given up the administrator's rights.
        started = testing::StartProgram("/bin/sleep", {"60"});
        holder = started;
    } else {
        holder = 1;  // the system's first process, another user's
        char target[256];
        if (::readlink("/proc/1/exe", target, sizeof target) > 0) {
            GTEST_SKIP() << "this user may look at every process";
        }
    }
    ASSERT_GT(holder, 0);
    WriteBytes(LockFilePath(table), "王老师," + ThisHostName() + "," + std::to_string(holder) + ",t");
    ::chmod(LockFilePath(table).c_str(), 0644);
    EXPECT_TRUE(testing::RunWithoutPrivileges([&] {
        const LockIdentity me = RealProgram("李老师", ::getpid());
        return OurProgramRuns(holder) && InspectLock(table, me).state == LockState::Live &&
               TakeLock(table, me).result == LockAttempt::Result::Busy;
    }));
    if (started > 0) {
        ::kill(started, SIGKILL);
        testing::WaitForProgram(started);
    }
}

TEST(LockProcess, TheLinesTimeIsLocalTimeWithItsOffset) {
    const char* zone = std::getenv("TZ");
    const std::string before = zone ? zone : "";
    ::setenv("TZ", "CST-8", 1);
    ::tzset();
    TempDir dir;
    const std::string table = dir.file("t.skv");
    LockAttempt taken = TakeLock(table, LockIdentity::ThisProgram());
    ASSERT_EQ(taken.result, LockAttempt::Result::Taken);
    const std::optional<LockOwner> read = ParseLockLine(ReadBytes(LockFilePath(table)));
    zone ? ::setenv("TZ", before.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    ASSERT_TRUE(read.has_value());
    // The shape 2026-12-09T19:09:46+08:00: digits where the pattern has 9, the rest as written.
    const std::string shape = "9999-99-99T99:99:99+08:00";
    bool matches = read->time.size() == shape.size();
    for (std::size_t i = 0; matches && i < shape.size(); ++i) {
        const char c = read->time[i];
        matches = shape[i] == '9' ? (c >= '0' && c <= '9') : c == shape[i];
    }
    EXPECT_TRUE(matches) << read->time;
    EXPECT_EQ(LockTimeForDisplay(read->time), read->time.substr(0, 10) + " " + read->time.substr(11, 5));
    EXPECT_EQ(read->pid, ::getpid());
}

// Several programs of one computer find the same stale lock at once and each takes it over: exactly
// one of them holds it afterwards, and the lock is that one's. Each program is a process of its own.
TEST(LockProcess, ProgramsRacingForOneStaleLockLeaveExactlyOneHolder) {
    constexpr int kRounds = 300;
    constexpr int kPrograms = 4;
    constexpr long kGone = 0x7FFFFFF0;
    TempDir dir;
    const std::string table = dir.file("t.skv");
    const std::string lock = LockFilePath(table);
    int failures = 0;
    for (int round = 0; round < kRounds && failures < 5; ++round) {
        WriteBytes(lock, "王老师," + ThisHostName() + "," + std::to_string(kGone) + ",t");
        int start[2];
        int results[2];
        ASSERT_EQ(::pipe(start), 0);
        ASSERT_EQ(::pipe(results), 0);
        pid_t programs[kPrograms];
        for (pid_t& program : programs) {
            program = ::fork();
            if (program == 0) {
                ::close(start[1]);
                char go = 0;
                (void)!::read(start[0], &go, 1);  // all start together when the pipe closes
                LockIdentity me = LockProgram("李老师", ThisHostName(), ::getpid());
                me.programRuns = [](long pid) { return pid != kGone; };
                LockAttempt attempt = TakeLock(table, me);
                const bool holds = attempt.result == LockAttempt::Result::Taken ||
                                   attempt.result == LockAttempt::Result::TakenOver;
                const std::string said = (holds ? "H" : "B") + std::to_string(::getpid()) + "\n";
                (void)!::write(results[1], said.data(), said.size());
                ::_exit(0);  // the lock stays: its holder has not closed the table
            }
            ASSERT_GT(program, 0);
        }
        ::close(start[0]);
        ::close(start[1]);
        ::close(results[1]);
        std::string said;
        char piece[256];
        for (ssize_t n; (n = ::read(results[0], piece, sizeof piece)) > 0;) {
            said.append(piece, static_cast<size_t>(n));
        }
        ::close(results[0]);
        for (pid_t program : programs) {
            testing::WaitForProgram(program);
        }
        int holders = 0;
        std::string holder;
        for (size_t at = 0; at < said.size();) {
            const size_t end = said.find('\n', at);
            if (said[at] == 'H') {
                ++holders;
                holder = said.substr(at + 1, end - at - 1);
            }
            at = end + 1;
        }
        const std::optional<LockOwner> standing = ParseLockLine(ReadBytes(lock));
        const bool sound = holders == 1 && standing && std::to_string(standing->pid) == holder;
        EXPECT_TRUE(sound) << "round " << round << ": " << holders << " holders, lock " << ReadBytes(lock);
        failures += sound ? 0 : 1;
        std::filesystem::remove(lock);
    }
}

}  // namespace
}  // namespace scorvane

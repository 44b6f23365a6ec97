// Saves killed at random moments: after every kill the file is the old one or the new one, byte for
// byte, and the next save works.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "main/workspace/school_info.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"
#include "support/write_faults.h"

namespace scorvane {
namespace {

using Clock = std::chrono::steady_clock;
using testing::FolderEntries;
using testing::ReadBytes;
using testing::TempDir;

// The kills per test: SCORVANE_KILLS when set (200 under `ctest -L slow`), else a count that still
// strikes saves before, after and in the middle of their writing.
int KillCount() {
    const char* set = std::getenv("SCORVANE_KILLS");
    const int count = set ? std::atoi(set) : 0;
    return count > 0 ? count : 20;
}
// Every so many kills a save runs to its end: it must work and clear away what the killed ones left.
constexpr int kKillsBetweenWholeSaves = 20;

using Micros = std::chrono::microseconds;

Micros Since(Clock::time_point begin) {
    return std::chrono::duration_cast<Micros>(Clock::now() - begin);
}

// Watches a folder for the temporary file of a save being made and renamed.
class TemporaryFileWatch {
  public:
    TemporaryFileWatch(const std::string& folder, std::string prefix)
        : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), prefix_(std::move(prefix)) {
        ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_FROM);
    }
    ~TemporaryFileWatch() { ::close(fd_); }
    TemporaryFileWatch(const TemporaryFileWatch&) = delete;
    TemporaryFileWatch& operator=(const TemporaryFileWatch&) = delete;

    enum class Event { None, Created, Renamed };

    // The next event of a temporary file within `timeout`; None when there was none.
    Event next(Micros timeout) {
        const auto until = Clock::now() + timeout;
        while (true) {
            if (pending_ < read_) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer_ + pending_);
                pending_ += sizeof(inotify_event) + e->len;
                if (e->len > 0 && IsTemporaryOf(e->name)) {
                    return (e->mask & IN_CREATE) ? Event::Created : Event::Renamed;
                }
                continue;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() < 0 || ::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) {
                return Event::None;
            }
            const ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
            pending_ = 0;
            read_ = n > 0 ? static_cast<size_t>(n) : 0;
        }
    }
    // Forgets the events so far.
    void drain() {
        while (next(Micros(0)) != Event::None) {
        }
    }
    bool IsTemporaryOf(const std::string& name) const { return name.rfind(prefix_, 0) == 0; }

  private:
    int fd_;
    std::string prefix_;
    alignas(inotify_event) char buffer_[8192];
    size_t pending_ = 0;
    size_t read_ = 0;
};

// How long a save runs, and how long its temporary file lives (from its making to its rename).
struct SaveTimes {
    Micros whole{0};
    Micros writing{0};
};

// Runs both saves to their end: what each writes into `target`, and the times of the slower one.
SaveTimes RunWholeSaves(const std::function<pid_t(int)>& start, const std::string& target,
                        TemporaryFileWatch& watch, std::array<std::string, 2>& contents) {
    SaveTimes slowest;
    for (int which : {0, 1}) {
        watch.drain();
        const auto begin = Clock::now();
        const pid_t pid = start(which);
        Clock::time_point created = begin;
        Clock::time_point renamed = begin;
        for (auto e = watch.next(std::chrono::seconds(60)); e != TemporaryFileWatch::Event::None;
             e = watch.next(std::chrono::seconds(60))) {
            (e == TemporaryFileWatch::Event::Created ? created : renamed) = Clock::now();
            if (e == TemporaryFileWatch::Event::Renamed) {
                break;
            }
        }
        EXPECT_EQ(testing::WaitForProgram(pid), 0);
        SaveTimes times{Since(begin), std::chrono::duration_cast<Micros>(renamed - created)};
        EXPECT_GT(times.writing.count(), 0);
        slowest.whole = std::max(slowest.whole, times.whole);
        slowest.writing = std::max(slowest.writing, times.writing);
        contents[which] = ReadBytes(target);
    }
    EXPECT_NE(contents[0], contents[1]);
    return slowest;
}

// Kills KillCount() saves, alternating between the two: three in four at a random moment after the
// temporary file appears (while it is written, flushed, closed, renamed, or just after), the rest at
// a random moment of the whole run. `contents[i]` is what save i writes whole; `folderAfterASave`
// what the folder holds after a save that ran to its end.
void KillSavesAtRandom(const std::function<pid_t(int which)>& start, const std::string& target,
                       const std::array<std::string, 2>& contents, const SaveTimes& times,
                       TemporaryFileWatch& watch, const std::vector<std::string>& folderAfterASave,
                       const std::string& folder) {
    std::mt19937 random(20240901);  // the same moments on every run, so a failure can be run again
    std::uniform_int_distribution<long long> whileWriting(0, times.writing.count() * 13 / 10 + 1000);
    std::uniform_int_distribution<long long> anywhere(0, times.whole.count() * 11 / 10);
    std::string current = ReadBytes(target);
    int keptOld = 0;
    int foundNew = 0;
    int struckWhileWriting = 0;
    int temporariesBefore = 0;
    const int kills = KillCount();
    // On a busy machine the news of the temporary file can come after it is gone; the kills then go on
    // (up to four times as many) until each kind of moment was struck.
    const auto everyMomentStruck = [&] { return keptOld > 0 && foundNew > 0 && struckWhileWriting > 0; };
    for (int i = 0; i < kills || (i < 4 * kills && !everyMomentStruck()); ++i) {
        const int which = i % 2;
        watch.drain();
        const auto begin = Clock::now();
        const pid_t pid = start(which);
        ASSERT_GT(pid, 0);
        if (i % 4 == 3) {
            std::this_thread::sleep_until(begin + Micros(anywhere(random)));
        } else if (watch.next(times.whole * 3) == TemporaryFileWatch::Event::Created) {
            std::this_thread::sleep_for(Micros(whileWriting(random)));
        }
        ::kill(pid, SIGKILL);
        testing::WaitForProgram(pid);

        const std::string now = ReadBytes(target);
        ASSERT_TRUE(now == current || now == contents[which])
            << "kill " << i << " left " << now.size() << " bytes";
        (now == current ? keptOld : foundNew) += 1;
        current = now;
        // Besides the files of a finished save, only temporary files of killed saves.
        int temporaries = 0;
        for (const std::string& name : FolderEntries(folder)) {
            if (std::find(folderAfterASave.begin(), folderAfterASave.end(), name) == folderAfterASave.end()) {
                EXPECT_TRUE(watch.IsTemporaryOf(name)) << name;
                ++temporaries;
            }
        }
        struckWhileWriting += temporaries > temporariesBefore ? 1 : 0;
        temporariesBefore = temporaries;

        if (i % kKillsBetweenWholeSaves == kKillsBetweenWholeSaves - 1) {
            ASSERT_EQ(testing::WaitForProgram(start(1 - which)), 0);
            current = ReadBytes(target);
            ASSERT_EQ(current, contents[1 - which]);
            EXPECT_EQ(FolderEntries(folder), folderAfterASave);
            temporariesBefore = 0;
        }
    }
    // Kills fell before the new file was in place, after it, and in the middle of writing it.
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(foundNew, 0);
    EXPECT_GT(struckWhileWriting, 0);
    std::cout << "a whole save takes " << times.whole.count() / 1000 << " ms, its temporary file lives "
              << times.writing.count() / 1000 << " ms\n"
              << "kills that kept the old file: " << keptOld << ", that found the new one: " << foundNew
              << ", that left a half-written temporary file: " << struckWhileWriting << "\n";
}

// A writer killed while it writes leaves its temporary file behind. Writers started from one process
// (as the forks below, which share everything the parent had) must still choose names of their own,
// or the temporary files of a few killed ones would block every later save.
TEST(KillDuringSave, WritersStartedFromOneProcessDoNotRunOutOfTemporaryNames) {
    TempDir dir;
    const std::string target = dir.file("成绩.skv");
    ASSERT_TRUE(WriteFileAtomically(target, "old"));  // this process has written before it forks
    constexpr int kKilledWriters = 12;
    for (int i = 0; i < kKilledWriters; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Dies in the middle of its write, as a killed writer does.
            WriteStepsInUse().write = [](int, const void*, size_t) -> ssize_t { ::_exit(0); };
            WriteFileAtomically(target, "half");
            ::_exit(1);  // never reached: the write ends the process
        }
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "writer " << i << " made no temporary file";
    }
    EXPECT_EQ(FolderEntries(dir.path()).size(), 1u + kKilledWriters);
    EXPECT_EQ(ReadBytes(target), "old");
    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"成绩.skv"});
}

TEST(KillDuringSave, CopyOfTheTwentyThousandStudentTable) {
    TempDir dir;
    const std::array<std::string, 2> sources = {dir.file("甲.skv"), dir.file("乙.skv")};
    ASSERT_TRUE(WriteDataFile(testing::MakeMarksTable(20000, 1), dir.file("甲")));
    ASSERT_TRUE(WriteDataFile(testing::MakeMarksTable(20000, 2), dir.file("乙")));
    const std::string target = dir.file("成绩.skv");
    ASSERT_TRUE(WriteDataFile(testing::MakeClass(45, "旧"), dir.file("成绩")));
    const std::string old = ReadBytes(target);

    auto start = [&](int which) {
        return testing::StartProgram(testing::CliPath(), {"copy", sources[which], "-o", target});
    };
    TemporaryFileWatch watch(dir.path(), ".成绩.skv.tmp");
    std::array<std::string, 2> contents;
    const SaveTimes times = RunWholeSaves(start, target, watch, contents);
    ASSERT_TRUE(WriteDataFile(testing::MakeClass(45, "旧"), dir.file("成绩")));  // the old file again
    ASSERT_EQ(ReadBytes(target), old);

    KillSavesAtRandom(start, target, contents, times, watch, FolderEntries(dir.path()), dir.path());
    // The next save works and clears away what the killed ones left.
    ASSERT_EQ(testing::WaitForProgram(start(0)), 0);
    EXPECT_EQ(ReadBytes(target), contents[0]);
    EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"乙.skv", "成绩.skv", "甲.skv"}));
}

TEST(KillDuringSave, SchoolFile) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    // Two schools of some size, so that a save takes long enough to be struck halfway.
    std::array<SchoolInfo, 2> schools;
    for (int which : {0, 1}) {
        schools[which].name = which == 0 ? "星河实验中学" : "第一中学";
        for (int g = 0; g < 60; ++g) {
            GradeEntry grade{"年级" + std::to_string(g) + "-" + std::to_string(which), {}};
            for (int c = 0; c < 20; ++c) {
                grade.classes.push_back("(" + std::to_string(c + 1) + ")班");
            }
            schools[which].grades.push_back(std::move(grade));
        }
    }
    ASSERT_TRUE(SaveSchoolInfo({"旧学校", {}}, folder));
    const std::string target = folder + "SchoolInfo.ini";
    const std::string old = ReadBytes(target);
    // Each save in a process of its own, as the editor's save runs in the program.
    auto start = [&](int which) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::_exit(SaveSchoolInfo(schools[which], folder) ? 0 : 1);
        }
        return pid;
    };
    TemporaryFileWatch watch(dir.path(), ".SchoolInfo.ini.tmp");
    std::array<std::string, 2> contents;
    const SaveTimes times = RunWholeSaves(start, target, watch, contents);
    ASSERT_TRUE(SaveSchoolInfo({"旧学校", {}}, folder));
    ASSERT_EQ(ReadBytes(target), old);

    KillSavesAtRandom(start, target, contents, times, watch, FolderEntries(dir.path()), dir.path());
    ASSERT_EQ(testing::WaitForProgram(start(0)), 0);
    EXPECT_EQ(LoadSchoolInfo(folder), schools[0]);
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"SchoolInfo.ini"});
}

}  // namespace
}  // namespace scorvane

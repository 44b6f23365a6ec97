// A program killed (SIGKILL) while it keeps recovery copies of a table: the next start, in a process of
// its own, is offered the copy, whole.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

#include "common/recovery/recovery_store.h"
#include "main/document/data_file.h"
#include "main/document/table_recovery.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

constexpr int kKills = 4;

// What the next start finds, as the exit status of a process of its own: 0 one sound copy that is one of
// the two tables byte for byte, 2 not one copy, 3 a damaged copy, 4 another table.
int CheckOfferInNewProcess(const std::string& folder, const std::string& workspace,
                           const std::array<std::string, 2>& tables) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const std::vector<TableCopy> copies = FindTableCopies(RecoveryFolder(folder), workspace);
        if (copies.size() != 1)
            ::_exit(2);
        if (copies[0].damaged())
            ::_exit(3);
        const std::string bytes = SerializeDataFile(*copies[0].table);
        ::_exit(bytes == tables[0] || bytes == tables[1] ? 0 : 4);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KillWhileCopying, TheNextStartIsOfferedTheLastWholeCopy) {
    testing::TempDir dir;
    const std::string folder = dir.file("recovery");
    const std::string workspace = dir.path();
    std::array<GradeTable, 2> tables = {testing::MakeMarksTable(3000, 1), testing::MakeMarksTable(3000, 2)};
    std::array<std::string, 2> bytes;
    for (int i : {0, 1}) {
        tables[i].filePath = workspace + "/表格数据/一中/高一/(1)班/期中";
        bytes[i] = SerializeDataFile(tables[i]);
    }
    std::mt19937 random(20240925);
    std::uniform_int_distribution<int> micros(0, 20000);
    for (int kill = 0; kill < kKills; ++kill) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            // A program whose table keeps changing: one copy after another, the two tables in turn.
            RecoveryStore store(folder, 1);
            const std::string id = store.newCopyId();
            for (int i = 0;; ++i) {
                auto table = std::make_shared<GradeTable>(tables[i % 2]);
                RecoveryInfo info = TableCopyInfo(*table, workspace);
                info.session = store.session();
                store.writer().write({id, std::string(kTableCopyExtension),
                                      [table] { return SerializeDataFile(*table); }, info});
                store.writer().wait();
                if (i == 0 && ::write(ready[1], "w", 1) != 1)
                    ::_exit(1);
            }
        }
        ASSERT_GT(pid, 0);
        ::close(ready[1]);
        char mark = 0;
        ASSERT_EQ(::read(ready[0], &mark, 1), 1) << "the first copy was not written";
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(micros(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "kill " << kill;

        ASSERT_EQ(CheckOfferInNewProcess(folder, workspace, bytes), 0) << "kill " << kill;
        // 放弃, so the next round starts on an empty folder.
        for (const TableCopy& copy : FindTableCopies(RecoveryFolder(folder), workspace)) {
            RecoveryFolder(folder).remove(copy.id, kTableCopyExtension);
        }
    }
}

}  // namespace
}  // namespace scorvane

#include "common/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/line_reader.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(LineReader, AcceptsCrLfAndLf) {
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string_view>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string_view>{"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string_view>{"a", ""}));
    EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string_view>{"", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    // A lone CR is no line end.
    EXPECT_EQ(SplitLines("a\rb\r\n"), (std::vector<std::string_view>{"a\rb"}));
}

TEST(AtomicWrite, WritesCreatesFoldersAndReplaces) {
    TempDir dir;
    std::string path = dir.file("a/b/c.txt");
    ASSERT_TRUE(WriteFileAtomically(path, "one"));
    EXPECT_EQ(ReadBytes(path), "one");
    ASSERT_TRUE(WriteFileAtomically(path, "two"));
    EXPECT_EQ(ReadBytes(path), "two");
    // Nothing but the target is left in the folder.
    std::filesystem::directory_iterator entries(dir.file("a/b"));
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "two");
    // A name as long as the file system allows (82 Chinese characters and ".skv": 250 bytes) is saved
    // like any other: the temporary file beside it must not need a longer name.
    std::string longName = dir.file("a/b/");
    for (int i = 0; i < 82; ++i) {
        longName += "成";
    }
    ASSERT_TRUE(WriteFileAtomically(longName + ".skv", "long"));
    EXPECT_EQ(ReadBytes(longName + ".skv"), "long");
    EXPECT_FALSE(ReadWholeFile(dir.file("missing")).has_value());
    EXPECT_FALSE(ReadWholeFile(dir.path()).has_value());  // a folder is not a file
}

TEST(AtomicWrite, FailureLeavesTheOldFileAndSaysWhy) {
    TempDir dir;
    WriteBytes(dir.file("blocker"), "x");
    std::string error;
    // The folder cannot be made: a file stands where it would go.
    EXPECT_FALSE(WriteFileAtomically(dir.file("blocker/sub/t.txt"), "new", &error));
    EXPECT_FALSE(error.empty());
    // The target is a folder.
    EXPECT_FALSE(WriteFileAtomically(dir.path(), "new"));

    // A read-only folder: the new file cannot be made, the old one stays whole.
    WriteBytes(dir.file("ro/t.txt"), "old");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.file("ro").c_str(), 0555);
    std::string ro = dir.file("ro/t.txt");
    EXPECT_TRUE(testing::RunWithoutPrivileges([&] { return !WriteFileAtomically(ro, "new"); }));
    EXPECT_EQ(ReadBytes(ro), "old");
}

TEST(AtomicWrite, KeepsThePermissionsOfAReplacedFile) {
    TempDir dir;
    std::string path = dir.file("t.txt");
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace scorvane

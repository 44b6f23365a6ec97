#include "common/file_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fcntl.h>

#include <filesystem>
#include <functional>
#include <set>

#include "common/content_hash.h"
#include "common/file_io.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(ContentHash, DependsOnTheBytesAloneWhateverPiecesTheyComeIn) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    const uint64_t whole = HashBytes(bytes);
    for (size_t piece : {1u, 3u, 31u, 32u, 33u, 64u, 999u}) {
        ContentHash hash;
        for (size_t at = 0; at < bytes.size(); at += piece) {
            hash.update(std::string_view(bytes).substr(at, piece));
        }
        EXPECT_EQ(hash.digest(), whole) << piece;
        EXPECT_EQ(hash.size(), bytes.size());
    }
    // Any change of the bytes changes the hash: one bit anywhere, two bytes swapped, a zero added or
    // taken away at the end.
    std::set<uint64_t> seen = {whole};
    std::vector<std::string> changed;
    for (size_t at : {0u, 31u, 32u, 500u, 999u}) {
        std::string one = bytes;
        one[at] = static_cast<char>(one[at] ^ 1);
        changed.push_back(one);
    }
    std::string swapped = bytes;
    std::swap(swapped[10], swapped[11]);
    changed.push_back(swapped);
    changed.push_back(bytes + '\0');
    changed.push_back(bytes.substr(0, 999));
    changed.push_back("");
    for (const std::string& other : changed) {
        EXPECT_TRUE(seen.insert(HashBytes(other)).second);
    }
    // One stripe in two halves.
    const std::string stripe = bytes.substr(0, 32);
    ContentHash halves;
    halves.update(stripe.substr(0, 16));
    halves.update(stripe.substr(16));
    EXPECT_EQ(halves.digest(), HashBytes(stripe));
}

TEST(FileState, TheBytesDecideWhetherAFileChangedMeanwhile) {
    TempDir dir;
    const std::string path = dir.file("班/t.skv");
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
        DiskChange expected;
    } cases[] = {
        {"untouched", [] {}, DiskChange::Unchanged},
        {"the same bytes written again", [&] { ASSERT_TRUE(WriteFileAtomically(path, "语文,90")); },
         DiskChange::Unchanged},
        {"other bytes of the same size and time",
         [&] {
             struct stat st {};
             ::stat(path.c_str(), &st);
             WriteBytes(path, "语文,91");
             const struct timespec times[2] = {st.st_atim, st.st_mtim};
             ::utimensat(AT_FDCWD, path.c_str(), times, 0);
         },
         DiskChange::Changed},
        {"longer", [&] { WriteBytes(path, "语文,100"); }, DiskChange::Changed},
        {"deleted", [&] { std::filesystem::remove(path); }, DiskChange::Deleted},
        {"a folder in its place",
         [&] {
             std::filesystem::remove(path);
             MakeDirectories(path);
         },
         DiskChange::Changed},
        // A class folder removed on one computer and a file of its name made on another.
        {"its folder replaced by a file",
         [&] {
             std::filesystem::remove_all(dir.file("班"));
             WriteBytes(dir.file("班"), "x");
         },
         DiskChange::Deleted},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir.file("班"));
        WriteBytes(path, "语文,90");
        const FileState remembered = TakeFileState(path);
        ASSERT_TRUE(remembered.isFile());
        c.meanwhile();
        EXPECT_EQ(CompareWithDisk(remembered, path), c.expected) << c.what;
    }
    // A file where there was none.
    std::filesystem::remove_all(dir.file("班"));
    ASSERT_TRUE(MakeDirectories(dir.file("班")));
    const FileState none = TakeFileState(path);
    EXPECT_EQ(none.kind, FileState::Kind::Missing);
    EXPECT_EQ(CompareWithDisk(none, path), DiskChange::Unchanged);
    WriteBytes(path, "x");
    EXPECT_EQ(CompareWithDisk(none, path), DiskChange::Changed);
}

TEST(FileState, WhatCouldNotBeReadStaysSoAndWhatIsUnknownIsChangedByAnyFile) {
    TempDir dir;
    const std::string path = dir.file("t.skv");
    ASSERT_TRUE(MakeDirectories(path));
    const FileState folder = TakeFileState(path);
    EXPECT_EQ(folder.kind, FileState::Kind::Unreadable);
    EXPECT_EQ(CompareWithDisk(folder, path), DiskChange::Unchanged);
    std::filesystem::remove(path);
    EXPECT_EQ(CompareWithDisk(folder, path), DiskChange::Deleted);
    WriteBytes(path, "x");
    EXPECT_EQ(CompareWithDisk(folder, path), DiskChange::Changed);

    FileState unknown;
    unknown.kind = FileState::Kind::Unknown;
    EXPECT_EQ(CompareWithDisk(unknown, path), DiskChange::Changed);
    std::filesystem::remove(path);
    EXPECT_EQ(CompareWithDisk(unknown, path), DiskChange::Deleted);
    ASSERT_TRUE(MakeDirectories(path));
    EXPECT_EQ(CompareWithDisk(unknown, path), DiskChange::Changed);
}

TEST(FileState, AWriterKnowsTheStateOfWhatItWroteWithoutReadingItBack) {
    TempDir dir;
    const std::string path = dir.file("t.skv");
    AtomicFileWriter writer(path);
    writer.write("第一行\r\n");
    writer.write(std::string(100000, 'x'));
    ASSERT_TRUE(writer.commit());
    const FileState read = TakeFileState(path);
    const FileState& written = writer.written();
    EXPECT_TRUE(written.isFile());
    EXPECT_EQ(written.size, 100000u + std::string("第一行\r\n").size());
    EXPECT_EQ(written.size, read.size);
    EXPECT_EQ(written.hash, read.hash);
    EXPECT_EQ(written.modifiedSeconds, read.modifiedSeconds);
    EXPECT_EQ(written.modifiedNanoseconds, read.modifiedNanoseconds);
    EXPECT_EQ(CompareWithDisk(written, path), DiskChange::Unchanged);
}

}  // namespace
}  // namespace scorvane

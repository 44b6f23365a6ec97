#include "common/same_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "common/file_io.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(SameFile, NamesThatLeadToOneFileAreOneFile) {
    TempDir dir;
    WriteBytes(dir.file("班/期中.skv"), "x");
    WriteBytes(dir.file("班/期末.skv"), "x");
    ASSERT_EQ(::symlink(dir.file("班").c_str(), dir.file("链接").c_str()), 0);
    struct Case {
        std::string a;
        std::string b;
        bool same;
    } cases[] = {
        {dir.file("班/期中.skv"), dir.file("班/期中.skv"), true},
        {dir.file("班/期中.skv"), dir.file("链接/期中.skv"), true},      // a link in the path
        {dir.file("班/期中.skv"), dir.file("班/./期中.skv"), true},      // "./"
        {dir.file("班/期中.skv"), dir.file("班/../班/期中.skv"), true},  // ".."
        {dir.file("班/期中.skv"), dir.file("班/期末.skv"), false},       // two files of the same bytes
        {dir.file("班/期中.skv"), dir.file("班/新.skv"), false},         // one of them missing
        {dir.file("班/新.skv"), dir.file("链接/新.skv"), true},          // neither there: the same place
        {dir.file("班/新.skv"), dir.file("班/旧.skv"), false},
        {dir.file("无/新.skv"), dir.file("无/./新.skv"), false},  // nor their folder: not known
        {"", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameFile(c.a, c.b), c.same) << c.a << " " << c.b;
        EXPECT_EQ(SameFile(c.b, c.a), c.same) << c.b << " " << c.a;
    }
}

}  // namespace
}  // namespace scorvane

#include "main/workspace/start_arguments.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;

TEST(StartArguments, OptionsAndFiles) {
    StartArguments a = ParseStartArguments({"--workspace", "/w", "a.skv", "成绩 表.skv"});
    EXPECT_EQ(a.workspace, "/w");
    EXPECT_EQ(a.files, (Strings{"a.skv", "成绩 表.skv"}));
    EXPECT_FALSE(a.help);

    a = ParseStartArguments({"b.skv", "--workspace=/x y", "-"});
    EXPECT_EQ(a.workspace, "/x y");
    EXPECT_EQ(a.files, (Strings{"b.skv", "-"}));

    // "--" ends the options; unknown options are collected, not taken for files.
    a = ParseStartArguments({"--frobnicate", "--", "--workspace", "-h"});
    EXPECT_EQ(a.unknown, (Strings{"--frobnicate"}));
    EXPECT_EQ(a.files, (Strings{"--workspace", "-h"}));
    EXPECT_EQ(a.workspace, "");
    EXPECT_FALSE(a.help);

    EXPECT_TRUE(ParseStartArguments({"-h"}).help);
    EXPECT_TRUE(ParseStartArguments({"x.skv", "--help"}).help);
    // A --workspace without its folder is not silently taken as one.
    a = ParseStartArguments({"--workspace"});
    EXPECT_EQ(a.workspace, "");
    EXPECT_EQ(a.unknown, (Strings{"--workspace"}));
    EXPECT_NE(StartUsage().find("--workspace"), std::string::npos);
}

TEST(StartArguments, NamedFilesAreFoundAsTheCommandLineToolFindsThem) {
    testing::TempDir dir;
    testing::WriteBytes(dir.file("期中.skv"), "x");
    testing::WriteBytes(dir.file("期末.SKV"), "x");
    testing::WriteBytes(dir.file("说明.txt"), "x");
    using Kind = StartFile::Kind;
    struct Case {
        std::string given;
        Kind kind;
        std::string path;
    } cases[] = {
        {dir.file("期中.skv"), Kind::Table, dir.file("期中")},
        {dir.file("期中"), Kind::Table, dir.file("期中")},
        {dir.file("期末.SKV"), Kind::Table, dir.file("期末")},
        {"期中.skv", Kind::Table, dir.file("期中")},  // relative to the current folder
        {"./sub/../期中.skv", Kind::Table, dir.file("期中")},
        {dir.file("说明.txt"), Kind::Foreign, dir.file("说明.txt")},
        {dir.file("没有.skv"), Kind::Missing, dir.file("没有.skv")},
        {dir.path(), Kind::Missing, dir.path()},
    };
    for (const Case& c : cases) {
        StartFile f = ClassifyStartFile(c.given, dir.path());
        EXPECT_EQ(f.kind, c.kind) << c.given;
        EXPECT_EQ(f.path, c.path) << c.given;
    }
}

TEST(StartArguments, OneChannelPerUserAndWorkspace) {
    const std::string name = InstanceChannelName("/home/t/成绩", 1000);
    EXPECT_EQ(name.rfind("scorvane-1000-", 0), 0u) << name;
    EXPECT_EQ(InstanceChannelName("/home/t/成绩/", 1000), name);
    EXPECT_EQ(InstanceChannelName("/home/t/./成绩", 1000), name);
    EXPECT_NE(InstanceChannelName("/home/t/成绩", 1001), name);
    EXPECT_NE(InstanceChannelName("/home/t/成绩2", 1000), name);
    EXPECT_LT(name.size(), 40u);  // local socket names live in a short path
}

}  // namespace
}  // namespace scorvane

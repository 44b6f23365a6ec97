#include "main/workspace/utilities.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::TempDir;
using testing::WriteBytes;

TEST(ReadIniValueTest, MissingKeysReadDefaultEmptyValuesReadEmptyAndLongValuesComeBackWhole) {
    TempDir dir;
    const std::string file = dir.file("a.ini");
    const std::string longName(300, 'x');
    WriteBytes(file, GbkLines({"[School]", "Name=第一中学", "Empty=", "long=" + longName}));
    EXPECT_EQ(ReadIniValue(file, "School", "Name"), "第一中学");
    EXPECT_EQ(ReadIniValue(file, "school", "NAME"), "第一中学");
    EXPECT_EQ(ReadIniValue(file, "School", "Empty"), "");
    EXPECT_EQ(ReadIniValue(file, "School", "Long"), longName);
    EXPECT_EQ(ReadIniValue(file, "School", "Grade"), "Default");
    EXPECT_EQ(ReadIniValue(file, "Other", "Name"), "Default");
    EXPECT_EQ(ReadIniValue(dir.file("missing.ini"), "School", "Name"), "Default");
}

TEST(PathHelpersTest, DirectoryAndFileNameSplitAtTheLastSeparatorKeepingCase) {
    EXPECT_EQ(DirectoryOfPath("/Home/Data/表格.skv"), "/Home/Data/");
    EXPECT_EQ(DirectoryOfPath("表格.skv"), "");
    EXPECT_EQ(DirectoryOfPath("a/"), "a/");
    EXPECT_EQ(FileNameOfPath("/Home/Data/My表格.skv"), "My表格.skv");
    EXPECT_EQ(FileNameOfPath("My.skv"), "My.skv");
    EXPECT_EQ(FileNameOfPath("a/"), "");
}

TEST(ShortenForDisplayTest, CountsCharactersNotBytes) {
    EXPECT_EQ(ShortenForDisplay(""), "");
    EXPECT_EQ(ShortenForDisplay("1234567890123456789012"), "1234567890123456789012");
    EXPECT_EQ(ShortenForDisplay("12345678901234567890123"), "12345678...67890123");
    // 23 Chinese characters: cut by character, never inside one.
    EXPECT_EQ(ShortenForDisplay("一二三四五六七八九十一二三四五六七八九十一二三"),
              "一二三四五六七八...六七八九十一二三");
    EXPECT_EQ(ShortenForDisplay("一二三四五六七八九十一二三四五六七八九十一二"),
              "一二三四五六七八九十一二三四五六七八九十一二");
}

TEST(FileNameRulesTest, NineCharactersAreRefusedAndDotNamesAreNoFolderNames) {
    EXPECT_TRUE(IsValidFileName("高一(1)班 成绩.2024"));
    EXPECT_TRUE(IsValidFileName(""));
    for (const char* bad : {"a/b", "a\\b", "a*", "a:b", "a?", "<a", "a>", "a|b", "\"a\""}) {
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
    }
    EXPECT_TRUE(IsValidFileName(".."));
    EXPECT_FALSE(IsValidFolderName("."));
    EXPECT_FALSE(IsValidFolderName(".."));
    // The school file drops blanks around a value, so these would read back as "..".
    EXPECT_FALSE(IsValidFolderName(" .. "));
    EXPECT_FALSE(IsValidFolderName("\t."));
    EXPECT_TRUE(IsValidFolderName("..."));
    EXPECT_TRUE(IsValidFolderName(".一班"));
}

}  // namespace
}  // namespace scorvane

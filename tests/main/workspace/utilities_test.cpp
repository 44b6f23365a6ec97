#include "main/workspace/utilities.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace scorvane {
namespace {

TEST(UtilitiesTest, ReadIniValueReadsWholeValuesAndDefaultForWhatIsMissing) {
    testing::TempDir dir;
    const std::string file = dir.file("a.ini");
    const std::string longName(300, 'x');
    testing::WriteBytes(file, testing::GbkLines({"[School]", "Name=第一中学", "Empty=", "long=" + longName}));
    EXPECT_EQ(ReadIniValue(file, "school", "NAME"), "第一中学");
    EXPECT_EQ(ReadIniValue(file, "School", "Empty"), "");
    EXPECT_EQ(ReadIniValue(file, "School", "Long"), longName);
    EXPECT_EQ(ReadIniValue(file, "School", "Grade"), "Default");
    EXPECT_EQ(ReadIniValue(dir.file("missing.ini"), "School", "Name"), "Default");
}

TEST(UtilitiesTest, PathsSplitAtTheLastSeparatorKeepingCaseAndLongTextsShortenByCharacter) {
    EXPECT_EQ(DirectoryOfPath("/Home/Data/表格.skv"), "/Home/Data/");
    EXPECT_EQ(DirectoryOfPath("表格.skv"), "");
    EXPECT_EQ(FileNameOfPath("/Home/Data/My表格.skv"), "My表格.skv");
    EXPECT_EQ(FileNameOfPath("My.skv"), "My.skv");
    EXPECT_EQ(ShortenForDisplay("1234567890123456789012"), "1234567890123456789012");
    EXPECT_EQ(ShortenForDisplay("12345678901234567890123"), "12345678...67890123");
    EXPECT_EQ(ShortenForDisplay("一二三四五六七八九十一二三四五六七八九十一二三"),
              "一二三四五六七八...六七八九十一二三");
}

TEST(UtilitiesTest, FileNamesRefuseNineCharactersAndFolderNamesAlsoDotAndDotDot) {
    EXPECT_TRUE(IsValidFileName("高一(1)班 成绩.2024"));
    for (const char* bad : {"a/b", "a\\b", "a*", "a:b", "a?", "<a", "a>", "a|b", "\"a\""}) {
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
    }
    EXPECT_TRUE(IsValidFileName(".."));
    // The school file drops blanks around a value, so " .. " would read back as "..".
    for (const char* dots : {".", "..", " .. ", "\t."}) {
        EXPECT_FALSE(IsValidFolderName(dots)) << dots;
    }
    EXPECT_TRUE(IsValidFolderName("..."));
}

}  // namespace
}  // namespace scorvane

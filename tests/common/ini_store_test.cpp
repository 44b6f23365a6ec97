#include "common/ini_store.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

TEST(IniStore, ReadsWithThePrivateProfileRules) {
    IniStore ini = IniStore::fromText(
        ";comment\r\n[School]\r\nName = 实验中学 \r\nGrade=1\r\n\r\n[grade0]\r\nClass0=(1)班\r\n;Class1=x\r\n"
        "[School]\r\nName=second section ignored\r\n");
    EXPECT_EQ(ini.value("school", "NAME").value_or("?"), "实验中学");
    EXPECT_EQ(ini.value("School", "Grade", "Default"), "1");
    EXPECT_EQ(ini.value("Grade0", "class0", ""), "(1)班");
    EXPECT_FALSE(ini.value("Grade0", "Class1").has_value());  // commented out
    EXPECT_EQ(ini.value("Grade0", "Missing", "Default"), "Default");
    EXPECT_EQ(ini.value("Nowhere", "Name", "Default"), "Default");
    EXPECT_TRUE(ini.hasSection("GRADE0"));

    // The entries of the first section of a name, in order, comments passed over.
    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(ini.entries("SCHOOL"), (Entries{{"Name", "实验中学"}, {"Grade", "1"}}));
    EXPECT_EQ(ini.entries("grade0"), (Entries{{"Class0", "(1)班"}}));
    EXPECT_TRUE(ini.entries("Nowhere").empty());
}

TEST(IniStore, ValuesComeBackWholeHoweverLong) {
    std::string longName(1000, 'x');
    longName += "尾";
    IniStore ini;
    ini.setValue("Labels", "0", longName);
    EXPECT_EQ(ini.value("Labels", "0").value_or(""), longName);
}

TEST(IniStore, WritesAppendKeysToTheirSectionAndSectionsAtTheEnd) {
    IniStore ini;
    ini.appendLine(";head");
    ini.setValue("A", "k1", "1");
    ini.setValue("B", "k1", "2");
    EXPECT_EQ(ini.value("b", "K1", ""), "2");
    ini.setValue("a", "K2", "3");  // same section, other case: B's lines move down
    EXPECT_EQ(ini.value("B", "k1", ""), "2");
    ini.setValue("A", "K1", "4");  // replaces in place
    EXPECT_EQ(ini.value("A", "k1", ""), "4");
    ini.setValue("B", "x", "two\r\nlines");
    EXPECT_EQ(ini.text(), ";head\r\n[A]\r\nK1=4\r\nK2=3\r\n[B]\r\nk1=2\r\nx=two[/]lines\r\n");
    EXPECT_EQ(ini.value("B", "X", ""), "two[/]lines");
    EXPECT_EQ(ini.value("A", "K2", ""), "3");
}

TEST(IniStore, FileIsGbkAndSavedWhole) {
    testing::TempDir dir;
    IniStore ini;
    ini.setValue("School", "Name", "实验中学");
    ASSERT_TRUE(ini.save(dir.file("s.ini")));
    EXPECT_EQ(testing::ReadBytes(dir.file("s.ini")), EncodeGbk("[School]\r\nName=实验中学\r\n"));
    IniStore back;
    ASSERT_TRUE(back.load(dir.file("s.ini")));
    EXPECT_EQ(back.value("School", "Name", ""), "实验中学");
    IniStore missing;
    EXPECT_FALSE(missing.load(dir.file("none.ini")));
    EXPECT_EQ(missing.text(), "");
}

}  // namespace
}  // namespace scorvane

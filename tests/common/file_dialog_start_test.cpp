#include "common/file_dialog_start.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(FileDialogStart, TheGivenFolderElseTheLastOneWithTheOfferedName) {
    struct Case {
        std::string folder, name, last, start;
    };
    const std::vector<Case> cases = {
        {"/w/表格数据/一中/高一/(1)班/", "期中考试", "/last", "/w/表格数据/一中/高一/(1)班/期中考试"},
        {"/w/班", "期中考试", "/last", "/w/班/期中考试"},
        {"", "期中考试", "/last", "/last/期中考试"},
        {"", "", "/last", "/last"},
        {"", "期中考试", "", "期中考试"},
        {"", "", "", ""},
        {"/", "a", "", "/a"},
        {"/w", " 高一/期中:成绩*表? ", "", "/w/高一_期中_成绩_表_"},
    };
    for (const Case& c : cases) {
        FileDialogSpec spec = SaveDialogFor("*.csv", c.name, c.folder);
        EXPECT_EQ(FileDialogStartPath(spec, c.last), c.start) << c.folder << c.name;
        EXPECT_EQ(spec.defaultSuffix, "csv");
    }
    EXPECT_EQ(SafeFileName("a\\b\"c<d>e|f"), "a_b_c_d_e_f");
    EXPECT_EQ(FolderOfChosenFile("/w/表格数据/期中.skv"), "/w/表格数据");
    EXPECT_EQ(FolderOfChosenFile("/期中.skv"), "/");
    EXPECT_EQ(FolderOfChosenFile("期中.skv"), "");
}

}  // namespace
}  // namespace scorvane

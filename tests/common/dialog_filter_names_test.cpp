#include "common/dialog_filter_names.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(DialogFilterNames, ThePatternsOfTheProgramsHaveNamesOthersKeepThemselves) {
    const std::pair<const char*, const char*> cases[] = {
        {"*.skv", "成绩表格"},       {"*.csv", "CSV 文件"},
        {"*.txt;*.csv", "文本文件"}, {"*.dbf", "FoxPro 表格"},
        {"*.bmp", "Windows 位图"},   {"*.rvx", "KVL'S 报表文档"},
        {"*.xyz", "*.xyz"},          {"", ""},
    };
    for (const auto& [pattern, name] : cases) {
        EXPECT_EQ(DialogFilterName(pattern), name) << pattern;
    }
}

}  // namespace
}  // namespace scorvane

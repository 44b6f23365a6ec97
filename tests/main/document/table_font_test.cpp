#include "main/document/table_font.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(TableFontTest, StoredValuesReplaceTheCurrentOnlyWhenUsable) {
    const TableFont design;  // 宋体 12
    EXPECT_EQ(design.name, "宋体");
    EXPECT_EQ(design.pointSize, 12);

    TableFont f = ResolveStoredTableFont(design, std::string("黑体"), std::string("10.5"));
    EXPECT_EQ(f.name, "黑体");
    EXPECT_DOUBLE_EQ(f.pointSize, 10.5);

    // Missing keys and values empty after trimming keep what was there; the name is trimmed.
    EXPECT_EQ(ResolveStoredTableFont(design, std::nullopt, std::nullopt), design);
    EXPECT_EQ(ResolveStoredTableFont(design, std::string("   "), std::string("  ")), design);
    EXPECT_EQ(ResolveStoredTableFont(design, std::string(" 楷体 "), std::nullopt).name, "楷体");

    // A size that is no number, or no size a table could be shown in, keeps the current size.
    for (const char* bad : {"abc", "12pt", "0", "-3", "1e9", "nan"}) {
        EXPECT_EQ(ResolveStoredTableFont(design, std::nullopt, std::string(bad)).pointSize, 12) << bad;
    }
    EXPECT_EQ(ResolveStoredTableFont(design, std::nullopt, std::string(" 9 ")).pointSize, 9);
}

TEST(TableFontTest, SizesAreStoredAsPlainDecimals) {
    EXPECT_EQ(FormatTableFontSize(12), "12");
    EXPECT_EQ(FormatTableFontSize(10.5), "10.5");
    EXPECT_EQ(FormatTableFontSize(14.25), "14.25");
}

}  // namespace
}  // namespace scorvane

#include "main/document/class_info.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::RowCells;
using testing::Strings;

TEST(ClassInfoTest, ConfirmingSetsRowsTeacherInformationNumbersAndTheFlag) {
    Document doc = testing::SampleDocument({"姓名", "语文"}, {{"张三", "85"}, {"李四", "70"}});
    doc.table.teacher = "王老师";
    ClassInfoValues values;
    OpenClassInfo(doc, values);
    EXPECT_EQ(values.classSize, 2);
    EXPECT_EQ(values.teacher, "王老师");
    doc.table.setCell(1, 0, "x");
    ConfirmClassInfo(doc, values, "4", "赵老师", "第一行\r\n第二行");
    EXPECT_EQ(doc.table.rows(), 5);
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"李四", "70"}));
    EXPECT_EQ(RowCells(doc.table, 4), (Strings{"", ""}));
    EXPECT_EQ(doc.table.cell(1, 0) + doc.table.cell(4, 0), "14");
    EXPECT_EQ(doc.table.teacher + doc.table.classInfo, "赵老师第一行\r\n第二行");
    EXPECT_EQ(values.classSize, 4);
    EXPECT_EQ(values.info, "第一行\r\n第二行");
    EXPECT_TRUE(doc.modified());
    ConfirmClassInfo(doc, values, "0", "", "");
    EXPECT_EQ(doc.table.rows(), 1);
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文"}));
}

TEST(ClassInfoTest, TheClassSizeBoxHoldsOnlyNumbersFrom0To32766) {
    const std::pair<const char*, const char*> cases[] = {
        {"45", "45"}, {"007", "007"},     {"", "1"},          {"4a", "1"},
        {"-3", "1"},  {"32766", "32766"}, {"32767", "32766"}, {"99999999999999999999", "32766"}};
    for (auto [typed, shown] : cases) {
        EXPECT_EQ(NormalizeClassSizeText(typed), shown) << typed;
    }
    EXPECT_EQ(ClassSizeFromText("007"), 7);
    Document doc;
    ClassInfoValues values;
    ConfirmClassInfo(doc, values, "40000", "", "");
    EXPECT_EQ(doc.table.rows(), 32767);
    EXPECT_EQ(doc.table.cell(32766, 0), "32766");
}

}  // namespace
}  // namespace scorvane

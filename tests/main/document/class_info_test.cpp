#include "main/document/class_info.h"

#include <gtest/gtest.h>

#include "sample_table.h"

namespace scorvane {
namespace {

using testing::RowCells;
using testing::SampleDocument;
using testing::Strings;

TEST(ClassInfoTest, OpeningLoadsTheValuesFromTheTableAndEnablesUndo) {
    Document doc = SampleDocument({"姓名"}, {{"张三"}, {"李四"}});
    doc.table.teacher = "王老师";
    doc.table.classInfo = "高一(1)班\r\n理科";
    ClassInfoValues values{7, "x", "y"};
    OpenClassInfo(doc, values);
    EXPECT_EQ(values.classSize, 2);
    EXPECT_EQ(values.teacher, "王老师");
    EXPECT_EQ(values.info, "高一(1)班\r\n理科");
    EXPECT_TRUE(doc.undoAvailable());
    EXPECT_FALSE(doc.modified());
}

TEST(ClassInfoTest, ConfirmingSetsRowsTeacherInformationNumbersAndTheFlag) {
    Document doc = SampleDocument({"姓名", "语文"}, {{"张三", "85"}, {"李四", "70"}});
    doc.table.setCell(1, 0, "x");
    ClassInfoValues values;
    ConfirmClassInfo(doc, values, "4", "王老师", "第一行\r\n第二行");
    EXPECT_EQ(doc.table.rows(), 5);
    EXPECT_EQ(RowCells(doc.table, 2), (Strings{"李四", "70"}));
    EXPECT_EQ(RowCells(doc.table, 4), (Strings{"", ""}));
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(doc.table.cell(r, 0), std::to_string(r));
    }
    EXPECT_EQ(doc.table.teacher, "王老师");
    EXPECT_EQ(doc.table.classInfo, "第一行\r\n第二行");
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(values.classSize, 4);
    EXPECT_EQ(values.teacher, "王老师");
    EXPECT_EQ(values.info, "第一行\r\n第二行");

    ConfirmClassInfo(doc, values, "1", "王老师", "");
    EXPECT_EQ(doc.table.rows(), 2);
    EXPECT_EQ(RowCells(doc.table, 1), (Strings{"张三", "85"}));
    ConfirmClassInfo(doc, values, "0", "", "");
    EXPECT_EQ(doc.table.rows(), 1);
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文"}));
}

TEST(ClassInfoTest, TheClassSizeBoxHoldsOnlyNumbersFromZeroTo32766) {
    EXPECT_EQ(NormalizeClassSizeText("45"), "45");
    EXPECT_EQ(NormalizeClassSizeText("0"), "0");
    EXPECT_EQ(NormalizeClassSizeText("007"), "007");
    EXPECT_EQ(NormalizeClassSizeText(""), "1");
    EXPECT_EQ(NormalizeClassSizeText("4a"), "1");
    EXPECT_EQ(NormalizeClassSizeText("-3"), "1");
    EXPECT_EQ(NormalizeClassSizeText("32766"), "32766");
    EXPECT_EQ(NormalizeClassSizeText("32767"), "32766");
    EXPECT_EQ(NormalizeClassSizeText("99999999999999999999999"), "32766");
    EXPECT_EQ(ClassSizeFromText("007"), 7);
    EXPECT_EQ(ClassSizeFromText(""), 1);
    EXPECT_EQ(ClassSizeFromText("70000"), 32766);

    Document doc;
    ClassInfoValues values;
    ConfirmClassInfo(doc, values, "40000", "", "");
    EXPECT_EQ(doc.table.rows(), 32767);
    EXPECT_EQ(doc.table.cell(32766, 0), "32766");
}

}  // namespace
}  // namespace scorvane

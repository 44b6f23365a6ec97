#include "main/workbook/sheet_value_text.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(SheetValueText, NumbersInTheShortestFormThatReadsBack) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {2024000001, "2024000001"}, {85.5, "85.5"},           {1.0 / 3, "0.333333333333333"}, {0.1 + 0.2, "0.3"},
        {-0.0, "0"},                {-12.25, "-12.25"},       {100, "100"},                   {0.001, "0.001"},
        {1e20, "1E+20"},            {1.5e-12, "1.5E-12"},     {123456789012345, "123456789012345"},
        {2.0 / 3 * 100, "66.6666666666667"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SheetNumberText(c.value), c.text) << c.value;
    }
}

TEST(SheetValueText, DateKindsOfFormats) {
    const struct {
        const char* code;
        DateKind kind;
    } cases[] = {
        {"yyyy/m/d", DateKind::Date},        {"yyyy\"年\"m\"月\"d\"日\"", DateKind::Date},
        {"m/d/yy h:mm", DateKind::DateTime}, {"h:mm:ss", DateKind::Time},
        {"[h]:mm", DateKind::Elapsed},       {"0.00", DateKind::None},
        {"[mm]:ss", DateKind::Elapsed},      {"[Magenta]0.00", DateKind::None},
        {"[ss]", DateKind::Elapsed},         {"yyyy-mm-dd [h]", DateKind::DateTime},
        {"General", DateKind::None},         {"0.00E+00", DateKind::None},
        {"\"day\" 0", DateKind::None},       {"[Red]0.0;[Blue]-0.0", DateKind::None},
        {"mmm-yy", DateKind::Date},          {"[$-804]yyyy-mm-dd;@", DateKind::Date},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateKindOfFormat(c.code), c.kind) << c.code;
    }
    EXPECT_EQ(DateKindOfBuiltinFormat(14), DateKind::Date);
    EXPECT_EQ(DateKindOfBuiltinFormat(22), DateKind::DateTime);
    EXPECT_EQ(DateKindOfBuiltinFormat(20), DateKind::Time);
    EXPECT_EQ(DateKindOfBuiltinFormat(46), DateKind::Elapsed);  // [h]:mm:ss
    for (int id : {18, 21, 32, 33, 45, 47}) {
        EXPECT_EQ(DateKindOfBuiltinFormat(id), DateKind::Time) << id;
    }
    EXPECT_EQ(DateKindOfBuiltinFormat(2), DateKind::None);
}

TEST(SheetValueText, SerialDatesInBothDateSystems) {
    const struct {
        double serial;
        bool date1904;
        DateKind kind;
        const char* text;
    } cases[] = {
        {45536, false, DateKind::Date, "2024-09-01"},
        {45536.5, false, DateKind::DateTime, "2024-09-01 12:00:00"},
        {44074, true, DateKind::Date, "2024-09-01"},
        {1, false, DateKind::Date, "1900-01-01"},
        {60, false, DateKind::Date, "1900-02-29"},
        {61, false, DateKind::Date, "1900-03-01"},
        {0.354166666666667, false, DateKind::Time, "08:30:00"},
        // A time format shows the time of day, a span of time its hours running on.
        {45536.354166666667, false, DateKind::Time, "08:30:00"},
        {1.5, false, DateKind::Elapsed, "36:00:00"},
        {0.99999999, false, DateKind::Time, "00:00:00"},
        {45536.99999999, false, DateKind::DateTime, "2024-09-02 00:00:00"},
        {-3, false, DateKind::Date, "-3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SheetDateText(c.serial, c.date1904, c.kind), c.text) << c.serial;
    }
}

TEST(SheetValueText, IsoDatesDurationsAndLineBreaks) {
    EXPECT_EQ(IsoDateText("2024-09-01"), "2024-09-01");
    EXPECT_EQ(IsoDateText("2024-09-01T08:30:05.25"), "2024-09-01 08:30:05");
    EXPECT_EQ(IsoDateText("soon"), "soon");
    EXPECT_EQ(IsoDurationText("PT08H30M00S"), "08:30:00");
    EXPECT_EQ(IsoDurationText("PT36H"), "36:00:00");
    EXPECT_EQ(TableLineBreaks("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
}

}  // namespace
}  // namespace scorvane

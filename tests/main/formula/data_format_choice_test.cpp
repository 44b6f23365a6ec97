#include "main/formula/data_format_choice.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

TEST(DataFormatChoice, PatternAndPreviewFromDecimalsAndPadding) {
    EXPECT_EQ(MakeDataFormat({2, false}), "###.##");
    EXPECT_EQ(DataFormatPreview("###.##"), "123.46");
    EXPECT_EQ(MakeDataFormat({3, true}), "###.000");
    EXPECT_EQ(DataFormatPreview("###.000"), "123.457");
    EXPECT_EQ(MakeDataFormat({0, true}), "###.");
    EXPECT_EQ(DataFormatPreview("###."), "123");
    EXPECT_EQ(MakeDataFormat({8, true}), "###.00000000");
    EXPECT_EQ(DataFormatPreview("###.00000000"), "123.45678900");
    EXPECT_EQ(DataFormatPreview("###.########"), "123.456789");
    EXPECT_EQ(MakeDataFormat({40, false}), "###.###############");
}

TEST(DataFormatChoice, ReadingTheDocumentsPatternBack) {
    EXPECT_EQ(ReadDataFormat("###.##"), (DataFormatChoice{2, false}));
    EXPECT_EQ(ReadDataFormat("###.000"), (DataFormatChoice{3, true}));
    EXPECT_EQ(ReadDataFormat("###."), (DataFormatChoice{0, false}));
    EXPECT_EQ(ReadDataFormat("###"), (DataFormatChoice{3, false}));       // no point: its whole length
    EXPECT_EQ(ReadDataFormat("###.一二"), (DataFormatChoice{2, false}));  // characters, not bytes
    EXPECT_EQ(ReadDataFormat("###." + std::string(30, '0')), (DataFormatChoice{15, true}));
    EXPECT_EQ(ReadDataFormat(""), (DataFormatChoice{0, false}));
    for (const char* p : {"###.##", "###.000", "###."}) {
        EXPECT_EQ(MakeDataFormat(ReadDataFormat(p)), p);
    }
}

TEST(DataFormatChoice, TypedDecimalCount) {
    EXPECT_EQ(ParseDecimalCount(""), 0);
    EXPECT_EQ(ParseDecimalCount("3"), 3);
    EXPECT_EQ(ParseDecimalCount("015"), 15);
    EXPECT_EQ(ParseDecimalCount("16"), 15);
    EXPECT_EQ(ParseDecimalCount("99999999999999999999999"), 15);
}

}  // namespace
}  // namespace scorvane

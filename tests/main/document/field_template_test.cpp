#include "main/document/field_template.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/text_codec.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

std::string Record(std::string_view gbk) {
    std::string r{static_cast<char>(gbk.size() & 0xFF), static_cast<char>(gbk.size() >> 8)};
    r += gbk;
    r.resize(128, '\0');
    return r;
}
const std::string kMagic = Record(EncodeGbk("KVL'S 表格模版文件"));

TEST(FieldTemplateFileTest, RecordsHoldALittleEndianCountAndGbkTextAndReadersIgnoreTheRest) {
    FieldTemplate fields{"  ", {"姓名", "语文", ""}};
    EXPECT_EQ(EncodeFieldTemplate(fields), kMagic + Record("4") + Record("  ") + Record(EncodeGbk("姓名")) +
                                               Record(EncodeGbk("语文")) + Record(""));
    EXPECT_EQ(DecodeFieldTemplate(*EncodeFieldTemplate(fields)), fields);
    // The last record without filler, filler that is not zero, and records after the last are all fine.
    std::string junky = kMagic + Record("2") + Record("   ") + Record("AB") + Record("extra");
    junky[2 * 128 + 40] = 'x';
    EXPECT_EQ(DecodeFieldTemplate(junky), (FieldTemplate{"   ", {"AB"}}));
    EXPECT_EQ(DecodeFieldTemplate(kMagic + Record("2") + Record("  ") +
                                  std::string("\x02\x00"
                                              "AB",
                                              4)),
              (FieldTemplate{"  ", {"AB"}}));
}

TEST(FieldTemplateFileTest, MalformedFilesAreRefused) {
    std::string overlong = kMagic + Record("2") + Record("  ") + Record("A");
    overlong[3 * 128] = static_cast<char>(127);
    for (const std::string& bad :
         {std::string(), Record("KVL'S Scorvane数据文件") + Record("2") + Record("  ") + Record("A"),
          kMagic + Record("x") + Record("  "), kMagic + Record("0") + Record("  "),
          kMagic + Record("32767") + Record("  "),  // promises more than the file holds
          kMagic + Record("3") + Record("  ") + Record("A"), overlong,
          kMagic + Record("2") + Record("  ") +
              std::string("\x05\x00"
                          "AB",
                          4)}) {
        EXPECT_FALSE(DecodeFieldTemplate(bad).has_value()) << bad.size();
    }
}

TEST(FieldTemplateFileTest, WritingRefusesTooLongTextsAndKeepsRecordsBeyondTheNewOnes) {
    testing::TempDir dir;
    const std::string path = dir.file("t.templet");
    std::string fits;
    for (int i = 0; i < 63; ++i) {
        fits += "语";  // 126 GBK bytes
    }
    ASSERT_EQ(WriteFieldTemplate(path, {"  ", {"A", "B", fits}}), TemplateWriteResult::Written);
    EXPECT_EQ(WriteFieldTemplate(path, {"  ", {fits + "a"}}), TemplateWriteResult::TooLong);
    ASSERT_EQ(WriteFieldTemplate(path, {"  ", {"X"}}), TemplateWriteResult::Written);
    std::string bytes = testing::ReadBytes(path);
    ASSERT_EQ(bytes.size(), 6u * 128);
    EXPECT_EQ(bytes.substr(4 * 128), Record("B") + Record(EncodeGbk(fits)));
    EXPECT_EQ(ReadFieldTemplate(path), (FieldTemplate{"  ", {"X"}}));
}

TEST(FieldTemplateFileTest, TheListingCreatesAMissingFolderAndNamesOnlyTemplates) {
    testing::TempDir dir;
    const std::string folder = dir.file("表格模版") + "/";
    EXPECT_TRUE(ListFieldTemplates(folder).empty());
    EXPECT_TRUE(DirectoryExists(folder));
    for (const char* name : {"期中.templet", "b.templet", "a.TEMPLET", "c.skv"}) {
        testing::WriteBytes(folder + name, "x");
    }
    MakeDirectories(folder + "d.templet");
    EXPECT_EQ(ListFieldTemplates(folder),
              (std::vector<std::string>{"a.TEMPLET", "b.templet", "期中.templet"}));
}

}  // namespace
}  // namespace scorvane

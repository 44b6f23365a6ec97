#include "main/document/field_template.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/text_codec.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Record(std::string_view gbk) {
    std::string r;
    r.push_back(static_cast<char>(gbk.size() & 0xFF));
    r.push_back(static_cast<char>(gbk.size() >> 8));
    r += gbk;
    r.resize(128, '\0');
    return r;
}

TEST(FieldTemplateFileTest, RecordsAre128BytesWithALittleEndianCountAndGbkText) {
    FieldTemplate fields{"  ", {"姓名", "语文", ""}};
    std::optional<std::string> bytes = EncodeFieldTemplate(fields);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, Record(EncodeGbk("KVL'S 表格模版文件")) + Record("4") + Record("  ") +
                          Record(EncodeGbk("姓名")) + Record(EncodeGbk("语文")) + Record(""));
    EXPECT_EQ(DecodeFieldTemplate(*bytes), fields);
    EXPECT_EQ(fields.headerLayout(), "  |姓名|语文|");
}

TEST(FieldTemplateFileTest, ReadersIgnoreFillerAndWhatFollowsTheLastRecord) {
    // Records as short as their text (no filler after the last one) and trailing junk are both fine.
    std::string bytes = Record(EncodeGbk("KVL'S 表格模版文件")) + Record("2") + Record("   ");
    bytes += std::string("\x02\x00", 2) + "AB";
    std::string junky = Record(EncodeGbk("KVL'S 表格模版文件")) + Record("2") + Record("   ") + Record("AB");
    junky[2 * 128 + 40] = 'x';  // filler
    junky += Record("extra");
    EXPECT_EQ(DecodeFieldTemplate(bytes), (FieldTemplate{"   ", {"AB"}}));
    EXPECT_EQ(DecodeFieldTemplate(junky), (FieldTemplate{"   ", {"AB"}}));
    // A template of a table without fields.
    EXPECT_EQ(DecodeFieldTemplate(Record(EncodeGbk("KVL'S 表格模版文件")) + Record("1") + Record("  ")),
              (FieldTemplate{"  ", {}}));
}

TEST(FieldTemplateFileTest, MalformedFilesAreRefused) {
    const std::string magic = Record(EncodeGbk("KVL'S 表格模版文件"));
    EXPECT_FALSE(DecodeFieldTemplate(""));
    EXPECT_FALSE(
        DecodeFieldTemplate(Record("KVL'S Scorvane数据文件") + Record("2") + Record("  ") + Record("A")));
    EXPECT_FALSE(DecodeFieldTemplate(magic + Record("x") + Record("  ")));
    EXPECT_FALSE(DecodeFieldTemplate(magic + Record("0") + Record("  ")));
    // The count promises more records than the file holds: refused before anything is reserved.
    EXPECT_FALSE(DecodeFieldTemplate(magic + Record("32767") + Record("  ")));
    EXPECT_FALSE(DecodeFieldTemplate(magic + Record("3") + Record("  ") + Record("A")));
    // A byte count running past its record or past the end of the file.
    std::string bad = magic + Record("2") + Record("  ") + Record("A");
    bad[3 * 128] = static_cast<char>(127);
    EXPECT_FALSE(DecodeFieldTemplate(bad));
    EXPECT_FALSE(DecodeFieldTemplate(magic + Record("2") + Record("  ") +
                                     std::string("\x05\x00"
                                                 "AB",
                                                 4)));
}

TEST(FieldTemplateFileTest, TitlesLongerThan126GbkBytesCannotBeWritten) {
    TempDir dir;
    const std::string path = dir.file("t.templet");
    std::string fits;
    for (int i = 0; i < 63; ++i) {
        fits += "语";  // two GBK bytes each: 126
    }
    EXPECT_EQ(WriteFieldTemplate(path, {"  ", {fits}}), TemplateWriteResult::Written);
    EXPECT_EQ(ReadFieldTemplate(path), (FieldTemplate{"  ", {fits}}));
    std::string before = ReadBytes(path);
    EXPECT_EQ(WriteFieldTemplate(path, {"  ", {"A", fits + "a"}}), TemplateWriteResult::TooLong);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_FALSE(EncodeFieldTemplate({std::string(127, 'x'), {}}).has_value());
}

TEST(FieldTemplateFileTest, OverwritingKeepsRecordsBeyondTheNewOnes) {
    TempDir dir;
    const std::string path = dir.file("t.templet");
    ASSERT_EQ(WriteFieldTemplate(path, {"  ", {"A", "B", "C"}}), TemplateWriteResult::Written);
    ASSERT_EQ(WriteFieldTemplate(path, {"  ", {"X"}}), TemplateWriteResult::Written);
    std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 6u * 128);
    EXPECT_EQ(bytes.substr(4 * 128), Record("B") + Record("C"));
    EXPECT_EQ(ReadFieldTemplate(path), (FieldTemplate{"  ", {"X"}}));
    EXPECT_EQ(WriteFieldTemplate(dir.file("plain/t.templet"), {"  ", {}}), TemplateWriteResult::Written);
    WriteBytes(dir.file("file"), "x");
    EXPECT_EQ(WriteFieldTemplate(dir.file("file/t.templet"), {"  ", {}}), TemplateWriteResult::Failed);
}

TEST(FieldTemplateFileTest, TheListingCreatesAMissingFolderAndNamesTemplatesInOrder) {
    TempDir dir;
    const std::string folder = dir.file("表格模版") + "/";
    EXPECT_TRUE(ListFieldTemplates(folder).empty());
    EXPECT_TRUE(DirectoryExists(folder));
    WriteBytes(folder + "期中.templet", "x");
    WriteBytes(folder + "b.templet", "x");
    WriteBytes(folder + "a.TEMPLET", "x");
    WriteBytes(folder + "c.skv", "x");
    MakeDirectories(folder + "d.templet");
    EXPECT_EQ(ListFieldTemplates(folder),
              (std::vector<std::string>{"a.TEMPLET", "b.templet", "期中.templet"}));
}

}  // namespace
}  // namespace scorvane

#include "main/exchange/dbf_reader.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/exchange/dbf_builder.h"
#include "main/exchange/exchange_fixtures.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::Column;
using testing::DbfBuilder;
using testing::DbfRecord;
using testing::Le32;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

std::string Gbk(std::string_view s) {
    return EncodeGbk(s);
}

DbfError Parse(const std::string& bytes, GradeTable& out) {
    return ParseDbf(bytes, std::nullopt, false, out);
}

TEST(DbfReader, TwoFieldsAndTwoRecordsMakeAThreeByThreeGrid) {
    DbfBuilder b;
    b.fields = {{"XH", 'C', 10}, {"XM", 'C', 8}};
    b.records = {{{"2024001", Gbk("张三")}}, {{"2024002", Gbk("欧阳修")}}};
    GradeTable t;
    ASSERT_EQ(Parse(b.bytes(), t), DbfError::None);
    EXPECT_EQ(t.rows(), 3);
    EXPECT_EQ(t.cols(), 3);
    EXPECT_EQ(t.cells(), (Values{"  ", "XH", "XM", "1", "2024001", "张三", "2", "2024002", "欧阳修"}));
}

TEST(DbfReader, ReadsEachFieldTypeAsText) {
    DbfBuilder b;
    b.version = 0x30;  // Visual FoxPro: binary memo pointers, a hidden null-flags field
    std::vector<uint32_t> blocks;
    const std::string memo = testing::FptFile({Gbk("第一行\r\n第二行  "), "short"}, blocks);
    b.fields = {
        {"NAME", 'C', 12}, {"SCORE", 'N', 6, 1}, {"RATIO", 'f', 8, 3}, {"AGE", 'I', 4},
        {"BORN", 'D', 8},  {"OK", 'L', 1},       {"NOTE", 'M', 4},     {"_NullFlags", '0', 1, 0, 0x05}};
    b.records = {
        {{Gbk(" 前导空格"), "  85.5", "   0.125", Le32(static_cast<uint32_t>(-5)), "20240901", "T",
          Le32(blocks[0]), "\x01"}},
        {{"", "      ", "", Le32(1234567), "        ", "f", Le32(0), ""}},
        {{"x", "*****", "1e3", Le32(0), "2024", "?", Le32(blocks[1]), ""}},
        {{"y", "", "", Le32(0), "00000000", " ", Le32(9999), ""}},
        {{"z", "", "", Le32(0), "", "Y", "", ""}},
        {{"w", "", "", Le32(0), "", "n", "", ""}},
    };
    GradeTable t;
    ASSERT_EQ(ParseDbf(b.bytes(), memo, true, t), DbfError::None);
    ASSERT_EQ(t.cols(), 8);  // the hidden field is left out
    EXPECT_EQ(t.fieldTitles(), (Values{"NAME", "SCORE", "RATIO", "AGE", "BORN", "OK", "NOTE"}));
    EXPECT_EQ(Column(t, 1), (Values{" 前导空格", "", "x", "y", "z", "w"}));  // trailing blanks only
    EXPECT_EQ(Column(t, 2), (Values{"85.5", "", "*****", "", "", ""}));
    EXPECT_EQ(Column(t, 3), (Values{"0.125", "", "1e3", "", "", ""}));
    EXPECT_EQ(Column(t, 4), (Values{"-5", "1234567", "0", "0", "0", "0"}));
    EXPECT_EQ(Column(t, 5), (Values{"2024-09-01", "", "2024", "", "", ""}));
    EXPECT_EQ(Column(t, 6), (Values{"T", "F", "", "", "T", "F"}));
    // Memo text; block 0 is no memo; a block beyond the memo file is empty.
    EXPECT_EQ(Column(t, 7), (Values{"第一行\r\n第二行", "", "short", "", "", ""}));

    // Without the memo file the memo cells are empty and everything else is read.
    GradeTable noMemo;
    ASSERT_EQ(ParseDbf(b.bytes(), std::nullopt, true, noMemo), DbfError::None);
    EXPECT_EQ(Column(noMemo, 7), (Values{"", "", "", "", "", ""}));
    EXPECT_EQ(Column(noMemo, 2), Column(t, 2));
}

TEST(DbfReader, LeavesOutDeletedRecordsAndNumbersTheRest) {
    DbfBuilder b;
    b.fields = {{"XM", 'C', 6}};
    b.records = {{{"a"}, true}, {{"b"}}, {{"c"}, true}, {{"d"}}, {{"e"}, true}};
    GradeTable t;
    ASSERT_EQ(Parse(b.bytes(), t), DbfError::None);
    EXPECT_EQ(Column(t, 1), (Values{"b", "d"}));
    EXPECT_EQ(Column(t, 0), (Values{"1", "2"}));

    // Every record deleted: only the title row.
    b.records = {{{"a"}, true}};
    ASSERT_EQ(Parse(b.bytes(), t), DbfError::None);
    EXPECT_EQ(t.rows(), 1);
    EXPECT_EQ(t.cells(), (Values{"  ", "XM"}));
}

TEST(DbfReader, ReadsMemoFilesBesideTheTable) {
    TempDir dir;
    // dBASE III: ten-digit block numbers into a .dbt whose texts end at the end-of-text mark.
    std::vector<uint32_t> blocks;
    WriteBytes(dir.file("three.dbt"), testing::DbtIIIFile({Gbk("评语：优秀"), "ok"}, blocks));
    DbfBuilder three;
    three.version = 0x83;
    three.fields = {{"XM", 'C', 4}, {"PY", 'M', 10}};
    three.records = {{{"a", "         " + std::to_string(blocks[0])}},
                     {{"b", "          "}},
                     {{"c", std::to_string(blocks[1])}}};
    WriteBytes(dir.file("three.dbf"), three.bytes());
    GradeTable t;
    ASSERT_EQ(ReadDbfFile(dir.file("three.dbf"), t), DbfError::None);
    EXPECT_EQ(Column(t, 2), (Values{"评语：优秀", "", "ok"}));

    // dBASE IV: a block header with the length; the memo file's name in upper case.
    blocks.clear();
    WriteBytes(dir.file("four.DBT"), testing::DbtIVFile({"line\x1A still"}, blocks));
    DbfBuilder four;
    four.version = 0x8B;
    four.fields = {{"PY", 'M', 10}};
    four.records = {{{std::to_string(blocks[0])}}};
    WriteBytes(dir.file("four.dbf"), four.bytes());
    ASSERT_EQ(ReadDbfFile(dir.file("four.dbf"), t), DbfError::None);
    EXPECT_EQ(t.cell(1, 1), "line\x1A still");

    // FoxPro 2 with its .fpt; without any memo file the table is still read.
    blocks.clear();
    WriteBytes(dir.file("fox.fpt"), testing::FptFile({Gbk("备注")}, blocks));
    DbfBuilder fox;
    fox.version = 0xF5;
    fox.fields = {{"PY", 'M', 10}, {"XM", 'C', 4}};
    fox.records = {{{std::to_string(blocks[0]), "a"}}};
    WriteBytes(dir.file("fox.dbf"), fox.bytes());
    ASSERT_EQ(ReadDbfFile(dir.file("fox.dbf"), t), DbfError::None);
    EXPECT_EQ(t.cell(1, 1), "备注");
    WriteBytes(dir.file("alone.dbf"), fox.bytes());
    ASSERT_EQ(ReadDbfFile(dir.file("alone.dbf"), t), DbfError::None);
    EXPECT_EQ((Values{t.cell(1, 1), t.cell(1, 2)}), (Values{"", "a"}));
}

TEST(DbfReader, ReportsEachCauseByItsNumberAndKeepsTheGrid) {
    TempDir dir;
    GradeTable kept = testing::MakeTable({"A"}, {{"1"}});
    const Values before = kept.cells();
    EXPECT_EQ(ReadDbfFile(dir.file("missing.dbf"), kept), DbfError::CannotOpen);
    EXPECT_EQ(ReadDbfFile(dir.path(), kept), DbfError::CannotOpen);
    EXPECT_EQ(static_cast<int>(DbfError::CannotOpen), 1);

    DbfBuilder good;
    good.fields = {{"XM", 'C', 4}, {"FS", 'N', 3}};
    good.records = {{{"a", " 90"}}, {{"b", " 80"}}};
    const std::string sound = good.bytes();

    // 2: not such a table at all.
    EXPECT_EQ(Parse("short", kept), DbfError::NotDbf);
    EXPECT_EQ(Parse(std::string(40, 'x'), kept), DbfError::NotDbf);
    std::string foreign = sound;
    foreign[0] = 0x04;  // a later dBASE whose field list is laid out otherwise
    EXPECT_EQ(Parse(foreign, kept), DbfError::NotDbf);

    // 3: a damaged header.
    auto withByte = [&](size_t at, uint32_t v, int bytes) {
        std::string s = sound;
        testing::PutLe(s, at, v, bytes);
        return s;
    };
    EXPECT_EQ(Parse(withByte(8, 32, 2), kept), DbfError::BadHeader);       // header length too small
    EXPECT_EQ(Parse(withByte(10, 7, 2), kept), DbfError::BadHeader);       // record length < fields
    EXPECT_EQ(Parse(withByte(32 + 16, 0, 1), kept), DbfError::BadHeader);  // a field of length 0
    EXPECT_EQ(Parse(withByte(8, 32 + 32 + 16, 2), kept),
              DbfError::BadHeader);  // field list cut by the header
    DbfBuilder noFields;
    EXPECT_EQ(Parse(noFields.bytes(), kept), DbfError::BadHeader);
    DbfBuilder shortInt;
    shortInt.fields = {{"N", 'I', 2}};
    EXPECT_EQ(Parse(shortInt.bytes(), kept), DbfError::BadHeader);

    // 4: shorter than its header says.
    EXPECT_EQ(Parse(sound.substr(0, sound.size() - 3), kept), DbfError::Truncated);
    EXPECT_EQ(Parse(withByte(4, 3, 4), kept), DbfError::Truncated);
    EXPECT_EQ(Parse(withByte(8, 4000, 2), kept), DbfError::Truncated);
    // The end-of-file mark is not needed.
    GradeTable t;
    EXPECT_EQ(Parse(sound.substr(0, sound.size() - 1), t), DbfError::None);

    // 5: a type the reader does not know.
    for (char type : {'B', 'G', 'T', 'Y', '@'}) {
        DbfBuilder odd;
        odd.fields = {{"XM", 'C', 4}, {"X", type, 8}};
        EXPECT_EQ(Parse(odd.bytes(), kept), DbfError::UnsupportedType) << type;
    }

    // 6: more records than a grade table holds; deleted ones do not count.
    DbfBuilder many;
    many.fields = {{"X", 'C', 1}};
    many.records.assign(GradeTable::kMaxCount, DbfRecord{{"x"}});
    EXPECT_EQ(Parse(many.bytes(), kept), DbfError::TooLarge);
    many.records[0].deleted = true;
    ASSERT_EQ(Parse(many.bytes(), t), DbfError::None);
    EXPECT_EQ(t.rows(), GradeTable::kMaxCount);

    EXPECT_EQ(kept.cells(), before);
}

}  // namespace
}  // namespace scorvane

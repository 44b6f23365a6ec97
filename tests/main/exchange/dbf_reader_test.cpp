#include "main/exchange/dbf_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/text_codec.h"
#include "main/exchange/dbf_builder.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::Column;
using testing::DbfBuilder;
using testing::DbfRecord;
using testing::Le32;
using testing::MemoFile;
using testing::MemoKind;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

std::string Gbk(std::string_view s) {
    return EncodeGbk(s);
}
DbfError Parse(const std::string& bytes, GradeTable& out) {
    return ParseDbf(bytes, std::nullopt, false, out);
}

TEST(DbfReader, MakesTheGridLeavingOutDeletedRecords) {
    DbfBuilder b;
    b.fields = {{"XH", 'C', 10}, {"XM", 'C', 8}};
    b.records = {
        {{"2024001", Gbk("张三")}}, {{"x", "x"}, true}, {{"2024002", Gbk("欧阳修")}}, {{"y", "y"}, true}};
    GradeTable t;
    ASSERT_EQ(Parse(b.bytes(), t), DbfError::None);
    EXPECT_EQ(t.cellTexts(), (Values{"  ", "XH", "XM", "1", "2024001", "张三", "2", "2024002", "欧阳修"}));
}

TEST(DbfReader, ReadsEachFieldTypeAsText) {
    DbfBuilder b;
    b.version = 0x30;  // Visual FoxPro: binary memo pointers, a hidden null-flags field
    std::vector<uint32_t> blocks;
    const std::string memo = MemoFile(MemoKind::FoxPro, {Gbk("第一行\r\n第二行  "), "short"}, blocks);
    b.fields = {{"NAME", 'C', 12}, {"SCORE", 'N', 6}, {"RATIO", 'f', 8}, {"AGE", 'I', 4},
                {"BORN", 'D', 8},  {"OK", 'L', 1},    {"NOTE", 'M', 4},  {"_NullFlags", '0', 1, 0x05}};
    b.records = {
        {{Gbk(" 前导空格"), "  85.5", "   0.125", Le32(static_cast<uint32_t>(-5)), "20240901", "T",
          Le32(blocks[0])}},
        {{"", "      ", "", Le32(1234567), "        ", "f", Le32(0)}},
        {{"x", "*****", "1e3", Le32(0), "2024", "?", Le32(blocks[1])}},
        {{"y", "", "", Le32(0), "00000000", " ", Le32(9999)}},
        {{"z", "", "", Le32(0), "", "Y", ""}},
        {{"w", "", "", Le32(0), "", "n", ""}},
    };
    GradeTable t;
    ASSERT_EQ(ParseDbf(b.bytes(), memo, true, t), DbfError::None);
    EXPECT_EQ(t.fieldTitles(), (Values{"NAME", "SCORE", "RATIO", "AGE", "BORN", "OK", "NOTE"}));
    EXPECT_EQ(Column(t, 1), (Values{" 前导空格", "", "x", "y", "z", "w"}));  // trailing blanks only
    EXPECT_EQ(Column(t, 2), (Values{"85.5", "", "*****", "", "", ""}));
    EXPECT_EQ(Column(t, 3), (Values{"0.125", "", "1e3", "", "", ""}));
    EXPECT_EQ(Column(t, 4), (Values{"-5", "1234567", "0", "0", "0", "0"}));
    EXPECT_EQ(Column(t, 5), (Values{"2024-09-01", "", "2024", "", "", ""}));
    EXPECT_EQ(Column(t, 6), (Values{"T", "F", "", "", "T", "F"}));
    // Block 0 is no memo; a block beyond the memo file is empty.
    EXPECT_EQ(Column(t, 7), (Values{"第一行\r\n第二行", "", "short", "", "", ""}));

    // Without the memo file the memo cells are empty and everything else is read.
    ASSERT_EQ(ParseDbf(b.bytes(), std::nullopt, true, t), DbfError::None);
    EXPECT_EQ(Column(t, 7), (Values{"", "", "", "", "", ""}));
    EXPECT_EQ(Column(t, 2), (Values{"85.5", "", "*****", "", "", ""}));
}

TEST(DbfReader, TextIsReadInTheCodePageTheTableNamesElseAsUtf8OrGbkByWhatItHolds) {
    const std::string utf8 = "张三";  // as another program writes it: UTF-8, no code page named
    struct Case {
        uint8_t driver;  // byte 29
        std::string name, other;
        Values expected;
    };
    const std::vector<Case> cases = {
        {0x00, utf8, "ok", {"张三", "ok"}},
        {0x00, Gbk("张三"), "ok", {"张三", "ok"}},
        {0x00, utf8, Gbk("李四"), {DecodeGbk(utf8), "李四"}},  // one field that is no UTF-8: all GBK
        {0x00, utf8.substr(0, 5), "ok", {"张", "ok"}},         // a character cut at the field's end
        {0x00, "plain", "ok", {"plain", "ok"}},
        {0x7A, utf8, "ok", {DecodeGbk(utf8), "ok"}},  // the driver byte is believed
        {0x4D, Gbk("张三"), "ok", {"张三", "ok"}},
        {0x4F, "\xB1\x69\xA4\x54", "ok", {"張三", "ok"}},  // Big5
        {0x03,
         "\xE9"
         "cole",
         "ok",
         {"école", "ok"}},                   // Windows Western
        {0x99, utf8, "ok", {"张三", "ok"}},  // a driver not known here says nothing
    };
    for (const Case& c : cases) {
        std::string bytes = DbfBuilder{0x03, {{"XM", 'C', 6}, {"BZ", 'C', 4}}, {{{c.name, c.other}}}}.bytes();
        bytes[29] = static_cast<char>(c.driver);
        GradeTable t;
        ASSERT_EQ(Parse(bytes, t), DbfError::None);
        EXPECT_EQ((Values{t.cell(1, 1), t.cell(1, 2)}), c.expected) << int(c.driver) << " " << c.name;
    }
}

TEST(DbfReader, DoublesDateTimesAndAmountsAreConvertedAndUnknownTypesLeftEmpty) {
    auto le64 = [](uint64_t v) {
        return Le32(static_cast<uint32_t>(v)) + Le32(static_cast<uint32_t>(v >> 32));
    };
    auto dbl = [&](double d) {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        return le64(bits);
    };
    auto stamp = [](uint32_t day, uint32_t ms) { return Le32(day) + Le32(ms); };
    DbfBuilder b;
    b.version = 0x30;
    b.fields = {{"AVG", 'B', 8}, {"AT", 'T', 8}, {"FEE", 'Y', 8}, {"PHOTO", 'G', 4}, {"XM", 'C', 4}};
    b.records = {
        {{dbl(1234.5), stamp(2460555, 30615000), le64(123450000), Le32(7), "a"}},
        {{dbl(0.1 + 0.2), stamp(2460555, 86399600), le64(125000), Le32(8), "b"}},
        {{dbl(-0.0), std::string(8, '\0'), le64(static_cast<uint64_t>(-5)), "", "c"}},
        {{dbl(1.0 / 3), std::string(8, ' '), le64(0), "", "d"}},
    };
    GradeTable t;
    DbfReadNotes notes;
    ASSERT_EQ(ParseDbf(b.bytes(), std::nullopt, true, t, &notes), DbfError::None);
    EXPECT_EQ(Column(t, 1), (Values{"1234.5", "0.3", "0", "0.333333333333333"}));
    EXPECT_EQ(Column(t, 2), (Values{"2024-09-01 08:30:15", "2024-09-02 00:00:00", "", ""}));
    EXPECT_EQ(Column(t, 3), (Values{"12345", "12.5", "-0.0005", "0"}));
    EXPECT_EQ(Column(t, 4), (Values{"", "", "", ""}));  // the field stays, empty
    EXPECT_EQ(Column(t, 5), (Values{"a", "b", "c", "d"}));
    ASSERT_EQ(notes.unknownFields.size(), 1u);
    EXPECT_EQ(notes.unknownFields[0].name, "PHOTO");
    EXPECT_EQ(notes.unknownFields[0].type, 'G');
    EXPECT_TRUE(notes.missingMemoFile.empty());
}

TEST(DbfReader, FindsTheMemoFileBesideTheTable) {
    TempDir dir;
    struct Case {
        uint8_t version;
        MemoKind kind;
        const char* memoName;
    };
    // dBASE III (ten-digit block numbers, texts up to the end mark), dBASE IV with the memo file's name
    // in upper case, FoxPro 2.
    for (const Case& c : {Case{0x83, MemoKind::DBase3, "t.dbt"}, Case{0x8B, MemoKind::DBase4, "t.DBT"},
                          Case{0xF5, MemoKind::FoxPro, "t.fpt"}}) {
        TempDir d;
        std::vector<uint32_t> blocks;
        WriteBytes(d.file(c.memoName), MemoFile(c.kind, {Gbk("评语：优秀"), "b\x1A"}, blocks));
        DbfBuilder b;
        b.version = c.version;
        b.fields = {{"XM", 'C', 4}, {"PY", 'M', 10}};
        b.records = {{{"a", "         " + std::to_string(blocks[0])}},
                     {{"b", "          "}},
                     {{"c", std::to_string(blocks[1])}}};
        WriteBytes(d.file("t.dbf"), b.bytes());
        GradeTable t;
        ASSERT_EQ(ReadDbfFile(d.file("t.dbf"), t), DbfError::None);
        EXPECT_EQ(Column(t, 2), (Values{"评语：优秀", "", c.kind == MemoKind::DBase3 ? "b" : "b\x1A"}))
            << c.memoName;
        // Without its memo file the table is still read, and the read names the missing file.
        WriteBytes(dir.file("alone.DBF"), b.bytes());
        DbfReadNotes notes;
        ASSERT_EQ(ReadDbfFile(dir.file("alone.DBF"), t, &notes), DbfError::None);
        EXPECT_EQ(Column(t, 2), (Values{"", "", ""}));
        EXPECT_EQ(notes.missingMemoFile, c.kind == MemoKind::FoxPro ? "alone.FPT" : "alone.DBT");
        ASSERT_EQ(ReadDbfFile(d.file("t.dbf"), t, &notes), DbfError::None);
        EXPECT_EQ(notes.missingMemoFile, "");
    }
}

TEST(DbfReader, MemoTextStaysWithinTheMemoFile) {
    // Every memo field pointing to one block: a short memo is shared by the cells that point to it.
    std::vector<uint32_t> blocks;
    std::string memo = MemoFile(MemoKind::FoxPro, {Gbk("良好")}, blocks);
    DbfBuilder b{0xF5, {{"XM", 'C', 4}, {"PY", 'M', 10}}, {}};
    b.records.assign(2000, DbfRecord{{"a", std::to_string(blocks[0])}});
    GradeTable t;
    ASSERT_EQ(ParseDbf(b.bytes(), memo, true, t), DbfError::None);
    EXPECT_EQ(t.cell(2000, 2), "良好");

    // A long memo shared by every field would copy the memo file into every cell: 300 records x 600 KB
    // is 180 MB out of 600 KB. The table is refused with its own number, the grid kept.
    blocks.clear();
    memo = MemoFile(MemoKind::FoxPro, {std::string(600 * 1024, 'x')}, blocks);
    b.records.assign(300, DbfRecord{{"a", std::to_string(blocks[0])}});
    GradeTable kept = testing::MakeTable({"A"}, {{"1"}});
    const Values before = kept.cellTexts();
    EXPECT_EQ(ParseDbf(b.bytes(), memo, true, kept), DbfError::MemoDamaged);
    EXPECT_EQ(kept.cellTexts(), before);
    EXPECT_EQ(static_cast<int>(DbfError::MemoDamaged), 7);

    // A dBASE III memo without its end mark runs to the end of the file, for every field that points there.
    const std::string unended = std::string(512, '\0') + std::string(2 << 20, 'y');
    b.version = 0x83;
    b.records.assign(50, DbfRecord{{"a", "1"}});
    EXPECT_EQ(ParseDbf(b.bytes(), unended, false, kept), DbfError::MemoDamaged);
    // One such memo is read whole.
    b.records.assign(1, DbfRecord{{"a", "1"}});
    ASSERT_EQ(ParseDbf(b.bytes(), unended, false, t), DbfError::None);
    EXPECT_EQ(t.cell(1, 2).size(), size_t{2 << 20});
}

TEST(DbfReader, ReportsEachCauseByItsNumberAndKeepsTheGrid) {
    TempDir dir;
    GradeTable kept = testing::MakeTable({"A"}, {{"1"}});
    const Values before = kept.cellTexts();
    EXPECT_EQ(ReadDbfFile(dir.file("missing.dbf"), kept), DbfError::CannotOpen);
    EXPECT_EQ(ReadDbfFile(dir.path(), kept), DbfError::CannotOpen);
    EXPECT_EQ(static_cast<int>(DbfError::CannotOpen), 1);

    DbfBuilder good;
    good.fields = {{"XM", 'C', 4}, {"FS", 'N', 3}};
    good.records = {{{"a", " 90"}}, {{"b", " 80"}}};
    const std::string sound = good.bytes();
    auto with = [&](size_t at, uint32_t v, int bytes) {
        std::string s = sound;
        testing::Put(s, at, v, bytes);
        return s;
    };
    const std::vector<std::pair<std::string, DbfError>> cases = {
        {"short", DbfError::NotDbf},
        {std::string(40, 'x'), DbfError::NotDbf},
        {with(0, 0x04, 1), DbfError::NotDbf},        // a later dBASE whose field list is laid out otherwise
        {with(8, 32, 2), DbfError::BadHeader},       // header length too small for any field
        {with(10, 7, 2), DbfError::BadHeader},       // record length shorter than the fields
        {with(32 + 16, 0, 1), DbfError::BadHeader},  // a field of length 0
        {with(8, 32 + 32 + 16, 2), DbfError::BadHeader},  // the field list cut by the header's end
        {DbfBuilder{}.bytes(), DbfError::BadHeader},      // no field
        {DbfBuilder{0x03, {{"N", 'I', 2}}, {}}.bytes(), DbfError::BadHeader},
        {sound.substr(0, sound.size() - 3), DbfError::Truncated},
        {with(4, 3, 4), DbfError::Truncated},  // more records than the file holds
        {with(8, 4000, 2), DbfError::Truncated},
        {sound.substr(0, sound.size() - 1), DbfError::None},  // the end-of-file mark is not needed
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        GradeTable t = kept;
        EXPECT_EQ(Parse(cases[i].first, t), cases[i].second) << i;
    }
    for (char type : {'B', 'T', 'Y'}) {  // eight bytes or nothing
        EXPECT_EQ(Parse(DbfBuilder{0x03, {{"XM", 'C', 4}, {"X", type, 4}}, {}}.bytes(), kept),
                  DbfError::BadHeader)
            << type;
    }

    // More records than a grade table holds; deleted ones do not count.
    DbfBuilder many{0x03, {{"X", 'C', 1}}, {}};
    many.records.assign(GradeTable::kMaxCount, DbfRecord{{"x"}});
    EXPECT_EQ(Parse(many.bytes(), kept), DbfError::TooLarge);
    EXPECT_EQ(kept.cellTexts(), before);
    many.records[0].deleted = true;
    ASSERT_EQ(Parse(many.bytes(), kept), DbfError::None);
    EXPECT_EQ(kept.rows(), GradeTable::kMaxCount);
}

}  // namespace
}  // namespace scorvane

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::CliPath;
using testing::GbkLines;
using testing::ReadBytes;
using testing::RunProgram;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

// 姓名 学号 语文 for three students.
std::string ClassTable() {
    return GbkLines({"KVL'S Scorvane数据文件",
                     "一班",
                     "4",
                     "4",
                     "王老师",
                     "",
                     "###.##",
                     "  ",
                     "姓名",
                     "学号",
                     "语文",
                     "1",
                     "张三",
                     "01",
                     "80",
                     "2",
                     "李四",
                     "02",
                     "81",
                     "3",
                     "王五",
                     "03",
                     "82"});
}

// The same fields, other students and order, 语文 marks in the nineties.
std::string OtherTable() {
    return GbkLines({"KVL'S Scorvane数据文件", "二班", "3", "4", "", "", "###.##", "  ", "姓名", "学号",
                     "语文", "1", "王五", "03", "93", "2", "张三", "01", "90"});
}

GradeTable Load(const std::string& path) {
    GradeTable t;
    EXPECT_TRUE(ParseDataFile(ReadBytes(path), t)) << path;
    return t;
}

Values Column(const GradeTable& t, int col) {
    Values out;
    for (int r = 1; r < t.rows(); ++r) {
        out.push_back(t.cell(r, col));
    }
    return out;
}

struct CliExchange : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        WriteBytes(dir.file("a.skv"), ClassTable());
        WriteBytes(dir.file("b.skv"), OtherTable());
    }
};

TEST_F(CliExchange, CsvWritesFormulaValuesAndQuotesWhatWouldSplit) {
    WriteBytes(dir.file("f.skv"),
               GbkLines({"KVL'S Scorvane数据文件", "期中,一班", "3", "4", "", "", "###.##", "  ", "姓名",
                         "语文", "总分", "1", "张三,小名", "80", "！公式：cell(?,2)+cell(?,2)/2+0.456", "2",
                         "李四", "", "！公式：cell(?,9)"}));
    auto r = RunProgram(CliPath(), {"csv", dir.file("f.skv"), "-o", dir.file("f.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadBytes(dir.file("f.csv")),
              EncodeGbk("\"期中,一班\"\r\n,  "
                        ",姓名,语文,总分\r\n,1,\"张三,小名\",80,120.46\r\n,2,李四,,公式错误\r\n\r\n"));

    auto missing = RunProgram(CliPath(), {"csv", dir.file("none.skv"), "-o", dir.file("x.csv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(ReadBytes(dir.file("x.csv")), "");
}

TEST_F(CliExchange, ImportCsvFillsTheColumnFromRowOne) {
    WriteBytes(dir.file("m.csv"),
               "\xEF\xBB\xBF"
               "85,\"9,0\"\r\n");
    auto r = RunProgram(CliPath(), {"import-csv", dir.file("a.skv"), dir.file("m.csv"), "--column", "语文",
                                    "-o", dir.file("out.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Column(Load(dir.file("out.skv")), 3), (Values{"85", "9,0", "82"}));

    auto missing = RunProgram(CliPath(), {"import-csv", dir.file("a.skv"), dir.file("none.csv"), "--column",
                                          "3", "-o", dir.file("out2.skv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("文件读取失败！"), std::string::npos);
    auto badColumn = RunProgram(CliPath(), {"import-csv", dir.file("a.skv"), dir.file("m.csv"), "--column",
                                            "9", "-o", dir.file("out2.skv")});
    EXPECT_EQ(badColumn.exitCode, 1);
    EXPECT_EQ(badColumn.err, "找不到字段：9\n");
    EXPECT_EQ(ReadBytes(dir.file("out2.skv")), "");
}

TEST_F(CliExchange, AppendAddsTheOtherTablesStudents) {
    auto r = RunProgram(CliPath(), {"append", dir.file("a.skv"), dir.file("b"), "-o", dir.file("out.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    GradeTable t = Load(dir.file("out.skv"));
    EXPECT_EQ(Column(t, 1), (Values{"张三", "李四", "王五", "王五", "张三"}));
    EXPECT_EQ(Column(t, 0), (Values{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(t.title, "一班");

    WriteBytes(dir.file("bad.skv"), "KVL'S Scorvane数据文件\r\nT\r\n9\r\n");
    auto bad =
        RunProgram(CliPath(), {"append", dir.file("a.skv"), dir.file("bad.skv"), "-o", dir.file("x.skv")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "文件格式不正确!\n");
    EXPECT_EQ(ReadBytes(dir.file("x.skv")), "");
}

TEST_F(CliExchange, MergeByRowOrMatchedOnTheKey) {
    auto byRow = RunProgram(CliPath(), {"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "语文",
                                        "--from", "3", "-o", dir.file("row.skv")});
    ASSERT_EQ(byRow.exitCode, 0) << byRow.err;
    EXPECT_EQ(Column(Load(dir.file("row.skv")), 3), (Values{"93", "90", "82"}));

    auto byKey = RunProgram(CliPath(), {"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "语文",
                                        "--from", "语文", "--key", "学号=学号", "-o", dir.file("key.skv")});
    ASSERT_EQ(byKey.exitCode, 0) << byKey.err;
    EXPECT_EQ(Column(Load(dir.file("key.skv")), 3), (Values{"90", "81", "93"}));

    auto badKey = RunProgram(CliPath(), {"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "3",
                                         "--from", "3", "--key", "学号", "-o", dir.file("x.skv")});
    EXPECT_EQ(badKey.exitCode, 1);
    EXPECT_NE(badKey.err.find("目标字段=来源字段"), std::string::npos);
    auto unknown = RunProgram(CliPath(), {"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "3",
                                          "--from", "3", "--key", "学号=班级", "-o", dir.file("x.skv")});
    EXPECT_EQ(unknown.err, "找不到字段：班级\n");
}

TEST_F(CliExchange, ExtractWritesTheChosenRowsAndFields) {
    auto r = RunProgram(CliPath(), {"extract", dir.file("a.skv"), "--rows", "3, 1-2", "--fields", "语文,1",
                                    "-o", dir.file("out.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    GradeTable t = Load(dir.file("out.skv"));
    EXPECT_EQ(t.title, "一班 导出表");
    EXPECT_EQ(t.cells(),
              (Values{"  ", "姓名", "语文", "1", "张三", "80", "2", "李四", "81", "3", "王五", "82"}));

    ASSERT_EQ(RunProgram(CliPath(), {"extract", dir.file("a.skv"), "--rows", "", "--fields", "2-3", "-o",
                                     dir.file("none.skv")})
                  .exitCode,
              0);
    EXPECT_EQ(Load(dir.file("none.skv")).cells(), (Values{"  ", "学号", "语文"}));

    auto outside = RunProgram(
        CliPath(), {"extract", dir.file("a.skv"), "--rows", "2-4", "--fields", "1", "-o", dir.file("x.skv")});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_EQ(outside.err, "行号超出范围（1-3）：2-4\n");
    auto garbled = RunProgram(
        CliPath(), {"extract", dir.file("a.skv"), "--rows", "2,x", "--fields", "1", "-o", dir.file("x.skv")});
    EXPECT_EQ(garbled.err, "行号列表不正确：2,x\n");
    EXPECT_EQ(ReadBytes(dir.file("x.skv")), "");
}

TEST_F(CliExchange, DbfConvertsATableAndReportsBrokenOnes) {
    // dBASE III, fields XH C(4) and XM C(6), one live record and one deleted.
    std::string dbf(32, '\0');
    dbf[0] = 0x03;
    dbf[4] = 2;
    dbf[8] = 32 + 64 + 1;
    dbf[10] = 11;
    auto field = [](const char* name, int length) {
        std::string d(32, '\0');
        d.replace(0, std::string(name).size(), name);
        d[11] = 'C';
        d[16] = static_cast<char>(length);
        return d;
    };
    dbf += field("XH", 4) + field("XM", 6) + "\x0D";
    dbf += " 01  " + EncodeGbk("张三") + "  ";
    dbf += "*02  " + EncodeGbk("李四") + "  ";
    WriteBytes(dir.file("list.dbf"), dbf);

    auto r = RunProgram(CliPath(), {"dbf", dir.file("list.dbf"), "-o", dir.file("c.skv"), "--title", "名单",
                                    "--teacher", "王老师", "--info", "高一"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.file("c.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "名单", "2", "3", "王老师", "高一", "###.##", "  ", "XH",
                        "XM", "1", "01", "张三"}));

    WriteBytes(dir.file("cut.dbf"), dbf.substr(0, dbf.size() - 4));
    auto cut = RunProgram(CliPath(), {"dbf", dir.file("cut.dbf"), "-o", dir.file("x.skv")});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, "数据库读取发生错误。错误代码：\n4\n");
    EXPECT_EQ(RunProgram(CliPath(), {"dbf", dir.file("a.skv"), "-o", dir.file("x.skv")}).err,
              "数据库读取发生错误。错误代码：\n2\n");
    EXPECT_EQ(ReadBytes(dir.file("x.skv")), "");
}

}  // namespace
}  // namespace scorvane

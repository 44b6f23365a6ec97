#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "main/exchange/dbf_builder.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::MakeTable;
using testing::ReadBytes;
using testing::RunCli;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

struct CliExchange : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        // 姓名 学号 语文 for three students, and another class with two of them in another order.
        ASSERT_TRUE(WriteDataFile(
            MakeTable({"姓名", "学号", "语文"},
                      {{"张三", "01", "80"}, {"李四", "02", "81"}, {"王五", "03", "82"}}, "一班"),
            dir.file("a")));
        ASSERT_TRUE(WriteDataFile(
            MakeTable({"姓名", "学号", "语文"}, {{"王五", "03", "93"}, {"张三", "01", "90"}}, "二班"),
            dir.file("b")));
    }
    // Runs the command, expects success, and returns the column of the table it wrote to out.skv.
    Values Run(std::vector<std::string> args, int col) {
        args.insert(args.end(), {"-o", dir.file("out.skv")});
        auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        GradeTable t;
        EXPECT_TRUE(ParseDataFile(ReadBytes(dir.file("out.skv")), t));
        return testing::Column(t, col);
    }
};

TEST_F(CliExchange, CsvWritesFormulaValuesAndQuotesWhatWouldSplit) {
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "语文", "总分"},
                                        {{"张三,小名", "80", "！公式：cell(?,2)+cell(?,2)/2+0.456"},
                                         {"李四", "", "！公式：cell(?,9)"}},
                                        "期中,一班"),
                              dir.file("f")));
    auto r = RunCli({"csv", dir.file("f.skv"), "-o", dir.file("f.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.file("f.csv")),
              EncodeGbk("\"期中,一班\"\r\n,  "
                        ",姓名,语文,总分\r\n,1,\"张三,小名\",80,120.46\r\n,2,李四,,公式错误\r\n\r\n"));
}

TEST_F(CliExchange, EachCommandWritesItsResult) {
    WriteBytes(dir.file("m.csv"),
               "\xEF\xBB\xBF"
               "85,\"9,0\"\r\n");
    EXPECT_EQ(Run({"import-csv", dir.file("a.skv"), dir.file("m.csv"), "--column", "语文"}, 3),
              (Values{"85", "9,0", "82"}));
    EXPECT_EQ(Run({"append", dir.file("a.skv"), dir.file("b")}, 1),
              (Values{"张三", "李四", "王五", "王五", "张三"}));
    // The other table is found as the first is, its extension in any letter case.
    WriteBytes(dir.file("c.SKV"), ReadBytes(dir.file("b.skv")));
    EXPECT_EQ(Run({"append", dir.file("a.skv"), dir.file("c.SKV")}, 1).size(), 5u);
    EXPECT_EQ(Run({"merge", dir.file("a.skv"), dir.file("c"), "--into", "3", "--from", "3"}, 3),
              (Values{"93", "90", "82"}));
    EXPECT_EQ(Run({"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "语文", "--from", "3"}, 3),
              (Values{"93", "90", "82"}));
    EXPECT_EQ(Run({"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "3", "--from", "语文", "--key",
                   "学号=2"},
                  3),
              (Values{"90", "81", "93"}));
    EXPECT_EQ(Run({"extract", dir.file("a.skv"), "--rows", "3, 1-2", "--fields", "语文,1"}, 2),
              (Values{"80", "81", "82"}));
    EXPECT_EQ(Run({"extract", dir.file("a.skv"), "--rows", "", "--fields", "2-3"}, 1), Values{});

    // dBASE III, one live record and one deleted.
    const std::string dbf =
        testing::DbfBuilder{0x03,
                            {{"XH", 'C', 4}, {"XM", 'C', 6}},
                            {{{"01", EncodeGbk("张三")}}, {{"02", EncodeGbk("李四")}, true}}}
            .bytes();
    WriteBytes(dir.file("list.dbf"), dbf);
    EXPECT_EQ(
        Run({"dbf", dir.file("list.dbf"), "--title", "名单", "--teacher", "王老师", "--info", "高一"}, 2),
        Values{"张三"});
    EXPECT_EQ(ReadBytes(dir.file("out.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "名单", "2", "3", "王老师", "高一", "###.##", "  ", "XH",
                        "XM", "1", "01", "张三"}));
}

TEST_F(CliExchange, BadInputIsSaidAndWritesNothing) {
    WriteBytes(dir.file("bad.skv"), "KVL'S Scorvane数据文件\r\nT\r\n9\r\n");
    WriteBytes(dir.file("cut.dbf"), std::string("\x03\0\0\0\x05", 5) + std::string(40, '\0'));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"csv", dir.file("none.skv")}, "找不到文件："},
        {{"import-csv", dir.file("a.skv"), dir.file("none.csv"), "--column", "3"}, "文件读取失败！"},
        {{"import-csv", dir.file("a.skv"), dir.file("a.skv"), "--column", "9"}, "找不到字段：9\n"},
        {{"append", dir.file("a.skv"), dir.file("bad.skv")}, "文件格式不正确!\n"},
        {{"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "3", "--from", "3", "--key", "学号"},
         "关键字段应写作 目标字段=来源字段：学号\n"},
        {{"merge", dir.file("a.skv"), dir.file("b.skv"), "--into", "3", "--from", "3", "--key", "学号=班级"},
         "找不到字段：班级\n"},
        {{"extract", dir.file("a.skv"), "--rows", "2-4", "--fields", "1"}, "行号超出范围（1-3）：2-4\n"},
        {{"extract", dir.file("a.skv"), "--rows", "2,x", "--fields", "1"}, "行号列表不正确：2,x\n"},
        {{"dbf", dir.file("cut.dbf")}, "数据库读取发生错误。错误代码：\n3\n"},
        {{"dbf", dir.file("a.skv")}, "数据库读取发生错误。错误代码：\n2\n"},
    };
    for (auto [args, err] : cases) {
        args.insert(args.end(), {"-o", dir.file("x.out")});
        auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 1) << args[0];
        EXPECT_EQ(r.err.substr(0, err.size()), err) << args[0];
    }
    EXPECT_EQ(ReadBytes(dir.file("x.out")), "");
}

}  // namespace
}  // namespace scorvane

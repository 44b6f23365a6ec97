// The formula and table-tool commands of scorvane-cli, run as a user runs them.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::RunCli;

class CliFormulaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string total = "！公式：cell(?,2)+cell(?,3)";
        ASSERT_TRUE(WriteDataFile(
            testing::MakeTable({"姓名", "语文", "数学", "总分", "名次"}, {{"张三", "80", "90", total},
                                                                          {"李四", "95", "99", total},
                                                                          {"王五", "60", "缺考", total},
                                                                          {"赵六", "70", "71", total}}),
            dir.file("班级")));
    }

    GradeTable Load(const std::string& path) {
        GradeTable t;
        auto bytes = ReadWholeFile(path);
        EXPECT_TRUE(bytes && ParseDataFile(*bytes, t)) << path;
        return t;
    }

    testing::TempDir dir;
    const std::string table = dir.file("班级.skv");
};

TEST_F(CliFormulaTest, EvalPrintsEachResultAndCarriesAns) {
    auto o = RunCli({"eval", "1/3", "ans*3", "-2+3", "1/0", "ans", "2*3-5+(2^3-5/(6-2))-3+sin(30)"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, "0.333333333333333\n0.999999999999999\n-5\n公式错误\n-5\n5.25\n");
    EXPECT_EQ(RunCli({"eval"}).exitCode, 1);
}

TEST_F(CliFormulaTest, ValuePrintsTheDisplayValue) {
    auto o = RunCli({"value", table, "2", "4"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, "194\n");
    EXPECT_EQ(RunCli({"value", table, "3", "4"}).out, "公式错误\n");
    auto outside = RunCli({"value", table, "5", "1"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_EQ(outside.out, "");
    EXPECT_NE(outside.err.find("不在表格中"), std::string::npos);
    EXPECT_EQ(RunCli({"value", table, "x", "1"}).exitCode, 1);
}

TEST_F(CliFormulaTest, ComputeAndCheckWriteTheirTables) {
    const std::string computed = dir.file("computed.skv");
    auto o = RunCli({"compute", table, "-o", computed});
    ASSERT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.err, "");  // no question on the command line
    GradeTable c = Load(computed);
    EXPECT_EQ(c.cell(1, 4), "170");
    EXPECT_EQ(c.cell(3, 4), "公式错误");

    const std::string checked = dir.file("checked.skv");
    ASSERT_EQ(RunCli({"check", table, "-o", checked}).exitCode, 0);
    EXPECT_EQ(Load(checked).cell(3, 4), "(公式错误)！公式：cell(?,2)+cell(?,3)");
    EXPECT_EQ(RunCli({"compute", table}).exitCode, 1);  // no -o
}

TEST_F(CliFormulaTest, SortWithRanksByTitleOrNumber) {
    const std::string sorted = dir.file("sorted.skv");
    auto o = RunCli({"sort", table, "--by", "总分", "--desc", "--rank-into", "5", "-o", sorted});
    ASSERT_EQ(o.exitCode, 0) << o.err;
    GradeTable s = Load(sorted);
    // 194, 170, 141, then the failed formula.
    EXPECT_EQ(testing::Column(s, 1), (testing::Strings{"李四", "张三", "赵六", "王五"}));
    EXPECT_EQ(testing::Column(s, 5), (testing::Strings{"1", "2", "3", "4"}));

    auto same = RunCli({"sort", table, "--by", "总分", "--rank-into", "4", "-o", sorted});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_NE(same.err.find("排序结果不可写回原字段！"), std::string::npos);
    EXPECT_EQ(RunCli({"sort", table, "--by", "体育", "-o", sorted}).exitCode, 1);
}

TEST_F(CliFormulaTest, ReplaceInBothModes) {
    const std::string out = dir.file("out.skv");
    ASSERT_EQ(RunCli({"replace", table, "--find", "9", "--with", "-9", "-o", out}).exitCode, 0);
    GradeTable r = Load(out);
    EXPECT_EQ(r.cell(1, 3), "-90");
    EXPECT_EQ(r.cell(2, 3), "-9-9");
    ASSERT_EQ(RunCli({"replace", table, "--find", "9", "--with", "x", "--whole", "-o", out}).exitCode, 0);
    EXPECT_EQ(Load(out).cell(1, 3), "90");
    auto empty = RunCli({"replace", table, "--find", "", "--with", "", "-o", out});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("不能都为空"), std::string::npos);
}

}  // namespace
}  // namespace scorvane

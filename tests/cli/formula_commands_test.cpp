// The formula and table-tool commands of scorvane-cli, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

class CliFormulaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GradeTable t;
        t.setHeaderLayout("  |姓名|语文|数学|总分|名次");
        t.setRows(5);
        t.renumber();
        const char* rows[][3] = {
            {"张三", "80", "90"}, {"李四", "95", "99"}, {"王五", "60", "缺考"}, {"赵六", "70", "71"}};
        for (int r = 1; r <= 4; ++r) {
            for (int c = 0; c < 3; ++c) {
                t.setCell(r, c + 1, rows[r - 1][c]);
            }
            t.setCell(r, 4, "！公式：cell(?,2)+cell(?,3)");
        }
        ASSERT_TRUE(WriteDataFile(t, dir.file("班级")));
        table = dir.file("班级.skv");
    }

    Outcome Run(const std::vector<std::string>& args) {
        std::string command = Quote(SCORVANE_BIN_DIR "/scorvane-cli");
        for (const std::string& a : args) {
            command += " " + Quote(a);
        }
        const std::string errFile = dir.file("stderr.txt");
        command += " 2>" + Quote(errFile);
        Outcome o;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) {
            ADD_FAILURE() << "cannot run " << command;
            return o;
        }
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            o.out.append(buffer, n);
        }
        int raw = ::pclose(pipe);
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.err = ReadBytes(errFile);
        return o;
    }

    GradeTable Load(const std::string& path) {
        GradeTable t;
        auto bytes = ReadWholeFile(path);
        EXPECT_TRUE(bytes && ParseDataFile(*bytes, t)) << path;
        return t;
    }

    TempDir dir;
    std::string table;
};

TEST_F(CliFormulaTest, EvalPrintsEachResultAndCarriesAns) {
    Outcome o = Run({"eval", "1/3", "ans*3", "-2+3", "1/0", "ans", "2*3-5+(2^3-5/(6-2))-3+sin(30)"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "0.333333333333333\n0.999999999999999\n-5\n公式错误\n-5\n5.25\n");
    EXPECT_EQ(Run({"eval"}).status, 1);
}

TEST_F(CliFormulaTest, ValuePrintsTheDisplayValue) {
    Outcome o = Run({"value", table, "2", "4"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "194\n");
    EXPECT_EQ(Run({"value", table, "3", "4"}).out, "公式错误\n");
    Outcome outside = Run({"value", table, "5", "1"});
    EXPECT_EQ(outside.status, 1);
    EXPECT_EQ(outside.out, "");
    EXPECT_NE(outside.err.find("不在表格中"), std::string::npos);
    EXPECT_EQ(Run({"value", table, "x", "1"}).status, 1);
}

TEST_F(CliFormulaTest, ComputeAndCheckWriteTheirTables) {
    const std::string computed = dir.file("computed.skv");
    Outcome o = Run({"compute", table, "-o", computed});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");  // no question on the command line
    GradeTable c = Load(computed);
    EXPECT_EQ(c.cell(1, 4), "170");
    EXPECT_EQ(c.cell(3, 4), "公式错误");

    const std::string checked = dir.file("checked.skv");
    ASSERT_EQ(Run({"check", table, "-o", checked}).status, 0);
    GradeTable k = Load(checked);
    EXPECT_EQ(k.cell(3, 4), "(公式错误)！公式：cell(?,2)+cell(?,3)");
    EXPECT_EQ(Run({"compute", table}).status, 1);  // no -o
}

TEST_F(CliFormulaTest, SortWithRanksByTitleOrNumber) {
    const std::string sorted = dir.file("sorted.skv");
    Outcome o = Run({"sort", table, "--by", "总分", "--desc", "--rank-into", "5", "-o", sorted});
    ASSERT_EQ(o.status, 0) << o.err;
    GradeTable s = Load(sorted);
    const char* names[] = {"李四", "张三", "赵六", "王五"};  // 194, 170, 141, then the failed formula
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(s.cell(r, 1), names[r - 1]) << r;
        EXPECT_EQ(s.cell(r, 5), std::to_string(r));
    }

    Outcome same = Run({"sort", table, "--by", "总分", "--rank-into", "4", "-o", sorted});
    EXPECT_EQ(same.status, 1);
    EXPECT_NE(same.err.find("排序结果不可写回原字段！"), std::string::npos);
    EXPECT_EQ(Run({"sort", table, "--by", "体育", "-o", sorted}).status, 1);
}

TEST_F(CliFormulaTest, ReplaceInBothModes) {
    const std::string out = dir.file("out.skv");
    ASSERT_EQ(Run({"replace", table, "--find", "9", "--with", "-9", "-o", out}).status, 0);
    GradeTable r = Load(out);
    EXPECT_EQ(r.cell(1, 3), "-90");
    EXPECT_EQ(r.cell(2, 3), "-9-9");
    ASSERT_EQ(Run({"replace", table, "--find", "9", "--with", "x", "--whole", "-o", out}).status, 0);
    EXPECT_EQ(Load(out).cell(1, 3), "90");
    Outcome empty = Run({"replace", table, "--find", "", "--with", "", "-o", out});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("不能都为空"), std::string::npos);
}

}  // namespace
}  // namespace scorvane

// scorvane-cli lines and borderline on the small grade the core's tests work out by hand.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_codec.h"
#include "main/analysis/line_grade_sample.h"
#include "main/document/data_file.h"
#include "main/workspace/school_info.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::RunCli;
using Strings = std::vector<std::string>;

// 一中/高一 with (1)班 … (4)班 of LineSampleGrade, each class's table 期中 (none in (4)班).
struct CliLines : ::testing::Test {
    testing::TempDir dir;
    std::string grade = dir.file("表格数据/一中/高一");
    std::string out = dir.file("out.skv");
    void SetUp() override {
        ASSERT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班", "(2)班", "(3)班", "(4)班"}}}}, dir.path() + "/"));
        std::filesystem::create_directories(grade + "/(4)班");
        for (const ClassTable& c : testing::LineSampleGrade()) {
            if (c.table) {
                ASSERT_TRUE(WriteDataFile(*c.table, grade + "/" + c.name + "/期中"));
            }
        }
    }
    GradeTable written() const {
        GradeTable t;
        EXPECT_TRUE(ParseDataFile(ReadBytes(out), t));
        return t;
    }
};

TEST_F(CliLines, LinesWritesTheAnalysisOrTheListOfStudentsReachingALine) {
    auto r = RunCli({"lines", grade, "--table", "期中", "--line", "一本=前2", "-o", dir.file("a.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "以下班级没有表格“期中”，未列入上线分析：(4)班\n");
    EXPECT_EQ(ReadBytes(dir.file("a.csv")),
              EncodeGbk("高一 期中 上线分析\r\n,  ,班级,参考人数,一本上线,一本上线率,语文单上线,语文双上线,语文命中率,"
                        "语文贡献率,数学单上线,数学双上线,数学命中率,数学贡献率\r\n"
                        ",1,(1)班,3,1,33.33%,1,1,100.00%,100.00%,1,0,0.00%,0.00%\r\n"
                        ",2,(2)班,4,1,25.00%,1,1,100.00%,100.00%,1,1,100.00%,100.00%\r\n"
                        ",3,(3)班,1,0,0.00%,0,0,,,0,0,,\r\n"
                        ",4,年级,8,2,25.00%,2,2,100.00%,100.00%,2,1,50.00%,50.00%\r\n\r\n"));

    r = RunCli({"lines", grade, "--table", "期中", "--line", "本科=前5", "--line", "一本=170", "--by", "总分",
                "--fields", "数学", "--students", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const GradeTable t = written();
    EXPECT_EQ(t.title, "高一 期中 上线名单");
    EXPECT_EQ(testing::AllRowCells(t), (std::vector<Strings>{{"班级", "姓名", "学号", "总分", "年级名次", "上线", "偏科"},
                                                            {"(1)班", "甲", "01", "170", "1", "一本", "数学"},
                                                            {"(2)班", "戊", "11", "170", "1", "一本", ""},
                                                            {"(1)班", "乙", "02", "165", "3", "本科", ""},
                                                            {"(1)班", "丙", "03", "145", "4", "本科", ""},
                                                            {"(2)班", "己", "12", "145", "4", "本科", "数学"}}));
    EXPECT_EQ(t.classInfo,
              "高一 (1)班、(2)班、(3)班的“期中”，按“总分”，参考 8 人。一本 170 = 总分 170；数学 90。"
              "本科 前5名 = 总分 145；数学 65");
}

TEST_F(CliLines, BorderlineWritesTheStudentsNearTheLine) {
    auto r = RunCli({"borderline", grade, "--table", "期中", "--line", "本科=145", "--below", "15", "--above", "20",
                     "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "以下班级没有表格“期中”，未列入临界生：(4)班\n");
    const GradeTable t = written();
    EXPECT_EQ(t.title, "高一 期中 本科临界生");
    EXPECT_EQ(testing::RowCells(t, 0),
              (Strings{"班级", "姓名", "学号", "总分", "距线", "年级名次", "语文", "数学", "薄弱学科"}));
    EXPECT_EQ(testing::Column(t, 2), (Strings{"丙", "己", "辛", "庚"}));
    EXPECT_EQ(testing::Column(t, 9), (Strings{"", "语文、数学", "", "数学"}));

    r = RunCli({"borderline", grade, "--table", "期中", "--line", "一本=前2", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testing::Column(written(), 2), (Strings{"甲", "乙", "戊"}));  // 150 ≤ total < 180
}

TEST_F(CliLines, BadInputIsToldAndNothingIsWritten) {
    const std::string lines = "lines GRADE_FOLDER --table NAME --line 名称=分数|名称=前N [--line …] [--by FIELD] "
                              "[--fields F1,F2,…] [--students] -o OUT.skv|OUT.csv";
    const Strings six = {"--line", "a=1", "--line", "b=1", "--line", "c=1", "--line", "d=1", "--line", "e=1",
                         "--line", "f=1"};
    std::vector<std::pair<Strings, std::string>> cases = {
        {{"lines", grade, "--line", "一本=1"}, "用法：scorvane-cli " + lines},
        {{"lines", grade, "--table", "期中", "--line", "一本=1", "--rank"}, "未知的选项：--rank\n用法：scorvane-cli " + lines},
        {{"lines", dir.file("没有"), "--table", "期中", "--line", "一本=1"}, "找不到文件夹：" + dir.file("没有")},
        {{"lines", grade, "--table", "期中", "--line", "一本520"}, "无法识别的分数线“一本520”，应写作 一本=520 或 一本=前150！"},
        {{"lines", grade, "--table", "月考", "--line", "一本=1"}, "本年级没有班级有表格“月考”！"},
        {{"lines", grade, "--table", "期中", "--line", "一本=1", "--by", "平均"}, "表格中没有字段“平均”！"},
        {{"lines", grade, "--table", "期中", "--line", "一本=1", "--fields", "语文,物理"}, "表格中没有字段“物理”！"},
        {{"lines", grade, "--table", "期中"}, "请至少设定一条分数线！"},
        {{"lines", grade, "--table", "期中", "--line", "一本=五百"}, "“一本”的分数“五百”不是数！"},
        {{"lines", grade, "--table", "期中", "--line", "一本=前9"}, "“一本”的名次 9 超过了参考人数 8！"},
        {{"lines", grade, "--table", "期中", "--line", "一本=前1.5"}, "“一本”的名次“1.5”必须是大于 0 的整数！"},
        {{"lines", grade, "--table", "期中", "--line", "一本=1", "--line", "一本=2"}, "有两条分数线都叫“一本”！"},
        {{"lines", grade, "--table", "期中", "--line", "=1"}, "第 1 条分数线没有名称！"},
        {{"lines", grade, "--table", "期中", "--line", "特控=171", "--students"}, "没有学生达到所设的分数线。"},
        {{"borderline", grade, "--table", "期中", "--line", "一本=1", "--line", "本科=2"},
         "临界生只能按一条分数线计算，请只给出一个 --line！"},
        {{"borderline", grade, "--table", "期中", "--line", "一本=1", "--below", "-5"},
         "线下分数和线上分数必须是不小于 0 的数！"},
        {{"borderline", grade, "--table", "期中", "--line", "一本=1", "--above", "十"},
         "线下分数和线上分数必须是不小于 0 的数！"},
        {{"borderline", grade, "--table", "期中", "--line", "本科=前5", "--below", "0", "--above", "0"},
         "没有学生在临界范围内。"},
        {{"borderline", grade, "--table", "期中"}, "请至少设定一条分数线！"},
        {{"borderline", grade, "--table", "期中", "--line", "一本=前0"}, "“一本”的名次“0”必须是大于 0 的整数！"},
    };
    Strings tooMany = {"lines", grade, "--table", "期中"};
    tooMany.insert(tooMany.end(), six.begin(), six.end());
    cases.push_back({tooMany, "最多只能设定 5 条分数线！"});
    for (const auto& [args, message] : cases) {
        Strings call = args;
        call.insert(call.end(), {"-o", out});
        auto r = RunCli(call);
        EXPECT_EQ(r.exitCode, 1) << message;
        EXPECT_EQ(r.err, message + "\n");
        EXPECT_FALSE(std::filesystem::exists(out)) << message;
    }
    std::filesystem::create_directories(dir.file("目录.skv"));  // a folder where the file should go
    auto r = RunCli({"lines", grade, "--table", "期中", "--line", "一本=1", "-o", dir.file("目录.skv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("文件保存失败！"), std::string::npos);
}

}  // namespace
}  // namespace scorvane

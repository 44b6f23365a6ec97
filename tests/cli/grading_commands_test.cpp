// scorvane-cli assign (等级赋分), levels (等级制) and report --split (one file a student): their results, worked
// out by hand, and every fault they name before writing nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "support/pdf_files.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using testing::ReadBytes;
using testing::RunCli;
using Strings = std::vector<std::string>;

struct GradingCli : ::testing::Test {
    testing::TempDir dir;
    std::string grade;
    void SetUp() override {
        grade = dir.file("表格数据/一中/高一");
        for (const char* cls : {"(1)班", "(2)班", "(3)班"}) {
            std::filesystem::create_directories(grade + "/" + cls);
        }
        const Strings titles = {"姓名", "学号", "语文", "化学"};
        ASSERT_TRUE(WriteDataFile(MakeTable(titles, {{"甲", "01", "80", "90"}, {"乙", "02", "70", "70"}}),
                                  grade + "/(1)班/期中"));
        ASSERT_TRUE(WriteDataFile(MakeTable(titles, {{"丙", "03", "60", "80"}, {"丁", "04", "50", "缺考"}}),
                                  grade + "/(2)班/期中"));
        ASSERT_TRUE(WriteDataFile(MakeTable(titles, {{"甲", "01", "1", "1"}}), grade + "/(1)班/月考"));
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "学号", "语文", "数学"},
                                            {{"甲", "01", "85", "90"}, {"乙", "02", "缺考", "127.5"}, {"丙", "03", "69.9"}},
                                            "期中"),
                                  dir.file("期中")));
    }
    GradeTable read(const std::string& path) {
        GradeTable t;
        EXPECT_TRUE(ParseDataFile(ReadBytes(path), t)) << path;
        return t;
    }
};

TEST_F(GradingCli, AssignConvertsTheGradesCohortBandByBand) {
    // 化学 90, 70, 80 (丁 缺考): limits 2 and 3, so 甲 and 丙 are 上 (80–90 on 51–100) and 乙 下 (alone: 50).
    // 赋分总分 adds the raw 语文.
    auto r = RunCli({"assign", grade, "--fields", "化学", "--bands", "上=50:100-51,下=50:50-0", "-o", dir.file("a.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "以下班级没有表格“期中”，未列入赋分：(3)班\n");
    EXPECT_EQ(ReadBytes(dir.file("a.csv")),
              EncodeGbk("高一 期中 等级赋分\r\n,  ,班级,姓名,学号,化学原始分,化学等级,化学赋分,赋分总分,年级名次\r\n"
                        ",1,(1)班,甲,01,90,上,100,180,1\r\n,2,(1)班,乙,02,70,下,50,120,2\r\n"
                        ",3,(2)班,丙,03,80,上,51,111,3\r\n,4,(2)班,丁,04,缺考,,,,\r\n\r\n"));
    // The default band table; another exam named; one table as the cohort, a field by its column.
    ASSERT_EQ(RunCli({"assign", grade, "--table", "月考", "--fields", "化学", "-o", dir.file("b.skv")}).exitCode, 0);
    const GradeTable b = read(dir.file("b.skv"));
    EXPECT_EQ(b.title, "高一 月考 等级赋分");
    EXPECT_EQ(b.classInfo.substr(0, b.classInfo.find("；")),
              "高一 (1)班的“月考”，赋分规则：A 15% 100-86，B 35% 85-71，C 35% 70-56，D 13% 55-41，E 2% 40-30");
    EXPECT_EQ(testing::RowCells(b, 1), (Strings{"(1)班", "甲", "01", "1", "B", "85", "86", "1"}));
    ASSERT_EQ(RunCli({"assign", grade + "/(2)班/期中.skv", "--fields", "4", "-o", dir.file("c.skv")}).exitCode, 0);
    EXPECT_EQ(testing::AllRowCells(read(dir.file("c.skv"))),
              (std::vector<Strings>{{"班级", "姓名", "学号", "化学原始分", "化学等级", "化学赋分", "赋分总分", "年级名次"},
                                    {"(2)班", "丙", "03", "80", "B", "85", "145", "1"},
                                    {"(2)班", "丁", "04", "缺考", "", "", "", ""}}));
}

TEST_F(GradingCli, AssignWritesACohortBeyondATablesRowsOnlyAsCsv) {
    for (const char* cls : {"(1)班", "(2)班"}) {
        ASSERT_TRUE(WriteDataFile(testing::MakeClass(16384, cls), grade + "/" + cls + "/联考"));
    }
    auto skv = RunCli({"assign", grade, "--table", "联考", "--fields", "语文", "-o", dir.file("big.skv")});
    EXPECT_EQ(skv.exitCode, 1);
    EXPECT_EQ(skv.err, "等级赋分的结果有 32768 名学生，超过一张表格最多能容纳的 32766 行。写为 .csv 文件则没有此限制。\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("big.skv")));
    ASSERT_EQ(RunCli({"assign", grade, "--table", "联考", "--fields", "语文", "-o", dir.file("big.CSV")}).exitCode, 0);
    const std::string csv = ReadBytes(dir.file("big.CSV"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 32768 + 3);
}

TEST_F(GradingCli, AssignNamesWhatIsWrongAndWritesNothing) {
    const std::string out = dir.file("x.csv");
    const std::string usage = "用法：scorvane-cli assign GRADE_FOLDER|TABLE.skv [--table NAME] --fields F1,F2,… "
                              "[--bands A=15:100-86,B=35:85-71,…] -o OUT.skv|OUT.csv\n";
    std::filesystem::create_directories(dir.file("空/(1)班"));
    const std::vector<std::pair<Strings, std::string>> cases = {
        {{grade, "-o", out}, usage},
        {{grade, "--fields", "化学"}, usage},
        {{"--fields", "化学", "-o", out}, usage},
        {{grade + "/(1)班/期中.skv", "--table", "期中", "--fields", "化学", "-o", out}, usage},
        {{grade, "--fields", "化学", "--bands", "A=60:100-50,B=30:49-0", "-o", out}, "赋分规则各等级的比例之和是 90%，应为 100%！\n"},
        {{grade, "--fields", "化学", "--bands", "A=50:100-50,B=50:60-0", "-o", out},
         "赋分规则第 2 项（B）的赋分区间 60-0 与第 1 项（A）的 100-50 重叠！\n"},
        {{grade, "--fields", "化学", "--bands", "A=100", "-o", out},
         "赋分规则第 1 项“A=100”的写法不正确，应为 等级=比例:最高分-最低分（如 A=15:100-86）！\n"},
        {{dir.file("无"), "--fields", "化学", "-o", out}, "找不到文件：" + dir.file("无") + "\n"},
        {{dir.file("空"), "--fields", "化学", "-o", out}, "本年级的班级中还没有表格！\n"},
        {{grade, "--table", "期末", "--fields", "化学", "-o", out}, "本年级没有班级有表格“期末”！\n"},
        {{grade, "--fields", "物理", "-o", out}, "表格中没有字段“物理”！\n"},
        {{grade, "--fields", "姓名", "-o", out}, "所选字段“姓名”在这些表格中没有成绩。\n"},
        {{grade, "--fields", "化学", "-o", dir.file("期中.skv/x.csv")}, "以下班级没有表格“期中”，未列入赋分：(3)班\n文件保存失败！\n"},
    };
    for (const auto& [args, message] : cases) {
        Strings all{"assign"};
        all.insert(all.end(), args.begin(), args.end());
        auto r = RunCli(all);
        EXPECT_EQ(r.exitCode, 1) << message;
        EXPECT_EQ(r.err, message);
        EXPECT_FALSE(std::filesystem::exists(out)) << message;
    }
}

TEST_F(GradingCli, LevelsGiveEachFieldsLevelOrTheirDistribution) {
    // 语文 of 100: 85 优秀, 缺考 stays, 69.9 合格. 数学 of 150: 90 is 60 % (合格), 127.5 is 85 % (优秀).
    auto r = RunCli({"levels", dir.file("期中.skv"), "--full", "数学=150", "-o", dir.file("l.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.file("l.csv")),
              EncodeGbk("期中 等级\r\n,  ,姓名,学号,语文等级,数学等级\r\n,1,甲,01,优秀,合格\r\n,2,乙,02,缺考,优秀\r\n"
                        ",3,丙,03,合格,\r\n\r\n"));
    // A–E: 85 is B, 69.9 is D; 数学 of 100 here: 90 A, 127.5 above the full marks (said on stderr) is A.
    r = RunCli({"levels", dir.file("期中.skv"), "--scheme", "A=90,B=80,C=70,D=60,E", "--distribution", "-o",
                dir.file("d.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "“数学”有 1 个成绩高于满分 100，请检查满分设置。\n");
    const GradeTable d = read(dir.file("d.skv"));
    EXPECT_EQ(d.title, "期中 等级分布");
    EXPECT_EQ(testing::RowCells(d, 1),
              (Strings{"语文", "2", "0", "0.00%", "1", "50.00%", "0", "0.00%", "1", "50.00%", "0", "0.00%", "1"}));
    EXPECT_EQ(testing::RowCells(d, 2),
              (Strings{"数学", "2", "2", "100.00%", "0", "0.00%", "0", "0.00%", "0", "0.00%", "0", "0.00%", "0"}));
    // In a class folder the class stands first.
    r = RunCli({"levels", grade + "/(1)班/期中.skv", "--fields", "3-4", "-o", dir.file("c.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testing::RowCells(read(dir.file("c.skv")), 1), (Strings{"(1)班", "甲", "01", "良好", "优秀"}));
}

TEST_F(GradingCli, LevelsNameWhatIsWrongAndWriteNothing) {
    const std::string out = dir.file("x.skv");
    const std::vector<std::pair<Strings, std::string>> cases = {
        {{dir.file("期中.skv")},
         "用法：scorvane-cli levels TABLE.skv [--fields F1,F2,…] [--full N | --full F=N,…] "
         "[--scheme 优秀=85,良好=70,合格=60,待合格] [--distribution] -o OUT.skv|OUT.csv\n"},
        {{dir.file("期中.skv"), "--scheme", "优秀=85,良好=90,待合格", "-o", out},
         "等级方案第 2 项（良好）的下限 90 应低于第 1 项（优秀）的 85！\n"},
        {{dir.file("期中.skv"), "--scheme", "优秀=85,待合格=60", "-o", out},
         "等级方案第 2 项（待合格）是最低的等级，不填下限（低于上一等级下限的成绩都属于它）！\n"},
        {{dir.file("期中.skv"), "--fields", "物理", "-o", out}, "表格中没有字段“物理”！\n"},
        {{dir.file("期中.skv"), "--full", "数学=0", "-o", out}, "“数学”的满分必须是大于 0 的数！\n"},
        {{dir.file("无.skv"), "-o", out}, "找不到文件：" + dir.file("无.skv") + "\n"},
        {{dir.file("期中.skv"), "--fields", "语文", "-o", dir.file("期中.skv/x.skv")}, "文件保存失败！\n"},
    };
    for (const auto& [args, message] : cases) {
        Strings all{"levels"};
        all.insert(all.end(), args.begin(), args.end());
        auto r = RunCli(all);
        EXPECT_EQ(r.exitCode, 1) << message;
        EXPECT_EQ(r.err, message);
        EXPECT_FALSE(std::filesystem::exists(out)) << message;
    }
}

TEST_F(GradingCli, ReportSplitWritesAFileAStudentAndReplacesNoneUnasked) {
    const std::string card = std::string(SCORVANE_SOURCE_DIR) + "/examples/等级通知单.rvx";
    ASSERT_EQ(RunCli({"levels", grade + "/(1)班/期中.skv", "-o", dir.file("等级.skv")}).exitCode, 0);
    const std::string folder = dir.file("cards");
    std::filesystem::create_directories(folder);
    const Strings bind = {"--bind", "3=班级", "--bind", "5=姓名", "--bind", "16=语文等级", "--bind", "20=化学等级"};
    Strings args = {"report", dir.file("等级.skv"), card, "--split", folder};
    args.insert(args.end(), bind.begin(), bind.end());
    auto r = RunCli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "已生成 2 个PDF文件\n");
    const std::string first = folder + "/01_甲.pdf";
    EXPECT_EQ(testing::PdfPageCount(first), 1);
    testing::ExpectParts(testing::PdfText(first), {"等级通知单", "(1)班", "甲", "良好", "优秀"}, {"乙", "80", "90"});
    EXPECT_TRUE(std::filesystem::exists(folder + "/02_乙.pdf"));

    // Files of those names stand there now: nothing is written without --force.
    testing::WriteBytes(first, "old");
    std::filesystem::remove(folder + "/02_乙.pdf");
    r = RunCli(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "以下文件已存在，没有写出任何文件（加 --force 覆盖）：01_甲.pdf\n");
    EXPECT_EQ(ReadBytes(first), "old");
    EXPECT_FALSE(std::filesystem::exists(folder + "/02_乙.pdf"));
    args.push_back("--force");
    // A file that cannot be written (a folder stands in its place) stops the writing and is named.
    std::filesystem::create_directory(folder + "/02_乙.pdf");
    r = RunCli(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "文件“02_乙.pdf”写入失败！已生成 1 个PDF文件\n");
    EXPECT_EQ(testing::PdfPageCount(first), 1);  // replaced, whole
    args.insert(args.end(), {"--name", "{姓名}", "--rows", "2-2"});
    ASSERT_EQ(RunCli(args).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(folder + "/乙.pdf"));

    const std::string usage = "用法：scorvane-cli report TABLE.skv TEMPLATE.rvx -o OUT.pdf | --split FOLDER "
                              "[--name PATTERN] [--force] [--bind LABEL=FIELD ...] [--row R | --rows A-B]\n";
    const std::vector<std::pair<Strings, std::string>> cases = {
        {{"--split", folder, "-o", dir.file("x.pdf")}, usage},
        {{"-o", dir.file("x.pdf"), "--name", "{姓名}"}, usage},
        {{"-o", dir.file("x.pdf"), "--force"}, usage},
        {{"--split", dir.file("无")}, "找不到文件夹：" + dir.file("无") + "\n"},
        {{"--split", folder, "--name", "{考号}.pdf"}, "文件名中的字段“考号”在表格中不存在！\n"},
    };
    for (const auto& [options, message] : cases) {
        Strings all = {"report", dir.file("等级.skv"), card};
        all.insert(all.end(), options.begin(), options.end());
        auto bad = RunCli(all);
        EXPECT_EQ(bad.exitCode, 1) << message;
        EXPECT_EQ(bad.err, message);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.pdf")));
}

// The level card prints from the 等级 table of every sample table with one binding list by field titles;
// (3)班 wrote its 期中考试 without 物理, so that binding is left out there (its label prints as it stands).
TEST_F(GradingCli, TheLevelCardPrintsTheLevelsOfEverySampleTable) {
    const std::string examples = std::string(SCORVANE_SOURCE_DIR) + "/examples/";
    for (const char* cls : {"(1)班", "(2)班", "(3)班"}) {
        for (const char* exam : {"第一次月考", "期中考试", "期末考试"}) {
            const std::string table = examples + "表格数据/星河实验中学/高一/" + cls + "/" + exam + ".skv";
            ASSERT_EQ(RunCli({"levels", table, "-o", dir.file("等级.skv")}).exitCode, 0);
            const GradeTable levels = read(dir.file("等级.skv"));
            Strings args = {"report", dir.file("等级.skv"), examples + "等级通知单.rvx", "-o", dir.file("card.pdf"),
                            "--row", "1", "--bind", "3=班级", "--bind", "5=姓名", "--bind", "7=学号"};
            int label = 16;
            for (const char* subject : {"语文", "数学", "英语", "物理", "化学", "生物"}) {
                const std::string field = std::string(subject) + "等级";
                if (std::string(cls) + exam != "(3)班期中考试" || field != "物理等级") {
                    args.insert(args.end(), {"--bind", std::to_string(label) + "=" + field});
                }
                ++label;
            }
            auto r = RunCli(args);
            ASSERT_EQ(r.exitCode, 0) << cls << exam << r.err;
            EXPECT_EQ(r.err, "");
            const std::string text = testing::PdfText(dir.file("card.pdf"));
            for (int c = 1; c <= 3; ++c) {
                EXPECT_NE(text.find(levels.cell(1, c)), std::string::npos) << levels.cell(1, c);
            }
            const bool withoutPhysics = std::string(cls) + exam == "(3)班期中考试";
            EXPECT_EQ(text.find("！引用数据") != std::string::npos, withoutPhysics) << cls << exam;
        }
    }
}

}  // namespace
}  // namespace scorvane

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "main/workspace/school_info.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using testing::ReadBytes;
using testing::RunCli;
using testing::TempDir;
using Strings = std::vector<std::string>;

struct CliAnalysis : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        ASSERT_TRUE(
            WriteDataFile(MakeTable({"姓名", "学号", "语文", "数学"},
                                    {{"张三", "01", "120", "60"}, {"李四", "02", "缺考", "90"}}, "期中"),
                          dir.file("期中")));
    }
};

TEST_F(CliAnalysis, StatsWritesTheFiguresAsTheExportWritesATableAndTheBandsAsATable) {
    auto r = RunCli({"stats", dir.file("期中.skv"), "--fields", "语文", "--full", "语文=150", "--band", "25",
                     "-o", dir.file("s.csv"), "--bands-out", dir.file("b.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 120 of 150: 80 %, at and above the pass line (90), below the excellent one (127.5).
    EXPECT_EQ(
        ReadBytes(dir.file("s.csv")),
        EncodeGbk(
            "期中 成绩统计\r\n,  ,科目,参考人数,平均分,最高分,最低分,标准差,及格人数,及格率,优秀人数,"
            "优秀率,低分人数,低分率,缺考人数\r\n,1,语文,1,120.00,120.00,120.00,0.00,1,100.00%,0,0.00%,0,"
            "0.00%,1\r\n\r\n"));
    GradeTable bands;
    ASSERT_TRUE(ParseDataFile(ReadBytes(dir.file("b.skv")), bands));
    EXPECT_EQ(bands.title, "期中 分数段");
    EXPECT_EQ(bands.cell(0, 3), "75%～100%");
    EXPECT_EQ(bands.cell(1, 3), "1");
}

TEST_F(CliAnalysis, StatsGiveATotalItsFieldsFullMarksAndNameMarksAboveFullMarks) {
    ASSERT_TRUE(
        WriteDataFile(MakeTable({"语文", "数学", "总分"}, {{"120", "60", "！公式：cell(?,1)+cell(?,2)"},
                                                           {"140", "101", "！公式：cell(?,1)+cell(?,2)"}}),
                      dir.file("总分")));
    auto r = RunCli({"stats", dir.file("总分.skv"), "--full", "语文=150", "-o", dir.file("s.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "“数学”有 1 个成绩高于满分 100，请检查满分设置。\n");
    GradeTable s;
    ASSERT_TRUE(ParseDataFile(ReadBytes(dir.file("s.skv")), s));
    EXPECT_EQ(s.classInfo, "满分：语文 150，数学 100，总分 250；及格 60%，优秀 85%，低分 40%");
    // 总分 180 and 241 of 250: both reach the pass line (150), 241 the excellent line (212.5).
    EXPECT_EQ(s.cell(3, 7), "2");
    EXPECT_EQ(s.cell(3, 9), "1");
}

TEST_F(CliAnalysis, BadInputIsToldAndNothingIsWritten) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--fields", "物理"}, "表格中没有字段“物理”！"},
        {{"--full", "数学=0"}, "“数学”的满分必须是大于 0 的数！"},
        {{"--full", "一百"}, "“语文”的满分必须是大于 0 的数！"},
        {{"--low", "120"}, "及格线、优秀线和低分线必须是 0 到 100 之间的数！"},
        {{"--pass", "90"}, "及格线不能高于优秀线！"},
        {{"--band", "0"}, "分数段宽度必须是 1 到 100 之间的数！"},
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> args{"stats", dir.file("期中.skv"), "-o", dir.file("s.skv")};
        args.insert(args.end(), options.begin(), options.end());
        auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, message + "\n");
        EXPECT_FALSE(std::filesystem::exists(dir.file("s.skv")));
    }
}

TEST_F(CliAnalysis, CompareReadsTheClassesOfTheSchoolFileAndNamesThoseWithoutTheTable) {
    const std::string grade = dir.file("表格数据/一中/高一");
    ASSERT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班", "(2)班", "(3)班"}}}}, dir.path() + "/"));
    for (const char* name : {"(1)班", "(3)班"}) {
        std::filesystem::create_directories(grade + "/" + name);
    }
    ASSERT_TRUE(WriteDataFile(MakeTable({"语文"}, {{"90"}, {"70"}}), grade + "/(1)班/期中"));
    ASSERT_TRUE(WriteDataFile(MakeTable({"语文", "物理"}, {{"95", "101"}}), grade + "/(3)班/期中"));
    auto r = RunCli({"compare", grade, "--table", "期中", "-o", dir.file("c.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err,
              "以下班级没有表格“期中”，未列入对比：(2)班\n"
              "以下班级的表格“期中”没有字段“物理”，该字段不含这些班级：(1)班\n"
              "“物理”有 1 个成绩高于满分 100，请检查满分设置。\n");
    GradeTable t;
    ASSERT_TRUE(ParseDataFile(ReadBytes(dir.file("c.skv")), t));
    EXPECT_EQ(t.title, "高一 期中 年级对比");
    EXPECT_EQ(t.cell(0, 5), "语文名次");
    EXPECT_EQ(testing::Column(t, 1), (std::vector<std::string>{"(1)班", "(3)班", "年级"}));
    EXPECT_EQ(testing::Column(t, 2), (std::vector<std::string>{"80.00", "95.00", "85.00"}));
    EXPECT_EQ(testing::Column(t, 5), (std::vector<std::string>{"2", "1", ""}));

    r = RunCli({"compare", grade, "--table", "月考", "-o", dir.file("d.skv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "本年级没有班级有表格“月考”！\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("d.skv")));
}

// A grade of three classes: (1)班 with 月考 and 期中, (2)班 with 期中, (3)班 with none.
struct CliGradeAnalysis : ::testing::Test {
    TempDir dir;
    std::string grade = dir.file("表格数据/一中/高一");
    std::string out = dir.file("out.skv");
    void SetUp() override {
        ASSERT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班", "(2)班", "(3)班"}}}}, dir.path() + "/"));
        std::filesystem::create_directories(grade + "/(3)班");
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "学号", "语文", "总分"},
                                            {{"甲", "01", "80", "160"}, {"乙", "02", "90", "170"}}, "月考"),
                                  grade + "/(1)班/月考"));
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "学号", "语文", "总分"},
                                            {{"乙", "02", "85", "165"}, {"甲", "01", "95", "175"}}, "期中"),
                                  grade + "/(1)班/期中"));
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "语文", "总分"}, {{"丙", "70", "170"}}, "期中"),
                                  grade + "/(2)班/期中"));
    }
    GradeTable written() const {
        GradeTable t;
        EXPECT_TRUE(ParseDataFile(ReadBytes(out), t));
        return t;
    }
};

TEST_F(CliGradeAnalysis, RankProgressHistoryAndZscoreWriteTheirTables) {
    auto r = RunCli({"rank", grade, "--table", "期中", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "以下班级没有表格“期中”，未列入排名：(3)班\n");
    GradeTable t = written();
    EXPECT_EQ(t.title, "高一 期中 年级排名");
    EXPECT_EQ(testing::RowCells(t, 0),
              (Strings{"班级", "姓名", "学号", "语文", "总分", "班级名次", "年级名次"}));
    EXPECT_EQ(testing::Column(t, 2), (Strings{"甲", "丙", "乙"}));
    EXPECT_EQ(testing::Column(t, 7), (Strings{"1", "2", "3"}));

    r = RunCli({"rank", grade, "--table", "期中", "--by", "语文", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testing::Column(written(), 2), (Strings{"甲", "乙", "丙"}));

    r = RunCli({"progress", grade + "/(1)班/月考.skv", grade + "/(1)班/期中", "--key", "姓名", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    t = written();
    EXPECT_EQ(t.title, "期中 进退步（对比 月考）");
    EXPECT_EQ(t.classInfo, "前次“月考”，本次“期中”，按“总分”排名，按“姓名”对应学生；新增 0 人，未参加 0 人");
    EXPECT_EQ(testing::RowCells(t, 1), (Strings{"甲", "2", "1", "1", "160", "175", "15.00"}));

    r = RunCli({"history", grade + "/(1)班/", "--tables", "月考,期中", "--ranks", "-o", dir.file("h.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(
        ReadBytes(dir.file("h.csv")),
        EncodeGbk("(1)班 总分名次 历次成绩\r\n,  ,姓名,学号,月考,期中\r\n,1,甲,01,2,1\r\n,2,乙,02,1,2\r\n\r\n"));

    // 3 is the column of 语文: 80 and 90 lie one deviation (5) either side of the mean 85.
    r = RunCli({"zscore", grade + "/(1)班/月考", "--fields", "3", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testing::RowCells(written(), 2), (Strings{"乙", "02", "1.00", "1.00", "60.00"}));
}

TEST_F(CliGradeAnalysis, TotalsOfOtherSubjectsAreNotedExamsGoInTheOrderHeldAndBlankFieldsAreRefused) {
    // (1)班 adds 语文 and 数学, (2)班 语文 only; (2)班 held 期中 before 月考 although 月考 sorts first.
    const std::string both = "！公式：cell(?,2)+cell(?,3)";
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "80", "90", both}}, "期末"),
                              grade + "/(1)班/期末"));
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "语文", "总分"}, {{"丙", "70", "！公式：cell(?,2)"}}, "期末"),
                              grade + "/(2)班/期末"));
    auto r = RunCli({"rank", grade, "--table", "期末", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "(2)班的总分只加了 语文（没有 数学），与其他班级不可比。\n以下班级没有表格“期末”，未列入排名：(3)班\n");
    EXPECT_EQ(testing::Column(written(), 2), (Strings{"甲", "丙"}));

    namespace fs = std::filesystem;
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "语文", "总分"}, {{"丙", "60", "60"}}, "月考"), grade + "/(2)班/月考"));
    fs::last_write_time(grade + "/(2)班/期中.skv", fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::last_write_time(grade + "/(2)班/期末.skv", fs::file_time_type::clock::now() + std::chrono::hours(1));
    r = RunCli({"history", grade + "/(2)班", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testing::RowCells(written(), 0), (Strings{"姓名", "期中", "月考", "期末"}));

    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "语文", "总分"}, {{"丙", "", "！公式：cell(?,2)"}}, "周考"),
                              grade + "/(2)班/周考"));
    r = RunCli({"rank", grade, "--table", "周考", "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "所选字段“总分”在这些表格中没有成绩。\n");
}

TEST_F(CliGradeAnalysis, BadInputIsToldAndNothingIsWritten) {
    ASSERT_TRUE(
        WriteDataFile(MakeTable({"姓名", "学号", "语文"}, {{"甲", "01", "1"}, {"乙", "01", "2"}}, "周测"),
                      grade + "/(1)班/周测"));
    const std::string first = grade + "/(1)班/月考.skv";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"rank", dir.file("没有"), "--table", "期中"}, "找不到文件夹：" + dir.file("没有")},
        {{"rank", grade, "--table", "期末"}, "本年级没有班级有表格“期末”！"},
        {{"rank", grade, "--table", "期中", "--by", "物理"}, "表格中没有字段“物理”！"},
        {{"rank", grade},
         "用法：scorvane-cli rank GRADE_FOLDER --table NAME [--by FIELD] -o OUT.skv|OUT.csv"},
        {{"progress", first, dir.file("没有.skv")}, "找不到文件：" + dir.file("没有.skv")},
        {{"progress", first, grade + "/(2)班/期中", "--key", "学号"}, "表格“期中”中没有字段“学号”！"},
        {{"progress", first, grade + "/(1)班/期中", "--by", "物理"}, "表格“月考”中没有字段“物理”！"},
        {{"progress", first, grade + "/(1)班/周测", "--by", "语文"},
         "表格“周测”第 1 行和第 2 行的学号都是“01”，无法对应学生！"},
        {{"history", dir.file("没有")}, "找不到文件夹：" + dir.file("没有")},
        {{"history", grade + "/(3)班"}, "本班级还没有表格！"},
        {{"history", grade + "/(1)班", "--tables", "月考,期末"}, "找不到表格“期末”！"},
        {{"history", grade + "/(1)班", "--by", "物理"}, "表格中没有字段“物理”！"},
        {{"history", grade + "/(1)班", "--by", "语文"},
         "表格“周测”第 1 行和第 2 行的学号都是“01”，无法对应学生！"},
        {{"zscore", first, "--fields", "语文,物理"}, "表格中没有字段“物理”！"},
        {{"zscore", first, "--fields", "1"}, "字段“姓名”中没有成绩，不能计算标准分！"},
        {{"zscore", dir.file("没有")}, "找不到文件：" + dir.file("没有")},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> call = args;
        call.insert(call.end(), {"-o", out});
        auto r = RunCli(call);
        EXPECT_EQ(r.exitCode, 1) << args[0] << " " << message;
        EXPECT_EQ(r.err, message + "\n");
        EXPECT_FALSE(std::filesystem::exists(out)) << message;
    }
}

}  // namespace
}  // namespace scorvane

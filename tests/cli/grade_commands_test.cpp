// split and evaluate: a whole grade's marks into the classes' tables, and the grade's teaching evaluated.
#include <gtest/gtest.h>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/text_codec.h"
#include "main/analysis/teaching_evaluation.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/workspace/school_info.h"
#include "main/workspace/utilities.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/temp_dir.h"
#include "support/workbook_builder.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using testing::ReadBytes;
using testing::RunCli;
using Strings = std::vector<std::string>;

std::string inline_(const std::string& ref, const std::string& text) {
    return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}
std::string number(const std::string& ref, int value) {
    return "<c r=\"" + ref + "\"><v>" + std::to_string(value) + "</v></c>";
}

struct CliGrade : ::testing::Test {
    testing::TempDir dir;
    std::string grade() const { return dir.file("表格数据/一中/高一"); }
    std::string table(const std::string& klass, const std::string& name = "期中") const {
        return grade() + "/" + klass + "/" + name + ".skv";
    }
    std::string book() const { return dir.file("高一期中（全年级）.xlsx"); }
    void SetUp() override {
        ASSERT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班", "(2)班"}}}}, dir.path() + "/"));
        ASSERT_TRUE(MakeDirectories(grade()));
        ASSERT_EQ(WriteFieldTemplate(dir.file("表格模版/考试.templet"),
                                     {"  ", {"姓名", "语文", "数学", "总分", "平均"}}),
                  TemplateWriteResult::Written);
        // A marking system's export: a title row, 考号, 班级 as "高一1班", the classes' rows mixed.
        testing::XlsxBook b;
        const Strings rows[] = {{"11", "高一1班", "甲", "80", "90"},
                                {"21", "高一2班", "乙", "70", "60"},
                                {"12", "高一1班", "丙", "缺考", "缺考"},
                                {"31", "高一(3)班", "丁", "50", "40"}};
        std::vector<std::string> sheet = {
            inline_("A1", "高一期中"), inline_("A2", "考号") + inline_("B2", "班级") + inline_("C2", "姓名") +
                                           inline_("D2", "语文") + inline_("E2", "数学")};
        for (size_t i = 0; i < 4; ++i) {
            const std::string r = std::to_string(i + 3);
            const Strings& v = rows[i];
            sheet.push_back(inline_("A" + r, v[0]) + inline_("B" + r, v[1]) + inline_("C" + r, v[2]) +
                            (v[3] == "缺考"
                                 ? inline_("D" + r, v[3]) + inline_("E" + r, v[4])
                                 : number("D" + r, std::stoi(v[3])) + number("E" + r, std::stoi(v[4]))));
        }
        b.sheets = {{"成绩", testing::SheetData(sheet)}};
        testing::WriteBytes(book(), testing::XlsxBytes(b));
    }
    GradeTable read(const std::string& path) const {
        GradeTable t;
        EXPECT_TRUE(ReadDataFile(path, t)) << path;
        return t;
    }
};

TEST_F(CliGrade, SplitMakesEachClassItsTableWithTheTemplatesFormulas) {
    auto r =
        RunCli({"split", grade(), book(), "--class-column", "班级", "--table", "期中", "--template", "考试"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "已为 2 个班级建立表格“期中”，共 3 名学生\n第 6 行的班级“高一(3)班”在学校关系树中不存在，未导入\n");
    const GradeTable one = read(table("(1)班"));
    EXPECT_EQ(one.title, "(1)班期中");
    EXPECT_EQ(testing::AllRowCells(one),
              (std::vector<Strings>{
                  {"考号", "姓名", "语文", "数学", "总分", "平均"},
                  {"11", "甲", "80", "90", "！公式：cell(?,3)+cell(?,4)", "！公式：(cell(?,3)+cell(?,4))/2"},
                  {"12", "丙", "缺考", "缺考", "缺考", "缺考"}}));
    EXPECT_EQ(testing::Column(read(table("(2)班")), 2), (Strings{"乙"}));

    // The sheet by its number and the header row by the spreadsheet's row number.
    r = RunCli({"split", grade(), book(), "--sheet", "1", "--header-row", "2", "--table", "复查"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(read(table("(1)班", "复查")).fieldTitles(), (Strings{"考号", "姓名", "语文", "数学"}));

    // The table name and the class column by default; a new class added with --add-classes.
    r = RunCli({"split", grade(), book(), "--skip-existing", "--add-classes"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "已为 1 个班级建立表格“期中”，共 1 名学生；跳过 2 "
              "个班级\n以下班级已有表格“期中”，已跳过：(1)班、(2)班\n");
    EXPECT_EQ(LoadSchoolInfo(dir.path() + "/")->grades[0].classes, (Strings{"(1)班", "(2)班", "(3)班"}));
    EXPECT_EQ(testing::Column(read(table("(3)班")), 2), (Strings{"丁"}));
    EXPECT_EQ(read(table("(1)班")).cols(), 7);  // kept as the first split wrote it
}

TEST_F(CliGrade, SplitWritesNothingOverExistingTablesUnlessToldAndNeverOverAnOpenOne) {
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"旧"}}), grade() + "/(1)班/期中"));
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"旧"}}), grade() + "/(2)班/期中"));
    const std::string before = ReadBytes(table("(1)班"));
    auto r = RunCli({"split", grade(), book()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(
        r.err,
        "以下班级已有表格“期中”：(1)班、(2)班\n请用 --skip-existing 跳过这些班级，或用 --overwrite 覆盖。\n");
    EXPECT_EQ(ReadBytes(table("(1)班")), before);

    // Another computer has (2)班's table open: --overwrite leaves it and says so.
    testing::WriteBytes(LockFilePath(table("(2)班")), "王老师,教务处-PC,4242,2024-09-02T08:05:09+08:00");
    const std::string open = ReadBytes(table("(2)班"));
    r = RunCli({"split", grade(), book(), "--overwrite"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "已为 1 个班级建立表格“期中”，共 2 名学生；跳过 1 个班级");
    EXPECT_NE(r.out.find("以下班级的表格“期中”已被打开，未覆盖：(2)班（王老师，教务处-PC）"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(table("(2)班")), open);
    EXPECT_EQ(testing::Column(read(table("(1)班")), 2), (Strings{"甲", "丙"}));
}

TEST_F(CliGrade, SplitNamesWhatIsWrongAndWritesNothing) {
    testing::WriteBytes(dir.file("无班级.csv"), "姓名,语文\n甲,80\n");
    testing::WriteBytes(dir.file("别的.csv"), "班级,姓名\n高二1班,甲\n");
    const std::pair<Strings, std::string> cases[] = {
        {{"split", grade()}, "用法"},
        {{"split", grade(), book(), "--skip-existing", "--overwrite"},
         "--skip-existing 与 --overwrite 只能给出一个。\n"},
        {{"split", dir.file("无"), book()}, "找不到文件夹：" + dir.file("无") + "\n"},
        {{"split", grade(), dir.file("无.xlsx")}, "找不到文件：" + dir.file("无.xlsx") + "\n"},
        {{"split", grade(), book(), "--sheet", "第二张"}, "找不到工作表：第二张\n"},
        {{"split", grade(), book(), "--header-row", "0"}, "字段行应为从 1 起的行号：0\n"},
        {{"split", grade(), book(), "--class-column", "班主任"}, "找不到字段：班主任\n"},
        {{"split", grade(), dir.file("无班级.csv")},
         "找不到班级列（班级、班别或班），请用 --class-column 指定。\n"},
        {{"split", grade(), book(), "--table", "期/中"}, std::string(kIllegalFileNameMessage) + "\n"},
        {{"split", grade(), book(), "--table", " "}, "文件名称不能为空！请重新输入。\n"},
        {{"split", grade(), book(), "--template", "无"}, "找不到字段模板：无\n"},
        {{"split", grade(), dir.file("别的.csv")},
         "没有属于高一的班级的学生，请检查班级列。\n第 2 行的班级“高二1班”不是高一的班级\n"},
    };
    for (const auto& [args, err] : cases) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 1) << args.back();
        if (err == "用法") {
            EXPECT_NE(r.err.find("用法"), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err, err) << args.back();
        }
    }
    EXPECT_FALSE(FileExists(table("(1)班")));
    EXPECT_FALSE(DirectoryExists(grade() + "/(1)班"));
}

struct CliEvaluate : CliGrade {
    void SetUp() override {
        CliGrade::SetUp();
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "数学"}, {{"甲", "90"}, {"乙", "60"}}),
                                  grade() + "/(1)班/期末"));
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "数学"}, {{"丙", "30"}}), grade() + "/(2)班/期末"));
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "数学"}, {{"甲", "50"}, {"丙", "70"}}),
                                  grade() + "/(1)班/期中"));
        ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "数学"}, {{"丙", "60"}}), grade() + "/(2)班/期中"));
    }
    void writeTeachers() {
        ASSERT_TRUE(WriteDataFile(MakeTable({"班级", "数学"}, {{"(1)班", "张老师"}, {"(2)班", "张老师"}}),
                                  grade() + "/任课表"));
    }
};

TEST_F(CliEvaluate, ARowPerSubjectAndClassOrPerTeacher) {
    writeTeachers();
    // 期末 数学: (1)班 mean 75, (2)班 30, the grade 60; 期中: (1)班 60, (2)班 60, the grade 60.
    auto r =
        RunCli({"evaluate", grade(), "--table", "期末", "--earlier", "期中", "-o", dir.file("评价.skv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const GradeTable t = read(dir.file("评价.skv"));
    EXPECT_EQ(t.title, "高一 期末 教学评价");
    EXPECT_EQ(testing::RowCells(t, 1),
              (Strings{"数学", "(1)班", "张老师", "2", "75.00", "60.00", "125.00%", "25.00%", "50.00%",
                       "100.00%", "0.00%", "75.00", "1", "100.00%", "25.00%"}));
    EXPECT_EQ(testing::RowCells(t, 2)[6], "50.00%");

    r = RunCli({"evaluate", grade(), "--table", "期末", "--teachers", "--weights", "1,0,0,0", "-o",
                dir.file("汇总.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(DecodeGbk(ReadBytes(dir.file("汇总.csv"))),
              "高一 期末 教师汇总\r\n,  "
              ",学科,任课教师,任课班级,参考人数,平均分,比均率,优秀率,及格率,低分率,综合得分,名次\r\n"
              ",1,数学,张老师,(1)班、(2)班,3,60.00,100.00%,33.33%,66.67%,33.33%,60.00,1\r\n\r\n");
}

TEST_F(CliEvaluate, BadInputNamesWhatIsWrongAndWritesNothing) {
    ASSERT_TRUE(
        WriteDataFile(MakeTable({"姓名", "数学", "备注"}, {{"甲", "90", "好"}}), grade() + "/(1)班/月考"));
    const std::string out = dir.file("o.skv");
    const std::pair<Strings, std::string> cases[] = {
        {{"evaluate", grade(), "--table", "期末"}, "用法"},
        {{"evaluate", dir.file("无"), "--table", "期末", "-o", out},
         "找不到文件夹：" + dir.file("无") + "\n"},
        {{"evaluate", grade(), "--table", "期考", "-o", out}, "本年级没有班级有表格“期考”！\n"},
        {{"evaluate", grade(), "--table", "期末", "--fields", "物理", "-o", out}, "表格中没有字段“物理”！\n"},
        {{"evaluate", grade(), "--table", "期末", "--full", "数学=0", "-o", out},
         "“数学”的满分必须是大于 0 的数！\n"},
        {{"evaluate", grade(), "--table", "期末", "--pass", "120", "-o", out},
         "及格线、优秀线和低分线必须是 0 到 100 之间的数！\n"},
        {{"evaluate", grade(), "--table", "期末", "--weights", "0.4,0.3", "-o", out},
         std::string(kWeightsMessage) + "\n"},
        {{"evaluate", grade(), "--table", "期末", "--earlier", "期考", "-o", out},
         "本年级没有班级有表格“期考”！\n"},
        {{"evaluate", grade(), "--table", "期末", "--teachers", "-o", out},
         "本年级还没有任课表（在年级的右键菜单中选择“任课表”填写），任课教师为空，没有教师汇总。\n"},
        {{"evaluate", grade(), "--table", "月考", "--fields", "备注", "-o", out},
         "所选字段“备注”在这些表格中没有成绩。\n"},
    };
    for (const auto& [args, err] : cases) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 1) << args[3];
        if (err == "用法") {
            EXPECT_NE(r.err.find("用法"), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err, err) << args[3];
        }
    }
    EXPECT_FALSE(FileExists(out));
}

}  // namespace
}  // namespace scorvane

#include <gtest/gtest.h>

#include <cstdlib>

#include "main/document/data_file.h"
#include "support/pdf_files.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ExpectParts;
using testing::PdfText;
using testing::ProgramResult;
using testing::ReadBytes;
using testing::RunCli;
using testing::RunProgram;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kPrintError = "打印错误，请检查 打印机连接！\n";

// A class of `students` with 姓名, 语文, 数学 and the formula field 总分.
GradeTable ClassTable(int students) {
    GradeTable t(students + 1, 5);
    t.setHeaderLayout("  |姓名|语文|数学|总分");
    t.renumber();
    t.title = "期中成绩";
    t.teacher = "王老师";
    t.classInfo = "高一(1)班";
    for (int r = 1; r <= students; ++r) {
        t.setCell(r, 1, "学生" + std::to_string(r));
        t.setCell(r, 2, std::to_string(60 + r % 40));
        t.setCell(r, 3, std::to_string(50 + r % 50));
        t.setCell(r, 4, "！公式：cell(?,2)+cell(?,3)");
    }
    return t;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class PrintingCli : public ::testing::Test {
  protected:
    void SetUp() override {
        table = dir.file("class.skv");
        WriteBytes(table, SerializeDataFile(ClassTable(3)));
        big = dir.file("big.skv");
        WriteBytes(big, SerializeDataFile(ClassTable(129)));
    }
    TempDir dir;
    std::string table;
    std::string big;
};

TEST_F(PrintingCli, PrintMakesAPdfOfValuesWithTheTitleBlockAndTrailer) {
    const std::string out = dir.file("table.pdf");
    ProgramResult r = RunCli({"print", table, "-o", out, "--footer", "第一学期"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // 总分 is a formula: 61 + 51, 62 + 52, 63 + 53.
    ExpectParts(PdfText(out),
                {"期中成绩", "教师： 王老师", "姓名", "学生2", "112", "114", "第一学期", "打印时间："},
                {"公式", "高一(1)班"});
    EXPECT_EQ(testing::PdfPageCount(out), 1);

    ASSERT_EQ(RunCli({"print", table, "-o", out, "--no-teacher", "--class-info", "--title", "新标题",
                      "--no-rules", "--no-fit"})
                  .exitCode,
              0);
    ExpectParts(PdfText(out), {"高一(1)班", "新标题"}, {"王老师"});
}

TEST_F(PrintingCli, PrintChoosesAPageOrARow) {
    const std::string out = dir.file("part.pdf");
    ASSERT_EQ(RunCli({"print", big, "-o", out, "--page", "3"}).exitCode, 0);
    // The title block belongs to page 1, the trailer to the last.
    ExpectParts(PdfText(out), {"学生129", "总分", "打印时间："}, {"学生128", "期中成绩"});

    ASSERT_EQ(RunCli({"print", big, "-o", out, "--row", "5"}).exitCode, 0);
    ExpectParts(PdfText(out), {"学生5", "期中成绩"}, {"学生6"});

    ASSERT_EQ(RunCli({"print", big, "-o", out}).exitCode, 0);
    EXPECT_GE(testing::PdfPageCount(out), 3);
    EXPECT_TRUE(Has(PdfText(out), "学生129"));
}

TEST_F(PrintingCli, PrintRefusesBadChoicesAndReportsOutputFailures) {
    const std::string out = dir.file("x.pdf");
    ProgramResult page = RunCli({"print", big, "-o", out, "--page", "4"});
    EXPECT_EQ(page.exitCode, 1);
    EXPECT_EQ(page.err, "没有第 4 页（每页 64 行，共 3 页）。\n");
    ProgramResult row = RunCli({"print", table, "-o", out, "--row", "0"});
    EXPECT_EQ(row.exitCode, 1);
    EXPECT_EQ(row.err, "没有第 0 行（共 3 行）。\n");
    EXPECT_EQ(RunCli({"print", table, "-o", out, "--page", "1", "--row", "1"}).exitCode, 1);
    EXPECT_EQ(RunCli({"print", table}).exitCode, 1);
    EXPECT_TRUE(ReadBytes(out).empty());

    ProgramResult failed = RunCli({"print", table, "-o", dir.file("no/such/folder/")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err, kPrintError);
    WriteBytes(dir.file("blocker"), "x");
    EXPECT_EQ(RunCli({"print", table, "-o", dir.file("blocker/t.pdf")}).err, kPrintError);
}

// A report card: a ruled line, the title label, two labels to bind and a note.
class ReportCli : public PrintingCli {
  protected:
    void SetUp() override {
        PrintingCli::SetUp();
        WriteBytes(templatePath, testing::GbkLines({"[Information]", "LinesNum=0", "LabelsNum=3", "Page=0",
                                                    "[Lines]", "0=1000,1500,10000,1500,1", "[Labels]",
                                                    "0=成绩通知单 600 3500 黑体 0 0 16 0 0 0",
                                                    "1=！引用数据 2000 3500 宋体 0 0 12 0 0 0",
                                                    "2=！引用数据 3000 3500 宋体 0 0 12 0 0 0",
                                                    "3=家长签名 4000 3500 宋体 0 0 12 0 0 0"}));
    }
    const std::string templatePath = dir.file("card.rvx");
};

TEST_F(ReportCli, OnePagePerRowWithBoundValues) {
    const std::string out = dir.file("cards.pdf");
    ProgramResult r = RunCli({"report", table, templatePath, "-o", out, "--bind", "2=姓名", "--bind", "3=4",
                              "--bind", "家长签名=语文", "--bind", "家长签名=数学"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(testing::PdfPageCount(out), 3);
    // 116: 总分 of student 3, a formula; 53: the last binding of 家长签名 wins, 数学 of student 3.
    ExpectParts(PdfText(out), {"成绩通知单", "学生3", "116", "53"}, {"家长签名", "！引用数据"});

    ASSERT_EQ(RunCli({"report", table, templatePath, "-o", out, "--rows", "2-3"}).exitCode, 0);
    EXPECT_EQ(testing::PdfPageCount(out), 2);
    EXPECT_TRUE(Has(PdfText(out), "！引用数据"));  // unbound: printed as it stands
    ASSERT_EQ(RunCli({"report", table, templatePath, "-o", out, "--row", "2"}).exitCode, 0);
    EXPECT_EQ(testing::PdfPageCount(out), 1);
}

TEST_F(ReportCli, BadArgumentsGetTheirOwnMessages) {
    const std::string out = dir.file("r.pdf");
    auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"report", table, templatePath, "-o", out};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    };
    ProgramResult empty = run({"--rows", "3-2"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "没有要打印的行。\n");
    EXPECT_EQ(run({"--row", "4"}).err, "没有第 4 行（共 3 行）。\n");
    ProgramResult ambiguous = run({"--bind", "！引用数据=姓名"});
    EXPECT_EQ(ambiguous.exitCode, 1);
    EXPECT_TRUE(Has(ambiguous.err, "请用标签的序号"));
    EXPECT_EQ(run({"--bind", "9=姓名"}).err, "找不到标签：9（模板共有 4 个标签）\n");
    EXPECT_EQ(run({"--bind", "2=身高"}).err, "找不到字段：身高\n");
    EXPECT_EQ(run({"--bind", "2"}).exitCode, 1);
    EXPECT_TRUE(ReadBytes(out).empty());

    ProgramResult missing = RunCli({"report", table, dir.file("none.rvx"), "-o", out});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(Has(missing.err, "找不到文件"));
    WriteBytes(dir.file("not.rvx"), "hello\r\n");
    EXPECT_EQ(RunCli({"report", table, dir.file("not.rvx"), "-o", out}).err, "文件格式不正确!\n");
    EXPECT_EQ(RunCli({"report", table, templatePath, "-o", dir.file("no/dir/")}).err, kPrintError);
}

TEST_F(ReportCli, TheExampleReportCardFitsTheSampleFields) {
    GradeTable t(3, 11);
    t.setHeaderLayout("  |姓名|学号|语文|数学|英语|物理|化学|总分|平均|名次");
    t.renumber();
    const char* row[] = {"白雨浩", "20240101", "81", "58", "68", "64", "60", "！公式：cell(?,3)+cell(?,4)",
                         "",       "36"};
    for (int c = 1; c <= 10; ++c) {
        t.setCell(1, c, row[c - 1]);
        t.setCell(2, c, c == 1 ? "郝平然" : row[c - 1]);
    }
    WriteBytes(table, SerializeDataFile(t));
    const std::string card = std::string(SCORVANE_SOURCE_DIR) + "/examples/成绩通知单.rvx";
    std::vector<std::string> args = {"report", table, card, "-o", dir.file("card.pdf")};
    const char* fields[] = {"3=姓名",  "5=学号",  "16=语文", "17=数学", "18=英语",
                            "19=物理", "20=化学", "21=总分", "22=平均", "23=名次"};
    for (const char* f : fields) {
        args.push_back("--bind");
        args.push_back(f);
    }
    ProgramResult r = RunCli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");  // every record of the example parses
    EXPECT_EQ(testing::PdfPageCount(dir.file("card.pdf")), 2);
    ExpectParts(PdfText(dir.file("card.pdf")), {"成绩通知单", "郝平然", "20240101", "139"}, {"！引用数据"});
}

// Width and height of a PNG from its header.
std::pair<int, int> PngSize(const std::string& bytes) {
    auto be = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) |
               (static_cast<unsigned char>(bytes[at + 1]) << 16) |
               (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
    };
    return bytes.size() > 24 ? std::make_pair(be(16), be(20)) : std::make_pair(0, 0);
}

TEST_F(PrintingCli, ChartsAsPreviewPicturesAndAsPrintedPages) {
    const std::string png = dir.file("bar.png");
    ProgramResult r = RunCli({"chart", table, "-o", png, "--type", "bar", "--fields", "语文", "--rows", "1-3",
                              "--max", "120", "--segments", "4"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(png).substr(1, 3), "PNG");
    EXPECT_EQ(PngSize(ReadBytes(png)), std::make_pair(500, 320));

    const std::string bmp = dir.file("line.bmp");
    ASSERT_EQ(RunCli({"chart", table, "-o", bmp, "--type", "line-down", "--fields", "2,3,4", "--rows", "3,1",
                      "--label-field", "姓名", "--min", "-5"})
                  .exitCode,
              0);
    EXPECT_EQ(ReadBytes(bmp).substr(0, 2), "BM");

    const std::string pdf = dir.file("chart.pdf");
    ASSERT_EQ(RunCli({"chart", table, "-o", pdf, "--type", "bar", "--fields", "数学", "--rows", "1,2",
                      "--title", "数学成绩"})
                  .exitCode,
              0);
    ExpectParts(PdfText(pdf), {"学科：数学", "数学成绩", "学生2", "打印时间："});
    EXPECT_EQ(testing::PdfPageCount(pdf), 1);
}

TEST_F(PrintingCli, WithoutMaximumTheChartTakesTheAxisTheChartWindowOffers) {
    // Totals 112 to 116 over the default 100: the axis runs from 100 to 150 (labels 140 … 100).
    const std::string pdf = dir.file("totals.pdf");
    ProgramResult r =
        RunCli({"chart", table, "-o", pdf, "--type", "line-up", "--fields", "总分", "--rows", "1-3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectParts(PdfText(pdf), {"140", "130", "120", "110", "100"}, {"80"});
    // A maximum given keeps the minimum at 0; a minimum at or above the maximum is refused.
    r = RunCli({"chart", table, "-o", pdf, "--type", "line-up", "--fields", "总分", "--rows", "1-3", "--max",
                "200"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectParts(PdfText(pdf), {"160", "120", "80"}, {"140"});
    r = RunCli(
        {"chart", table, "-o", pdf, "--type", "line-up", "--fields", "语文", "--rows", "1", "--min", "100"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "最大值必须大于最小值。\n");
}

TEST_F(PrintingCli, ChartArgumentsAreChecked) {
    auto chart = [&](std::vector<std::string> extra, std::string out = "c.png") {
        std::vector<std::string> args = {"chart", table, "-o", dir.file(out)};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    };
    EXPECT_EQ(chart({"--type", "pie", "--fields", "语文", "--rows", "1"}).exitCode, 1);
    EXPECT_EQ(chart({"--type", "bar", "--fields", "身高", "--rows", "1"}).err, "找不到字段：身高\n");
    EXPECT_EQ(chart({"--type", "bar", "--fields", "语文", "--rows", "4"}).err, "没有第 4 行（共 3 行）。\n");
    EXPECT_EQ(chart({"--type", "bar", "--fields", "语文", "--rows", "1", "--max", "-3"}).exitCode, 1);
    EXPECT_EQ(chart({"--type", "bar", "--fields", "语文", "--rows", "1"}, "c.gif").err,
              "输出文件须为 .pdf、.png 或 .bmp：" + dir.file("c.gif") + "\n");
    WriteBytes(dir.file("blocker"), "x");
    EXPECT_EQ(chart({"--type", "bar", "--fields", "语文", "--rows", "1"}, "blocker/c.png").err, kPrintError);
    // A maximum of 0 becomes 1, as the chart dialog does; the chart is still drawn.
    EXPECT_EQ(chart({"--type", "line-up", "--fields", "语文", "--rows", "1", "--max", "0", "--segments", "0"})
                  .exitCode,
              0);
}

}  // namespace
}  // namespace scorvane

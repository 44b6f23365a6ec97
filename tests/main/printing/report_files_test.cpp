// Report cards one file a student: the names from a pattern, the question before files are replaced, and
// the writing.
#include "main/printing/report_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

Strings Names(const std::vector<ReportFile>& files) {
    Strings names;
    for (const ReportFile& f : files) {
        names.push_back(std::to_string(f.row) + ":" + f.name);
    }
    return names;
}

TEST(ReportFiles, ThePatternOfferedNamesTheStudent) {
    EXPECT_EQ(DefaultReportFilePattern(MakeTable({"姓名", "学号", "语文"}, {})), "{学号}_{姓名}.pdf");
    EXPECT_EQ(DefaultReportFilePattern(MakeTable({"姓名", "语文"}, {})), "{姓名}.pdf");
    EXPECT_EQ(DefaultReportFilePattern(MakeTable({"学号", "语文"}, {})), "{学号}.pdf");
    EXPECT_EQ(DefaultReportFilePattern(MakeTable({"考号", "语文"}, {})), "{考号}.pdf");
}

TEST(ReportFiles, CharactersAFileNameCannotHoldAreReplaced) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"  .王五. ", "王五"},
        {"\t王\r\n五\x7f", "_王__五_"},
        {" . .", ""},
        {"01_张三", "01_张三"},
    };
    for (const auto& [name, safe] : cases) {
        EXPECT_EQ(SafeReportFileName(name), safe) << name;
    }
    // 100 characters of three bytes: cut to 66 whole characters (198 bytes).
    std::string longName;
    for (int i = 0; i < 100; ++i) {
        longName += "王";
    }
    EXPECT_EQ(SafeReportFileName(longName), longName.substr(0, 198));
}

// Two 王五, a student named "王五(2)", one whose name holds a slash, letter cases that differ, an empty
// row and one without a name.
GradeTable Class() {
    return MakeTable({"姓名", "学号"}, {{"王五", "01"},
                                        {"李四", "02"},
                                        {"王五", "03"},
                                        {"王五(2)", "04"},
                                        {"a/b", "05"},
                                        {},
                                        {"Tom", "07"},
                                        {"tom", "08"},
                                        {"", "09"}});
}

TEST(ReportFiles, NamesFromThePatternEqualNamesNumberedEmptyRowsLeftOut) {
    const GradeTable table = Class();
    std::vector<ReportFile> files;
    ASSERT_EQ(ReportFileNames(table, {}, AllReportRows(table), "{姓名}", files), std::nullopt);
    EXPECT_EQ(Names(files), (Strings{"1:王五.pdf", "2:李四.pdf", "3:王五(2).pdf", "4:王五(2)(2).pdf", "5:a_b.pdf",
                                     "7:Tom.pdf", "8:tom(2).pdf", "9:第 9 行.pdf"}));
    ASSERT_EQ(ReportFileNames(table, {}, {2, 4}, "{学号}_{姓名}.PDF", files), std::nullopt);
    EXPECT_EQ(Names(files), (Strings{"2:02_李四.pdf", "3:03_王五.pdf", "4:04_王五(2).pdf"}));
    // The values as the table shows them (a formula's value).
    ASSERT_EQ(ReportFileNames(table, [](int r, int c) { return "R" + std::to_string(r) + "C" + std::to_string(c); },
                              {1, 1}, "成绩 {姓名}.pdf", files),
              std::nullopt);
    EXPECT_EQ(Names(files), (Strings{"1:成绩 R1C1.pdf"}));
}

TEST(ReportFiles, APatternNamingNoFieldOrAnUnknownOneIsRefused) {
    const GradeTable table = Class();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{班级}_{姓名}.pdf", "文件名中的字段“班级”在表格中不存在！"},
        {"{姓名.pdf", "文件名“{姓名.pdf”中的“{”没有对应的“}”！"},
        {"成绩单.pdf", "文件名中至少要有一个字段，如 {姓名}！"},
        {"", "文件名中至少要有一个字段，如 {姓名}！"},
    };
    for (const auto& [pattern, message] : cases) {
        std::vector<ReportFile> files{{1, "kept"}};
        EXPECT_EQ(ReportFileNames(table, {}, AllReportRows(table), pattern, files), message);
        EXPECT_EQ(files.size(), 1U);
    }
}

TEST(ReportFiles, OneQuestionNamesTheFilesThatWouldBeReplaced) {
    testing::TempDir dir;
    const std::vector<ReportFile> files = {{1, "王五.pdf"}, {2, "李四.pdf"}, {3, "张三.pdf"}};
    ASSERT_TRUE(WriteFileAtomically(dir.file("李四.pdf"), "old"));
    ASSERT_TRUE(WriteFileAtomically(dir.file("张三.pdf"), "old"));
    const Strings existing = ExistingReportFiles(dir.path(), files);
    EXPECT_EQ(existing, (Strings{"李四.pdf", "张三.pdf"}));

    testing::ScriptedPrompter prompter;
    prompter.answer(Answer::Cancel).answer(Answer::Yes);
    EXPECT_FALSE(MayReplaceReportFiles(dir.path(), existing, prompter));
    EXPECT_TRUE(MayReplaceReportFiles(dir.path(), existing, prompter));
    EXPECT_TRUE(MayReplaceReportFiles(dir.path(), {}, prompter));  // nothing to ask
    ASSERT_EQ(prompter.calls().size(), 2U);
    EXPECT_EQ(prompter.last().text, "文件夹“" + dir.path() + "”中已有 2 个同名文件：李四.pdf、张三.pdf。\n是否全部覆盖？");
    EXPECT_EQ(prompter.last().title, "询问");
    EXPECT_EQ(prompter.last().captions, (Strings{"覆盖全部(&O)", "取消"}));
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::Cancel);

    Strings many;
    for (int i = 1; i <= 12; ++i) {
        many.push_back(std::to_string(i) + ".pdf");
    }
    EXPECT_EQ(ReplaceReportFilesQuestion("/f", many),
              "文件夹“/f”中已有 12 个同名文件：1.pdf、2.pdf、3.pdf、4.pdf、5.pdf、6.pdf、7.pdf、8.pdf、9.pdf、10.pdf等。\n"
              "是否全部覆盖？");
}

TEST(ReportFiles, EachFileIsWrittenAFileMadeMeanwhileIsLeftAndAFailureStops) {
    testing::TempDir dir;
    const std::vector<ReportFile> files = {{1, "a.pdf"}, {2, "b.pdf"}, {3, "c.pdf"}, {4, "d.pdf"}};
    ASSERT_TRUE(WriteFileAtomically(dir.file("a.pdf"), "agreed"));
    ASSERT_TRUE(WriteFileAtomically(dir.file("b.pdf"), "made meanwhile"));
    Strings written;
    auto write = [&](const std::string& path, int row) {
        written.push_back(std::filesystem::path(path).filename().string() + "@" + std::to_string(row));
        return row != 3;
    };
    const ReportFilesOutcome outcome = WriteReportFiles(dir.path(), files, {"a.pdf"}, write);
    EXPECT_EQ(written, (Strings{"a.pdf@1", "c.pdf@3"}));  // b is left, c fails, d is not tried
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(outcome.appeared, Strings{"b.pdf"});
    EXPECT_EQ(outcome.failed, "c.pdf");
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(ReportFilesSummary(outcome),
              "文件“c.pdf”写入失败！已生成 1 个PDF文件；以下文件在此期间已由其他程序建立，没有覆盖：b.pdf");

    written.clear();
    Strings shown;
    const ReportFilesOutcome stopped = WriteReportFiles(dir.path(), files, {"a.pdf", "b.pdf"}, write,
                                                        [&](int n, int count) {
                                                            shown.push_back(ReportFilesProgressText(n, count));
                                                            return n < 3;
                                                        });
    EXPECT_EQ(written, (Strings{"a.pdf@1", "b.pdf@2"}));
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(shown.back(), "正在生成第 3 个PDF文件，共 4 个...");
    EXPECT_EQ(ReportFilesSummary(stopped), "已生成 2 个PDF文件（已取消其余的文件）");
}

}  // namespace
}  // namespace scorvane

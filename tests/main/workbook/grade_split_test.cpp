#include "main/workbook/grade_split.h"

#include "main/exchange/csv_import.h"
#include "main/workbook/split_templates.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/workspace/new_classes.h"
#include "main/workspace/school_info.h"
#include "support/lock_programs.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/workbook_builder.h"
#include "support/write_faults.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

// A grade's marks as a marking system sends them: 考号, 班级 as each class writes it, 姓名 and two
// subjects; the file shows the students from its row 3 on.
GradeSource Marks() {
    GradeSource source;
    source.table = MakeTable({"考号", "班级", "姓名", "语文", "数学"},
                             {{"001", "高一2班", "乙一", "80", "90"},
                              {"002", "1班", "甲一", "70", "60"},
                              {"003", "高一(13)班", "新一", "50", "50"},
                              {"004", "(2)班", "乙二", "缺考", "缺考"},
                              {"005", "高二1班", "外一", "1", "1"},
                              {"006", "", "无一", "2", "2"},
                              {"007", "01", "甲二", "88", "77"},
                              {"008", "13", "新二", "40", "40"}},
                             "高一期中");
    for (int r = 1; r <= 8; ++r) {
        source.lines.push_back(r + 2);
    }
    source.titled = true;
    return source;
}

// 一中's 高一 with three classes, in a workspace of its own.
class GradeSplitTest : public ::testing::Test {
  protected:
    GradeSplitTest() {
        EXPECT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班", "(2)班", "(3)班"}}}}, workspace()));
        EXPECT_TRUE(MakeDirectories(gradeFolder()));
    }
    std::string workspace() const { return dir.path() + "/"; }
    std::string gradeFolder() const { return workspace() + "表格数据/一中/高一/"; }
    std::string tableFile(const std::string& klass) const { return gradeFolder() + klass + "/期中.skv"; }
    SplitGrade grade() const { return ReadSplitGrade(gradeFolder()).value(); }
    std::optional<GradeTable> written(const std::string& klass) const {
        GradeTable t;
        return ReadDataFile(tableFile(klass), t) ? std::optional<GradeTable>(t) : std::nullopt;
    }
    std::optional<SplitReport> run(bool addClasses = false) {
        const SplitGrade g = grade();
        const SplitPlan plan = PlanGradeSplit(source, 2, g, addClasses);
        return RunGradeSplit(source, LayOutSplit(source, 2, nullptr), plan, g, "期中", me, prompter, status);
    }

    testing::TempDir dir;
    GradeSource source = Marks();
    LockIdentity me = testing::LockProgram("我", "办公室-2", 100);
    testing::ScriptedPrompter prompter;
    testing::RecordingStatus status;
};

TEST_F(GradeSplitTest, RowsGoToTheClassTheirValueNamesInTheFilesOrderAndTheRestAreNamed) {
    const SplitGrade g = grade();
    EXPECT_EQ(g.grade, "高一");
    EXPECT_EQ(g.workspace, workspace());
    EXPECT_EQ(g.school, "一中");
    const SplitPlan plan = PlanGradeSplit(source, 2, g, false);
    ASSERT_EQ(plan.classes.size(), 2u);  // (3)班 has no student
    EXPECT_EQ(plan.classes[0].name, "(1)班");
    EXPECT_EQ(plan.classes[0].rows, (std::vector<int>{2, 7}));
    EXPECT_EQ(plan.classes[1].rows, (std::vector<int>{1, 4}));
    EXPECT_EQ(plan.classes[1].folder, gradeFolder() + "(2)班/");
    EXPECT_EQ(plan.students(), 4);
    EXPECT_TRUE(plan.canAddClasses());
    Strings texts;
    for (const UnmatchedRows& rows : plan.unmatched) {
        texts.push_back(UnmatchedRowsText(rows, "高一"));
    }
    EXPECT_EQ(texts, (Strings{"第 5、10 行的班级“高一(13)班”在学校关系树中不存在",
                              "第 7 行的班级“高二1班”不是高一的班级", "第 8 行没有班级"}));

    // Added, the classes the grade lacks come after its own.
    const SplitPlan adding = PlanGradeSplit(source, 2, g, true);
    ASSERT_EQ(adding.classes.size(), 3u);
    EXPECT_EQ(adding.classes[2].name, "(13)班");
    EXPECT_EQ(adding.classes[2].rows, (std::vector<int>{3, 8}));
    EXPECT_TRUE(adding.classes[2].added);
    EXPECT_EQ(adding.unmatched.size(), 2u);
    EXPECT_FALSE(adding.canAddClasses());
    // No class column: nothing goes anywhere.
    for (const int col : {0, source.table.cols()}) {
        const SplitPlan none = PlanGradeSplit(source, col, g, true);
        EXPECT_TRUE(none.classes.empty() && none.unmatched.empty()) << col;
    }
}

TEST(GradeSplitRows, ManyRowsAreNamedByTheFirstFive) {
    UnmatchedRows rows;
    rows.value = "高二1班";
    rows.lines = {3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(UnmatchedRowsText(rows, "高一"), "第 3、4、5、6、7 行等 7 行的班级“高二1班”不是高一的班级");
    rows.lines.resize(5);
    EXPECT_EQ(UnmatchedRowsText(rows, "高一"), "第 3、4、5、6、7 行的班级“高二1班”不是高一的班级");
}

TEST_F(GradeSplitTest, AClassTableHoldsEveryColumnButTheClassAndTheTemplatesFormulaFields) {
    const SplitPlan plan = PlanGradeSplit(source, 2, grade(), false);
    const GradeTable plain =
        SplitClassTable(source, LayOutSplit(source, 2, nullptr), plan.classes[1], "期中");
    EXPECT_EQ(plain.title, "(2)班期中");
    EXPECT_EQ(testing::AllRowCells(plain), (std::vector<Strings>{{"考号", "姓名", "语文", "数学"},
                                                                 {"001", "乙一", "80", "90"},
                                                                 {"004", "乙二", "缺考", "缺考"}}));
    EXPECT_EQ(plain.cell(2, 0), "2");

    const FieldTemplate fields{"  ", {"姓名", "学号", "语文", "数学", "总分", "平均分", "名次"}};
    const GradeTable t = SplitClassTable(source, LayOutSplit(source, 2, &fields), plan.classes[1], "期中");
    EXPECT_EQ(testing::AllRowCells(t),
              (std::vector<Strings>{{"考号", "姓名", "语文", "数学", "总分", "平均分"},
                                    {"001", "乙一", "80", "90", "！公式：cell(?,3)+cell(?,4)",
                                     "！公式：(cell(?,3)+cell(?,4))/2"},
                                    {"004", "乙二", "缺考", "缺考", "缺考", "缺考"}}));

    // A student who sat one of the subjects has the formulas.
    GradeSource sat = source;
    sat.table.setCell(4, 4, "60");
    EXPECT_EQ(
        testing::RowCells(SplitClassTable(sat, LayOutSplit(sat, 2, &fields), plan.classes[1], "期中"), 2),
        (Strings{"004", "乙二", "60", "缺考", "！公式：cell(?,3)+cell(?,4)",
                 "！公式：(cell(?,3)+cell(?,4))/2"}));
    // An untitled column stays untitled.
    GradeSource untitled = source;
    untitled.table.setCell(0, 1, "");
    EXPECT_EQ(
        SplitClassTable(untitled, LayOutSplit(untitled, 2, nullptr), plan.classes[1], "期中").cell(0, 1), "");

    // A field the sheet has is not added again; without subjects there is nothing to add.
    GradeSource typed = source;
    typed.table.setCell(0, 5, "总分");
    const SplitLayout withTotal = LayOutSplit(typed, 2, &fields);
    ASSERT_EQ(withTotal.formulas.size(), 1u);
    EXPECT_EQ(withTotal.formulas[0].title, "平均分");
    EXPECT_EQ(withTotal.subjects, (std::vector<int>{3}));
    GradeSource names;
    names.table = MakeTable({"姓名", "班级"}, {{"甲", "1班"}});
    EXPECT_TRUE(LayOutSplit(names, 2, &fields).formulas.empty());
    EXPECT_EQ(LayOutSplit(names, 2, &fields).columns, (std::vector<int>{1}));
}

TEST_F(GradeSplitTest, ExistingTablesAreWrittenOnlyAfterOneAnswerForAll) {
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"旧"}}, "旧表"), gradeFolder() + "(1)班/期中"));
    const std::string before = testing::ReadBytes(tableFile("(1)班"));

    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(run().has_value());
    EXPECT_EQ(testing::ReadBytes(tableFile("(1)班")), before);
    EXPECT_FALSE(FileExists(tableFile("(2)班")));
    ASSERT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.questions()[0],
              "以下班级已有表格“期中”：(1)"
              "班\n\n覆盖：用导入的成绩替换这些表格。\n跳过这些班级：保留这些表格，只为其他班级建立表格。");
    EXPECT_EQ(prompter.last().captions, (Strings{"覆盖(&O)", "跳过这些班级(&S)", "取消"}));
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::No);

    prompter.answer(Answer::No);
    std::optional<SplitReport> skipped = run();
    ASSERT_TRUE(skipped);
    EXPECT_EQ(testing::ReadBytes(tableFile("(1)班")), before);
    ASSERT_TRUE(written("(2)班"));
    EXPECT_EQ(testing::Column(*written("(2)班"), 2), (Strings{"乙一", "乙二"}));
    EXPECT_EQ(
        SplitSummary(*skipped),
        "已为 1 个班级建立表格“期中”，共 2 名学生；跳过 1 个班级\n以下班级已有表格“期中”，已跳过：(1)班\n"
        "第 5、10 行的班级“高一(13)班”在学校关系树中不存在，未导入\n第 7 "
        "行的班级“高二1班”不是高一的班级，未导入\n"
        "第 8 行没有班级，未导入");
    EXPECT_EQ(status.texts.back(), "已为 1 个班级建立表格“期中”，共 2 名学生；跳过 1 个班级");
    EXPECT_EQ(status.busyChanges, (std::vector<bool>{true, false}));

    prompter.answer(Answer::Yes);  // both now hold the table
    std::optional<SplitReport> overwritten = run();
    ASSERT_TRUE(overwritten);
    EXPECT_EQ(SplitStatusText(*overwritten), "已为 2 个班级建立表格“期中”，共 4 名学生");
    EXPECT_EQ(prompter.questions().back().rfind("以下班级已有表格“期中”：(1)班、(2)班\n", 0), 0u);
    EXPECT_EQ(written("(1)班")->title, "(1)班期中");
    EXPECT_EQ(testing::Column(*written("(1)班"), 2), (Strings{"甲一", "甲二"}));
    EXPECT_EQ(overwritten->written, (Strings{tableFile("(1)班"), tableFile("(2)班")}));
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(GradeSplitTest, ATableOpenElsewhereIsNeverWrittenOverAndNamed) {
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"旧"}}), gradeFolder() + "(2)班/期中"));
    const std::string before = testing::ReadBytes(tableFile("(2)班"));
    LockAttempt theirs = TakeLock(tableFile("(2)班"), testing::LockProgram("王老师", "办公室-1", 7));
    ASSERT_EQ(theirs.result, LockAttempt::Result::Taken);

    std::optional<SplitReport> report = run();  // nothing to ask: the only existing table is locked
    ASSERT_TRUE(report);
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_EQ(testing::ReadBytes(tableFile("(2)班")), before);
    EXPECT_TRUE(written("(1)班"));
    EXPECT_EQ(report->locked, (Strings{"(2)班（王老师，办公室-1）"}));
    EXPECT_NE(SplitSummary(*report).find(
                  "跳过 1 个班级\n以下班级的表格“期中”已被打开，未覆盖：(2)班（王老师，办公室-1）"),
              std::string::npos);
    // A lock left by a program of this computer that has ended is no one's: the table is written.
    theirs.lock = FileLock();
    LockAttempt stale = TakeLock(tableFile("(2)班"), testing::LockProgram("我", "办公室-2", 55));
    ASSERT_EQ(stale.result, LockAttempt::Result::Taken);
    prompter.answer(Answer::Yes);
    report = run();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->locked.empty());
    EXPECT_EQ(testing::Column(*written("(2)班"), 2), (Strings{"乙一", "乙二"}));
}

TEST_F(GradeSplitTest, AFileChangedOrMadeAfterTheTeacherChoseIsLeftAlone) {
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"旧"}}), gradeFolder() + "(1)班/期中"));
    const SplitGrade g = grade();
    const SplitPlan plan = PlanGradeSplit(source, 2, g, false);
    const std::vector<SplitTarget> targets = InspectSplitTargets(plan, "期中", me);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_TRUE(targets[0].exists);
    EXPECT_FALSE(targets[1].exists);
    EXPECT_EQ(ExistingTableClasses(plan, targets), (Strings{"(1)班"}));
    // Meanwhile another computer saves (1)班's table and makes (2)班's.
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"他人"}}), gradeFolder() + "(1)班/期中"));
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"他人"}}), gradeFolder() + "(2)班/期中"));
    const SplitReport report = WriteSplitTables(source, LayOutSplit(source, 2, nullptr), plan, g, "期中",
                                                targets, ExistingAnswer::Overwrite, me);
    EXPECT_EQ(report.changed, (Strings{"(1)班", "(2)班"}));
    EXPECT_EQ(report.classes, 0);
    EXPECT_EQ(written("(1)班")->cell(1, 1), "他人");
    EXPECT_EQ(written("(2)班")->cell(1, 1), "他人");
}

TEST_F(GradeSplitTest, ClassesTheGradeLacksAreAddedToTheSchoolTreeBeforeTheirTables) {
    std::optional<SplitReport> report = run(true);
    ASSERT_TRUE(report);
    EXPECT_EQ(LoadSchoolInfo(workspace())->grades[0].classes, (Strings{"(1)班", "(2)班", "(3)班", "(13)班"}));
    ASSERT_TRUE(written("(13)班"));
    EXPECT_EQ(testing::Column(*written("(13)班"), 2), (Strings{"新一", "新二"}));
    EXPECT_EQ(report->classes, 3);
    // A school file changed meanwhile is asked about; 取消 writes nothing at all.
    const SplitGrade g = grade();
    ASSERT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班"}}}}, workspace()));
    const std::string before = testing::ReadBytes(tableFile("(1)班"));
    GradeSource more = source;
    more.table.setCell(3, 2, "14");
    prompter.answer(Answer::Yes).answer(Answer::Cancel);  // 覆盖 the existing tables, then 取消
    const SplitPlan plan = PlanGradeSplit(more, 2, g, true);
    EXPECT_FALSE(RunGradeSplit(more, LayOutSplit(more, 2, nullptr), plan, g, "期中", me, prompter, status));
    EXPECT_FALSE(DirectoryExists(gradeFolder() + "(14)班"));
    EXPECT_EQ(testing::ReadBytes(tableFile("(1)班")), before);
    EXPECT_EQ(prompter.questions().back(), kChangedSchoolBeforeAddingQuestion);
    EXPECT_EQ(LoadSchoolInfo(workspace())->grades[0].classes, (Strings{"(1)班"}));
}

TEST(GradeSplitColumns, TheClassColumnChosenAtFirst) {
    const std::pair<Strings, int> cases[] = {
        {{"姓名", "班别", " 班\xE3\x80\x80级 "}, 3},
        {{"班", "班别"}, 2},
        {{"班"}, 1},
        {{"姓名", "班主任"}, -1},
        {{"班级名次", "班 级"}, 2},
    };
    for (const auto& [titles, col] : cases) {
        GradeTable t(2, static_cast<int>(titles.size()) + 1);
        for (size_t i = 0; i < titles.size(); ++i) {
            t.setCell(0, static_cast<int>(i) + 1, titles[i]);
        }
        EXPECT_EQ(DefaultClassColumn(t), col);
    }
}

TEST(GradeSource, TextAWorkbookAndATableAreReadByTheSheetRulesWithTheirRowNumbers) {
    // Comma-separated: a title line, a blank line, the header, then rows numbered 1, 2 in the first column.
    const GradeSource text =
        GradeSourceOfText("高一期中成绩\n\n序号,班级,姓名,语文\n1,1班,甲,80\n\n2,2班,乙,\"7,0\"\n", "全年级");
    ASSERT_TRUE(text.message.empty());
    EXPECT_TRUE(text.titled);
    EXPECT_EQ(text.table.title, "高一期中成绩");
    EXPECT_EQ(testing::AllRowCells(text.table),
              (std::vector<Strings>{{"班级", "姓名", "语文"}, {"1班", "甲", "80"}, {"2班", "乙", "7,0"}}));
    EXPECT_EQ(text.lines, (std::vector<int>{4, 6}));
    const GradeSource untitled = GradeSourceOfText("班级,姓名\n1班,甲\n", "全年级");
    EXPECT_FALSE(untitled.titled);
    EXPECT_EQ(untitled.table.title, "全年级");

    // A workbook: the rows as the spreadsheet numbers them.
    testing::TempDir dir;
    testing::XlsxBook book;
    auto cell = [](const std::string& ref, const std::string& text) {
        return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
    };
    book.sheets = {
        {"Sheet1", testing::SheetData({cell("A1", "高一期末"), "", cell("A3", "班级") + cell("B3", "姓名"),
                                       cell("A4", "高一1班") + cell("B4", "甲"), "",
                                       cell("A6", "高一2班") + cell("B6", "乙")})}};
    testing::WriteBytes(dir.file("全年级.xlsx"), testing::XlsxBytes(book));
    const GradeSource sheet = ReadGradeSource(dir.file("全年级.xlsx"));
    ASSERT_TRUE(sheet.message.empty()) << sheet.message;
    EXPECT_EQ(sheet.lines, (std::vector<int>{4, 6}));
    EXPECT_EQ(OfferedTableName(sheet, dir.file("全年级.xlsx"), "高一"), "期末");

    // A grade table: its students at their row numbers, a formula as the value it shows.
    GradeTable table =
        MakeTable({"班级", "语文", "总分"},
                  {{"1班", "80", "！公式：cell(?,2)+1"}, {}, {"2班", "", "！公式：cell(?,2)"}});
    ASSERT_TRUE(WriteDataFile(table, dir.file("排名")));
    const GradeSource data = ReadGradeSource(dir.file("排名.skv"));
    EXPECT_EQ(testing::AllRowCells(data.table),
              (std::vector<Strings>{{"班级", "语文", "总分"}, {"1班", "80", "81"}, {"2班", "", ""}}));
    EXPECT_EQ(data.lines, (std::vector<int>{1, 3}));
    EXPECT_TRUE(data.titled);
    EXPECT_EQ(OfferedTableName(data, dir.file("排名.skv"), "高一"), "T");
    EXPECT_EQ(ReadGradeSource(dir.file("无.csv")).message, "找不到文件：" + dir.file("无.csv"));
    testing::WriteBytes(dir.file("坏.skv"), "x");
    EXPECT_EQ(ReadGradeSource(dir.file("坏.skv")).message, "文件格式不正确!");
}

TEST(GradeSource, TheTableNameOfferedLeavesTheGradesNameOut) {
    GradeSource source;
    source.table.title = " 高一期中考试 ";
    source.titled = true;
    EXPECT_EQ(OfferedTableName(source, "/x/全年级.xlsx", "高一"), "期中考试");
    source.table.title = "高一";
    EXPECT_EQ(OfferedTableName(source, "/x/全年级.xlsx", "高一"), "高一");
    source.titled = false;
    EXPECT_EQ(OfferedTableName(source, "/x/高一月考.成绩.csv", "高一"), "月考.成绩");
    EXPECT_EQ(GradeSourceKindOf("a.TXT"), GradeSourceKind::Text);
    EXPECT_EQ(GradeSourceKindOf("a.Skv"), GradeSourceKind::DataFile);
    EXPECT_EQ(GradeSourceKindOf("a.ods"), GradeSourceKind::Workbook);
}

TEST(GradeSplitTemplates, TheTemplateChosenAddsATotalOrAnAverageAndSharesMostFields) {
    GradeSource source;
    source.table = MakeTable({"班级", "姓名", "语文", "数学"}, {{"1班", "甲", "80", "90"}});
    const std::vector<OfferedTemplate> templates = {
        {"名单", {"  ", {"班级", "姓名", "语文", "数学"}}},          // adds nothing
        {"简单", {"  ", {"总分"}}},                                  // adds, shares nothing
        {"考试", {"  ", {"姓名", "语文", "总分", "平均"}}},          // adds, shares two
        {"全面", {"  ", {"姓名", "语文", "数学", "平均分"}}},        // adds, shares three
        {"又一", {"  ", {"班级", "姓名", "数学", "总分", "平均"}}},  // as many: the first stays
    };
    EXPECT_EQ(DefaultTemplate(templates, source, 1), 3);
    EXPECT_EQ(DefaultTemplate({templates[0]}, source, 1), -1);
    EXPECT_EQ(DefaultTemplate({}, source, 1), -1);
    const std::pair<const char*, int> titles[] = {
        {"总分", 1}, {"平均", 2}, {"平均分", 2}, {"总成绩", 0}, {"平均数", 0}};
    for (const auto& [title, kind] : titles) {
        EXPECT_EQ(IsTemplateSumTitle(title), kind == 1) << title;
        EXPECT_EQ(IsTemplateAverageTitle(title), kind == 2) << title;
    }

    testing::TempDir dir;
    ASSERT_EQ(WriteFieldTemplate(dir.file("考试.templet"), templates[2].fields),
              TemplateWriteResult::Written);
    testing::WriteBytes(dir.file("坏.templet"), "x");
    const std::vector<OfferedTemplate> offered = OfferedTemplates(dir.path() + "/");
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].name, "考试");
    EXPECT_EQ(offered[0].fields, templates[2].fields);
}

TEST(GradeSplitText, CommaSeparatedLinesKeepTheirPlacesAndQuotedLineBreaks) {
    EXPECT_EQ(ParseCsvRows("a,b\n\n \n\"x\ny\",2\r\nlast"),
              (std::vector<Strings>{{"a", "b"}, {}, {}, {"x\ny", "2"}, {"last"}}));
    EXPECT_EQ(ParseCsvValues("a,b\n\n\"x\ny\",2"), (Strings{"a", "b", "x\ny", "2"}));
}

TEST_F(GradeSplitTest, AGradeTheSchoolFileDoesNotListTakesItsFoldersAsClassesAndAddsNone) {
    ASSERT_TRUE(MakeDirectories(workspace() + "表格数据/一中/高三/甲班"));
    const std::optional<SplitGrade> other = ReadSplitGrade(workspace() + "表格数据/一中/高三");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->grade, "高三");
    EXPECT_EQ(other->folder, workspace() + "表格数据/一中/高三/");
    EXPECT_TRUE(other->workspace.empty());
    ASSERT_EQ(other->classes.size(), 1u);
    EXPECT_EQ(other->classes[0].name, "甲班");
    EXPECT_FALSE(ReadSplitGrade(workspace() + "表格数据/一中/高四"));
    // Its new classes are folders only; the school file stays as it was.
    GradeSource marks;
    marks.table = MakeTable({"班级", "姓名"}, {{"高三2班", "甲"}});
    const std::string school = testing::ReadBytes(workspace() + "SchoolInfo.ini");
    const SplitPlan plan = PlanGradeSplit(marks, 1, *other, true);
    ASSERT_TRUE(
        RunGradeSplit(marks, LayOutSplit(marks, 1, nullptr), plan, *other, "期中", me, prompter, status));
    EXPECT_TRUE(FileExists(workspace() + "表格数据/一中/高三/(2)班/期中.skv"));
    EXPECT_EQ(testing::ReadBytes(workspace() + "SchoolInfo.ini"), school);
}

TEST_F(GradeSplitTest, ATableOpenInThisVeryProgramCountsAsOpenAndATableThatCannotBeWrittenIsNamed) {
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名"}, {{"旧"}}), gradeFolder() + "(1)班/期中"));
    // This program's own lock, though the system does not know it for one of our programs.
    me.programRuns = [](long) { return false; };
    testing::WriteBytes(LockFilePath(tableFile("(1)班")),
                        LockLine({"我", "办公室-2", 100, "2024-09-02T08:05:09+08:00"}));
    ASSERT_EQ(InspectLock(tableFile("(1)班"), me).state, LockState::Stale);
    std::optional<SplitReport> report;
    {
        testing::ScopedWriteFault full(testing::WriteFault::NoSpace);
        report = run();
    }
    ASSERT_TRUE(report);
    EXPECT_EQ(report->locked, (Strings{"(1)班（我，办公室-2）"}));
    EXPECT_EQ(report->failed, (Strings{"(2)班"}));
    EXPECT_EQ(report->classes, 0);
    EXPECT_EQ(SplitSummary(*report).rfind("已为 0 个班级建立表格“期中”，共 0 名学生；跳过 2 个班级\n"
                                          "以下班级的表格“期中”已被打开，未覆盖：(1)班（我，办公室-2）\n"
                                          "以下班级的表格“期中”保存失败：(2)班\n第 5、10 行",
                                          0),
              0u);
    EXPECT_FALSE(FileExists(tableFile("(2)班")));
    EXPECT_EQ(testing::FolderEntries(gradeFolder() + "(2)班"), Strings{});
}

}  // namespace
}  // namespace scorvane

#include "main/printing/table_page_layout.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/recording_surface.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using testing::RecordingStatus;
using testing::RecordingSurface;
using testing::ScriptedPrompter;
using Op = RecordingSurface::Op;

// Recording metrics: "宋体" 9 lines are 225 high, table rows 285; "黑体" 14 lines 350; "宋体" 8 lines 200.
constexpr double kRow = 285;

class TablePageLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        table = GradeTable(130, 4);  // 129 students
        table.setHeaderLayout("  |姓名|语文|总分");
        table.renumber();
        table.teacher = "张老师";
        table.classInfo = "初一(1)班";
        for (int r = 1; r < table.rows(); ++r) {
            table.setCell(r, 3, "！公式：[?,2]");
        }
        source.table = &table;
        source.value = [this](int r, int c) {
            return r > 0 && c > 0 ? "v" + std::to_string(r) + "_" + std::to_string(c) : table.cell(r, c);
        };
        source.columnWidths = {500, 1000, 1000, 1000};
        settings.title = "成绩表";
        settings.printTime = "打印时间：2024/5/3";
    }

    GradeTable table;
    TablePrintSource source;
    TablePrintSettings settings;
};

TEST(TablePrintSettingsTest, AResultOpensThePrintWindowWithItsClassInformationShown) {
    const TablePrintSettings ordinary;
    for (bool result : {false, true}) {
        const TablePrintSettings s = InitialTablePrintSettings(result);
        EXPECT_EQ(s.showClassInfo, result);
        EXPECT_EQ(s.showTeacher, ordinary.showTeacher);
        EXPECT_EQ(s.fitToPaper, ordinary.fitToPaper);
        EXPECT_EQ(s.drawRules, ordinary.drawRules);
    }
}

TEST_F(TablePageLayout, ChoosingPagesAndRows) {
    EXPECT_EQ(PrintPageCount(0), 1);
    EXPECT_EQ(PrintPageCount(64), 1);
    EXPECT_EQ(PrintPageCount(129), 3);
    EXPECT_EQ(PrintPageChoices(129), (std::vector<std::string>{"全部", "1", "2", "3"}));
    EXPECT_EQ(PrintPageChoices(0), (std::vector<std::string>{"全部", "1"}));
    EXPECT_EQ(PrintRowChoices(3), (std::vector<std::string>{"任意", "1", "2", "3"}));

    auto range = [&](int page, int row, bool rowLast = true) {
        TablePrintSettings s;
        s.page = page;
        s.row = row;
        s.rowChosenLast = rowLast;
        PrintRowRange r = TablePrintRows(table, s);
        return std::make_pair(r.first, r.last);
    };
    EXPECT_EQ(range(0, 0), std::make_pair(1, 129));
    EXPECT_EQ(range(2, 0), std::make_pair(65, 128));
    EXPECT_EQ(range(2, 5, true), std::make_pair(5, 5));
    EXPECT_EQ(range(2, 5, false), std::make_pair(65, 128));
    EXPECT_GT(range(0, 130).first, range(0, 130).second);  // no such row: nothing
    EXPECT_EQ(PrintTimeText(2025, 12, 31), "打印时间：2025/12/31");
}

TEST_F(TablePageLayout, PreviewPlacesTitleBlockTableAndTrailerOnATallPicture) {
    settings.showClassInfo = true;
    settings.footer = "期末";
    RecordingSurface picture(RecordingSurface::Kind::Picture);
    RecordingStatus status;
    auto result = PreviewTable(picture, source, settings, status);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.pages, 3);
    EXPECT_EQ(status.texts, (std::vector<std::string>{"正在生成打印预览...", "就绪"}));
    EXPECT_EQ(picture.height(), 3 * 16840);

    const Op& title = picture.textOp("成绩表");
    EXPECT_EQ(title.x1, (11907 - 3 * 280) / 2.0);
    EXPECT_EQ(title.y1, 50);
    EXPECT_EQ(title.font.name, "黑体");
    EXPECT_TRUE(title.font.bold);
    EXPECT_EQ(title.font.size, 14);
    const Op& teacher = picture.textOp("教师： 张老师");
    EXPECT_EQ(teacher.x2, 11907 - 567);
    EXPECT_EQ(teacher.y1, 200);
    EXPECT_EQ(teacher.font.size, 8);

    // The table starts below the title block as it stands on paper (225 + 350 = 575), so that the
    // preview's pages break where the printed ones do; 54 rows a page: (16840 - 567 - 567 - 285) / 285.
    EXPECT_EQ(picture.textOp("姓名").y1, 575 + 30);
    EXPECT_EQ(picture.textOp("v54_1").y1, 575 + kRow + 53 * kRow + 30);
    EXPECT_EQ(picture.textOp("v55_1").y1, 16840 + 567 + kRow + 30);
    EXPECT_EQ(picture.textOp("v129_3").y1, 2 * 16840 + 567 + kRow + 20 * kRow + 30);

    // Grey separators where the second and third pages begin.
    std::vector<double> separators;
    for (const Op& line : picture.ops(Op::Line)) {
        if (line.color == Rgb(128, 128, 128)) {
            EXPECT_EQ(line.x1, 0);
            EXPECT_EQ(line.x2, 11907);
            separators.push_back(line.y1);
        }
    }
    EXPECT_EQ(separators, (std::vector<double>{16840, 2 * 16840}));

    const double tableEnd = 2 * 16840 + 567 + kRow + 21 * kRow;
    const Op& classInfo = picture.textOp("初一(1)班");
    EXPECT_EQ(classInfo.x1, 600);
    EXPECT_EQ(classInfo.y1, tableEnd + 225);
    EXPECT_EQ(classInfo.font.size, 9);
    const Op& footer = picture.textOp("期末");
    EXPECT_EQ(footer.x2, 11907 - 567);
    EXPECT_EQ(footer.y1, tableEnd + 3 * 225);
    const Op& time = picture.textOp("打印时间：2024/5/3");
    EXPECT_EQ(time.x2, 11907 - 567);
    EXPECT_EQ(time.y1, tableEnd + 3 * 225 + 200);
    EXPECT_EQ(time.font.size, 8);
}

TEST_F(TablePageLayout, PaperPutsTheTitleAfterAnEmptyLineAndHonoursClassInformation) {
    settings.showClassInfo = true;
    RecordingSurface printer;
    ScriptedPrompter prompter;
    RecordingStatus status;
    ASSERT_TRUE(PrintTable(printer, source, settings, prompter, status));
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_EQ(status.texts, (std::vector<std::string>{"正在打印...", "就绪"}));
    EXPECT_EQ(printer.pages(), 3);
    EXPECT_EQ(printer.count(Op::EndJob), 1);

    EXPECT_EQ(printer.textOp("成绩表").y1, 225);
    EXPECT_EQ(printer.textOp("教师： 张老师").y1, 300);
    // The title reaches 225 + 350 = 575, below the top margin: the table starts there.
    EXPECT_EQ(printer.textOp("姓名").y1, 575 + 30);
    EXPECT_EQ(printer.textOp("v54_1").page, 0);
    EXPECT_EQ(printer.textOp("v55_1").page, 1);
    EXPECT_EQ(printer.textOp("v55_1").y1, 567 + kRow + 30);
    const Op& classInfo = printer.textOp("初一(1)班");
    EXPECT_EQ(classInfo.page, 2);
    EXPECT_EQ(classInfo.y1, 567 + kRow + 21 * kRow + 225);
    EXPECT_EQ(printer.textOp("打印时间：2024/5/3").page, 2);
    // No separators on paper.
    for (const Op& line : printer.ops(Op::Line)) {
        EXPECT_EQ(line.color, kBlack);
    }
}

// Recording metrics at size 1: an ASCII character is 10 wide, a Chinese one 20.
TEST(WrapToWidth, LinesEndAtTheLastBreakThatFitsElseBetweenCharacters) {
    const std::vector<std::tuple<std::string, double, std::string>> cases = {
        {"一二三四五六七", 60, "一二三\n四五六\n七"},
        {"甲，乙丙丁戊", 60, "甲，\n乙丙丁\n戊"},        // after the comma, then between characters
        {"甲；乙、丙：丁 戊", 80, "甲；乙、\n丙：丁 \n戊"},  // a semicolon, 、, ： and a blank break too
        {"一二三四\n五", 60, "一二三\n四\n五"},        // each line of the text on its own
        {" a一一一", 65, " \na一一\n一"},               // what follows the break is still too wide
        {"一二三", 60, "一二三"},                         // exactly the width
        {"一二", 10, "一\n二"},                          // a character wider than the width stands alone
    };
    for (const auto& [text, width, wrapped] : cases) {
        RecordingSurface surface;
        SurfaceFont font;
        font.size = 1;
        surface.setFont(font);
        EXPECT_EQ(WrapToWidth(surface, text, width), wrapped) << text;
    }
}

// A long 班级信息 (an analysis's ranges and notes) goes on in lines of its own inside the page.
TEST_F(TablePageLayout, LongClassInformationIsWrappedInsideThePage) {
    settings.showClassInfo = true;
    // 宋体 9: a Chinese character is 180 wide; 11907 - 600 - 567 = 10740 hold 59 of them.
    table.classInfo.clear();
    for (int i = 0; i < 100; ++i) {
        table.classInfo += "一";
    }
    RecordingSurface printer;
    LayOutTablePages(printer, PrintTarget::Paper, source, settings);
    std::string first;
    std::string second;
    for (int i = 0; i < 59; ++i) {
        first += "一";
    }
    for (int i = 0; i < 41; ++i) {
        second += "一";
    }
    const Op& line1 = printer.textOp(first);
    const Op& line2 = printer.textOp(second);
    EXPECT_EQ(line1.x1, 600);
    EXPECT_LE(line1.x2, 11907 - 567);
    EXPECT_EQ(line2.x1, 600);
    EXPECT_EQ(line2.y1, line1.y1 + 225);
    EXPECT_EQ(printer.textOp("打印时间：2024/5/3").y1, line2.y1 + 2 * 225);
}

TEST_F(TablePageLayout, ChosenPagesCarryTheTitleBlockFirstAndTheTrailerLast) {
    settings.page = 3;
    RecordingSurface last;
    LayOutTablePages(last, PrintTarget::Paper, source, settings);
    EXPECT_EQ(last.texts(), (std::vector<std::string>{"  ", "姓名", "语文", "总分", "129", "v129_1", "v129_2",
                                                      "v129_3", "打印时间：2024/5/3"}));
    EXPECT_EQ(last.textOp("  ").y1, 567 + 30);

    settings.page = 1;
    RecordingSurface first;
    LayOutTablePages(first, PrintTarget::Paper, source, settings);
    EXPECT_TRUE(first.hasText("成绩表"));
    EXPECT_TRUE(first.hasText("v64_1"));
    EXPECT_FALSE(first.hasText("v65_1"));
    EXPECT_FALSE(first.hasText("打印时间：2024/5/3"));
    EXPECT_EQ(first.pages(), 2);  // 64 rows break after 54
}

TEST_F(TablePageLayout, SingleRowPrintsHeaderAndThatRowWithTheTitleBlock) {
    settings.row = 5;
    RecordingSurface picture(RecordingSurface::Kind::Picture);
    RecordingStatus status;
    PreviewTable(picture, source, settings, status);
    EXPECT_EQ(picture.texts(),
              (std::vector<std::string>{"成绩表", "教师： 张老师", "  ", "姓名", "语文", "总分", "5", "v5_1",
                                        "v5_2", "v5_3", "打印时间：2024/5/3"}));
    EXPECT_EQ(picture.height(), 16840);
}

TEST_F(TablePageLayout, TeacherAndFooterOnlyWhenWantedAndPresent) {
    settings.footer = "   ";
    settings.showTeacher = false;
    RecordingSurface a;
    LayOutTablePages(a, PrintTarget::Paper, source, settings);
    EXPECT_FALSE(a.hasText("教师： 张老师"));
    EXPECT_FALSE(a.hasText("   "));
    EXPECT_FALSE(a.hasText("初一(1)班"));  // class information only when asked for

    settings.showTeacher = true;
    table.teacher.clear();
    RecordingSurface b;
    LayOutTablePages(b, PrintTarget::Paper, source, settings);
    EXPECT_FALSE(b.hasText("教师： "));
    EXPECT_EQ(b.textOp("姓名").y1, 575 + 30);  // the title alone still pushes the table down
}

TEST_F(TablePageLayout, TrailerThatWouldRunOffThePageStartsANewOne) {
    table.setRows(55);  // 54 students fill the first sheet exactly: the table ends at 16250
    settings.showClassInfo = true;
    RecordingSurface printer;
    auto result = LayOutTablePages(printer, PrintTarget::Paper, source, settings);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(printer.textOp("v54_1").page, 0);
    const Op& classInfo = printer.textOp("初一(1)班");
    EXPECT_EQ(classInfo.page, 1);
    EXPECT_EQ(classInfo.y1, 567 + 225);

    settings.showClassInfo = false;  // 16250 + 225 + 200 still fits
    RecordingSurface fits;
    EXPECT_EQ(LayOutTablePages(fits, PrintTarget::Paper, source, settings).pages, 1);
    EXPECT_EQ(fits.textOp("打印时间：2024/5/3").y1, 16250 + 225);
}

TEST_F(TablePageLayout, NoFitKeepsGridWidthsAndNoRulesDrawsNoLines) {
    settings.fitToPaper = false;
    settings.drawRules = false;
    RecordingSurface picture(RecordingSurface::Kind::Picture);
    RecordingStatus status;
    PreviewTable(picture, source, settings, status);
    EXPECT_EQ(picture.count(Op::Line), 0);
    EXPECT_EQ(picture.textOp("语文").x1, 567 + 500 + 1000 + 60);
    settings.fitToPaper = true;
    RecordingSurface fitted(RecordingSurface::Kind::Picture);
    PreviewTable(fitted, source, settings, status);
    EXPECT_DOUBLE_EQ(fitted.textOp("语文").x1, 567 + 10773.0 * 1500 / 3500 + 60);
}

TEST_F(TablePageLayout, ThePlansPageBreakFieldGivesEachValueItsOwnPages) {
    GradeTable classes(5, 3);
    classes.setHeaderLayout("  |班级|姓名");
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"(1)班", "甲"}, {"(1)班", "乙"}, {"(2)班", "丙"}, {"(3)班", "丁"}};
    for (int r = 1; r <= 4; ++r) {
        classes.setCell(r, 1, rows[static_cast<size_t>(r - 1)].first);
        classes.setCell(r, 2, rows[static_cast<size_t>(r - 1)].second);
    }
    source.table = &classes;
    source.value = {};
    source.columnWidths = {500, 1000, 1000};
    RecordingSurface whole;
    EXPECT_EQ(LayOutTablePages(whole, PrintTarget::Paper, source, settings).pages, 1);
    classes.printPlan.pageBreakField = "班级";
    RecordingSurface printer;
    EXPECT_EQ(LayOutTablePages(printer, PrintTarget::Paper, source, settings).pages, 3);
    EXPECT_EQ(printer.textOp("乙").page, 0);
    EXPECT_EQ(printer.textOp("丙").page, 1);
    EXPECT_EQ(printer.textOp("丁").page, 2);
    EXPECT_EQ(printer.textOp("丙").y1, 567 + kRow + 30);
}

TEST_F(TablePageLayout, AWideTablePrintsItsColumnGroupsInSectionsOneBelowTheOther) {
    // 班级 A B C D, the groups A B and C D: 1500 + 8000 fit the paper (10773), the whole 17500 does not.
    GradeTable wide(2, 6);
    wide.setHeaderLayout("  |班级|A|B|C|D");
    wide.setCell(1, 1, "(1)班");
    wide.printPlan.columnGroups = {"A", "C"};
    source.table = &wide;
    source.value = {};
    source.columnWidths = {500, 1000, 4000, 4000, 4000, 4000};
    RecordingSurface printer;
    EXPECT_EQ(LayOutTablePages(printer, PrintTarget::Paper, source, settings).pages, 1);
    std::vector<double> tops;
    for (const Op& op : printer.ops(Op::TextInRect)) {
        if (op.text == "班级") {
            tops.push_back(op.y1);
        }
    }
    // Below the title block (575): the first section's header and row, an empty line, the second's.
    EXPECT_EQ(tops, (std::vector<double>{575 + 30, 575 + 2 * kRow + 225 + 30}));
    EXPECT_EQ(printer.textOp("C").y1, tops[1]);
    EXPECT_DOUBLE_EQ(printer.textOp("A").x1, 567 + 10773.0 * 1500 / 9500 + 60);

    // A section that would not fit the rest of the page but fits a page of its own begins the next one:
    // two sections of R rows take 1370 + 570 R twips below the title block, which fits up to R = 26.
    const std::vector<std::tuple<int, int, double>> cases = {{26, 0, 575 + 27 * kRow + 225 + 30},
                                                             {27, 1, 567 + 30}};
    for (const auto& [rows, page, top] : cases) {
        wide.setRows(rows + 1);
        RecordingSurface sections;
        LayOutTablePages(sections, PrintTarget::Paper, source, settings);
        EXPECT_EQ(sections.textOp("C").page, page) << rows;
        EXPECT_EQ(sections.textOp("C").y1, top) << rows;
    }
    // A section longer than a page follows at once when its header and first row fit: 60 rows take the
    // first page (54) and 6 of the next, ending at 2562.
    wide.setRows(61);
    RecordingSurface long1;
    EXPECT_EQ(LayOutTablePages(long1, PrintTarget::Paper, source, settings).pages, 3);
    EXPECT_EQ(long1.textOp("C").page, 1);
    EXPECT_EQ(long1.textOp("C").y1, 2562 + 225 + 30);

    settings.fitToPaper = false;  // at the grid's widths the table prints whole
    RecordingSurface unfitted;
    LayOutTablePages(unfitted, PrintTarget::Paper, source, settings);
    EXPECT_EQ(unfitted.textOp("C").y1, 575 + 30);
}

TEST_F(TablePageLayout, PrinterFailureIsReportedOnce) {
    RecordingSurface printer;
    printer.failAtPage(1);
    ScriptedPrompter prompter;
    RecordingStatus status;
    EXPECT_FALSE(PrintTable(printer, source, settings, prompter, status));
    ASSERT_EQ(prompter.messages(), (std::vector<std::string>{"打印错误，请检查 打印机连接！"}));
    EXPECT_EQ(prompter.calls()[0].title, "打印错误");
    EXPECT_EQ(prompter.calls()[0].icon, Icon::Error);
    EXPECT_FALSE(printer.hasText("v55_1"));  // drawing stopped at the failed sheet
}

}  // namespace
}  // namespace scorvane

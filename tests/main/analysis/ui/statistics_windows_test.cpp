// The statistics window of a table (成绩统计) and the grade comparison of the school tree's pop-up
// menu: their defaults, a refused entry, and the results opened as new unsaved table windows.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/analysis/ui/statistics_dialog.h"
#include "main/workspace/ui/frame_fixture.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;

class StatisticsWindowsTest : public testing::FrameTest {
  protected:
    // What the windows remember is each test's own.
    StatisticsWindowsTest() { forget(); }
    ~StatisticsWindowsTest() override { forget(); }
    static void forget() { QSettings("KVL'S Scorvane", "KVL'S Scorvane").remove("Statistics"); }

    void writeExam(const std::string& path, const Strings& chinese, const Strings& maths) {
        GradeTable t(static_cast<int>(chinese.size()) + 1, 5);
        t.title = "期中";
        t.setHeaderLayout("  |姓名|学号|语文|数学");
        for (size_t r = 0; r < chinese.size(); ++r) {
            t.setCell(static_cast<int>(r) + 1, 1, "学生" + std::to_string(r));
            t.setCell(static_cast<int>(r) + 1, 2, "2024" + std::to_string(r));
            t.setCell(static_cast<int>(r) + 1, 3, chinese[r]);
            t.setCell(static_cast<int>(r) + 1, 4, maths[r]);
        }
        t.renumber();
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        ASSERT_TRUE(WriteDataFile(t, path));
    }

    static QStringList column(QTableWidget* list, int col) {
        QStringList out;
        for (int r = 0; r < list->rowCount(); ++r) {
            out << list->item(r, col)->text();
        }
        return out;
    }

    static Strings row(const GradeTable& t, int r) {
        Strings out;
        for (int c = 1; c < t.cols(); ++c) {
            out.push_back(t.cell(r, c));
        }
        return out;
    }
};

TEST_F(StatisticsWindowsTest, StatisticsWindowOffersTheDefaultsAndOpensTwoUnsavedTables) {
    start();
    writeExam(dir.file("期中"), {"80", "缺考", "90"}, {"100", "60", "110"});
    TableWindow* exam = window->openTable(dir.file("期中"));
    ASSERT_NE(exam, nullptr);
    EXPECT_EQ(exam->action("menuStatistics")->text(), "成绩统计(&J)...");
    prompter.clear();
    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmStatistics");
            auto& s = static_cast<StatisticsDialog&>(d);
            AnalysisOptionsPanel* o = s.options();
            // Only the fields of marks are offered.
            EXPECT_EQ(column(o->fieldList(), 0), (QStringList{"语文", "数学"}));
            EXPECT_EQ(o->tickedFields(), (Strings{"语文", "数学"}));
            EXPECT_EQ(column(o->fieldList(), 1), (QStringList{"100", "100"}));
            EXPECT_EQ(o->passBox()->text() + o->excellentBox()->text() + o->lowBox()->text() +
                          o->bandWidthBox()->text(),
                      "60854010");
            // A pass line above the excellent line is refused and the window stays.
            o->passBox()->setText("90");
            s.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"及格线不能高于优秀线！"});
            EXPECT_FALSE(s.result());
            o->passBox()->setText("60");
            // 数学 is out of 120 (typed into its row); the box for all then leaves it alone.
            o->fieldList()->item(1, 1)->setText("120");
            o->fullMarksBox()->setText("150");
            o->fullMarksBox()->setText("100");
            EXPECT_EQ(column(o->fieldList(), 1), (QStringList{"100", "120"}));
            s.okButton()->click();
        })
        .then([&](QDialog& d) { static_cast<StatisticsDialog&>(d).cancelButton()->click(); });
    exam->action("menuStatistics")->trigger();
    ASSERT_EQ(window->tables().size(), 3);
    const Document& figures = window->tables()[1]->document();
    const Document& bands = window->tables()[2]->document();
    EXPECT_EQ(window->activeTable(), window->tables()[2]);
    EXPECT_EQ(window->tables()[1]->caption(), "期中 成绩统计");
    EXPECT_TRUE(figures.modified() && figures.table.filePath.empty());
    EXPECT_EQ(bands.table.title, "期中 分数段");
    EXPECT_TRUE(bands.modified() && bands.table.filePath.empty());
    // 数学 100 60 110 of 120: pass at 72, excellent at 102, low below 48.
    EXPECT_EQ(row(figures.table, 2), (Strings{"数学", "3", "90.00", "110.00", "60.00", "21.60", "2", "66.67%",
                                              "1", "33.33%", "0", "0.00%", "0"}));
    EXPECT_EQ(row(bands.table, 1), (Strings{"语文", "0", "1", "1", "0", "0", "0", "0", "0", "0", "0", "0"}));

    // Cancelled: no table opens.
    exam->action("menuStatistics")->trigger();
    EXPECT_EQ(window->tables().size(), 3);
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(StatisticsWindowsTest, TotalsTakeTheirFieldsFullMarksTypedMarksAreRememberedAndMarksAboveAreNamed) {
    start();
    GradeTable t = testing::MakeTable(
        {"姓名", "语文", "数学", "总分", "平均"},
        {{"甲", "140", "90", "！公式：cell(?,2)+cell(?,3)", "！公式：(cell(?,2)+cell(?,3))/2"},
         {"乙", "120", "101", "！公式：cell(?,2)+cell(?,3)", "！公式：(cell(?,2)+cell(?,3))/2"}});
    ASSERT_TRUE(WriteDataFile(t, dir.file("期中")));
    TableWindow* exam = window->openTable(dir.file("期中"));
    ASSERT_NE(exam, nullptr);
    prompter.clear();
    dialogs.then([&](QDialog& d) {
        AnalysisOptionsPanel* o = static_cast<StatisticsDialog&>(d).options();
        EXPECT_EQ(column(o->fieldList(), 1), (QStringList{"100", "100", "200", "100"}));
        // 语文 is out of 150: the total and the average follow, the box for all leaves it alone.
        o->fieldList()->item(0, 1)->setText("150");
        EXPECT_EQ(column(o->fieldList(), 1), (QStringList{"150", "100", "250", "125"}));
        o->fullMarksBox()->setText("110");
        EXPECT_EQ(column(o->fieldList(), 1), (QStringList{"150", "110", "260", "130"}));
        o->fullMarksBox()->setText("100");
        // 数学 101 passes 100: named, and 返回修改 keeps the window.
        prompter.answer(Answer::No);
        static_cast<StatisticsDialog&>(d).okButton()->click();
        EXPECT_EQ(prompter.questions(), Strings{"“数学”有 1 个成绩高于满分 100，请检查满分设置。"});
        ASSERT_FALSE(prompter.calls().empty());
        EXPECT_EQ(prompter.calls().back().buttons, Buttons::ContinueOrChange);
        EXPECT_FALSE(static_cast<StatisticsDialog&>(d).result());
        prompter.answer(Answer::Yes);
        static_cast<StatisticsDialog&>(d).okButton()->click();
    });
    exam->action("menuStatistics")->trigger();
    ASSERT_EQ(window->tables().size(), 3);
    EXPECT_EQ(window->tables()[1]->document().table.classInfo.rfind(
                  "满分：语文 150，数学 100，总分 250，平均 125；", 0),
              0u);

    // Next time 语文's full marks are offered again, in the comparison too.
    dialogs.then([&](QDialog& d) {
        AnalysisOptionsPanel* o = static_cast<StatisticsDialog&>(d).options();
        EXPECT_EQ(column(o->fieldList(), 1), (QStringList{"150", "100", "250", "125"}));
        static_cast<StatisticsDialog&>(d).cancelButton()->click();
    });
    exam->action("menuStatistics")->trigger();
    // 月考 was held before 期中.
    ASSERT_TRUE(WriteDataFile(testing::MakeTable({"姓名", "语文"}, {{"甲", "80"}}), dir.file("月考")));
    std::filesystem::last_write_time(dir.file("月考.skv"),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    GradeComparisonDialog compare("高一", {{"(1)班", dir.path() + "/"}}, prompter);
    ASSERT_EQ(compare.tableBox()->currentText(), "期中（1 个班）");
    EXPECT_EQ(column(compare.options()->fieldList(), 1), (QStringList{"150", "100", "250", "125"}));
    // The latest exam is chosen first, also after another one was compared.
    compare.tableBox()->setCurrentIndex(1);
    compare.okButton()->click();
    ASSERT_TRUE(compare.result());
    GradeComparisonDialog again("高一", {{"(1)班", dir.path() + "/"}}, prompter);
    EXPECT_EQ(again.tableBox()->currentText(), "期中（1 个班）");
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(StatisticsWindowsTest, GradePopUpComparesTheClassesAndNamesThoseWithoutTheTable) {
    writeSchool();
    writeExam(dir.file("表格数据/一中/高一/(1)班/期中"), {"80", "90"}, {"70", "缺考"});
    writeExam(dir.file("表格数据/一中/高一/(2)班/月考"), {"50"}, {"50"});
    // 月考 was held before 期中.
    std::filesystem::last_write_time(dir.file("表格数据/一中/高一/(2)班/月考.skv"),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    MainWindow& w = start();
    QAction* compare = w.action("menuGradeCompare");
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(compare->text(), "年级成绩对比(&G)...");
    // Only on a grade; the Menu key opens the pop-up at the current node as a right press does.
    w.treeRightPressed(item("Grade0Class0"), QPoint(10, 10));
    EXPECT_FALSE(compare->isEnabled());
    w.treePopup()->close();
    w.tree()->setCurrentItem(item("Grade0"));
    QTest::keyClick(w.tree(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(w.treePopup()->isVisible());
    EXPECT_TRUE(compare->isEnabled());
    w.treePopup()->close();

    dialogs.then([&](QDialog& d) {
        ASSERT_EQ(d.objectName(), "frmGradeCompare");
        auto& g = static_cast<GradeComparisonDialog&>(d);
        ASSERT_EQ(g.tableBox()->count(), 2);
        EXPECT_EQ(g.tableBox()->itemText(0), "期中（1 个班）");
        EXPECT_EQ(g.tableBox()->itemText(1), "月考（1 个班）");
        EXPECT_EQ(g.options()->tickedFields(), (Strings{"语文", "数学"}));
        EXPECT_EQ(g.options()->bandWidthBox(), nullptr);
        g.okButton()->click();
    });
    compare->trigger();
    EXPECT_EQ(prompter.messages(), Strings{"以下班级没有表格“期中”，未列入对比：(2)班"});
    ASSERT_EQ(w.tables().size(), 1);
    const GradeTable& t = w.tables()[0]->document().table;
    EXPECT_EQ(t.title, "高一 期中 年级对比");
    EXPECT_EQ(row(t, 1),
              (Strings{"(1)班", "85.00", "100.00%", "50.00%", "1", "70.00", "100.00%", "0.00%", "1"}));
    EXPECT_EQ(row(t, 2),
              (Strings{"年级", "85.00", "100.00%", "50.00%", "", "70.00", "100.00%", "0.00%", ""}));
    EXPECT_TRUE(w.tables()[0]->document().modified());

    // A grade whose classes hold no table: a message and no window.
    prompter.clear();
    w.treeRightPressed(item("Grade1"), QPoint(10, 10));
    w.treePopup()->close();
    compare->trigger();
    EXPECT_EQ(prompter.messages(), Strings{"本年级的班级中还没有表格！"});
    EXPECT_TRUE(dialogs.exhausted());
}

}  // namespace
}  // namespace scorvane

// The windows of the analyses over several tables: 年级排名 and 历次成绩 from the school tree's pop-up
// menu, 进退步分析 and 标准分 from a table window's 成绩表 menu. Each offers its defaults, tells a
// refusal and stays, opens its table as a new unsaved table window, and cancels with Escape.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/exam_order.h"
#include "main/analysis/ui/exam_history_dialog.h"
#include "main/analysis/ui/exam_order_dialog.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/analysis/ui/exam_progress_dialog.h"
#include "main/analysis/ui/grade_ranking_dialog.h"
#include "main/analysis/ui/standard_scores_dialog.h"
#include "main/workspace/ui/frame_fixture.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::AllRowCells;
using testing::MakeTable;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

class AnalysisWindowsTest : public testing::FrameTest {
  protected:
    // A table of 一中/高一/<cls>, `hoursOld` hours old.
    void writeIn(const std::string& cls, const std::string& name, const GradeTable& table, int hoursOld = 0) {
        const std::string path = dir.file("表格数据/一中/高一/" + cls + "/" + name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        ASSERT_TRUE(WriteDataFile(table, path));
        std::filesystem::last_write_time(
            path + ".skv", std::filesystem::file_time_type::clock::now() - std::chrono::hours(hoursOld));
    }

    // Opens the tree's pop-up on the node `key` from the keyboard and closes it again.
    void selectNode(const QString& key) {
        window->tree()->setCurrentItem(item(key));
        QTest::keyClick(window->tree(), Qt::Key_Menu);
        window->treePopup()->close();
    }

    // A step that presses Escape: the window closes without a table.
    static void escape(QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }

    // The window's controls that Tab reaches, in Tab order from the one that takes the focus when the
    // window opens.
    static QList<QWidget*> tabOrder(QWidget* window) {
        QList<QWidget*> order;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
                order << w;
            }
        }
        return order;
    }

    // True when the entry's "&X" key is no other entry's in its menu.
    static bool ownKey(const QAction* entry) {
        auto key = [](const QString& text) {
            const qsizetype at = text.indexOf('&');
            return at >= 0 && at + 1 < text.size() ? text.mid(at + 1, 1).toUpper() : QString();
        };
        int same = 0;
        for (const QAction* a : qobject_cast<QMenu*>(entry->parent())->actions()) {
            same += key(a->text()) == key(entry->text()) ? 1 : 0;
        }
        return !key(entry->text()).isEmpty() && same == 1;
    }

    const GradeTable& newest() { return window->tables().back()->document().table; }
};

TEST_F(AnalysisWindowsTest, GradeRankingOffersTheTablesMostHeldFirstAndTellsTheClassesLeftOut) {
    writeSchool();
    writeIn("(1)班", "月考", MakeTable({"姓名", "语文", "总分"}, {{"甲", "80", "170"}, {"乙", "90", "150"}}));
    writeIn("(2)班", "月考", MakeTable({"姓名", "语文"}, {{"丙", "90"}}));
    writeIn("(1)班", "期中", MakeTable({"姓名", "语文", "总分"}, {{"甲", "70", "140"}, {"乙", "85", "160"}}));
    MainWindow& w = start();
    QAction* rank = w.action("menuGradeRank");
    ASSERT_NE(rank, nullptr);
    EXPECT_EQ(rank->text(), "年级排名(&R)...");
    EXPECT_TRUE(ownKey(rank));
    selectNode("Grade0Class0");
    EXPECT_FALSE(rank->isEnabled());
    selectNode("Grade0");
    EXPECT_TRUE(rank->isEnabled());

    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmGradeRank");
            auto& g = static_cast<GradeRankingDialog&>(d);
            ASSERT_EQ(g.tableBox()->count(), 2);
            EXPECT_EQ(g.tableBox()->itemText(0), "月考（2 个班）");
            EXPECT_EQ(g.tableBox()->itemText(1), "期中（1 个班）");
            // 总分 is not in every class's 月考: the first field with marks.
            EXPECT_EQ(g.fieldBox()->currentText(), "语文");
            EXPECT_EQ(tabOrder(&g),
                      (QList<QWidget*>{g.tableBox(), g.fieldBox(), g.okButton(), g.cancelButton()}));
            EXPECT_TRUE(g.okButton()->isDefault());
            // The tables are read again on 确定: gone since, the ranking is refused and the window stays.
            std::filesystem::rename(dir.file("表格数据/一中/高一/(1)班/月考.skv"), dir.file("月考.skv"));
            std::filesystem::rename(dir.file("表格数据/一中/高一/(2)班/月考.skv"), dir.file("月考2.skv"));
            g.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"本年级没有班级有表格“月考”！"});
            EXPECT_FALSE(g.result());
            g.tableBox()->setCurrentIndex(1);
            EXPECT_EQ(g.fieldBox()->currentText(), "总分");
            prompter.clear();
            g.okButton()->click();
        })
        .then(escape);
    rank->trigger();
    EXPECT_EQ(prompter.messages(), Strings{"以下班级没有表格“期中”，未列入排名：(2)班"});
    ASSERT_EQ(w.tables().size(), 1);
    EXPECT_EQ(newest().title, "高一 期中 年级排名");
    EXPECT_EQ(AllRowCells(newest()), (Rows{{"班级", "姓名", "语文", "总分", "班级名次", "年级名次"},
                                           {"(1)班", "乙", "85", "160", "1", "1"},
                                           {"(1)班", "甲", "70", "140", "2", "2"}}));
    EXPECT_TRUE(w.tables()[0]->document().modified() && newest().filePath.empty());

    rank->trigger();
    EXPECT_EQ(w.tables().size(), 1);
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(AnalysisWindowsTest, ExamHistoryListsTheClasssTablesTickedInExamOrderToReorderAndUntick) {
    writeSchool();
    writeIn("(1)班", "期末", MakeTable({"姓名", "语文"}, {{"甲", "70"}, {"乙", "90"}}), 0);
    writeIn("(1)班", "期中", MakeTable({"姓名", "语文"}, {{"甲", "80"}, {"乙", "80"}}), 50);
    writeIn("(1)班", "月考", MakeTable({"姓名", "语文"}, {{"乙", "60"}, {"丙", "50"}}), 100);
    MainWindow& w = start();
    QAction* history = w.action("menuClassHistory");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->text(), "历次成绩(&H)...");
    EXPECT_TRUE(ownKey(history));
    selectNode("Grade0");
    EXPECT_FALSE(history->isEnabled());
    selectNode("Grade0Class0");
    EXPECT_TRUE(history->isEnabled());

    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmExamHistory");
            auto& h = static_cast<ExamHistoryDialog&>(d);
            // Held first to last, although the tree lists 期末 before 期中.
            EXPECT_EQ(h.chosenTables(), (Strings{"月考", "期中", "期末"}));
            EXPECT_EQ(h.fieldBox()->currentText(), "语文");
            EXPECT_FALSE(h.ranksCheck()->isChecked());
            EXPECT_EQ(tabOrder(&h),
                      (QList<QWidget*>{h.tableList(), h.upButton(), h.downButton(), h.fieldBox(),
                                       h.ranksCheck(), h.okButton(), h.cancelButton()}));
            // 月考 moved down twice from the keyboard, then unticked with the space bar; 期中 and 期末
            // swapped with the buttons.
            QTest::keyClick(h.tableList(), Qt::Key_Down, Qt::ControlModifier);
            QTest::keyClick(h.tableList(), Qt::Key_Down, Qt::ControlModifier);
            EXPECT_EQ(h.chosenTables(), (Strings{"期中", "期末", "月考"}));
            QTest::keyClick(h.tableList(), Qt::Key_Space);
            h.tableList()->setCurrentRow(1);
            h.upButton()->click();
            h.downButton()->click();
            // Nothing ticked is refused and the window stays.
            for (int r : {0, 1}) {
                h.tableList()->item(r)->setCheckState(Qt::Unchecked);
            }
            h.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"请勾选需要并排的表格！"});
            EXPECT_FALSE(h.result());
            for (int r : {0, 1}) {
                h.tableList()->item(r)->setCheckState(Qt::Checked);
            }
            h.ranksCheck()->setChecked(true);
            h.okButton()->click();
        })
        .then(escape);
    history->trigger();
    ASSERT_EQ(w.tables().size(), 1);
    EXPECT_EQ(newest().title, "(1)班 语文名次 历次成绩");
    // 期中: 甲 and 乙 tie at 1; 期末: 乙 1, 甲 2.
    EXPECT_EQ(AllRowCells(newest()), (Rows{{"姓名", "期中", "期末"}, {"甲", "1", "2"}, {"乙", "1", "1"}}));

    history->trigger();
    EXPECT_EQ(w.tables().size(), 1);
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(AnalysisWindowsTest, ProgressOffersTheClasssEarlierExamsNearestFirstAndANewTableBrowses) {
    writeSchool();
    const Strings fields = {"姓名", "学号", "语文", "总分"};
    writeIn(
        "(1)班", "月考",
        MakeTable(fields, {{"甲", "01", "70", "160"}, {"乙", "02", "80", "170"}, {"丙", "03", "70", "150"}}),
        100);
    writeIn("(1)班", "周测", MakeTable({"姓名", "学号", "语文"}, {{"甲", "01", "1"}, {"乙", "01", "2"}}), 50);
    writeIn(
        "(1)班", "期中",
        MakeTable(fields, {{"甲", "01", "90", "180"}, {"乙", "02", "80", "170"}, {"丙", "03", "70", "150"}},
                  "期中考试"));
    MainWindow& w = start();
    TableWindow* exam = w.openTable(tablePath("期中"));
    ASSERT_NE(exam, nullptr);
    QAction* progress = exam->action("menuProgress");
    EXPECT_EQ(progress->text(), "进退步分析(&M)...");
    EXPECT_TRUE(ownKey(progress));

    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmExamProgress");
            auto& p = static_cast<ExamProgressDialog&>(d);
            ASSERT_EQ(p.earlierBox()->count(), 2);
            EXPECT_EQ(p.earlierBox()->itemText(0), "周测");
            EXPECT_EQ(p.earlierBox()->itemText(1), "月考");
            // 周测 has no 总分: the first field with marks; students by 学号.
            EXPECT_EQ(p.fieldBox()->currentText(), "语文");
            EXPECT_EQ(p.keyBox()->currentText(), "学号");
            EXPECT_EQ(tabOrder(&p), (QList<QWidget*>{p.earlierBox(), p.browseButton(), p.fieldBox(),
                                                     p.keyBox(), p.okButton(), p.cancelButton()}));
            p.okButton()->click();
            EXPECT_EQ(prompter.messages(),
                      Strings{"表格“周测”第 1 行和第 2 行的学号都是“01”，无法对应学生！"});
            EXPECT_FALSE(p.result());
            p.earlierBox()->setCurrentIndex(1);
            EXPECT_EQ(p.fieldBox()->currentText(), "总分");
            p.okButton()->click();
        })
        .then(escape);
    progress->trigger();
    ASSERT_EQ(w.tables().size(), 2);
    EXPECT_EQ(newest().title, "期中考试 进退步（对比 月考）");
    // 月考 by 总分: 乙 1, 甲 2, 丙 3; 期中: 甲 1, 乙 2, 丙 3.
    EXPECT_EQ(AllRowCells(newest()),
              (Rows{{"姓名", "学号", "前次名次", "本次名次", "进退", "前次总分", "本次总分", "分差"},
                    {"甲", "01", "2", "1", "1", "160", "180", "20.00"},
                    {"丙", "03", "3", "3", "0", "150", "150", "0.00"},
                    {"乙", "02", "1", "2", "-1", "170", "170", "0.00"}}));
    progress->trigger();
    EXPECT_EQ(w.tables().size(), 2);

    // A new table is in no folder: nothing is offered until a table is picked with 浏览.
    w.openNewTable(MakeTable(fields, {{"甲", "01", "60", "100"}}, "补考"), NewTableKind::Ordinary);
    prompter.clear();
    prompter.chooseOpen(tablePath("月考") + ".skv");
    dialogs.then([&](QDialog& d) {
        auto& p = static_cast<ExamProgressDialog&>(d);
        EXPECT_EQ(p.earlierBox()->count(), 0);
        p.okButton()->click();
        EXPECT_EQ(prompter.messages(), Strings{"请选择前次考试的表格！"});
        p.browseButton()->click();
        EXPECT_EQ(p.earlierBox()->currentText(), "月考");
        p.okButton()->click();
    });
    w.tables().back()->action("menuProgress")->trigger();
    EXPECT_EQ(newest().title, "补考 进退步（对比 月考）");
    EXPECT_EQ(newest().classInfo,
              "前次“月考”，本次“补考”，按“总分”排名，按“学号”对应学生；新增 0 人，未参加 2 人");
    EXPECT_EQ(AllRowCells(newest())[1], (Strings{"甲", "01", "2", "1", "1", "160", "100", "-60.00"}));
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(AnalysisWindowsTest, StandardScoresTickTheFieldsNotComputedFromOthers) {
    start();
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "语文", "数学", "总分"},
                                        {{"甲", "80", "60", "140"}, {"乙", "90", "100", "190"}}, "期中"),
                              dir.file("期中")));
    TableWindow* exam = window->openTable(dir.file("期中"));
    ASSERT_NE(exam, nullptr);
    QAction* scores = exam->action("menuStandardScores");
    EXPECT_EQ(scores->text(), "标准分(&Z)...");
    EXPECT_TRUE(ownKey(scores));

    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmStandardScores");
            auto& s = static_cast<StandardScoresDialog&>(d);
            AnalysisOptionsPanel* o = s.options();
            ASSERT_EQ(o->fieldList()->rowCount(), 3);
            EXPECT_EQ(o->fieldList()->item(2, 0)->text(), "总分");
            EXPECT_EQ(o->tickedFields(), (Strings{"语文", "数学"}));
            EXPECT_EQ(o->passBox(), nullptr);
            EXPECT_EQ(tabOrder(&s), (QList<QWidget*>{o->fieldList(), o->allButton(), o->noneButton(),
                                                     s.okButton(), s.cancelButton()}));
            o->noneButton()->click();
            s.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"请选择需要统计的字段！"});
            EXPECT_FALSE(s.result());
            o->fieldList()->item(0, 0)->setCheckState(Qt::Checked);
            o->fieldList()->item(1, 0)->setCheckState(Qt::Checked);
            s.okButton()->click();
        })
        .then(escape);
    scores->trigger();
    ASSERT_EQ(window->tables().size(), 2);
    EXPECT_EQ(newest().title, "期中 标准分");
    // 语文: mean 85, deviation 5; 数学: mean 80, deviation 20; T分 = 50 + 10 × 合计 ÷ 2.
    EXPECT_EQ(AllRowCells(newest()), (Rows{{"姓名", "语文标准分", "数学标准分", "标准分合计", "T分"},
                                           {"甲", "-1.00", "-1.00", "-2.00", "40.00"},
                                           {"乙", "1.00", "1.00", "2.00", "60.00"}}));
    scores->trigger();
    EXPECT_EQ(window->tables().size(), 2);
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(AnalysisWindowsTest, ATotalOfOtherSubjectsIsNamedAndTheRankingMayUseTheAverage) {
    writeSchool();
    const Strings all = {"姓名", "语文", "数学", "物理", "总分", "平均"};
    writeIn("(1)班", "期中",
            MakeTable(all, {{"甲", "90", "90", "90", "！公式：cell(?,2)+cell(?,3)+cell(?,4)",
                             "！公式：(cell(?,2)+cell(?,3)+cell(?,4))/3"}}));
    writeIn("(2)班", "期中",
            MakeTable({"姓名", "语文", "数学", "总分", "平均"},
                      {{"乙", "95", "95", "！公式：cell(?,2)+cell(?,3)", "！公式：(cell(?,2)+cell(?,3))/2"}}));
    MainWindow& w = start();
    selectNode("Grade0");
    const std::string sentence = "(2)班的总分只加了 语文、数学（没有 物理），与其他班级不可比。";
    // 仍然使用总分: 甲 270 before 乙 190, and 班级信息 says why; 使用平均: 乙 95 first; 取消 stays.
    for (Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
        prompter.clear();
        prompter.answer(answer);
        dialogs.then([&](QDialog& d) {
            static_cast<GradeRankingDialog&>(d).okButton()->click();
            if (answer == Answer::Cancel) {
                EXPECT_FALSE(static_cast<GradeRankingDialog&>(d).result());
                escape(d);
            }
        });
        w.action("menuGradeRank")->trigger();
        ASSERT_EQ(prompter.questions().size(), 1u);
        EXPECT_EQ(prompter.questions()[0].substr(0, sentence.size()), sentence);
        EXPECT_EQ(prompter.last().captions, (Strings{"使用平均(&A)", "仍然使用总分", "取消"}));
    }
    ASSERT_EQ(w.tables().size(), 2);
    const GradeTable& byTotal = w.tables()[0]->document().table;
    EXPECT_EQ(byTotal.title, "高一 期中 年级排名");
    EXPECT_EQ(testing::Column(byTotal, 2), (Strings{"甲", "乙"}));
    EXPECT_NE(byTotal.classInfo.find(sentence), std::string::npos);
    EXPECT_EQ(newest().title, "高一 期中 平均 年级排名");
    EXPECT_EQ(testing::Column(newest(), 2), (Strings{"乙", "甲"}));
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(AnalysisWindowsTest, TheComparisonMayExchangeATotalOfOtherSubjectsAndTheCourseTellsIt) {
    writeSchool();
    const Strings fields = {"姓名", "语文", "数学", "总分", "平均"};
    writeIn("(1)班", "期中",
            MakeTable(fields, {{"甲", "80", "90", "！公式：cell(?,2)+cell(?,3)", "！公式：(cell(?,2)+cell(?,3))/2"}}), 1);
    writeIn("(2)班", "期中", MakeTable(fields, {{"乙", "70", "60", "！公式：cell(?,2)", "！公式：(cell(?,2))/1"}}), 1);
    writeIn("(2)班", "期末", MakeTable(fields, {{"乙", "75", "65", "！公式：cell(?,2)+cell(?,3)", "85"}}));
    MainWindow& w = start();
    selectNode("Grade0");
    prompter.answer(Answer::Yes);
    dialogs.then([&](QDialog& d) {
        auto& g = static_cast<GradeComparisonDialog&>(d);
        g.tableBox()->setCurrentIndex(g.tableBox()->findData(QStringLiteral("期中")));
        g.okButton()->click();
    });
    w.action("menuGradeCompare")->trigger();
    ASSERT_EQ(w.tables().size(), 1);
    // 使用平均: 总分 gave way to 平均, which is named for its own subjects.
    EXPECT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.messages(),
              Strings{"(2)班的平均只平均了 语文（没有 数学），所含科目与其他班级不同。"});
    const Strings titles = testing::RowCells(newest(), 0);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "平均分"), 1);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "总分平均分"), 0);

    // 历次成绩 tells it in a message, with no 平均 to choose.
    prompter.clear();
    selectNode("Grade0Class1");
    dialogs.then([&](QDialog& d) { static_cast<ExamHistoryDialog&>(d).okButton()->click(); });
    w.action("menuClassHistory")->trigger();
    EXPECT_TRUE(prompter.questions().empty());
    EXPECT_EQ(prompter.messages(), Strings{"期中的总分只加了 语文（没有 数学），与其他考试不可比。"});
    EXPECT_EQ(newest().title, "(2)班 总分 历次成绩");
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(AnalysisWindowsTest, TheGradesExamOrderIsSetInItsWindowAndKeptInTheGradesFolder) {
    writeSchool();
    writeIn("(1)班", "期末", MakeTable({"姓名", "语文"}, {{"甲", "70"}}), 0);
    writeIn("(1)班", "期中", MakeTable({"姓名", "语文"}, {{"甲", "80"}}), 50);
    writeIn("(2)班", "月考", MakeTable({"姓名", "语文"}, {{"乙", "60"}}), 100);
    MainWindow& w = start();
    QAction* order = w.action("menuExamOrder");
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(order->text(), "考试顺序(&K)...");
    EXPECT_TRUE(ownKey(order));
    selectNode("Grade0Class0");
    EXPECT_FALSE(order->isEnabled());
    selectNode("Grade0");
    const std::string file = dir.file("表格数据/一中/高一/考试顺序.ini");
    dialogs.then([&](QDialog& d) {
        ASSERT_EQ(d.objectName(), "frmExamOrder");
        auto& o = static_cast<ExamOrderDialog&>(d);
        EXPECT_EQ(o.order(), (Strings{"月考", "期中", "期末"}));
        // 期末 up to the top from the keyboard; meanwhile another computer saved its own order.
        o.examList()->setCurrentRow(2);
        QTest::keyClick(o.examList(), Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(o.examList(), Qt::Key_Up, Qt::ControlModifier);
        EXPECT_EQ(o.order(), (Strings{"期末", "月考", "期中"}));
        // The last stays last, and current.
        o.examList()->setCurrentRow(2);
        QTest::keyClick(o.examList(), Qt::Key_Down, Qt::ControlModifier);
        EXPECT_EQ(o.order(), (Strings{"期末", "月考", "期中"}));
        EXPECT_EQ(o.examList()->currentRow(), 2);
        ASSERT_TRUE(WriteExamOrder(dir.file("表格数据/一中/高一/"), {"期中"}));
        prompter.answer(Answer::Cancel).answer(Answer::Yes);
        QTest::keyClick(&o, Qt::Key_Return);
        EXPECT_EQ(prompter.questions().size(), 1u);
        EXPECT_EQ(ReadExamOrder(dir.file("表格数据/一中/高一/")), Strings{"期中"});
        o.okButton()->click();
    });
    order->trigger();
    EXPECT_EQ(prompter.questions().size(), 2u);
    EXPECT_EQ(ReadExamOrder(dir.file("表格数据/一中/高一/")), (Strings{"期末", "月考", "期中"}));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(dialogs.exhausted());
}

}  // namespace
}  // namespace scorvane

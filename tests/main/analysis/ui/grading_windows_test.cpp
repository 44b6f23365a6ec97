// 等级赋分 from the school tree's pop-up on a grade and from a table window, with its band editor; 成绩等级
// from a table window. Each offers its defaults, tells a fault and stays, remembers what it was given, and
// opens its tables as new unsaved table windows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <filesystem>

#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/assignment_bands_dialog.h"
#include "main/analysis/ui/grading_memory.h"
#include "main/analysis/ui/mark_levels_dialog.h"
#include "main/analysis/ui/score_assignment_dialog.h"
#include "main/analysis/ui/text_grid.h"
#include "main/workspace/ui/frame_fixture.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::AllRowCells;
using testing::MakeTable;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

class GradingWindowsTest : public testing::FrameTest {
  protected:
    // What the windows remember is each test's own.
    GradingWindowsTest() { forget(); }
    ~GradingWindowsTest() override { forget(); }
    static void forget() {
        QSettings settings("KVL'S Scorvane", "KVL'S Scorvane");
        settings.remove("Grading");
        settings.remove("Statistics");
    }

    void writeIn(const std::string& cls, const std::string& name, const GradeTable& table) {
        const std::string path = dir.file("表格数据/一中/高一/" + cls + "/" + name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        ASSERT_TRUE(WriteDataFile(table, path));
    }

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

    static void setRow(TextGrid* grid, int row, const QStringList& texts) {
        for (int c = 0; c < texts.size(); ++c) {
            grid->item(row, c)->setText(texts[c]);
        }
    }

    const GradeTable& newest() { return window->tables().back()->document().table; }
};

TEST_F(GradingWindowsTest, TheGradesScoreAssignmentTicksTheElectivesAndTakesTheBandTableEdited) {
    writeSchool();
    writeIn("(1)班", "期中", MakeTable({"姓名", "语文", "化学"}, {{"甲", "80", "90"}, {"乙", "70", "70"}}));
    writeIn("(2)班", "期中", MakeTable({"姓名", "语文", "化学"}, {{"丙", "60", "80"}}));
    MainWindow& w = start();
    QAction* assign = w.action("menuGradeAssignment");
    ASSERT_NE(assign, nullptr);
    EXPECT_EQ(assign->text(), "等级赋分(&F)...");
    EXPECT_TRUE(ownKey(assign));
    window->tree()->setCurrentItem(item("Grade0"));
    QTest::keyClick(window->tree(), Qt::Key_Menu);
    window->treePopup()->close();
    EXPECT_TRUE(assign->isEnabled());

    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmScoreAssignment");
            auto& a = static_cast<ScoreAssignmentDialog&>(d);
            EXPECT_EQ(a.windowTitle(), "等级赋分 - 高一");
            EXPECT_EQ(a.tableBox()->currentText(), "期中（2 个班）");
            AnalysisOptionsPanel* o = a.options();
            EXPECT_EQ(o->fieldList()->rowCount(), 2);
            EXPECT_EQ(o->tickedFields(), Strings{"化学"});
            EXPECT_EQ(a.bandsText()->text(), "赋分规则：A 15% 100-86，B 35% 85-71，C 35% 70-56，D 13% 55-41，E 2% 40-30");
            EXPECT_EQ(tabOrder(&a), (QList<QWidget*>{a.tableBox(), o->fieldList(), o->allButton(), o->noneButton(),
                                                     a.bandsButton(), a.okButton(), a.cancelButton()}));
            EXPECT_TRUE(a.okButton()->isDefault());
            a.bandsButton()->click();
            EXPECT_EQ(a.bandsText()->text(), "赋分规则：上 50% 100-51，下 50% 50-0");
            o->noneButton()->click();
            a.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"请选择需要赋分的字段！"});
            o->fieldList()->item(1, 0)->setCheckState(Qt::Checked);
            prompter.clear();
            a.okButton()->click();
        })
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmBands");
            auto& b = static_cast<AssignmentBandsDialog&>(d);
            EXPECT_EQ(b.grid()->item(4, 0)->text(), "E");
            EXPECT_EQ(tabOrder(&b),
                      (QList<QWidget*>{b.grid(), b.defaultButton(), b.okButton(), b.cancelButton()}));
            EXPECT_FALSE(b.grid()->tabKeyNavigation());  // Tab leaves the grid
            b.grid()->setTexts({});
            setRow(b.grid(), 0, {"上", "50", "100", "51"});
            setRow(b.grid(), 2, {"下", "40", "50", "0"});
            b.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"赋分规则各等级的比例之和是 90%，应为 100%！"});
            setRow(b.grid(), 2, {"下", "50", "51", "0"});
            prompter.clear();
            b.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"赋分规则第 3 行（下）的赋分区间 51-0 与第 1 行（上）的 100-51 重叠！"});
            EXPECT_FALSE(b.result());
            setRow(b.grid(), 2, {"下", "50", "50", "0"});
            prompter.clear();
            b.okButton()->click();
            ASSERT_TRUE(b.result());
        });
    assign->trigger();
    EXPECT_TRUE(dialogs.exhausted());
    ASSERT_EQ(w.tables().size(), 1);
    EXPECT_EQ(newest().title, "高一 期中 等级赋分");
    // 化学 90, 70, 80 of 3: limits 2 and 3; 甲 and 丙 上 (80–90 on 51–100), 乙 下 alone (50). 赋分总分 adds
    // the raw 语文: 甲 80 + 100, 乙 70 + 50, 丙 60 + 51.
    EXPECT_EQ(AllRowCells(newest()),
              (Rows{{"班级", "姓名", "学号", "化学原始分", "化学等级", "化学赋分", "赋分总分", "年级名次"},
                    {"(1)班", "甲", "", "90", "上", "100", "180", "1"},
                    {"(1)班", "乙", "", "70", "下", "50", "120", "2"},
                    {"(2)班", "丙", "", "80", "上", "51", "111", "3"}}));
    EXPECT_TRUE(newest().filePath.empty());
    // The band table is remembered.
    EXPECT_EQ(AssignmentBandsText(RememberedAssignmentBands()), "上=50:100-51,下=50:50-0");
}

TEST_F(GradingWindowsTest, TheOpenTableAloneIsTheCohortOfItsScoreAssignment) {
    start();
    RememberAssignmentBands({{"上", 5000, 100, 51}, {"下", 5000, 50, 0}});
    ASSERT_TRUE(WriteDataFile(MakeTable({"姓名", "学号", "生物"}, {{"甲", "01", "60"}, {"乙", "02", "缺考"}}, "期中"),
                              dir.file("期中")));
    TableWindow* exam = window->openTable(dir.file("期中"));
    ASSERT_NE(exam, nullptr);
    QAction* assign = exam->action("menuScoreAssignment");
    EXPECT_EQ(assign->text(), "等级赋分(&F)...");
    EXPECT_TRUE(ownKey(assign));
    dialogs
        .then([&](QDialog& d) {
            auto& a = static_cast<ScoreAssignmentDialog&>(d);
            EXPECT_EQ(a.windowTitle(), "等级赋分 - 期中");
            EXPECT_EQ(a.tableBox(), nullptr);
            EXPECT_EQ(a.options()->tickedFields(), Strings{"生物"});
            EXPECT_EQ(a.bandsText()->text(), "赋分规则：上 50% 100-51，下 50% 50-0");
            a.bandsButton()->click();  // 赋分规则(&B)..., cancelled
            EXPECT_EQ(a.bandsText()->text(), "赋分规则：上 50% 100-51，下 50% 50-0");
            a.okButton()->click();
        })
        .then([](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmBands");
            QTest::keyClick(&d, Qt::Key_Escape);
        });
    assign->trigger();
    EXPECT_TRUE(dialogs.exhausted());
    ASSERT_EQ(window->tables().size(), 2);
    // One mark: limit 0.5 → 1 of 上, Y2 = Y1 gives 100.
    EXPECT_EQ(AllRowCells(newest()), (Rows{{"班级", "姓名", "学号", "生物原始分", "生物等级", "生物赋分", "赋分总分", "年级名次"},
                                           {"", "甲", "01", "60", "上", "100", "100", "1"},
                                           {"", "乙", "02", "缺考", "", "", "", ""}}));
}

TEST_F(GradingWindowsTest, MarkLevelsWithTheirFullMarksAndSchemeMakeTheLevelsAndTheDistribution) {
    writeSchool();
    start();
    writeIn("(1)班", "期中",
            MakeTable({"姓名", "学号", "语文", "数学", "名次"},
                      {{"甲", "01", "85", "135", "1"}, {"乙", "02", "缺考", "90", "2"}, {"丙", "03", "59", "150", "3"}},
                      "期中"));
    TableWindow* exam = window->openTable(tablePath("期中"));
    ASSERT_NE(exam, nullptr);
    QAction* levels = exam->action("menuMarkLevels");
    EXPECT_EQ(levels->text(), "成绩等级(&G)...");
    EXPECT_TRUE(ownKey(levels));
    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmMarkLevels");
            auto& m = static_cast<MarkLevelsDialog&>(d);
            AnalysisOptionsPanel* o = m.options();
            EXPECT_EQ(o->tickedFields(), (Strings{"语文", "数学"}));
            EXPECT_EQ(o->passBox(), nullptr);
            EXPECT_EQ(m.schemeBox()->currentText(), "优秀 85%，良好 70%，合格 60%，待合格 60% 以下");
            EXPECT_EQ(m.schemeGrid()->item(3, 0)->text(), "待合格");
            EXPECT_TRUE(m.levelsBox()->isChecked());
            EXPECT_FALSE(m.distributionBox()->isChecked());
            EXPECT_EQ(tabOrder(&m), (QList<QWidget*>{o->fieldList(), o->allButton(), o->noneButton(),
                                                     o->fullMarksBox(), m.schemeBox(), m.schemeGrid(), m.levelsBox(),
                                                     m.distributionBox(), m.okButton(), m.cancelButton()}));
            // The ready scheme A–E; an edited scheme is 自定义 and is checked on 确定.
            m.schemeBox()->setCurrentIndex(1);
            EXPECT_EQ(m.schemeGrid()->item(4, 0)->text(), "E");
            m.schemeGrid()->item(1, 1)->setText("95");
            EXPECT_EQ(m.schemeBox()->currentText(), "自定义");
            m.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"等级方案第 2 行（B）的下限 95 应低于第 1 行（A）的 90！"});
            m.schemeGrid()->item(1, 1)->setText("80");
            m.levelsBox()->setChecked(false);
            prompter.clear();
            m.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"请选择需要生成的表格！"});
            m.levelsBox()->setChecked(true);
            m.distributionBox()->setChecked(true);
            // 数学 of 150: its own full marks, remembered by title.
            o->fieldList()->item(1, 1)->setText("150");
            prompter.clear();
            m.okButton()->click();
        })
        .then([&](QDialog& d) {
            auto& m = static_cast<MarkLevelsDialog&>(d);
            // Remembered: the scheme and 数学's full marks.
            EXPECT_EQ(m.schemeBox()->currentText(), "A 90%，B 80%，C 70%，D 60%，E 60% 以下");
            EXPECT_EQ(m.options()->fieldList()->item(1, 1)->text(), "150");
            QTest::keyClick(&d, Qt::Key_Escape);
        });
    levels->trigger();
    ASSERT_EQ(window->tables().size(), 3);
    const GradeTable& made = window->tables()[1]->document().table;
    EXPECT_EQ(made.title, "期中 等级");
    // 甲 85 → B, 135 of 150 (90 %) → A; 乙 缺考 stays, 90 of 150 (60 %) → D; 丙 59 → E, 150 → A. No 名次.
    EXPECT_EQ(AllRowCells(made), (Rows{{"班级", "姓名", "学号", "语文等级", "数学等级"},
                                       {"(1)班", "甲", "01", "B", "A"},
                                       {"(1)班", "乙", "02", "缺考", "D"},
                                       {"(1)班", "丙", "03", "E", "A"}}));
    EXPECT_EQ(newest().title, "期中 等级分布");
    EXPECT_EQ(testing::RowCells(newest(), 2),
              (Strings{"数学", "3", "2", "66.67%", "0", "0.00%", "0", "0.00%", "1", "33.33%", "0", "0.00%", "0"}));
    levels->trigger();
    EXPECT_TRUE(dialogs.exhausted());
    EXPECT_EQ(window->tables().size(), 3);
}

}  // namespace
}  // namespace scorvane

// 教学评价 from the school tree's pop-up on a grade: its defaults, its refusals, its two tables.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <filesystem>

#include "main/analysis/teaching_evaluation.h"
#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/teaching_evaluation_dialog.h"
#include "main/workspace/ui/frame_fixture.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;
using testing::MakeTable;

class TeachingEvaluationWindowTest : public testing::FrameTest {
  protected:
    std::string grade() const { return dir.path() + "/表格数据/一中/高一/"; }
    void writeIn(const std::string& path, const GradeTable& table, int hoursOld) {
        ASSERT_TRUE(WriteDataFile(table, grade() + path));
        std::filesystem::last_write_time(
            grade() + path + ".skv",
            std::filesystem::file_time_type::clock::now() - std::chrono::hours(hoursOld));
    }
    void SetUp() override {
        QSettings("KVL'S Scorvane", "KVL'S Scorvane").remove("Statistics");
        writeSchool();
        writeIn("(1)班/月考", MakeTable({"姓名", "语文", "数学"}, {{"甲", "60", "70"}}), 48);
        writeIn("(2)班/月考", MakeTable({"姓名", "语文", "数学"}, {{"乙", "80", "70"}}), 48);
        writeIn("(1)班/期中",
                MakeTable({"姓名", "学号", "语文", "数学", "总分"},
                          {{"甲", "1", "90", "80", "！公式：cell(?,3)+cell(?,4)"}}),
                24);
        writeIn("(2)班/期中",
                MakeTable({"姓名", "学号", "语文", "数学", "总分"},
                          {{"乙", "2", "70", "60", "！公式：cell(?,3)+cell(?,4)"}}),
                24);
        writeIn("任课表",
                MakeTable({"班级", "语文", "数学"}, {{"(1)班", "王老师", "张老师"}, {"(2)班", "王老师", ""}}),
                1);
    }
    void selectGrade() {
        window->tree()->setCurrentItem(item("Grade0"));
        QTest::keyClick(window->tree(), Qt::Key_Menu);
        window->treePopup()->close();
    }
};

TEST_F(TeachingEvaluationWindowTest, TheLatestExamItsSubjectsAndTheExamBeforeComeFirstAndTwoTablesOpen) {
    MainWindow& w = start();
    QAction* evaluate = w.action("menuTeachingEvaluation");
    ASSERT_NE(evaluate, nullptr);
    EXPECT_EQ(evaluate->text(), "教学评价(&E)...");
    selectGrade();
    dialogs.then([&](QDialog& d) {
        ASSERT_EQ(d.objectName(), "frmTeachingEvaluation");
        auto& e = static_cast<TeachingEvaluationDialog&>(d);
        EXPECT_EQ(e.tableBox()->currentText(), "期中（2 个班）");
        EXPECT_EQ(e.earlierBox()->currentText(), "月考");
        EXPECT_EQ(e.options()->tickedFields(), (Strings{"语文", "数学"}));
        EXPECT_EQ(e.weightBoxes()[0]->text(), "0.4");
        EXPECT_EQ(e.weightBoxes()[3]->text(), "0");
        QList<QWidget*> order;
        for (QWidget* w = e.nextInFocusChain(); w != &e; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled()) {
                order << w;
            }
        }
        ASSERT_GE(order.size(), 9);
        EXPECT_EQ(order.mid(0, 3),
                  (QList<QWidget*>{e.tableBox(), e.earlierBox(), e.options()->firstControl()}));
        EXPECT_EQ(order.mid(order.size() - 7),
                  (QList<QWidget*>{e.options()->lastControl(), e.weightBoxes()[0], e.weightBoxes()[1],
                                   e.weightBoxes()[2], e.weightBoxes()[3], e.okButton(), e.cancelButton()}));
        // The first exam has none before it.
        e.tableBox()->setCurrentIndex(1);
        EXPECT_EQ(e.earlierBox()->currentText(), "（不与前次比较）");
        e.tableBox()->setCurrentIndex(0);
        e.weightBoxes()[3]->setText("-1");
        e.okButton()->click();
        EXPECT_EQ(prompter.messages(), Strings{std::string(kWeightsMessage)});
        EXPECT_TRUE(e.isVisible());
        e.weightBoxes()[0]->setText("1");
        e.weightBoxes()[1]->setText("0");
        e.weightBoxes()[2]->setText("0");
        e.weightBoxes()[3]->setText("0");
        e.okButton()->click();
    });
    evaluate->trigger();
    ASSERT_TRUE(dialogs.exhausted());
    ASSERT_EQ(w.tables().size(), 2);
    const GradeTable& byClass = w.tables()[0]->document().table;
    const GradeTable& byTeacher = w.tables()[1]->document().table;
    EXPECT_EQ(byClass.title, "高一 期中 教学评价");
    EXPECT_EQ(testing::Column(byClass, 3), (Strings{"王老师", "王老师", "张老师", ""}));
    EXPECT_EQ(testing::Column(byClass, 12), (Strings{"90.00", "70.00", "80.00", "60.00"}));
    // 期中 against 月考: 语文 90 and 70 (the grade 80) after 60 and 80 (70); 数学 80 and 60 (70) after 70
    // and 70.
    EXPECT_EQ(testing::Column(byClass, 7), (Strings{"112.50%", "87.50%", "114.29%", "85.71%"}));
    EXPECT_EQ(testing::Column(byClass, 14), (Strings{"85.71%", "114.29%", "100.00%", "100.00%"}));
    EXPECT_EQ(testing::Column(byClass, 15), (Strings{"26.79%", "-26.79%", "14.29%", "-14.29%"}));
    EXPECT_EQ(byTeacher.title, "高一 期中 教师汇总");
    EXPECT_EQ(testing::Column(byTeacher, 2), (Strings{"王老师", "张老师"}));
    EXPECT_TRUE(w.tables()[0]->document().modified());

    // The weights are remembered for the next time.
    dialogs.then([](QDialog& d) {
        auto& e = static_cast<TeachingEvaluationDialog&>(d);
        EXPECT_EQ(e.weightBoxes()[0]->text(), "1");
        EXPECT_EQ(e.weightBoxes()[1]->text(), "0");
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    evaluate->trigger();
    EXPECT_EQ(w.tables().size(), 2);
}

}  // namespace
}  // namespace scorvane

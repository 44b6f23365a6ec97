// 上线分析 and 临界生 from the school tree's pop-up on a grade: the line grid worked from the keyboard,
// faults in the lines named while the window stays, the lines and the range kept for the grade.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "main/analysis/line_grade_sample.h"
#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/borderline_dialog.h"
#include "main/analysis/ui/line_analysis_dialog.h"
#include "main/analysis/ui/tier_line_grid.h"
#include "main/workspace/ui/frame_fixture.h"

namespace scorvane {
namespace {

using testing::AllRowCells;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

class LineWindowsTest : public testing::FrameTest {
  protected:
    // 一中/高一 with the classes of LineSampleGrade, their tables 期中.
    MainWindow& startOnSample() {
        EXPECT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班", "(2)班", "(3)班"}}}}, dir.path() + "/"));
        for (const ClassTable& c : testing::LineSampleGrade()) {
            if (c.table) {
                EXPECT_TRUE(WriteDataFile(*c.table, dir.file("表格数据/一中/高一/" + c.name + "/期中")));
            }
        }
        MainWindow& w = start();
        window->tree()->setCurrentItem(item("Grade0"));
        QTest::keyClick(window->tree(), Qt::Key_Menu);
        window->treePopup()->close();
        return w;
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

    static Strings gridRow(TierLineGrid* grid, int row) {
        Strings out;
        for (int c = 0; c < 3; ++c) {
            out.push_back(grid->item(row, c)->text().toStdString());
        }
        return out;
    }

    // The cell editor open in the grid.
    template <typename Editor>
    static Editor* editorOf(TierLineGrid* grid) {
        for (Editor* e : grid->viewport()->findChildren<Editor*>()) {
            if (e->isVisible()) {
                return e;
            }
        }
        return nullptr;
    }

    // Keys that type `text`, Chinese too (as an input method delivers them).
    static void typeKeys(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Types `text` into the grid's cell from the keyboard (the first key opens the cell's editor and
    // replaces what it held) and keeps it with Enter.
    static void typeInto(TierLineGrid* grid, int row, int col, const QString& text) {
        grid->setCurrentCell(row, col);
        typeKeys(grid, text.left(1));
        QLineEdit* editor = editorOf<QLineEdit>(grid);
        ASSERT_NE(editor, nullptr);
        typeKeys(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        testing::Flush();
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

TEST_F(LineWindowsTest, LineAnalysisOffersOneLineByCountAtFirstNamesBadLinesAndKeepsTheTeachersLines) {
    MainWindow& w = startOnSample();
    QAction* entry = w.action("menuLineAnalysis");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "上线分析(&L)...");
    EXPECT_TRUE(ownKey(entry));
    EXPECT_TRUE(entry->isEnabled());

    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmLineAnalysis");
            auto& a = static_cast<LineAnalysisDialog&>(d);
            EXPECT_EQ(a.windowTitle(), "上线分析 - 高一");
            EXPECT_EQ(a.tableBox()->currentText(), "期中（3 个班）");
            EXPECT_EQ(a.totalBox()->currentText(), "总分");
            EXPECT_EQ(a.subjects()->tickedFields(), (Strings{"语文", "数学"}));
            TierLineGrid* grid = a.lineGrid();
            // 8 students take part: 15 % is 1.2, one student.
            EXPECT_EQ(gridRow(grid, 0), (Strings{"一本", "名次", "1"}));
            EXPECT_EQ(gridRow(grid, 1), (Strings{"", "分数", ""}));
            EXPECT_EQ(tabOrder(&a), (QList<QWidget*>{a.tableBox(), a.totalBox(), grid, a.listCheck(),
                                                     a.subjects()->fieldList(), a.subjects()->allButton(),
                                                     a.subjects()->noneButton(), a.okButton(), a.cancelButton()}));
            EXPECT_TRUE(a.okButton()->isDefault());
            EXPECT_FALSE(grid->tabKeyNavigation());

            // A count that is no number, then one beyond the grade: named, and the window stays.
            typeInto(grid, 0, 2, "abc");
            a.okButton()->click();
            typeInto(grid, 0, 2, "9");
            a.okButton()->click();
            EXPECT_EQ(prompter.messages(), (Strings{"“一本”的名次“abc”必须是大于 0 的整数！",
                                                    "“一本”的名次 9 超过了参考人数 8！"}));
            EXPECT_FALSE(a.result());
            // 一本 前2, and 本科 by count too: its 方式 chosen in the list from the keyboard.
            typeInto(grid, 0, 2, "2");
            typeInto(grid, 1, 0, "本科");
            grid->setCurrentCell(1, 1);
            QTest::keyClick(grid, Qt::Key_F2);
            QComboBox* kind = editorOf<QComboBox>(grid);
            ASSERT_NE(kind, nullptr);
            QTest::keyClick(kind, Qt::Key_Down);
            QTest::keyClick(kind, Qt::Key_Return);
            testing::Flush();
            typeInto(grid, 1, 2, "5");
            EXPECT_EQ(gridRow(grid, 1), (Strings{"本科", "名次", "5"}));
            prompter.clear();
            QTest::keyClick(grid, Qt::Key_Return);  // Enter outside a cell's editing presses 确定
        })
        .then([&](QDialog& d) {
            auto& a = static_cast<LineAnalysisDialog&>(d);
            // The teacher's lines are kept for the grade.
            EXPECT_EQ(gridRow(a.lineGrid(), 0), (Strings{"一本", "名次", "2"}));
            EXPECT_EQ(gridRow(a.lineGrid(), 1), (Strings{"本科", "名次", "5"}));
            a.listCheck()->setChecked(true);
            a.okButton()->click();
        })
        .then([&](QDialog& d) {
            static_cast<LineAnalysisDialog&>(d).lineGrid()->setFocus();
            QTest::keyClick(static_cast<LineAnalysisDialog&>(d).lineGrid(), Qt::Key_Escape);
        });
    entry->trigger();
    EXPECT_EQ(prompter.messages(), Strings{});
    ASSERT_EQ(w.tables().size(), 1);
    EXPECT_EQ(newest().title, "高一 期中 上线分析");
    EXPECT_EQ(AllRowCells(newest()).back(),
              (Strings{"年级", "8", "2", "25.00%", "5", "62.50%", "2", "2", "100.00%", "100.00%", "2", "1",
                       "50.00%", "50.00%", "4", "3", "75.00%", "60.00%", "6", "4", "66.67%", "80.00%"}));
    EXPECT_TRUE(newest().filePath.empty());
    entry->trigger();
    ASSERT_EQ(w.tables().size(), 2);
    EXPECT_EQ(newest().title, "高一 期中 上线名单");
    EXPECT_EQ(testing::Column(newest(), 2), (Strings{"甲", "戊", "乙", "丙", "己"}));
    entry->trigger();
    EXPECT_EQ(w.tables().size(), 2);
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(LineWindowsTest, BorderlineOffersTheGridsLinesAndKeepsTheRangeAndEachClassPrintsOnItsOwnPages) {
    MainWindow& w = startOnSample();
    QAction* entry = w.action("menuBorderline");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "临界生(&J)...");
    EXPECT_TRUE(ownKey(entry));

    dialogs
        .then([&](QDialog& d) {
            ASSERT_EQ(d.objectName(), "frmBorderline");
            auto& b = static_cast<BorderlineDialog&>(d);
            EXPECT_EQ(b.lineBox()->currentText(), "一本");
            EXPECT_EQ(b.belowBox()->text(), "20");
            EXPECT_EQ(b.aboveBox()->text(), "10");
            EXPECT_EQ(tabOrder(&b),
                      (QList<QWidget*>{b.tableBox(), b.totalBox(), b.lineGrid(), b.lineBox(), b.belowBox(),
                                       b.aboveBox(), b.subjects()->fieldList(), b.subjects()->allButton(),
                                       b.subjects()->noneButton(), b.okButton(), b.cancelButton()}));
            // A second line is offered as soon as it is named, the one chosen stays.
            typeInto(b.lineGrid(), 1, 0, "本科");
            typeInto(b.lineGrid(), 1, 2, "145");
            EXPECT_EQ(b.lineBox()->count(), 2);
            EXPECT_EQ(b.lineBox()->currentText(), "一本");
            b.lineBox()->setCurrentText("本科");
            b.belowBox()->setText("-1");
            b.okButton()->click();
            EXPECT_EQ(prompter.messages(), Strings{"线下分数和线上分数必须是不小于 0 的数！"});
            EXPECT_FALSE(b.result());
            b.belowBox()->setText("15");
            b.aboveBox()->setText("20");
            prompter.clear();
            b.okButton()->click();
        })
        .then([&](QDialog& d) {
            auto& b = static_cast<BorderlineDialog&>(d);
            EXPECT_EQ(b.belowBox()->text(), "15");
            EXPECT_EQ(b.aboveBox()->text(), "20");
            EXPECT_EQ(b.lineBox()->count(), 2);
            QTest::keyClick(&b, Qt::Key_Escape);
        });
    entry->trigger();
    EXPECT_EQ(prompter.messages(), Strings{});
    ASSERT_EQ(w.tables().size(), 1);
    EXPECT_EQ(newest().title, "高一 期中 本科临界生");
    EXPECT_EQ(testing::Column(newest(), 2), (Strings{"丙", "己", "辛", "庚"}));
    EXPECT_EQ(newest().printPlan.pageBreakField, "班级");
    entry->trigger();
    EXPECT_EQ(w.tables().size(), 1);
    EXPECT_TRUE(dialogs.exhausted());
}

}  // namespace
}  // namespace scorvane

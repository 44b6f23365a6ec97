// The print set-up and preview window, opened from the table window as a teacher opens it.
#include "main/printing/ui/print_setup_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "common/page_scrolling.h"
#include "common/qt/print_path.h"
#include "common/recorded_pages.h"
#include "main/document/ui/table_window_fixture.h"
#include "main/printing/ui/scrolled_page.h"
#include "support/pdf_files.h"
#include "support/recording_surface.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

class PrintSetupTest : public testing::TableWindowTest {
  protected:
    // The table window's 打印、预览[表格] with `step` done in the open window.
    void openWindow(const std::function<void(PrintSetupWindow&)>& step) {
        host.dialogs.then([step](QDialog& d) { step(static_cast<PrintSetupWindow&>(d)); });
        window->action("menuPrintView")->trigger();
        EXPECT_EQ(host.dialogs.shown().back(), "frmPrintSetup");
    }
    // Pages printed go to `paper`.
    void printTo(RecordingSurface& paper) {
        host.printPath().setPrinterOverride([&paper](const PrintJob&) { return &paper; });
    }
    template <typename W>
    static W* child(QDialog& d, const char* name) {
        W* w = d.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void choose(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    static void click(QDialog& d, const char* name) { child<QPushButton>(d, name)->click(); }
};

TEST_F(PrintSetupTest, TheTableMenuLeadsToThePrintWindowsInItsOrder) {
    load();
    const QList<QAction*> entries = window->menus()[0]->actions();
    QStringList texts;
    for (QAction* a : entries) {
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    const qsizetype import = texts.indexOf(QStringLiteral("导入另一张表格(&I)"));
    ASSERT_GE(import, 0);
    EXPECT_EQ(texts.mid(import + 1),
              (QStringList{"导入电子表格(&N)...", "打印图表(&H)", "打印报表(&B)", "打印、预览[表格](&P)", "-",
                           "关闭(&X)"}));
    EXPECT_EQ(window->action("menuPrintView")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
}

TEST_F(PrintSetupTest, OpensWithThePagesAndRowsOfferedTheTitleAndItsPreview) {
    load(129);
    host.texts.clear();
    openWindow([](PrintSetupWindow& w) {
        EXPECT_EQ(w.windowTitle(), "打印:");
        QComboBox* pages = child<QComboBox>(w, "Combo1");
        ASSERT_EQ(pages->count(), 4);
        EXPECT_EQ(pages->itemText(0), "全部");
        EXPECT_EQ(pages->itemText(3), "3");
        QComboBox* rows = child<QComboBox>(w, "Combo2");
        EXPECT_EQ(rows->count(), 130);
        EXPECT_EQ(rows->itemText(0), "任意");
        EXPECT_EQ(child<QLineEdit>(w, "Text2")->text(), "期中");
        EXPECT_TRUE(child<QCheckBox>(w, "Check2")->isEnabled());
        EXPECT_TRUE(child<QCheckBox>(w, "Check2")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(w, "Check3")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(w, "chkColWidth")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(w, "Check1")->isChecked());
        // The preview is built at once: 129 rows and the title block take more than two A4 pages.
        EXPECT_GE(w.previewPages(), 3);
        EXPECT_EQ(w.preview().height(), w.previewPages() * kA4Height);
    });
    EXPECT_EQ(host.texts, (std::vector<std::string>{"正在生成打印预览...", "就绪"}));
}

TEST_F(PrintSetupTest, AResultPrintsWithItsClassInformationAndAnOrdinaryTableWithout) {
    load();
    window->document().table.classInfo = "由 (1)班 期中考试 统计";
    for (bool result : {false, true}) {
        SCOPED_TRACE(result);
        window->setResultTable(result);
        RecordingSurface paper;
        openWindow([&](PrintSetupWindow& w) {
            EXPECT_EQ(child<QCheckBox>(w, "Check3")->isChecked(), result);
            printTo(paper);
            click(w, "cmdPrint");
        });
        EXPECT_EQ(paper.hasText("由 (1)班 期中考试 统计"), result);
    }
}

TEST_F(PrintSetupTest, ATableWithoutTeacherCannotShowTheTeacherLine) {
    load();
    window->document().table.teacher.clear();
    openWindow([](PrintSetupWindow& w) {
        EXPECT_FALSE(child<QCheckBox>(w, "Check2")->isEnabled());
        EXPECT_FALSE(child<QCheckBox>(w, "Check2")->isChecked());
    });
}

TEST_F(PrintSetupTest, PageThreePrintsTheHeaderAndRow129AndRowFiveComesWithTheTitleBlock) {
    load(129);
    RecordingSurface page3;
    RecordingSurface row5;
    openWindow([&](PrintSetupWindow& w) {
        printTo(page3);
        choose(child<QComboBox>(w, "Combo1"), 3);
        click(w, "cmdPrint");
        printTo(row5);
        // A row chosen puts the pages back to 全部 (and a page the rows to 任意): the window shows what
        // prints.
        choose(child<QComboBox>(w, "Combo2"), 5);
        EXPECT_EQ(child<QComboBox>(w, "Combo1")->currentText(), "全部");
        click(w, "cmdPrint");
        choose(child<QComboBox>(w, "Combo1"), 2);
        EXPECT_EQ(child<QComboBox>(w, "Combo2")->currentText(), "任意");
    });
    EXPECT_EQ(page3.pages(), 1);
    EXPECT_TRUE(page3.hasText("姓名"));
    EXPECT_TRUE(page3.hasText("学生129"));
    EXPECT_FALSE(page3.hasText("学生128"));
    EXPECT_FALSE(page3.hasText("期中"));  // the title block belongs to the first page
    EXPECT_TRUE(page3.hasText(TodayPrintTimeText()));

    EXPECT_TRUE(row5.hasText("期中"));
    EXPECT_TRUE(row5.hasText("教师： 李老师"));
    EXPECT_TRUE(row5.hasText("数学成绩总评"));
    EXPECT_TRUE(row5.hasText("学生5"));
    EXPECT_FALSE(row5.hasText("学生4"));
    EXPECT_FALSE(row5.hasText("学生6"));
    EXPECT_EQ(row5.count(Op::EndJob), 1);
}

TEST_F(PrintSetupTest, WhatThePreviewShowsIsWhatPrints) {
    load(70);
    RecordingSurface paper;
    RecordingSurface shown(RecordingSurface::Kind::Picture);
    openWindow([&](PrintSetupWindow& w) {
        printTo(paper);
        child<QCheckBox>(w, "Check2")->setChecked(false);
        child<QCheckBox>(w, "Check1")->setChecked(false);
        child<QCheckBox>(w, "chkColWidth")->setChecked(false);
        child<QLineEdit>(w, "Text2")->setText("第一学期期中");
        child<QLineEdit>(w, "Text1")->setText("班主任签字");
        click(w, "cmdRefresh");
        w.preview().replayArea(0, 0, kA4Width, w.preview().height(), shown);
        click(w, "cmdPrint");
    });
    // The same texts in the same fonts, and no rules, on the preview and on paper.
    auto texts = [](const RecordingSurface& s) {
        std::vector<std::string> t = s.texts();
        std::sort(t.begin(), t.end());
        return t;
    };
    EXPECT_EQ(texts(shown), texts(paper));
    for (const RecordingSurface* s : {&shown, &paper}) {
        EXPECT_TRUE(s->hasText("第一学期期中"));
        EXPECT_TRUE(s->hasText("班主任签字"));
        EXPECT_FALSE(s->hasText("教师： 李老师"));
        EXPECT_EQ(s->count(Op::Line), 0);
    }
    EXPECT_EQ(shown.textOp("学生70").x1, paper.textOp("学生70").x1);
    // Every row on the same page at the same height: the pages break where the printed ones do, also
    // on the first page, below the title block.
    EXPECT_GE(paper.pages(), 2);
    for (int n = 1; n <= 70; ++n) {
        const std::string name = "学生" + std::to_string(n);
        const double y = shown.textOp(name).y1;
        const int page = static_cast<int>(y / kA4Height);
        EXPECT_EQ(paper.textOp(name).page, page) << name;
        EXPECT_NEAR(paper.textOp(name).y1, y - page * kA4Height, 0.5) << name;
    }
}

TEST_F(PrintSetupTest, FormulasPrintTheirValuesAndTheTableIsTheSameAfterTheWindowCloses) {
    load(3);
    GradeTable& table = window->document().table;
    table.setCell(2, 3, "！公式：cell(?,2)+20");
    const std::string path = table.filePath;
    ASSERT_FALSE(window->document().modified());
    ASSERT_FALSE(window->undoAvailable());
    RecordingSurface paper;
    printTo(paper);
    openWindow([&](PrintSetupWindow& w) { click(w, "cmdPrint"); });
    EXPECT_TRUE(paper.hasText("82"));
    EXPECT_FALSE(paper.hasText("！公式：cell(?,2)+20"));
    EXPECT_EQ(table.cell(2, 3), "！公式：cell(?,2)+20");
    EXPECT_EQ(table.filePath, path);
    EXPECT_FALSE(window->document().modified());
    EXPECT_FALSE(window->undoAvailable());
}

TEST_F(PrintSetupTest, AFailingPrinterIsToldAndTheWindowStaysOpen) {
    load(129);
    RecordingSurface failing;
    failing.failAtPage(1);  // the second sheet cannot be started
    printTo(failing);
    openWindow([&](PrintSetupWindow& w) {
        click(w, "cmdPrint");
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Rejected);
        EXPECT_EQ(host.prompts.messages(), (std::vector<std::string>{"打印错误，请检查 打印机连接！"}));
        EXPECT_EQ(host.prompts.last().title, "打印错误");
    });
}

TEST_F(PrintSetupTest, ATableNeverSavedPrintsToThePdfNamedWhenNoPrinterIsInstalled) {
    GradeTable& table = window->document().table;
    table = GradeTable(81, 3);
    table.setHeaderLayout("  |姓名|语文");
    table.renumber();
    table.title = "未命名的表格";
    for (int r = 1; r < table.rows(); ++r) {
        table.setCell(r, 1, "学生" + std::to_string(r));
        table.setCell(r, 2, std::to_string(50 + r % 50));
    }
    window->tableReset();
    ASSERT_TRUE(table.filePath.empty());
    host.printPath().setPrintersInstalled([] { return false; });
    const std::string pdf = dir.file("表.pdf");
    host.prompts.chooseSave(pdf);
    int previewPages = 0;
    openWindow([&](PrintSetupWindow& w) {
        previewPages = w.previewPages();
        click(w, "cmdPrint");
    });
    EXPECT_EQ(testing::PdfPageCount(pdf), previewPages);
    testing::ExpectParts(testing::PdfText(pdf), {"未命名的表格", "学生1", "学生80", "打印时间："});
    EXPECT_TRUE(host.prompts.messages().empty());
}

// A notch scrolls the steps the designer's page scrolls too (kWheelScrollSteps, 4).
TEST_F(PrintSetupTest, TheWheelScrollsFourStepsANotchDownWhenTurnedTowardsTheUser) {
    load(300);
    openWindow([&](PrintSetupWindow& w) {
        w.resize(600, 700);
        w.show();
        ScrolledPage* view = w.previewView();
        ASSERT_GE(view->horizontalBar()->maximum(), kWheelScrollSteps);  // the page is wider than the view
        struct Turn {
            int angle;
            Qt::KeyboardModifiers modifiers;
            int vertical, horizontal;  // the bars' values after it, in notches
        };
        const Turn turns[] = {{-120, {}, 1, 0},
                              {-240, {}, 3, 0},
                              {120, {}, 2, 0},
                              {60, {}, 2, 0},
                              {-120, Qt::ShiftModifier, 2, 1}};
        for (const Turn& t : turns) {
            QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(),
                              QPoint(0, t.angle), Qt::NoButton, t.modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view, &wheel);
            EXPECT_EQ(view->verticalBar()->value(), t.vertical * kWheelScrollSteps) << t.angle;
            EXPECT_EQ(view->horizontalBar()->value(), t.horizontal * kWheelScrollSteps) << t.angle;
        }
    });
}

TEST_F(PrintSetupTest, ScrollingToTheLastPageShowsIt) {
    load(300);
    openWindow([&](PrintSetupWindow& w) {
        w.resize(900, 700);
        w.show();
        QScrollBar* bar = w.findChild<QScrollBar*>("vscScroll");
        ASSERT_NE(bar, nullptr);
        ASSERT_GT(w.previewPages(), 5);
        const int lastPage = static_cast<int>(std::ceil((w.previewPages() - 1) * kA4Height / 120));
        ASSERT_GE(bar->maximum(), lastPage);
        bar->setValue(lastPage);
        // The top of the last page stands in view, its rows and trailer painted.
        const QImage view = w.previewView()->target()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < view.height(); ++y) {
            for (int x = 0; x < view.width(); ++x) {
                dark += qGray(view.pixel(x, y)) < 100;
            }
        }
        EXPECT_GT(dark, 50);

        // 刷新 with the same pages keeps the place; one row on one page goes back to its top.
        click(w, "cmdRefresh");
        EXPECT_EQ(bar->value(), lastPage);
        choose(child<QComboBox>(w, "Combo2"), 5);
        click(w, "cmdRefresh");
        EXPECT_EQ(w.previewPages(), 1);
        EXPECT_EQ(bar->value(), 0);
    });
}

}  // namespace
}  // namespace scorvane

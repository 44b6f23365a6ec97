// The report printing window, opened from the table window's 打印报表.
#include "main/printing/ui/report_print_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <filesystem>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "common/qt/print_path.h"
#include "main/document/ui/table_window_fixture.h"
#include "support/pdf_files.h"
#include "support/recording_surface.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

TemplateLabel Label(const std::string& caption, double top, double left) {
    TemplateLabel label;
    label.caption = caption;
    label.top = top;
    label.left = left;
    return label;
}

class ReportWindowTest : public testing::TableWindowTest {
  protected:
    void SetUp() override {
        load(40);
        ReportTemplate card;
        card.lineRecords = {"1000,1500,9000,1500,1"};
        card.labels = {Label("成绩通知单", 600, 3500), Label("！引用数据", 1700, 1200),
                       Label("！引用数据", 2200, 1200)};
        ASSERT_TRUE(WriteReportTemplate(card, dir.file("card.rvx")));
        ReportTemplate wide;
        wide.landscape = true;
        wide.labels = {Label("家长签名", 9000, 12000)};
        ASSERT_TRUE(WriteReportTemplate(wide, dir.file("wide.rvx")));
        host.printPath().setPrinterOverride([this](const PrintJob&) { return &paper; });
    }

    void openWindow(const std::function<void(ReportPrintWindow&)>& step) {
        host.dialogs.then([step](QDialog& d) { step(static_cast<ReportPrintWindow&>(d)); });
        window->action("menuPrintBB")->trigger();
        EXPECT_EQ(host.dialogs.shown().back(), "frmPrintBB");
    }
    template <typename W>
    static W* child(QDialog& d, const char* name) {
        W* w = d.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QAction* menu(ReportPrintWindow& w, const char* name) {
        return w.menuBar()->findChild<QAction*>(name);
    }
    void openTemplate(ReportPrintWindow& w, const char* file) {
        host.prompts.chooseOpen(dir.file(file));
        menu(w, "menuOpen")->trigger();
    }
    static void bind(ReportPrintWindow& w, int label, int field) {
        child<QComboBox>(w, "Combo1")->setCurrentIndex(label - 1);
        child<QComboBox>(w, "Combo2")->setCurrentIndex(field - 1);
        child<QPushButton>(w, "Command2")->click();
    }
    static QStringList entries(QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
        return texts;
    }

    RecordingSurface paper;
};

TEST_F(ReportWindowTest, FortyRowsPrintFortyPagesWithTheBoundFields) {
    openWindow([&](ReportPrintWindow& w) {
        EXPECT_EQ(w.windowTitle(), "报表打印");
        EXPECT_FALSE(menu(w, "menuPrint")->isEnabled());
        QComboBox* fields = child<QComboBox>(w, "Combo2");
        ASSERT_EQ(fields->count(), 3);
        EXPECT_EQ(fields->currentText(), "数学成绩总评");
        for (const char* name : {"Combo3", "Combo4", "Combo5"}) {
            EXPECT_EQ(child<QComboBox>(w, name)->count(), 40) << name;
            EXPECT_EQ(child<QComboBox>(w, name)->currentText(), "1") << name;
        }
        EXPECT_TRUE(child<QRadioButton>(w, "Option2")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(w, "Option4")->isChecked());

        openTemplate(w, "card.rvx");
        ASSERT_TRUE(menu(w, "menuPrint")->isEnabled());
        QComboBox* labels = child<QComboBox>(w, "Combo1");
        ASSERT_EQ(labels->count(), 3);
        EXPECT_EQ(labels->currentIndex(), 2);
        bind(w, 2, 1);
        bind(w, 2, 1);  // the same pair again adds nothing
        bind(w, 3, 2);
        EXPECT_EQ(entries(child<QListWidget>(w, "List1")),
                  (QStringList{"！引用数据 = 姓名", "！引用数据 = 语文"}));
        menu(w, "menuPrint")->trigger();
    });
    EXPECT_EQ(paper.pages(), 40);
    EXPECT_EQ(paper.count(Op::NewPage), 39);
    EXPECT_EQ(paper.textOp("学生40").page, 39);
    EXPECT_EQ(paper.textOp("61").y1, 2200);  // row 1's 语文 at label 3
    EXPECT_EQ(paper.orientation(), PageOrientation::Portrait);
}

TEST_F(ReportWindowTest, OneItemPrintsExactlyTheRowChosenFirstOrLast) {
    for (int entry : {0, 39}) {
        paper = RecordingSurface();
        openWindow([&](ReportPrintWindow& w) {
            openTemplate(w, "card.rvx");
            bind(w, 2, 1);
            child<QRadioButton>(w, "Option1")->click();
            child<QComboBox>(w, "Combo3")->setCurrentIndex(entry);
            menu(w, "menuPrint")->trigger();
        });
        EXPECT_EQ(paper.pages(), 1) << entry;
        std::vector<std::string> students;
        for (const std::string& text : paper.texts()) {
            if (text.rfind("学生", 0) == 0) {
                students.push_back(text);
            }
        }
        EXPECT_EQ(students, std::vector<std::string>{"学生" + std::to_string(entry + 1)}) << entry;
    }
}

TEST_F(ReportWindowTest, UnbindingAsksAndTheEndOfTheRangeNeverStandsBeforeItsStart) {
    openWindow([&](ReportPrintWindow& w) {
        openTemplate(w, "card.rvx");
        bind(w, 2, 1);
        QListWidget* list = child<QListWidget>(w, "List1");
        list->setCurrentRow(0);
        host.prompts.answer(Answer::No).answer(Answer::Yes);
        child<QPushButton>(w, "Command3")->click();
        EXPECT_EQ(list->count(), 1);
        child<QPushButton>(w, "Command3")->click();
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(host.prompts.questions(), (std::vector<std::string>{"是否取消绑定：！引用数据 = 姓名 ？",
                                                                      "是否取消绑定：！引用数据 = 姓名 ？"}));
        EXPECT_EQ(host.prompts.last().title, "提示");

        QComboBox* from = child<QComboBox>(w, "Combo4");
        QComboBox* to = child<QComboBox>(w, "Combo5");
        from->setCurrentIndex(9);
        EXPECT_EQ(to->currentText(), "10");  // the start moved beyond the end takes the end along
        to->setCurrentIndex(2);
        EXPECT_EQ(to->currentText(), "10");  // the end set before the start moves up to it
        to->setCurrentIndex(11);
        child<QRadioButton>(w, "Option3")->setChecked(true);
        menu(w, "menuPrint")->trigger();
    });
    EXPECT_EQ(paper.pages(), 3);
    EXPECT_TRUE(paper.hasText("！引用数据"));  // unbound, printed as it stands
}

TEST_F(ReportWindowTest, ASecondTemplateLeavesNothingOfTheFirstAndTurnsThePaper) {
    openWindow([&](ReportPrintWindow& w) {
        openTemplate(w, "card.rvx");
        bind(w, 2, 1);
        openTemplate(w, "wide.rvx");
        EXPECT_EQ(child<QComboBox>(w, "Combo1")->count(), 1);
        EXPECT_EQ(child<QComboBox>(w, "Combo1")->currentText(), "家长签名");
        EXPECT_EQ(child<QListWidget>(w, "List1")->count(), 0);
        EXPECT_TRUE(child<QRadioButton>(w, "Option5")->isChecked());
        child<QRadioButton>(w, "Option1")->setChecked(true);
        child<QComboBox>(w, "Combo3")->setCurrentIndex(4);
        menu(w, "menuPrint")->trigger();
    });
    EXPECT_EQ(paper.pages(), 1);
    EXPECT_EQ(paper.texts(), (std::vector<std::string>{"家长签名"}));
    EXPECT_EQ(paper.count(Op::Line), 0);
    EXPECT_EQ(paper.orientation(), PageOrientation::Landscape);
}

TEST_F(ReportWindowTest, LandscapeChosenByHandPrintsLandscapePdfPages) {
    host.printPath().setPrinterOverride({});
    host.printPath().setPrintersInstalled([] { return false; });
    const std::string pdf = dir.file("cards.pdf");
    host.prompts.chooseSave(pdf);
    openWindow([&](ReportPrintWindow& w) {
        openTemplate(w, "card.rvx");
        bind(w, 2, 1);
        child<QRadioButton>(w, "Option5")->setChecked(true);
        child<QRadioButton>(w, "Option3")->setChecked(true);
        child<QComboBox>(w, "Combo5")->setCurrentIndex(1);
        menu(w, "menuPrint")->trigger();
    });
    EXPECT_EQ(testing::PdfPageSizes(pdf), "2 842x595 842x595");
    testing::ExpectParts(testing::PdfText(pdf), {"成绩通知单", "学生1", "学生2"}, {"学生3"});
}

TEST_F(ReportWindowTest, EachStudentsCardGoesIntoAFileOfItsOwnAfterOneQuestion) {
    const std::string folder = dir.file("cards");
    std::filesystem::create_directories(folder);
    testing::WriteBytes(folder + "/学生2.pdf", "old");
    openWindow([&](ReportPrintWindow& w) {
        QCheckBox* split = child<QCheckBox>(w, "Check1");
        EXPECT_EQ(split->text(), "每个学生一个PDF文件(&E)");
        EXPECT_FALSE(split->isChecked());
        EXPECT_FALSE(w.folderEdit()->isEnabled());
        EXPECT_EQ(w.patternEdit()->text(), "{姓名}.pdf");  // the table has no 学号
        openTemplate(w, "card.rvx");
        bind(w, 2, 1);
        split->click();
        EXPECT_TRUE(w.folderEdit()->isEnabled() && w.patternEdit()->isEnabled());
        child<QRadioButton>(w, "Option3")->setChecked(true);
        child<QComboBox>(w, "Combo5")->setCurrentIndex(2);

        w.folderEdit()->clear();
        menu(w, "menuPrint")->trigger();
        w.folderEdit()->setText(QString::fromStdString(folder));
        w.patternEdit()->setText("{班级}.pdf");
        menu(w, "menuPrint")->trigger();
        EXPECT_EQ(host.prompts.messages(),
                  (std::vector<std::string>{"请选择保存PDF文件的文件夹！", "文件名中的字段“班级”在表格中不存在！"}));
        // 学生2.pdf stands there: one question, and 取消 writes nothing.
        w.patternEdit()->setText("{姓名}.pdf");
        host.prompts.answer(Answer::Cancel).answer(Answer::Yes);
        menu(w, "menuPrint")->trigger();
        EXPECT_FALSE(std::filesystem::exists(folder + "/学生1.pdf"));
        EXPECT_EQ(testing::ReadBytes(folder + "/学生2.pdf"), "old");
        menu(w, "menuPrint")->trigger();
        EXPECT_EQ(host.prompts.questions().size(), 2U);
        EXPECT_EQ(host.prompts.last().captions, (std::vector<std::string>{"覆盖全部(&O)", "取消"}));
    });
    EXPECT_TRUE(paper.texts().empty());  // nothing went to the printer
    EXPECT_EQ(host.texts.back(), "已生成 3 个PDF文件");
    for (int r = 1; r <= 3; ++r) {
        const std::string pdf = folder + "/学生" + std::to_string(r) + ".pdf";
        EXPECT_EQ(testing::PdfPageCount(pdf), 1) << pdf;
        const std::string text = testing::PdfText(pdf);
        EXPECT_NE(text.find("学生" + std::to_string(r)), std::string::npos) << text;
        EXPECT_EQ(text.find("学生" + std::to_string(r % 3 + 1)), std::string::npos) << text;
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/学生4.pdf"));
}

}  // namespace
}  // namespace scorvane

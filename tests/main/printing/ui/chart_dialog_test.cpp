// The chart dialog, opened from the table window's 打印图表.
#include "main/printing/ui/chart_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/qt/print_path.h"
#include "common/qt/qt_surface.h"
#include "main/document/ui/table_window_fixture.h"
#include "support/recording_surface.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

class ChartDialogTest : public testing::TableWindowTest {
  protected:
    void SetUp() override {
        load(4);
        host.printPath().setPrinterOverride([this](const PrintJob&) { return &paper; });
    }
    void openDialog(const std::function<void(ChartDialog&)>& step) {
        host.dialogs.then([step](QDialog& d) { step(static_cast<ChartDialog&>(d)); });
        window->action("menuPrintTB")->trigger();
        EXPECT_EQ(host.dialogs.shown().back(), "frm图表");
    }
    template <typename W>
    static W* child(QDialog& d, const char* name) {
        W* w = d.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Ticks the fields and selects the rows (both from 1).
    static void choose(ChartDialog& d, std::initializer_list<int> fields, std::initializer_list<int> rows) {
        for (int f : fields) {
            child<QListWidget>(d, "List1")->item(f - 1)->setCheckState(Qt::Checked);
        }
        for (int r : rows) {
            child<QListWidget>(d, "List2")->item(r - 1)->setSelected(true);
        }
    }

    RecordingSurface paper;
};

TEST_F(ChartDialogTest, OpensOnTheTablesFieldsAndRows) {
    openDialog([](ChartDialog& d) {
        EXPECT_EQ(d.windowTitle(), "图表（A4纵向，约半张）");
        EXPECT_EQ(child<QLineEdit>(d, "Text6")->text(), "期中");
        QListWidget* fields = child<QListWidget>(d, "List1");
        ASSERT_EQ(fields->count(), 3);
        EXPECT_EQ(fields->currentRow(), 2);
        EXPECT_EQ(child<QComboBox>(d, "Combo1")->currentText(), "姓名");
        QListWidget* rows = child<QListWidget>(d, "List2");
        ASSERT_EQ(rows->count(), 4);
        EXPECT_EQ(rows->item(3)->text(), "学生4");
        // Another display field names the rows by its values; the rows chosen stay chosen.
        rows->item(1)->setSelected(true);
        child<QComboBox>(d, "Combo1")->setCurrentIndex(1);
        EXPECT_EQ(rows->item(3)->text(), "64");
        EXPECT_TRUE(rows->item(1)->isSelected());
        EXPECT_EQ(child<QLineEdit>(d, "Text2")->text(), "100");
        EXPECT_EQ(child<QLineEdit>(d, "Text1")->text(), "0");
        EXPECT_EQ(child<QLineEdit>(d, "Text3")->text(), "5");
        EXPECT_TRUE(child<QRadioButton>(d, "Option1")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(d, "Option4")->isChecked());
    });
}

TEST_F(ChartDialogTest, TheMaximumAndSegmentBoxesTakeOnlyDigitsAndBackspace) {
    openDialog([](ChartDialog& d) {
        for (const char* name : {"Text2", "Text3"}) {
            QLineEdit* box = child<QLineEdit>(d, name);
            box->clear();
            QTest::keyClicks(box, "1a2.-3 ");
            EXPECT_EQ(box->text(), "123") << name;
            QTest::keyClick(box, Qt::Key_Backspace);
            EXPECT_EQ(box->text(), "12") << name;
        }
        // The minimum box takes what is typed.
        QLineEdit* minimum = child<QLineEdit>(d, "Text1");
        minimum->clear();
        QTest::keyClicks(minimum, "-5");
        EXPECT_EQ(minimum->text(), "-5");
    });
}

TEST_F(ChartDialogTest, TheEditingKeysWorkInTheMaximumAndSegmentBoxesAndAPasteKeepsItsDigits) {
    openDialog([](ChartDialog& d) {
        for (const char* name : {"Text2", "Text3"}) {
            QLineEdit* box = child<QLineEdit>(d, name);
            const QString before = box->text();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            EXPECT_EQ(box->selectedText(), before) << name;
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), before) << name;
            QTest::keyClick(box, Qt::Key_Delete);
            EXPECT_EQ(box->text(), "") << name;
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(box->text(), before) << name;
            QGuiApplication::clipboard()->setText(QStringLiteral("12a"));
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(box->text(), "12") << name;
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(box->text(), before) << name;
            // Text put in another way (the box's own paste, a drop) keeps its digits too.
            box->selectAll();
            box->paste();
            EXPECT_EQ(box->text(), "12") << name;
        }
    });
}

TEST_F(ChartDialogTest, NothingChosenIsToldAndAnEmptyOrZeroBoxBecomesOne) {
    openDialog([&](ChartDialog& d) {
        child<QPushButton>(d, "Command4")->click();
        child<QPushButton>(d, "Command5")->click();
        EXPECT_EQ(host.prompts.messages(),
                  (std::vector<std::string>{"请先选择要处理的数据（字段、处理对象）。",
                                            "请先选择要处理的数据（字段、处理对象）。"}));
        EXPECT_EQ(host.prompts.last().icon, Icon::Information);
        EXPECT_TRUE(paper.ops().empty());

        choose(d, {2}, {1, 3});
        child<QLineEdit>(d, "Text2")->setText("0");
        child<QLineEdit>(d, "Text3")->clear();
        child<QPushButton>(d, "Command4")->click();
        EXPECT_EQ(child<QLineEdit>(d, "Text2")->text(), "1");
        EXPECT_EQ(child<QLineEdit>(d, "Text3")->text(), "1");
    });
}

TEST_F(ChartDialogTest, TheOrderPanelAndTheHelpLineFollowTheChartType) {
    openDialog([](ChartDialog& d) {
        d.show();
        QFrame* order = child<QFrame>(d, "Frame1");
        EXPECT_TRUE(order->isVisible());
        child<QRadioButton>(d, "Option2")->setChecked(true);
        EXPECT_FALSE(order->isVisible());
        child<QRadioButton>(d, "Option1")->setChecked(true);
        EXPECT_TRUE(order->isVisible());

        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(child<QRadioButton>(d, "Option2"), &enter);
        EXPECT_TRUE(child<QLabel>(d, "Label8")->isVisible());
        EXPECT_FALSE(child<QLabel>(d, "Label7")->isVisible());
        QCoreApplication::sendEvent(child<QRadioButton>(d, "Option1"), &enter);
        EXPECT_FALSE(child<QLabel>(d, "Label8")->isVisible());
        EXPECT_TRUE(child<QLabel>(d, "Label7")->isVisible());
    });
}

TEST_F(ChartDialogTest, ABarChartPreviewsSavesAsABitmapAndPrints) {
    const std::string bmp = dir.file("图表.bmp");
    openDialog([&](ChartDialog& d) {
        choose(d, {2}, {1, 2, 3, 4});
        child<QRadioButton>(d, "Option2")->setChecked(true);
        child<QPushButton>(d, "Command4")->click();
        // Bars in grey on the preview picture.
        const QImage* picture = d.picture().image();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->pixelColor(1167 / 15, 3400 / 15), QColor(128, 128, 128));

        host.prompts.chooseSave(bmp);
        emit child<QLabel>(d, "Label9")->linkActivated("save");
        host.prompts.chooseSave(dir.path());  // a folder: the file cannot be written
        emit child<QLabel>(d, "Label9")->linkActivated("save");
        child<QPushButton>(d, "Command5")->click();
    });
    EXPECT_EQ(testing::ReadBytes(bmp).substr(0, 2), "BM");
    EXPECT_EQ(QImage(QString::fromStdString(bmp)).size(), QSize(500, 320));
    EXPECT_EQ(host.prompts.messages(), (std::vector<std::string>{"文件保存失败！"}));
    EXPECT_EQ(host.prompts.last().title, "错误");
    // On paper, 1.74 times as large, with its subject and title.
    EXPECT_TRUE(paper.hasText("学科：语文"));
    EXPECT_TRUE(paper.hasText("    期中"));
    ASSERT_EQ(paper.count(Op::FillBox), 4);
    EXPECT_DOUBLE_EQ(paper.ops(Op::FillBox)[3].y2, 3500 * 1.74);
    EXPECT_EQ(paper.count(Op::EndJob), 1);
}

TEST_F(ChartDialogTest, ARankLineChartPutsSmallValuesOnTop) {
    openDialog([&](ChartDialog& d) {
        choose(d, {2, 3}, {2});
        child<QRadioButton>(d, "Option3")->setChecked(true);
        child<QPushButton>(d, "Command5")->click();
    });
    // 升序↓: y = 3500 * v / 100, scaled; 学生2 has 62 and 72.
    const std::vector<Op> points = paper.ops(Op::Circle);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_NEAR(points[0].y1, 3500 * 0.62 * 1.74, 1e-6);
    EXPECT_NEAR(points[1].y1, 3500 * 0.72 * 1.74, 1e-6);
    EXPECT_TRUE(paper.hasText("学生2"));
}

TEST_F(ChartDialogTest, TotalsAboveTheDefaultMaximumAreOfferedAnAxisThatHoldsThem) {
    GradeTable& t = window->document().table;
    for (auto [row, total] : {std::pair{1, "250"}, {2, "483"}, {3, "310"}, {4, "95"}}) {
        t.setCell(row, 3, total);
    }
    openDialog([&](ChartDialog& d) {
        QLineEdit* maximum = child<QLineEdit>(d, "Text2");
        QLineEdit* minimum = child<QLineEdit>(d, "Text1");
        QListWidget* fields = child<QListWidget>(d, "List1");
        const auto axis = [&] { return maximum->text() + "/" + minimum->text(); };
        choose(d, {2}, {1, 2});
        EXPECT_EQ(axis(), "100/0");  // 语文 61 and 62
        choose(d, {3}, {});
        EXPECT_EQ(axis(), "500/50");
        fields->item(1)->setCheckState(Qt::Unchecked);
        EXPECT_EQ(axis(), "500/200");  // 250 and 483
        child<QRadioButton>(d, "Option2")->setChecked(true);
        EXPECT_EQ(axis(), "500/0");  // bars stand on 0
        child<QRadioButton>(d, "Option1")->setChecked(true);
        EXPECT_EQ(axis(), "500/200");
        child<QListWidget>(d, "List2")->clearSelection();
        EXPECT_EQ(axis(), "100/0");
        choose(d, {}, {1, 2});
        // A box changed by hand keeps what was typed.
        maximum->setText("600");
        choose(d, {}, {4});
        EXPECT_EQ(axis(), "600/50");
        child<QPushButton>(d, "Command4")->click();
        EXPECT_TRUE(host.prompts.calls().empty());
        EXPECT_EQ(d.chosenData().maximum, 600);
        EXPECT_EQ(d.chosenData().minimum, 50);
    });
}

}  // namespace
}  // namespace scorvane

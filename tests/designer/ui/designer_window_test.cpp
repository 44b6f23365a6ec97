// The designer's window driven through its controls: drawing and editing lines with the mouse and the
// panel, the grid, the orientation, the frames of the side panel and the file commands.
#include "designer/ui/designer_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>

#include "designer/template_file_commands.h"
#include "designer/ui/page_viewport.h"
#include "designer/ui/page_widget.h"
#include "designer/ui/side_panel.h"
#include "designer_window_fixture.h"

namespace scorvane::designer {
namespace {

using testing_support::Strings;

class DesignerWindowTest : public testing_support::DesignerWindowFixture {
  protected:
    QString box(int i) { return find<QLineEdit>(("Text2(" + std::to_string(i) + ")").c_str())->text(); }
    // A point of the page given in twips, as the widget's pixels.
    QPoint at(double x, double y) {
        const double tpp = window.page()->twipsPerPixel();
        return QPoint(static_cast<int>(std::lround(x / tpp)), static_cast<int>(std::lround(y / tpp)));
    }
    // Draws a line with the popup's choice, from and to points given in twips.
    void drawLine(const char* choice, QPoint from, QPoint to) {
        QTest::mouseClick(window.page(), Qt::LeftButton, {}, from);
        ASSERT_TRUE(window.lineMenu()->isVisible());
        action(choice)->trigger();
        window.lineMenu()->hide();
        QTest::mouseMove(window.page(), to);
        QTest::mouseClick(window.page(), Qt::LeftButton, {}, to);
    }
    const std::string& record(size_t i) { return window.document().lines.record(i); }
    bool lineEditorShown() {
        return window.panel()->editors->currentWidget() == static_cast<QWidget*>(window.panel()->lineEditor);
    }
};

TEST_F(DesignerWindowTest, StartsOnAnEmptyPortraitPageWithTheGridAndTheMenusInOrder) {
    EXPECT_EQ(window.windowTitle(), "无标题[*] - ScorvaneVelmora");
    EXPECT_TRUE(find<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "0.5");
    EXPECT_EQ(window.lineDrawing().mode(), LineMode::None);
    EXPECT_FALSE(window.document().changed);
    EXPECT_TRUE(window.document().fileName.empty());
    EXPECT_TRUE(lineEditorShown());
    // The page is A4 at screen scale, grey grid lines on white, inside its viewport with both bars.
    const QImage& page = window.page()->picture();
    EXPECT_EQ(page.width(), 794);
    EXPECT_EQ(page.height(), 1123);
    EXPECT_EQ(page.pixelColor(0, 500), QColor(192, 192, 192));
    EXPECT_EQ(page.pixelColor(10, 500), QColor(Qt::white));
    EXPECT_GT(find<QScrollBar>("vscScroll")->maximum(), 0);
    EXPECT_EQ(find<QScrollBar>("LH")->maximum(), 11907);
    EXPECT_EQ(find<QScrollBar>("LV")->maximum(), 16840);

    Strings menus;
    for (QAction* top : window.menuBar()->actions()) {
        std::string entries = top->text().toStdString() + ":";
        for (QAction* a : top->menu()->actions()) {
            entries += a->isSeparator() ? std::string(" —") : " " + a->text().toStdString();
        }
        menus.push_back(entries);
    }
    EXPECT_EQ(menus, (Strings{"文件(&F): 新建(&N) 打开(&O)... 保存(&S) 另存为(&A)... — 导入图形表格样底(&I) "
                              "导出为&BMP文件 — 打印样张(&P) — 退出(&X)",
                              "文字标签(&L): 添加标签(&A) 更改字体(&F) 更改颜色(&C) 删除标签(&D) — "
                              "更改所有标签字体(&O) 更改所有标签颜色(&O)",
                              "帮助(&H): 帮助主题 关于(&A)..."}));
    Strings popup;
    for (QAction* a : window.lineMenu()->actions()) {
        popup.push_back(a->text().toStdString());
    }
    EXPECT_EQ(popup, (Strings{"自由画线(&F)", "固定 &X 坐标(竖线)", "固定 &Y 坐标(横线)", "取消(&C)"}));
}

TEST_F(DesignerWindowTest, DrawingALineWithTheMouseListsSelectsAndShowsIt) {
    auto* list = find<QComboBox>("Combo1");
    // Fixed X: the popup's choice, a rubber band while the mouse moves, the line on the left release.
    QTest::mouseClick(window.page(), Qt::LeftButton, {}, at(1500, 3000));
    ASSERT_TRUE(window.lineMenu()->isVisible());
    EXPECT_FALSE(window.page()->rubberBand());
    action("menuFixedX")->trigger();
    window.lineMenu()->hide();
    QTest::mouseMove(window.page(), at(4500, 6000));
    ASSERT_TRUE(window.page()->rubberBand());
    EXPECT_EQ(window.page()->rubberBand()->second, (PagePoint{1500, 6000}));
    QTest::mouseClick(window.page(), Qt::LeftButton, {}, at(4500, 6000));
    EXPECT_FALSE(window.page()->rubberBand());
    EXPECT_EQ(record(0), "1500,6000,1500,3000,1");
    EXPECT_EQ(list->currentText(), "表格直线  0");
    EXPECT_EQ(box(0), "1500");
    EXPECT_EQ(box(1), "6000");
    EXPECT_EQ(box(3), "3000");
    EXPECT_EQ(find<QScrollBar>("LV")->value(), 6000);
    EXPECT_TRUE(window.document().changed);
    // The selected line is red on the page.
    EXPECT_EQ(window.page()->picture().pixelColor(at(1500, 4500)), QColor(255, 0, 0));

    // A right release starts a free line at once; the next left release ends it.
    window.panel()->showLabelEditor();
    QTest::mouseClick(window.page(), Qt::RightButton, {}, at(6000, 1500));
    EXPECT_FALSE(window.lineMenu()->isVisible());
    EXPECT_TRUE(lineEditorShown());  // every release on the page brings the line editor back
    QTest::mouseClick(window.page(), Qt::LeftButton, {}, at(9000, 1500));
    EXPECT_EQ(record(1), "9000,1500,6000,1500,1");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(window.page()->picture().pixelColor(at(1500, 4500)), QColor(0, 0, 0));

    // Choosing the first line again redraws without changing it or the flag.
    window.document().changed = false;
    list->setCurrentIndex(0);
    EXPECT_EQ(box(0), "1500");
    EXPECT_EQ(record(0), "1500,6000,1500,3000,1");
    EXPECT_FALSE(window.document().changed);

    // "取消(&C)" leaves nothing under way.
    QTest::mouseClick(window.page(), Qt::LeftButton, {}, at(3000, 3000));
    action("menuCancelLine")->trigger();
    window.lineMenu()->hide();
    EXPECT_EQ(window.lineDrawing().mode(), LineMode::None);
}

TEST_F(DesignerWindowTest, TheLineEditorEditsMovesLengthensCopiesAndDeletes) {
    drawLine("menuFixedY", at(1005, 1500), at(9000, 1500));
    ASSERT_EQ(record(0), "9000,1500,1005,1500,1");
    window.document().changed = false;

    // Digits and Backspace reach a coordinate box, other characters are dropped, every key marks the
    // template changed, and Enter commits the boxes with kind 2.
    auto* x1 = find<QLineEdit>("Text2(0)");
    x1->setFocus();
    x1->selectAll();
    QTest::keyClicks(x1, "8a0-00");
    EXPECT_EQ(x1->text(), "8000");
    EXPECT_TRUE(window.document().changed);
    EXPECT_EQ(record(0), "9000,1500,1005,1500,1");
    QTest::keyClick(x1, Qt::Key_Return);
    EXPECT_EQ(record(0), "8000,1500,1005,1500,2");
    x1->clear();
    QTest::keyClick(x1, Qt::Key_Return);  // an empty box commits nothing
    EXPECT_EQ(record(0), "8000,1500,1005,1500,2");

    find<QScrollBar>("LH")->setValue(2000);
    EXPECT_EQ(record(0), "2000,1500,-4995,1500,2");
    EXPECT_EQ(x1->text(), "2000");
    find<QScrollBar>("LV")->setValue(1600);
    EXPECT_EQ(record(0), "2000,1600,-4995,1600,2");
    find<QPushButton>("Command8")->click();
    EXPECT_EQ(record(0), "2015,1600,-4995,1600,2");
    find<QPushButton>("Command9")->click();
    EXPECT_EQ(record(0), "2000,1600,-4995,1600,2");

    find<QPushButton>("Command7")->click();
    EXPECT_EQ(record(1), "2050,1650,-4945,1650,1");
    EXPECT_EQ(find<QComboBox>("Combo1")->currentText(), "表格直线  1");
    find<QPushButton>("Command10")->click();  // ↑
    find<QPushButton>("Command12")->click();  // ←
    EXPECT_EQ(record(0), "1975,1575,-5020,1575,2");
    EXPECT_EQ(record(1), "2025,1625,-4970,1625,1");

    find<QPushButton>("Command2")->click();
    find<QPushButton>("Command2")->click();
    EXPECT_TRUE(window.document().lines.empty());
    EXPECT_EQ(find<QComboBox>("Combo1")->count(), 0);
    EXPECT_TRUE(box(0).isEmpty());
    // With no line at all the commands do nothing.
    find<QPushButton>("Command2")->click();
    find<QPushButton>("Command7")->click();
    find<QPushButton>("Command8")->click();
    EXPECT_TRUE(window.document().lines.empty());
}

TEST_F(DesignerWindowTest, TheSidePanelSwitchesBetweenItsTwoEditors) {
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(find<QLabel>("Label9"), &enter);
    EXPECT_EQ(window.panel()->editors->currentWidget(), find<QWidget>("Frame2"));
    QCoreApplication::sendEvent(find<QLabel>("Label8"), &enter);
    EXPECT_TRUE(lineEditorShown());
    window.activateWindow();
    find<QComboBox>("Combo2")->setFocus();
    QCoreApplication::processEvents();
    if (find<QComboBox>("Combo2")->hasFocus()) {
        EXPECT_FALSE(lineEditorShown());
    }
    // Typing into the text of a list marks the template changed.
    QTest::keyClicks(find<QComboBox>("Combo1")->lineEdit(), "x");
    EXPECT_TRUE(window.document().changed);
}

TEST_F(DesignerWindowTest, TheGridFollowsItsSwitchAndNoSpacingBreaksTheRedraw) {
    auto* spacing = find<QLineEdit>("Text1");
    spacing->setFocus();
    spacing->selectAll();
    QTest::keyClicks(spacing, "1a-");
    EXPECT_EQ(spacing->text(), "1");
    // 22 vertical lines over a portrait page: one every 11907 / 21 twips.
    const QImage& page = window.page()->picture();
    EXPECT_EQ(page.pixelColor(at(11907.0 / 21 * 5, 200)), QColor(192, 192, 192));
    for (const char* text : {"1.2.3", "", ".", "0", "0.0001", "99999"}) {
        spacing->setText(text);
        EXPECT_EQ(window.page()->picture().pixelColor(at(11907.0 / 21 * 5, 200)), QColor(Qt::white)) << text;
    }
    spacing->setText("1");
    find<QCheckBox>("Check1")->setChecked(false);
    EXPECT_EQ(window.page()->picture().pixelColor(at(11907.0 / 21 * 5, 200)), QColor(Qt::white));
    EXPECT_FALSE(window.document().changed);
}

TEST_F(DesignerWindowTest, TheOrientationTurnsThePageAndItsBars) {
    find<QRadioButton>("Option1")->click();
    EXPECT_TRUE(window.document().landscape);
    EXPECT_TRUE(window.document().changed);
    EXPECT_EQ(window.page()->picture().width(), 1123);
    EXPECT_EQ(window.page()->width(), 1123);
    EXPECT_EQ(find<QScrollBar>("LH")->maximum(), 16840);
    EXPECT_EQ(find<QScrollBar>("LV")->maximum(), 11907);
    // Scrolling moves the page 120 twips a step.
    auto* bar = find<QScrollBar>("hscScroll");
    ASSERT_GT(bar->maximum(), 3);
    bar->setValue(3);
    EXPECT_EQ(window.page()->x(), -24);
    find<QRadioButton>("Option2")->click();
    EXPECT_FALSE(window.document().landscape);
    EXPECT_EQ(window.page()->picture().width(), 794);
}

TEST_F(DesignerWindowTest, OpensShowsAndListsATemplateAndAsksBeforeDiscardingEdits) {
    const std::string path = std::string(SCORVANE_SOURCE_DIR) + "/examples/成绩通知单.rvx";
    ASSERT_TRUE(window.openAtStart(path));
    const TemplateDocument& doc = window.document();
    ASSERT_GT(doc.lines.size(), 2u);
    ASSERT_GT(doc.labels.size(), 2u);
    auto* lines = find<QComboBox>("Combo1");
    auto* labels = find<QComboBox>("Combo2");
    EXPECT_EQ(lines->count(), static_cast<int>(doc.lines.size()));
    EXPECT_EQ(lines->currentText().toStdString(), "表格线段  " + std::to_string(doc.lines.size() - 1));
    EXPECT_EQ(labels->currentText().toStdString(), "文字标签  " + std::to_string(doc.labels.size() - 1));
    EXPECT_FALSE(doc.changed);
    // Every label stands on the page where its record puts it; the selected one is lavender.
    for (size_t i = 0; i < doc.labels.size(); ++i) {
        const QRect r = window.page()->labelRect(static_cast<int>(i));
        EXPECT_FALSE(r.isEmpty());
        EXPECT_EQ(r.topLeft(), at(doc.labels.label(i).left, doc.labels.label(i).top));
    }
    const QImage shown = window.page()->grab().toImage();
    const QRect last = window.page()->labelRect(static_cast<int>(doc.labels.size()) - 1);
    EXPECT_EQ(shown.pixelColor(last.topLeft() + QPoint(1, 1)), kSelectedLabelBackground);
    // Hovering a label brings the label editor forward.
    QTest::mouseMove(window.page(), window.page()->labelRect(0).center());
    EXPECT_FALSE(lineEditorShown());

    // "新建(&N)" after an edit asks; No keeps everything, Yes empties the page.
    find<QPushButton>("Command7")->click();
    prompter.answer(Answer::No).answer(Answer::Yes);
    action("menuNew")->trigger();
    EXPECT_EQ(lines->count(), static_cast<int>(doc.lines.size()));
    EXPECT_EQ(doc.fileName, path);
    action("menuNew")->trigger();
    EXPECT_EQ(prompter.questions(), (Strings{std::string(kNewQuestion), std::string(kNewQuestion)}));
    EXPECT_EQ(lines->count(), 0);
    EXPECT_EQ(labels->count(), 0);
    EXPECT_EQ(window.page()->labelRect(0), QRect());
    EXPECT_TRUE(doc.fileName.empty());
    EXPECT_FALSE(doc.changed);
}

TEST_F(DesignerWindowTest, SaveAsWritesTheTemplateAndClosingAsksWhileChangesAreUnsaved) {
    drawLine("menuFreeLine", at(1500, 1500), at(3000, 3000));
    prompter.chooseSave("");
    action("menuSave")->trigger();  // a new template: Save As, cancelled
    EXPECT_TRUE(window.document().changed);

    prompter.answer(Answer::No);
    QCloseEvent refused;
    QCoreApplication::sendEvent(&window, &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_EQ(prompter.questions(), Strings{std::string(kCloseQuestion)});

    const std::string path = dir.file("通知单.rvx");
    prompter.chooseSave(dir.file("通知单"));  // typed without the extension
    action("menuSaveAs")->trigger();
    EXPECT_FALSE(window.document().changed);
    EXPECT_EQ(window.document().fileName, path);
    TemplateDocument back;
    testing::RecordingStatus status;
    ASSERT_TRUE(OpenTemplateFile(back, path, prompter, status));
    EXPECT_EQ(back.lines.records(), Strings{"3000,3000,1500,1500,1"});
    QCloseEvent accepted;
    QCoreApplication::sendEvent(&window, &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    EXPECT_EQ(prompter.questions().size(), 1u);

    // "退出(&X)" asks as the close button does while changes are unsaved: No stays, Yes ends the program.
    window.document().markChanged();
    bool exited = false;
    window.setExitHandler([&] { exited = true; });
    prompter.answer(Answer::No).answer(Answer::Yes);
    action("menuExit")->trigger();
    EXPECT_FALSE(exited);
    action("menuExit")->trigger();
    EXPECT_TRUE(exited);
    QCloseEvent atExit;  // the window then closes without asking again
    QCoreApplication::sendEvent(&window, &atExit);
    EXPECT_TRUE(atExit.isAccepted());
    EXPECT_EQ(prompter.questions(), Strings(3, std::string(kCloseQuestion)));
    EXPECT_TRUE(prompter.exhausted());
}

}  // namespace
}  // namespace scorvane::designer

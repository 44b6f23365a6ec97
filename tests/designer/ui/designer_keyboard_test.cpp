// The designer from the keyboard and in everyday use: the title and the file shortcuts, giving up a
// line under way, the Tab order of the side panel and the letters of its buttons, committing a caption
// when its box is left, moving a label with the arrow keys, the captions' hover areas, labels kept on a
// turned page, labels lying on each other, the wheel, and labels of any size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

#include "common/page_scrolling.h"
#include "designer/label_editing.h"
#include "designer/ui/page_viewport.h"
#include "designer/ui/page_widget.h"
#include "designer/ui/side_panel.h"
#include "designer_window_fixture.h"

namespace scorvane::designer {
namespace {

using testing_support::Strings;

class DesignerKeyboardTest : public testing_support::DesignerWindowFixture {
  protected:
    void activate() {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // Keys go where a keyboard sends them: to the widget with the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }
    static std::string focused() {
        QWidget* w = QApplication::focusWidget();
        while (w && w->objectName().isEmpty()) {
            w = w->parentWidget();
        }
        return w ? w->objectName().toStdString() : "";
    }
    bool lineEditorShown() { return window.panel()->lineEditorShown(); }
    const TemplateLabel& label(size_t i) { return window.document().labels.label(i); }
};

TEST_F(DesignerKeyboardTest, TheTitleNamesTheFileAndMarksChangesAndCtrlNOSWorkTheFile) {
    activate();
    window.page()->setFocus();
    find<QPushButton>("Command3")->click();
    EXPECT_EQ(window.windowTitle(), "无标题[*] - ScorvaneVelmora");
    EXPECT_TRUE(window.isWindowModified());
    const std::string path = dir.file("通知单.rvx");
    prompter.chooseSave(path);
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.windowTitle(), "通知单.rvx[*] - ScorvaneVelmora");
    EXPECT_FALSE(window.isWindowModified());
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window.windowTitle(), "无标题[*] - ScorvaneVelmora");
    EXPECT_TRUE(window.document().labels.empty());
    prompter.chooseOpen(path);
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(window.document().labels.size(), 1u);
    EXPECT_EQ(window.windowTitle(), "通知单.rvx[*] - ScorvaneVelmora");
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(DesignerKeyboardTest, EscapeGivesUpALineUnderWayAndNewForgetsIt) {
    activate();
    const QPoint first(100, 100);
    for (bool byNew : {false, true}) {
        QTest::mouseClick(window.page(), Qt::RightButton, {}, first);
        ASSERT_TRUE(window.lineDrawing().underWay());
        if (byNew) {
            action("menuNew")->trigger();
        } else {
            key(Qt::Key_Escape);
        }
        EXPECT_FALSE(window.lineDrawing().underWay());
        EXPECT_FALSE(window.page()->rubberBand());
        // The next left click begins a new line instead of ending the old one.
        QTest::mouseClick(window.page(), Qt::LeftButton, {}, QPoint(300, 300));
        EXPECT_TRUE(window.lineMenu()->isVisible());
        window.lineMenu()->hide();
        EXPECT_TRUE(window.document().lines.empty());
    }
}

TEST_F(DesignerKeyboardTest, TabGoesThroughTheEditorInViewInReadingOrderAndShiftTabComesBack) {
    activate();
    find<QComboBox>("Combo1")->setFocus();
    Strings order;
    for (int i = 0; i < 29; ++i) {
        // (Tab stops at one button of the orientation, the checked one or the first, as the platform has it)
        order.push_back(focused().starts_with("Option") ? "Option" : focused());
        key(Qt::Key_Tab);
    }
    EXPECT_EQ(order, (Strings{"Combo1",   "Text2(0)", "Text2(1)",  "Text2(2)",  "Text2(3)",  "LH",
                              "LV",       "Command8", "Command9",  "Command7",  "Command2",  "Combo2",
                              "Text4(1)", "Text4(0)", "Text3",     "Check2",    "Command3",  "Command6",
                              "Command4", "Command5", "Command10", "Command12", "Command11", "Command13",
                              "Check1",   "Text1",    "Option",    "picTarget", "Combo1"}));
    // Back from the whole-table moves into the line editor while it is in view.
    find<QComboBox>("Combo1")->setFocus();
    ASSERT_TRUE(lineEditorShown());
    find<QPushButton>("Command10")->setFocus();
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "Command2");
}

TEST_F(DesignerKeyboardTest, AltLettersAnswerTheButtonsInViewAndTypeNothing) {
    activate();
    find<QPushButton>("Command3")->click();
    window.document().changed = false;
    // In the label editor Alt+F is "更改字体(&F)".
    dialogs.then([](QDialog& d) { d.reject(); });
    ASSERT_EQ(focused(), "Text3");
    key(Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !dialogs.shown().empty(); }));
    EXPECT_EQ(dialogs.shown(), Strings{"frmLabelFont"});
    // "删除线条(&D)" is hidden: Alt+D types no "d" into the label list and changes nothing.
    auto* labels = find<QComboBox>("Combo2");
    labels->setFocus();
    const QString before = labels->currentText();
    window.document().changed = false;
    key(Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(labels->currentText(), before);
    EXPECT_FALSE(window.document().changed);
}

TEST_F(DesignerKeyboardTest, ACaptionIsCommittedWhenItsBoxIsLeft) {
    activate();
    find<QPushButton>("Command3")->click();
    auto* caption = find<QLineEdit>("Text3");
    ASSERT_TRUE(caption->hasFocus());
    QTest::keyClicks(caption, "abc");
    window.document().changed = false;
    find<QLineEdit>("Text4(1)")->setFocus();
    EXPECT_EQ(label(0).caption, "abc");
    EXPECT_TRUE(window.document().changed);
}

TEST_F(DesignerKeyboardTest, ArrowKeysOnThePageMoveTheSelectedLabelAlongTheGrid) {
    activate();
    find<QPushButton>("Command3")->click();
    window.page()->setFocus();
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_EQ(label(0).left, 284);
    EXPECT_EQ(label(0).top, 290);
    EXPECT_EQ(find<QLineEdit>("Text4(1)")->text(), "284");
    EXPECT_EQ(window.page()->labelRect(0).topLeft(), QPoint(19, 19));
    // The boxes follow the label when the whole table moves too.
    find<QPushButton>("Command13")->click();
    EXPECT_EQ(find<QLineEdit>("Text4(0)")->text(), "315");
}

TEST_F(DesignerKeyboardTest, OnlyACaptionsOwnTextSwapsTheEditors) {
    auto* caption = find<QLabel>("Label9");
    const QPoint row = caption->mapTo(window.panel(), QPoint(0, caption->height() / 2));
    QTest::mouseMove(window.panel(), QPoint(window.panel()->width() - 5, row.y()));
    EXPECT_TRUE(lineEditorShown());
    QTest::mouseMove(window.panel(), row + QPoint(5, 0));
    EXPECT_FALSE(lineEditorShown());
    QTest::mouseMove(window.statusBar());  // the next window shown here finds no caption under the mouse
}

TEST_F(DesignerKeyboardTest, TurningThePageBringsLabelsOutsideItOntoItAndSaysSo) {
    find<QPushButton>("Command3")->click();
    MoveLabel(window.document(), 0, 1000, 16000);
    find<QRadioButton>("Option1")->click();
    // On the page's foot, and in whole: its bottom edge on the foot.
    EXPECT_EQ(label(0).top, 11907 - window.page()->labelRect(0).height() * 15);
    EXPECT_EQ(window.statusBar()->currentMessage().toStdString(), MovedLabelsMessage(1));
}

TEST_F(DesignerKeyboardTest, APressWhereLabelsLieOnEachOtherTakesTheOneAddedLater) {
    find<QPushButton>("Command3")->click();
    find<QPushButton>("Command3")->click();
    MoveLabel(window.document(), 1, 0, 0);
    MoveLabel(window.document(), 0, 0, 0);
    window.page()->labelsChanged();
    QTest::mouseClick(window.page(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(window.document().labels.selected(), 1);
}

TEST_F(DesignerKeyboardTest, ANotchOfTheWheelScrollsAsManyStepsAsThePrintPreview) {
    QScrollBar* bar = window.viewport()->verticalBar();
    const QPointF at(50, 50);
    QWheelEvent notch(at, window.viewport()->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.viewport(), &notch);
    EXPECT_EQ(bar->value(), kWheelScrollSteps);
    EXPECT_EQ(kWheelScrollSteps, 4);
}

TEST_F(DesignerKeyboardTest, AHugeLabelCostsNoMoreThanAPictureOfThePage) {
    // Four characters at the largest font size stand some 8,700 × 2,200 pixels.
    const std::string path = dir.file("大.rvx");
    testing::WriteBytes(path, testing::GbkLines({"[Information]", "LabelsNum=0", "[Labels]",
                                                 "0=长长长长 600 300 宋体 0 0 1638 0 0 0"}));
    ASSERT_TRUE(window.openAtStart(path));
    ASSERT_GT(window.page()->labelRect(0).width(), 4000);
    window.page()->grab();  // painted whole without a picture of the label
    EXPECT_LE(window.page()->labelPictureBytes(), window.page()->picture().sizeInBytes());
}

}  // namespace
}  // namespace scorvane::designer

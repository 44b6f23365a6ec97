// The designer's labels driven through the window: adding, pressing, editing the caption with "[/]",
// the placeholder box, dragging and dropping, deleting, the font and colour dialogs, the exported
// bitmap, the background picture, help and about.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>

#include "designer/help_about.h"
#include "designer/template_file_commands.h"
#include "designer/ui/designer_window.h"
#include "designer/ui/label_font_dialog.h"
#include "designer/ui/page_viewport.h"
#include "designer/ui/page_widget.h"
#include "designer/ui/side_panel.h"
#include "designer_window_fixture.h"

namespace scorvane::designer {
namespace {

using testing_support::Strings;

class DesignerLabelsTest : public testing_support::DesignerWindowFixture {
  protected:
    void click(const char* button) { find<QPushButton>(button)->click(); }
    Strings listed() {
        Strings out;
        auto* list = find<QComboBox>("Combo2");
        for (int i = 0; i < list->count(); ++i) {
            out.push_back(list->itemText(i).toStdString());
        }
        return out;
    }
    const TemplateLabel& label(size_t i) { return window.document().labels.label(i); }
    PageWidget* page() { return window.page(); }
    // Puts the text into "标签文字：" (as an input method would) and commits it with Enter.
    void enterCaption(const QString& text) {
        auto* box = find<QLineEdit>("Text3");
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(DesignerLabelsTest, AddingListsSelectsAndShowsTheLabelAtTheTopLeftOfTheViewAndTheNextBelowIt) {
    // Scrolled down four steps, the first label stands where the view begins (480 twips).
    find<QScrollBar>("vscScroll")->setValue(4);
    click("Command3");
    EXPECT_EQ(listed(), Strings{"文字标签  1"});
    EXPECT_EQ(find<QComboBox>("Combo2")->currentIndex(), 0);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "文字标签 1");
    EXPECT_EQ(find<QLineEdit>("Text4(0)")->text(), "480");
    EXPECT_TRUE(window.document().changed);
    const QRect shown = page()->labelRect(0);
    EXPECT_EQ(shown.topLeft(), QPoint(0, 32));
    EXPECT_EQ(page()->grab().toImage().pixelColor(shown.topLeft() + QPoint(1, 1)), kSelectedLabelBackground);

    // The next one stands just below it, with its caption selected for typing over.
    action("menuAddLabel")->trigger();
    EXPECT_EQ(listed(), (Strings{"文字标签  1", "文字标签  2"}));
    EXPECT_EQ(label(1).top, 480 + shown.height() * 15);
    EXPECT_EQ(label(1).left, 0);
    auto* caption = find<QLineEdit>("Text3");
    EXPECT_TRUE(caption->hasFocus());
    EXPECT_EQ(caption->selectedText(), "文字标签 2");
    // The first label is white again.
    EXPECT_EQ(page()->grab().toImage().pixelColor(shown.topLeft() + QPoint(1, 1)), QColor(Qt::white));
}

TEST_F(DesignerLabelsTest, AddingFromTheMenuShowsTheLabelEditorAndAltFStillOpensTheFileMenu) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_NE(window.panel()->editors->currentWidget(), find<QWidget>("Frame2"));
    action("menuAddLabel")->trigger();
    EXPECT_EQ(window.panel()->editors->currentWidget(), find<QWidget>("Frame2"));
    // The editor's buttons answer their letters: Alt+A adds a second label.
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    // (a button pressed by its letter clicks a moment later)
    EXPECT_TRUE(QTest::qWaitFor([this] { return window.document().labels.size() == 2; }));
    EXPECT_EQ(listed(), (Strings{"文字标签  1", "文字标签  2"}));
    // Outside the label editor Alt+F opens "文件(&F)" and no font dialog.
    window.page()->setFocus();
    QTest::keyClick(window.page(), Qt::Key_F, Qt::AltModifier);
    auto* file = find<QMenu>("menuFile");
    EXPECT_TRUE(file->isVisible());
    file->close();
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(DesignerLabelsTest, ACaptionTypedWithMarksShowsAsLinesAndComesBackWithMarksWhenPressed) {
    click("Command3");
    click("Command3");
    // A position typed into the boxes moves the label (the second stood on the first).
    auto* x = find<QLineEdit>("Text4(1)");
    x->setText("3000");
    QTest::keyClick(x, Qt::Key_Return);
    EXPECT_EQ(label(1).left, 3000);
    EXPECT_EQ(page()->labelRect(1).left(), 200);
    const int oneLine = page()->labelRect(0).height();
    find<QComboBox>("Combo2")->setCurrentIndex(0);
    enterCaption(QStringLiteral("第一行[/]第二行"));
    EXPECT_EQ(label(0).caption, "第一行\r\n第二行");
    EXPECT_GE(page()->labelRect(0).height(), 2 * oneLine - 2);

    // Pressing the other label shows its text; pressing the first one brings the marks back.
    QTest::mouseClick(page(), Qt::LeftButton, {}, page()->labelRect(1).center());
    EXPECT_EQ(find<QComboBox>("Combo2")->currentIndex(), 1);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "文字标签 2");
    EXPECT_EQ(find<QLineEdit>("Text4(1)")->text(), "3000");
    QTest::mouseClick(page(), Qt::RightButton, {}, page()->labelRect(0).topLeft() + QPoint(2, 2));
    EXPECT_EQ(find<QComboBox>("Combo2")->currentIndex(), 0);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "第一行[/]第二行");
    // A press on a label starts no line.
    EXPECT_EQ(window.lineDrawing().mode(), LineMode::None);
    EXPECT_EQ(window.panel()->editors->currentWidget(), find<QWidget>("Frame2"));

    // "引用数据" ticked turns the label into a placeholder; clearing the box does nothing.
    auto* data = find<QCheckBox>("Check2");
    data->click();
    EXPECT_EQ(label(0).caption, "！引用数据");
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "！引用数据");
    EXPECT_TRUE(data->isChecked());
    data->click();
    EXPECT_EQ(label(0).caption, "！引用数据");
    // Positions that are no whole numbers move nothing.
    auto* y = find<QLineEdit>("Text4(0)");
    y->setText("");
    QTest::keyClick(y, Qt::Key_Return);
    EXPECT_EQ(label(0).top, 0);
}

TEST_F(DesignerLabelsTest, DraggingMovesTheProxyInWholePixelsAndTheDropMarksTheTemplateChanged) {
    click("Command3");
    window.document().changed = false;
    const QRect start = page()->labelRect(0);
    const QPoint grab = start.topLeft() + QPoint(5, 5);
    QTest::mousePress(page(), Qt::LeftButton, {}, grab);
    QTest::mouseMove(page(), grab + QPoint(100, 0));
    QTest::mouseMove(page(), grab + QPoint(200, 300));
    EXPECT_EQ(page()->draggedLabel(), 0);
    EXPECT_EQ(page()->proxyRect(), start.translated(200, 300));
    // The proxy is lavender and the label is hidden meanwhile.
    const QImage during = page()->grab().toImage();
    EXPECT_EQ(during.pixelColor(start.topLeft() + QPoint(200, 300) + QPoint(1, 1)), kSelectedLabelBackground);
    EXPECT_NE(during.pixelColor(start.topLeft() + QPoint(1, 1)), kSelectedLabelBackground);
    EXPECT_FALSE(window.document().changed);
    QTest::mouseRelease(page(), Qt::LeftButton, {}, grab + QPoint(200, 300));

    EXPECT_EQ(page()->draggedLabel(), -1);
    EXPECT_EQ(label(0).left, 200 * 15);
    EXPECT_EQ(label(0).top, 300 * 15);
    EXPECT_EQ(page()->labelRect(0).topLeft(), start.topLeft() + QPoint(200, 300));
    EXPECT_EQ(find<QLineEdit>("Text4(1)")->text(), "3000");
    EXPECT_EQ(find<QLineEdit>("Text4(0)")->text(), "4500");
    EXPECT_TRUE(window.document().changed);
    // Nothing was drawn as a line by the release.
    EXPECT_TRUE(window.document().lines.empty());
    EXPECT_FALSE(window.lineMenu()->isVisible());

    // Closing now asks before the move is lost.
    prompter.answer(Answer::No);
    QCloseEvent close;
    QCoreApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(prompter.questions(), Strings{std::string(kCloseQuestion)});

    // A click without a drag moves nothing; a drag past the page's edge stops at the edge.
    window.document().changed = false;
    const QPoint on = page()->labelRect(0).topLeft() + QPoint(3, 3);
    QTest::mouseClick(page(), Qt::LeftButton, {}, on);
    EXPECT_EQ(label(0).left, 3000);
    EXPECT_FALSE(window.document().changed);
    QTest::mousePress(page(), Qt::LeftButton, {}, on);
    QTest::mouseMove(page(), on - QPoint(400, 400));
    QTest::mouseRelease(page(), Qt::LeftButton, {}, on - QPoint(400, 400));
    EXPECT_EQ(label(0).left, 0);
    EXPECT_EQ(label(0).top, 0);
}

TEST_F(DesignerLabelsTest, DeletingTheFirstOfThreeKeepsTheOtherTwoUnderTheFirstTwoNames) {
    for (int i = 0; i < 3; ++i) {
        click("Command3");
    }
    find<QComboBox>("Combo2")->setCurrentIndex(2);
    enterCaption(QStringLiteral("第三个"));
    find<QComboBox>("Combo2")->setCurrentIndex(0);
    click("Command6");
    EXPECT_EQ(listed(), (Strings{"文字标签  1", "文字标签  2"}));
    EXPECT_EQ(label(0).caption, "文字标签 2");
    EXPECT_EQ(label(1).caption, "第三个");
    EXPECT_EQ(find<QComboBox>("Combo2")->currentIndex(), 1);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "第三个");
    EXPECT_TRUE(page()->labelRect(2).isNull());
    action("menuDeleteLabel")->trigger();
    action("menuDeleteLabel")->trigger();
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(find<QLineEdit>("Text3")->text().isEmpty());
    action("menuDeleteLabel")->trigger();  // nothing to delete
    EXPECT_TRUE(window.document().labels.empty());
}

TEST_F(DesignerLabelsTest, TheFontAndColourDialogsChangeOneLabelOrAllAndLabelsAddedLater) {
    click("Command3");
    click("Command3");
    find<QComboBox>("Combo2")->setCurrentIndex(0);
    // "更改字体(&F)": the dialog starts from the label; 黑体, bold, 18.
    dialogs.then([](QDialog& d) {
        auto& font = dynamic_cast<LabelFontDialog&>(d);
        EXPECT_EQ(font.nameEdit()->text(), "宋体");
        EXPECT_EQ(font.sizeEdit()->text(), "12");
        EXPECT_EQ(font.styleList()->currentRow(), 0);
        font.nameEdit()->setText(QStringLiteral("黑体"));
        font.styleList()->setCurrentRow(2);
        font.sizeList()->setCurrentRow(6);  // "18"
        font.underlineBox()->setChecked(true);
        font.accept();
    });
    click("Command4");
    EXPECT_EQ(dialogs.shown(), Strings{"frmLabelFont"});
    EXPECT_EQ(label(0).fontName, "黑体");
    EXPECT_TRUE(label(0).fontBold);
    EXPECT_EQ(label(0).fontSize, 18);
    EXPECT_TRUE(label(0).fontUnderline);
    EXPECT_EQ(label(1).fontName, "宋体");
    EXPECT_GT(page()->labelRect(0).height(), page()->labelRect(1).height());

    // "更改颜色(&C)" on the label, then a cancelled colour dialog: only the mark stays.
    dialogs.then([](QDialog& d) {
        auto& colors = dynamic_cast<QColorDialog&>(d);
        colors.setCurrentColor(QColor(255, 0, 0));
        colors.accept();
    });
    click("Command5");
    EXPECT_EQ(label(0).foreColor, 255u);
    window.document().changed = false;
    dialogs.then([](QDialog& d) { d.reject(); });
    action("menuLabelColor")->trigger();
    EXPECT_TRUE(window.document().changed);
    EXPECT_EQ(label(0).foreColor, 255u);

    // "更改所有标签颜色(&O)" and "更改所有标签字体(&O)" reach the labels added afterwards.
    dialogs.then([](QDialog& d) {
        auto& colors = dynamic_cast<QColorDialog&>(d);
        EXPECT_EQ(colors.currentColor(), QColor(255, 0, 0));  // from the selected label
        colors.setCurrentColor(QColor(0, 0, 128));
        colors.accept();
    });
    action("menuAllLabelsColor")->trigger();
    dialogs.then([](QDialog& d) {
        auto& font = dynamic_cast<LabelFontDialog&>(d);
        font.sizeEdit()->setText(QStringLiteral("小二"));
        font.accept();
    });
    action("menuAllLabelsFont")->trigger();
    click("Command3");
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(label(i).foreColor, Rgb(0, 0, 128)) << i;
        EXPECT_EQ(label(i).fontName, "黑体") << i;
        EXPECT_EQ(label(i).fontSize, 18) << i;
    }
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(DesignerLabelsTest, WithNoLabelSelectedTheSingleLabelCommandsGoToThePrototype) {
    dialogs.then([](QDialog& d) {
        auto& colors = dynamic_cast<QColorDialog&>(d);
        EXPECT_EQ(colors.currentColor(), QColor(Qt::black));
        colors.setCurrentColor(QColor(0, 128, 0));
        colors.accept();
    });
    action("menuLabelColor")->trigger();
    enterCaption(QStringLiteral("无标签"));
    EXPECT_TRUE(window.document().labels.empty());
    EXPECT_EQ(window.document().labels.prototype().foreColor, Rgb(0, 128, 0));
    click("Command3");
    EXPECT_EQ(label(0).foreColor, Rgb(0, 128, 0));
    EXPECT_EQ(label(0).caption, "文字标签 1");
}

TEST_F(DesignerLabelsTest, TheExportedBitmapHasThePagesSizeInEitherOrientationAndHoldsLinesAndCaptions) {
    const std::string path = std::string(SCORVANE_SOURCE_DIR) + "/examples/成绩通知单.rvx";
    ASSERT_TRUE(window.openAtStart(path));
    const std::string portrait = dir.file("portrait");  // no extension: written under that very name
    prompter.chooseSave(portrait);
    action("menuExportBitmap")->trigger();
    QImage picture(QString::fromStdString(portrait), "BMP");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(794, 1123));
    EXPECT_EQ(picture.pixelColor(700, 50), QColor(Qt::white));  // no grid
    // The ruling line at y = 2900 from x = 1000 to 10900, black although it is the selected one.
    EXPECT_EQ(picture.pixelColor(5000 / 15, 2900 / 15), QColor(Qt::black));

    find<QRadioButton>("Option1")->click();
    const std::string landscape = dir.file("landscape.bmp");
    prompter.chooseSave(landscape);
    action("menuExportBitmap")->trigger();
    EXPECT_EQ(QImage(QString::fromStdString(landscape)).size(), QSize(1123, 794));
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(DesignerLabelsTest, ABackgroundPictureLiesUnderTheGridAndStaysThroughNewButIsNeverExported) {
    QImage form(120, 80, QImage::Format_RGB32);
    form.fill(QColor(0, 200, 0));
    const std::string picturePath = dir.file("form.bmp");
    ASSERT_TRUE(form.save(QString::fromStdString(picturePath), "BMP"));
    prompter.chooseOpen(picturePath);
    action("menuImportPicture")->trigger();
    QImage shown = page()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(50, 50), QColor(0, 200, 0));
    EXPECT_EQ(shown.pixelColor(200, 200), QColor(Qt::white));
    // The grey grid line at the page's left edge lies over it.
    EXPECT_NE(shown.pixelColor(0, 50), QColor(0, 200, 0));

    action("menuNew")->trigger();
    EXPECT_EQ(page()->grab().toImage().pixelColor(50, 50), QColor(0, 200, 0));
    const std::string exported = dir.file("page.bmp");
    prompter.chooseSave(exported);
    action("menuExportBitmap")->trigger();
    EXPECT_EQ(QImage(QString::fromStdString(exported)).pixelColor(50, 50), QColor(Qt::white));

    // A file that is no picture is refused with a message; the picture stays.
    prompter.chooseOpen(dir.file("none.bmp"));
    action("menuImportPicture")->trigger();
    EXPECT_EQ(prompter.messages(), Strings{std::string(kReadFailedMessage)});
    EXPECT_FALSE(page()->background().isNull());
}

TEST_F(DesignerLabelsTest, HelpAndAboutSayTheirPiece) {
    action("menuHelpTopics")->trigger();
    action("menuAbout")->trigger();
    ASSERT_EQ(prompter.calls().size(), 2u);
    EXPECT_EQ(prompter.calls()[0].text, std::string(kNoHelpMessage));
    // The project's version has three parts.
    EXPECT_EQ(prompter.calls()[1].text,
              "ScorvaneVelmora\nV " + std::string(SCORVANE_VERSION) + "\n\n" + std::string(kMakerLine));
}

}  // namespace
}  // namespace scorvane::designer

// The font dialog, the data-format dialog and the row-height / column-width dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "main/document/document.h"
#include "main/document/ui/data_format_dialog.h"
#include "main/document/ui/font_dialog.h"
#include "main/document/ui/row_column_size_dialog.h"
#include "main/document/ui/table_font_setting.h"
#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"

namespace scorvane {
namespace {

using testing::ScriptedDialogs;

// The settings the font dialog writes are the per-user store of the whole test binary: every test
// here starts and ends without a stored font.
class FormatDialogsTest : public testing::QtTest {
  protected:
    FormatDialogsTest() { forgetFont(); }
    ~FormatDialogsTest() override { forgetFont(); }
    static void forgetFont() {
        QSettings s(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"), QStringLiteral("KVL'S Scorvane"));
        s.remove(QStringLiteral("Font"));
        s.sync();
    }
    static QString storedFont(const char* key) {
        QSettings s(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"), QStringLiteral("KVL'S Scorvane"));
        return s.value(QStringLiteral("Font/") + key).toString();
    }

    ScriptedDialogs dialogs;
};

const QStringList kNames = {"宋体", "黑体", "", "Noto Sans CJK SC"};

// ---- 更改字体

TEST_F(FormatDialogsTest, TheFontDialogOpensOnTheTableFontAndFollowsTheListAndTheName) {
    FontDialog dialog(TableFont{"黑体", 12}, kNames);
    EXPECT_EQ(dialog.objectName(), "frmFont");
    EXPECT_EQ(dialog.windowTitle(), "更改字体：");
    EXPECT_EQ(dialog.fontList()->count(), 3);  // the empty name is skipped
    EXPECT_EQ(dialog.sizeBox()->count(), 31);
    EXPECT_EQ(dialog.nameEdit()->text(), "黑体");
    ASSERT_NE(dialog.fontList()->currentItem(), nullptr);
    EXPECT_EQ(dialog.fontList()->currentItem()->text(), "黑体");
    // 12 points preselects "12", not "小四", which is 12 points as well.
    EXPECT_EQ(dialog.sizeBox()->currentText(), "12");

    // A click in the list copies the name; the size list gives the points; the preview follows both.
    dialog.show();
    QListWidgetItem* noto = dialog.fontList()->item(2);
    QTest::mouseClick(dialog.fontList()->viewport(), Qt::LeftButton, {},
                      dialog.fontList()->visualItemRect(noto).center());
    EXPECT_EQ(dialog.nameEdit()->text(), "Noto Sans CJK SC");
    dialog.sizeBox()->setCurrentIndex(dialog.sizeBox()->findText("小初"));
    EXPECT_EQ(dialog.chosenFont(), (TableFont{"Noto Sans CJK SC", 36}));
    EXPECT_EQ(dialog.previewFont().family(), "Noto Sans CJK SC");
    EXPECT_EQ(dialog.previewFont().pointSizeF(), 36);

    // A typed name selects its list entry when there is one, and nothing when there is none; spaces
    // around the name are not part of it, and an emptied box keeps the opening name.
    dialog.nameEdit()->setText("宋体");
    EXPECT_EQ(dialog.fontList()->currentItem()->text(), "宋体");
    dialog.nameEdit()->setText(" 楷体 ");
    EXPECT_EQ(dialog.fontList()->currentItem(), nullptr);
    EXPECT_EQ(dialog.chosenFont().name, "楷体");
    dialog.nameEdit()->setText("  ");
    EXPECT_EQ(dialog.chosenFont().name, "黑体");

    // A size no number caption shows opens on "9"; a name the list lacks is still shown.
    FontDialog odd(TableFont{"楷体", 10.5}, kNames);
    EXPECT_EQ(odd.sizeBox()->currentText(), "9");
    EXPECT_EQ(odd.nameEdit()->text(), "楷体");
    EXPECT_EQ(odd.fontList()->currentItem(), nullptr);
}

TEST_F(FormatDialogsTest, TheFontPreviewIsCentred) {
    FontDialog dialog(TableFont{"宋体", 12}, kNames);
    dialog.sizeBox()->setCurrentIndex(dialog.sizeBox()->findText("24"));
    dialog.show();
    QWidget* preview = dialog.previewBox();
    preview->resize(300, 120);
    const QImage image = preview->grab().toImage();
    // The ink of "字体预览": as far from the left edge as from the right, and inside the box.
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = 2; x < image.width() - 2; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_NEAR(left, image.width() - 1 - right, 6);
    EXPECT_NEAR(top, image.height() - 1 - bottom, 12);
    EXPECT_GT(right - left, 60);  // four characters at 24 points
}

TEST_F(FormatDialogsTest, ConfirmingStoresTheFontAndCancellingStoresNothing) {
    std::string shownName;
    dialogs.then([&](QDialog& d) {
        auto& font = static_cast<FontDialog&>(d);
        shownName = font.nameEdit()->text().toStdString();
        font.nameEdit()->setText("黑体");
        font.sizeBox()->setCurrentIndex(font.sizeBox()->findText("小四"));
        font.confirmButton()->click();
    });
    const std::optional<TableFont> chosen = RunFontDialog(TableFont{"宋体", 9}, dialogs, nullptr);
    EXPECT_EQ(shownName, "宋体");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (TableFont{"黑体", 12}));
    EXPECT_EQ(storedFont("Name"), "黑体");
    EXPECT_EQ(storedFont("Size"), "12");
    // The next start reads it back.
    EXPECT_EQ(ReadTableFontSetting(TableFont{}), (TableFont{"黑体", 12}));

    forgetFont();
    dialogs.then([](QDialog& d) {
        auto& font = static_cast<FontDialog&>(d);
        font.sizeBox()->setCurrentIndex(font.sizeBox()->findText("72"));
        font.cancelButton()->click();
    });
    EXPECT_FALSE(RunFontDialog(TableFont{"宋体", 9}, dialogs, nullptr));
    EXPECT_TRUE(storedFont("Size").isEmpty());
    EXPECT_TRUE(dialogs.exhausted());
}

// ---- 表格数据格式

TEST_F(FormatDialogsTest, TheDataFormatDialogShowsThePatternAndItsPreview) {
    DataFormatDialog dialog("###.##");
    EXPECT_EQ(dialog.objectName(), "frmDataFormat");
    EXPECT_EQ(dialog.windowTitle(), "表格数据格式：");
    EXPECT_EQ(dialog.decimalsEdit()->text(), "2");
    EXPECT_FALSE(dialog.padCheck()->isChecked());
    EXPECT_EQ(dialog.previewEdit()->text(), "123.46");
    EXPECT_EQ(dialog.pattern(), "###.##");

    dialog.decimalsEdit()->setText("3");
    dialog.padCheck()->setChecked(true);
    EXPECT_EQ(dialog.pattern(), "###.000");
    EXPECT_EQ(dialog.previewEdit()->text(), "123.457");

    // Padding shows where the number has fewer decimals than the pattern.
    dialog.decimalsEdit()->setText("8");
    EXPECT_EQ(dialog.previewEdit()->text(), "123.45678900");
    dialog.padCheck()->setChecked(false);
    EXPECT_EQ(dialog.previewEdit()->text(), "123.456789");

    // 0 decimals, ticked or not, previews the whole number without its point.
    dialog.decimalsEdit()->setText("0");
    EXPECT_EQ(dialog.previewEdit()->text(), "123");
    dialog.padCheck()->setChecked(true);
    EXPECT_EQ(dialog.pattern(), "###.");
    EXPECT_EQ(dialog.previewEdit()->text(), "123");

    // Opening on a padded pattern, and on one without a point (its whole length counts).
    DataFormatDialog padded("###.0");
    EXPECT_EQ(padded.decimalsEdit()->text(), "1");
    EXPECT_TRUE(padded.padCheck()->isChecked());
    EXPECT_EQ(padded.previewEdit()->text(), "123.5");
    EXPECT_EQ(DataFormatDialog("####").decimalsEdit()->text(), "4");
}

TEST_F(FormatDialogsTest, TheDecimalCountTakesDigitsFrom0To15) {
    DataFormatDialog dialog("###.##");
    dialog.show();
    QLineEdit* box = dialog.decimalsEdit();
    box->setFocus();

    // Emptied, the box holds "0", selected, so the next digit replaces it.
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "0");
    EXPECT_EQ(dialog.previewEdit()->text(), "123");
    QTest::keyClicks(box, "4");
    EXPECT_EQ(box->text(), "4");

    // Letters and signs cannot be typed.
    QTest::keyClicks(box, "a-.");
    EXPECT_EQ(box->text(), "4");

    // More than 15 is 15; leading zeros go.
    QTest::keyClicks(box, "7");
    EXPECT_EQ(box->text(), "15");
    EXPECT_EQ(dialog.pattern(), "###.###############");
    box->setText("07");
    EXPECT_EQ(box->text(), "7");
}

TEST_F(FormatDialogsTest, TheDataFormatGoesToTheDocumentOnlyOnOk) {
    Document doc;
    dialogs.then([](QDialog& d) {
        auto& format = static_cast<DataFormatDialog&>(d);
        format.decimalsEdit()->setText("3");
        format.padCheck()->setChecked(true);
        format.cancelButton()->click();
    });
    EXPECT_FALSE(RunDataFormatDialog(doc, dialogs, nullptr));
    EXPECT_EQ(doc.table.dataFormat, "###.##");
    EXPECT_FALSE(doc.modified());

    // OK on the pattern the table already has changes nothing.
    dialogs.then([](QDialog& d) { static_cast<DataFormatDialog&>(d).okButton()->click(); });
    EXPECT_TRUE(RunDataFormatDialog(doc, dialogs, nullptr));
    EXPECT_FALSE(doc.modified());

    dialogs.then([](QDialog& d) {
        auto& format = static_cast<DataFormatDialog&>(d);
        format.decimalsEdit()->setText("1");
        format.okButton()->click();
    });
    EXPECT_TRUE(RunDataFormatDialog(doc, dialogs, nullptr));
    EXPECT_EQ(doc.table.dataFormat, "###.#");
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(dialogs.exhausted());
}

// ---- 行高 列宽

TEST_F(FormatDialogsTest, TheSizeBoxesKeepANumber) {
    RowColumnSizeDialog dialog(300, 1200);
    EXPECT_EQ(dialog.objectName(), "frmHeiWei");
    EXPECT_EQ(dialog.windowTitle(), "行高 列宽");
    EXPECT_EQ(dialog.rowHeightEdit()->text(), "300");
    EXPECT_EQ(dialog.columnWidthEdit()->text(), "1200");
    dialog.show();

    // Emptied, each box returns to its own opening size; letters cannot be typed.
    dialog.rowHeightEdit()->setFocus();
    dialog.rowHeightEdit()->selectAll();
    QTest::keyClick(dialog.rowHeightEdit(), Qt::Key_Backspace);
    EXPECT_EQ(dialog.rowHeightEdit()->text(), "300");
    dialog.columnWidthEdit()->setFocus();
    dialog.columnWidthEdit()->selectAll();
    QTest::keyClick(dialog.columnWidthEdit(), Qt::Key_Delete);
    EXPECT_EQ(dialog.columnWidthEdit()->text(), "1200");
    dialog.columnWidthEdit()->selectAll();
    QTest::keyClicks(dialog.columnWidthEdit(), "x15y00");
    EXPECT_EQ(dialog.columnWidthEdit()->text(), "1500");
    EXPECT_EQ(dialog.columnWidth(), 1500);
    EXPECT_EQ(dialog.rowHeight(), 300);
}

TEST_F(FormatDialogsTest, SizesApplyToTheWholeSelectionOnOkOnly) {
    GradeTable table(6, 5);
    dialogs.then([](QDialog& d) {
        auto& sizes = static_cast<RowColumnSizeDialog&>(d);
        sizes.rowHeightEdit()->setText("450");
        sizes.cancelButton()->click();
    });
    EXPECT_FALSE(RunRowColumnSizeDialog(table, {4, 3, 2, 1}, 300, 1200, dialogs, nullptr));
    EXPECT_EQ(table.rowHeight(3), 0);
    EXPECT_EQ(table.columnWidth(2), 0);

    // Selected upward and leftward: every row 2..4 and column 1..3; the width left as it opened is
    // applied too.
    dialogs.then([](QDialog& d) {
        auto& sizes = static_cast<RowColumnSizeDialog&>(d);
        sizes.rowHeightEdit()->setText("450");
        sizes.okButton()->click();
    });
    EXPECT_TRUE(RunRowColumnSizeDialog(table, {4, 3, 2, 1}, 300, 1200, dialogs, nullptr));
    for (int r = 0; r < table.rows(); ++r) {
        EXPECT_EQ(table.rowHeight(r), r >= 2 && r <= 4 ? 450 : 0) << r;
    }
    for (int c = 0; c < table.cols(); ++c) {
        EXPECT_EQ(table.columnWidth(c), c >= 1 && c <= 3 ? 1200 : 0) << c;
    }
    EXPECT_TRUE(dialogs.exhausted());
}

}  // namespace
}  // namespace scorvane

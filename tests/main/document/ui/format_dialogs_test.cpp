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

// The font settings are the per-user store of the whole test binary: each test here leaves none.
class FormatDialogsTest : public testing::QtTest {
  protected:
    FormatDialogsTest() { forgetFont(); }
    ~FormatDialogsTest() override { forgetFont(); }
    static void forgetFont() { QSettings("KVL'S Scorvane", "KVL'S Scorvane").remove("Font"); }
    static QString stored(const char* key) {
        return QSettings("KVL'S Scorvane", "KVL'S Scorvane").value(QString("Font/") + key).toString();
    }
    static void clear(QLineEdit* box) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    testing::ScriptedDialogs dialogs;
};

TEST_F(FormatDialogsTest, TheFontDialogFollowsItsListAndStoresTheChoice) {
    FontDialog d(TableFont{"黑体", 12}, {"宋体", "黑体", "", "Noto Sans CJK SC"});
    EXPECT_EQ(d.fontList()->count(), 3);  // the empty name is skipped
    EXPECT_EQ(d.fontList()->currentItem()->text(), "黑体");
    EXPECT_EQ(d.sizeBox()->currentText(), "12");  // not "小四", which is 12 points too

    // A click in the list gives the name box its name; the preview takes name and points.
    d.show();
    QTest::mouseClick(d.fontList()->viewport(), Qt::LeftButton, {},
                      d.fontList()->visualItemRect(d.fontList()->item(2)).center());
    EXPECT_EQ(d.nameEdit()->text(), "Noto Sans CJK SC");
    d.sizeBox()->setCurrentText("小初");
    EXPECT_EQ(d.previewFont().family(), "Noto Sans CJK SC");
    EXPECT_EQ(d.previewFont().pointSizeF(), 36);
    // A typed name selects its entry, or none; an emptied name keeps the opening one.
    d.nameEdit()->setText("宋体");
    EXPECT_EQ(d.fontList()->currentItem()->text(), "宋体");
    d.nameEdit()->setText(" 楷体 ");
    EXPECT_EQ(d.fontList()->currentItem(), nullptr);
    EXPECT_EQ(d.chosenFont(), (TableFont{"楷体", 36}));
    d.nameEdit()->clear();
    EXPECT_EQ(d.chosenFont().name, "黑体");

    // "确认" stores the name and the points of "小四"; "取消" stores nothing.
    dialogs.then([](QDialog& shown) {
        auto& font = static_cast<FontDialog&>(shown);
        EXPECT_EQ(font.nameEdit()->text(), "宋体");
        font.sizeBox()->setCurrentText("小四");
        font.confirmButton()->click();
    });
    EXPECT_EQ(RunFontDialog(TableFont{"宋体", 9}, dialogs, nullptr), (TableFont{"宋体", 12}));
    EXPECT_EQ(stored("Size"), "12");
    EXPECT_EQ(ReadTableFontSetting(TableFont{"黑体", 9}), (TableFont{"宋体", 12}));
    forgetFont();
    dialogs.then([](QDialog& shown) { static_cast<FontDialog&>(shown).cancelButton()->click(); });
    EXPECT_EQ(RunFontDialog(TableFont{"宋体", 9}, dialogs, nullptr), std::nullopt);
    EXPECT_TRUE(stored("Name").isEmpty());
}

TEST_F(FormatDialogsTest, TheFontPreviewIsCentred) {
    FontDialog d(TableFont{"宋体", 24}, {"宋体"});
    d.show();
    d.previewBox()->resize(300, 120);
    const QImage image = d.previewBox()->grab().toImage();
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = 2; x < image.width() - 2; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GT(right - left, 60) << "no text drawn";  // four characters at 24 points
    EXPECT_NEAR(left, image.width() - 1 - right, 6);
    EXPECT_NEAR(top, image.height() - 1 - bottom, 12);
}

TEST_F(FormatDialogsTest, TheDataFormatDialogPreviewsAndAppliesOnOkOnly) {
    DataFormatDialog d("###.##");
    EXPECT_EQ(d.decimalsEdit()->text(), "2");
    EXPECT_EQ(d.previewEdit()->text(), "123.46");
    d.decimalsEdit()->setText("3");
    d.padCheck()->setChecked(true);
    EXPECT_EQ(d.pattern(), "###.000");
    EXPECT_EQ(d.previewEdit()->text(), "123.457");

    // Emptied, the box holds "0", which the next digit replaces; no letters; at most 15.
    d.show();
    clear(d.decimalsEdit());
    EXPECT_EQ(d.decimalsEdit()->text(), "0");
    EXPECT_EQ(d.previewEdit()->text(), "123");
    QTest::keyClicks(d.decimalsEdit(), "1a-");
    EXPECT_EQ(d.decimalsEdit()->text(), "1");
    QTest::keyClicks(d.decimalsEdit(), "7");
    EXPECT_EQ(d.decimalsEdit()->text(), "15");
    EXPECT_EQ(DataFormatDialog("###.0").padCheck()->isChecked(), true);

    Document doc;
    dialogs.then([](QDialog& shown) {
        static_cast<DataFormatDialog&>(shown).decimalsEdit()->setText("1");
        static_cast<DataFormatDialog&>(shown).cancelButton()->click();
    });
    EXPECT_FALSE(RunDataFormatDialog(doc, dialogs, nullptr));
    dialogs.then([](QDialog& shown) { static_cast<DataFormatDialog&>(shown).okButton()->click(); });
    EXPECT_TRUE(RunDataFormatDialog(doc, dialogs, nullptr));
    EXPECT_FALSE(doc.modified());  // the same pattern
    dialogs.then([](QDialog& shown) {
        static_cast<DataFormatDialog&>(shown).decimalsEdit()->setText("1");
        static_cast<DataFormatDialog&>(shown).okButton()->click();
    });
    EXPECT_TRUE(RunDataFormatDialog(doc, dialogs, nullptr));
    EXPECT_EQ(doc.table.dataFormat, "###.#");
    EXPECT_TRUE(doc.modified());
}

TEST_F(FormatDialogsTest, SizesKeepANumberAndApplyToTheWholeSelection) {
    GradeTable table(6, 5);
    dialogs.then([&](QDialog& shown) {
        auto& sizes = static_cast<RowColumnSizeDialog&>(shown);
        EXPECT_EQ(sizes.rowHeightEdit()->text(), "300");
        clear(sizes.rowHeightEdit());  // back to the opening height
        EXPECT_EQ(sizes.rowHeightEdit()->text(), "300");
        clear(sizes.columnWidthEdit());
        QTest::keyClicks(sizes.columnWidthEdit(), "x15y00");
        EXPECT_EQ(sizes.columnWidthEdit()->text(), "1500");
        sizes.okButton()->click();
    });
    // Selected upward and leftward: rows 2..4 and columns 1..3.
    EXPECT_TRUE(RunRowColumnSizeDialog(table, {4, 3, 2, 1}, 300, 1200, dialogs, nullptr));
    EXPECT_EQ(table.rowHeight(2) + table.rowHeight(4), 600);
    EXPECT_EQ(table.rowHeight(5), 0);
    EXPECT_EQ(table.columnWidth(1) + table.columnWidth(3), 3000);
    EXPECT_EQ(table.columnWidth(4), 0);

    dialogs.then([](QDialog& shown) { static_cast<RowColumnSizeDialog&>(shown).cancelButton()->click(); });
    EXPECT_FALSE(RunRowColumnSizeDialog(table, {5, 4, 5, 4}, 300, 1200, dialogs, nullptr));
    EXPECT_EQ(table.rowHeight(5), 0);
    EXPECT_TRUE(dialogs.exhausted());
}

}  // namespace
}  // namespace scorvane

// The table window's dialogs: each opens on what the window holds and its result reaches the grid.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>

#include "common/qt/screen_twips.h"
#include "main/document/ui/data_format_dialog.h"
#include "main/document/ui/field_manager_dialog.h"
#include "main/document/ui/font_dialog.h"
#include "main/document/ui/row_column_size_dialog.h"
#include "main/formula/ui/formula_editor_dialog.h"
#include "table_window_fixture.h"

namespace scorvane {
namespace {

using testing::TableWindowTest;

class TableDialogsTest : public TableWindowTest {
  protected:
    void SetUp() override { load(); }
    void TearDown() override { QSettings("KVL'S Scorvane", "KVL'S Scorvane").remove("Font"); }
    const GradeTable& table() const { return window->document().table; }
    template <typename Dialog>
    static Dialog& as(QDialog& d) {
        return static_cast<Dialog&>(d);
    }
};

TEST_F(TableDialogsTest, TheDataFormatDialogOpensOnTheTablesFormatAndTheValueFollowsIt) {
    window->document().table.setCell(1, 3, "！公式：cell(?,2)/7");  // 61 / 7 = 8.714285...
    window->setCurrentCell(1, 3);
    EXPECT_EQ(window->valueLabel()->text(), "=8.71");
    host.dialogs.then([](QDialog& d) {
        EXPECT_EQ(as<DataFormatDialog>(d).decimalsEdit()->text(), "2");
        as<DataFormatDialog>(d).decimalsEdit()->setText("3");
        as<DataFormatDialog>(d).padCheck()->setChecked(true);
        as<DataFormatDialog>(d).okButton()->click();
    });
    window->action("menuSetdataFormat")->trigger();
    EXPECT_EQ(table().dataFormat, "###.000");
    EXPECT_EQ(window->valueLabel()->text(), "=8.714");
}

TEST_F(TableDialogsTest, TheFieldManagerOpensOnTheTitlesAndItsListBecomesTheColumns) {
    host.dialogs.then([this](QDialog& d) {
        auto& m = as<FieldManagerDialog>(d);
        ASSERT_EQ(m.itemList()->count(), 3);
        EXPECT_EQ(m.itemList()->item(2)->text(), "数学成绩总评");
        EXPECT_EQ(m.itemList()->currentRow(), 2);
        host.prompts.answer(Answer::Yes);
        m.removeButton()->click();
        m.okButton()->click();
    });
    window->action("menuAddTitle")->trigger();
    EXPECT_EQ(window->grid()->model()->columnCount(), 2);
    EXPECT_TRUE(window->action("menuUndo")->isEnabled());
    window->undo();
    EXPECT_EQ(window->grid()->model()->columnCount(), 3);
}

TEST_F(TableDialogsTest, TheFontDialogStartsFromTheTableFontAndGivesTheChoiceToEveryWindow) {
    host.font = {"黑体", 10};
    window->setCurrentCell(3, 2);
    host.dialogs.then([](QDialog& d) {
        auto& font = as<FontDialog>(d);
        EXPECT_EQ(font.nameEdit()->text(), "黑体");
        EXPECT_EQ(font.sizeBox()->currentText(), "10");
        font.nameEdit()->setText("宋体");
        font.sizeBox()->setCurrentText("小四");
        font.confirmButton()->click();
    });
    window->action("menuFont")->trigger();
    EXPECT_EQ(host.font, (TableFont{"宋体", 12}));
    EXPECT_EQ(window->grid()->font().pointSizeF(), 12);
    EXPECT_EQ(window->cellEditor()->font().pointSizeF(), 12);
    // The cell sizes are read again from column 0.
    EXPECT_EQ(window->currentCol(), 0);
    EXPECT_EQ(window->headerRowHeight(),
              PixelsToTwipsY(window->grid()->verticalHeader()->sectionSize(2), *window));

    // 取消 changes no font, and still the current column becomes 0 and the sizes are read again.
    window->document().table.setRowHeight(4, 600);
    window->applyLayout();
    window->setCurrentCell(4, 2);
    host.dialogs.then([](QDialog& d) { as<FontDialog>(d).cancelButton()->click(); });
    window->action("menuFont")->trigger();
    EXPECT_EQ(host.font, (TableFont{"宋体", 12}));
    EXPECT_EQ(window->currentCol(), 0);
    EXPECT_EQ(window->currentRow(), 4);
    EXPECT_EQ(window->headerRowHeight(), 600);
}

TEST_F(TableDialogsTest, RowHeightsAndColumnWidthsGoToTheWholeSelectionMadeUpward) {
    QHeaderView* rows = window->grid()->verticalHeader();
    const int standard = rows->sectionSize(0);
    window->setSelection({4, 3, 2, 2});  // from (4, 3) up to (2, 2)
    QSignalSpy resized(window->grid()->horizontalHeader(), &QHeaderView::sectionResized);
    host.dialogs.then([&](QDialog& d) {
        auto& sizes = as<RowColumnSizeDialog>(d);
        EXPECT_EQ(sizes.rowHeight(), PixelsToTwipsY(standard, *window));
        sizes.rowHeightEdit()->setText("600");
        sizes.columnWidthEdit()->setText("1500");
        sizes.okButton()->click();
    });
    window->action("menuRowHeight")->trigger();
    for (int r = 2; r <= 4; ++r) {
        EXPECT_EQ(rows->sectionSize(r - 1), TwipsToPixelsY(600, *window)) << r;
    }
    EXPECT_EQ(rows->sectionSize(4), standard);
    EXPECT_EQ(window->grid()->columnWidth(1), TwipsToPixelsX(1500, *window));
    EXPECT_EQ(window->grid()->columnWidth(2), TwipsToPixelsX(1500, *window));
    // The view hears of every new width, so it repaints every row in the new columns.
    EXPECT_EQ(resized.count(), 2);

    // "列宽" opens the same dialog; a height of 0 gives the row back the standard height.
    window->setSelection({3, 2, 3, 2});
    host.dialogs.then([](QDialog& d) {
        as<RowColumnSizeDialog>(d).rowHeightEdit()->setText("0");
        as<RowColumnSizeDialog>(d).okButton()->click();
    });
    window->action("menuColWidth")->trigger();
    EXPECT_EQ(rows->sectionSize(2), standard);
    EXPECT_EQ(rows->sectionSize(1), TwipsToPixelsY(600, *window));
}

TEST_F(TableDialogsTest, TheFormulaEditorTakesTheSnapshotAndHandsItsFormulaToTheBar) {
    window->setCurrentCell(2, 3);
    host.dialogs
        .then([this](QDialog& d) {
            auto& editor = as<FormulaEditorDialog>(d);
            EXPECT_TRUE(window->undoAvailable());  // taken before the editor opened
            EXPECT_EQ(editor.targetEdit()->text(), "行:2列:3");
            editor.selectCells({2, 2}, {2, 2});
            editor.formulaEdit()->setText("cell(?,2)*2");
            editor.okButton()->click();
        })
        .then([](QDialog& d) { as<FormulaEditorDialog>(d).cancelButton()->click(); });
    window->formulaEditorButton()->click();
    // The cell held no formula: the bar's text is written into it at once.
    EXPECT_EQ(table().cell(2, 3), "！公式：cell(?,2)*2");
    EXPECT_EQ(window->valueLabel()->text(), "=124");
    window->undo();
    EXPECT_EQ(table().cell(2, 3), "72");
    window->formulaEditorButton()->click();
    EXPECT_EQ(window->valueBox()->text(), "72");
}

}  // namespace
}  // namespace scorvane

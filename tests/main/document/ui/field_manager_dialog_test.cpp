#include "main/document/ui/field_manager_dialog.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"
#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;

class FieldManagerDialogTest : public testing::QtTest {
  protected:
    FieldManagerDialogTest() {
        doc.table.resize(3, 4);
        doc.table.setHeaderLayout("  |姓名|语文| 数学 ");
        doc.table.setCell(1, 1, "张三");
    }
    static Strings shown(const FieldManagerDialog& d) {
        Strings items;
        for (int i = 0; i < d.itemList()->count(); ++i) {
            items.push_back(d.itemList()->item(i)->text().toStdString());
        }
        return items;
    }

    Document doc;
    testing::ScriptedPrompter prompter;
    testing::ScriptedDialogs dialogs;
};

TEST_F(FieldManagerDialogTest, TheButtonsEditTheListTheUserSelects) {
    dialogs.then([&](QDialog& d) {
        auto& m = static_cast<FieldManagerDialog&>(d);
        d.show();
        // Opened on the table: the snapshot, the titles trimmed, the last one selected.
        EXPECT_TRUE(doc.undoAvailable());
        EXPECT_EQ(shown(m), (Strings{"姓名", "语文", "数学"}));
        EXPECT_EQ(m.itemList()->currentRow(), 2);

        prompter.type("英语");
        m.insertButton()->click();
        EXPECT_EQ(shown(m), (Strings{"姓名", "语文", "数学", "英语"}));
        EXPECT_EQ(m.itemList()->currentRow(), 3);

        // A click in the list chooses the item the buttons act on.
        QTest::mouseClick(m.itemList()->viewport(), Qt::LeftButton, {},
                          m.itemList()->visualItemRect(m.itemList()->item(1)).center());
        prompter.type("语文(期中)");
        m.renameButton()->click();
        EXPECT_EQ(prompter.last().offered, "语文");
        prompter.answer(Answer::No).answer(Answer::Yes);
        m.removeButton()->click();
        m.removeButton()->click();
        EXPECT_EQ(prompter.questions(),
                  (Strings{"确实删除项目：“语文(期中)” 么？", "确实删除项目：“语文(期中)” 么？"}));
        EXPECT_EQ(shown(m), (Strings{"姓名", "数学", "英语"}));
        EXPECT_EQ(m.itemList()->currentRow(), 1);

        // Emptied, nothing is selected: each button asks for a selection first.
        prompter.answer(Answer::Yes);
        m.clearButton()->click();
        EXPECT_TRUE(shown(m).empty());
        prompter.clear();
        m.clearButton()->click();
        m.renameButton()->click();
        EXPECT_EQ(prompter.messages(), (Strings{"请先选择要删除的项目。", "请先选定要改名的项目！"}));

        prompter.type("总分");
        m.insertButton()->click();
        m.cancelButton()->click();
    });
    EXPECT_FALSE(OpenFieldManager(doc, prompter, dialogs, nullptr));
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文", " 数学 "}));  // cancelled
    EXPECT_TRUE(prompter.exhausted());

    // The wizard's showing keeps the list as it was left.
    dialogs.then([&](QDialog& d) {
        EXPECT_EQ(shown(static_cast<FieldManagerDialog&>(d)), Strings{"总分"});
        static_cast<FieldManagerDialog&>(d).cancelButton()->click();
    });
    EXPECT_FALSE(RunFieldManagerDialog(doc, prompter, dialogs, nullptr));
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(FieldManagerDialogTest, OkGivesTheTableTheListAsTitlesAndKeepsTheCells) {
    dialogs.then([&](QDialog& d) {
        auto& m = static_cast<FieldManagerDialog&>(d);
        m.itemList()->setCurrentRow(0);
        prompter.answer(Answer::Yes);
        m.removeButton()->click();  // 姓名 goes: the titles move, the names stay in column 1
        m.okButton()->click();
    });
    EXPECT_TRUE(OpenFieldManager(doc, prompter, dialogs, nullptr));
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"语文", "数学"}));
    EXPECT_EQ(doc.table.cell(1, 1), "张三");
    EXPECT_TRUE(doc.modified());
    EXPECT_TRUE(doc.undo());
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文", " 数学 "}));
}

}  // namespace
}  // namespace scorvane

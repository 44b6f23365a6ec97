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

using testing::ScriptedDialogs;
using testing::ScriptedPrompter;
using Strings = std::vector<std::string>;

class FieldManagerDialogTest : public testing::QtTest {
  protected:
    FieldManagerDialogTest() {
        doc.table.resize(3, 4);
        doc.table.setHeaderLayout("  |姓名|语文| 数学 ");
        doc.table.setCell(1, 1, "张三");
        doc.table.setCell(1, 2, "85");
        doc.table.setCell(1, 3, "90");
    }

    static Strings shown(const FieldManagerDialog& d) {
        Strings items;
        for (int i = 0; i < d.itemList()->count(); ++i) {
            items.push_back(d.itemList()->item(i)->text().toStdString());
        }
        return items;
    }
    static int selectedRow(const FieldManagerDialog& d) { return d.itemList()->currentRow(); }

    Document doc;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
};

TEST_F(FieldManagerDialogTest, OpeningTakesTheSnapshotAndListsTheTitles) {
    dialogs.then([&](QDialog& d) {
        auto& manager = static_cast<FieldManagerDialog&>(d);
        EXPECT_EQ(d.objectName(), "frm项目管理");
        EXPECT_EQ(d.windowTitle(), "字段编辑器");
        EXPECT_EQ(shown(manager), (Strings{"姓名", "语文", "数学"}));  // trimmed of spaces
        EXPECT_EQ(selectedRow(manager), 2);
        EXPECT_TRUE(doc.undoAvailable());
        manager.cancelButton()->click();
    });
    EXPECT_FALSE(OpenFieldManager(doc, prompter, dialogs, nullptr));
    EXPECT_EQ(doc.table.cols(), 4);
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(doc.undoAvailable());
    EXPECT_TRUE(dialogs.exhausted());
}

TEST_F(FieldManagerDialogTest, TheButtonsAskAndEditTheList) {
    dialogs.then([&](QDialog& d) {
        auto& m = static_cast<FieldManagerDialog&>(d);
        d.show();

        // "< 插入": the new item goes to the end and is selected; cancel adds nothing.
        prompter.type("英语");
        m.insertButton()->click();
        EXPECT_EQ(prompter.last().text, "请输入一个新的项目名称：");
        EXPECT_EQ(prompter.last().title, "插入项目");
        EXPECT_EQ(shown(m), (Strings{"姓名", "语文", "数学", "英语"}));
        EXPECT_EQ(selectedRow(m), 3);
        prompter.type(std::nullopt);
        m.insertButton()->click();
        EXPECT_EQ(shown(m).size(), 4u);

        // A click in the list chooses the item the buttons act on.
        QTest::mouseClick(m.itemList()->viewport(), Qt::LeftButton, {},
                          m.itemList()->visualItemRect(m.itemList()->item(1)).center());
        EXPECT_EQ(selectedRow(m), 1);

        // "重命名" offers the item and replaces it.
        prompter.type("语文(期中)");
        m.renameButton()->click();
        EXPECT_EQ(prompter.last().title, "项目重命名");
        EXPECT_EQ(prompter.last().offered, "语文");
        EXPECT_EQ(shown(m), (Strings{"姓名", "语文(期中)", "数学", "英语"}));

        // "> 删除" asks with No as the default; No keeps, Yes removes the item the list selected.
        prompter.answer(Answer::No);
        m.removeButton()->click();
        EXPECT_EQ(prompter.last().text, "确实删除项目：“语文(期中)” 么？");
        EXPECT_EQ(prompter.last().title, "确认删除");
        EXPECT_EQ(prompter.last().buttons, Buttons::YesNo);
        EXPECT_EQ(prompter.last().defaultAnswer, Answer::No);
        EXPECT_EQ(shown(m).size(), 4u);
        prompter.answer(Answer::Yes);
        m.removeButton()->click();
        EXPECT_EQ(shown(m), (Strings{"姓名", "数学", "英语"}));
        EXPECT_EQ(selectedRow(m), 1);

        // "清空" asks, then empties; afterwards nothing is selected, so every button asks for a
        // selection first.
        prompter.answer(Answer::Yes);
        m.clearButton()->click();
        EXPECT_EQ(prompter.last().text, "确实要删除所有项目？");
        EXPECT_TRUE(shown(m).empty());
        prompter.clear();
        m.clearButton()->click();
        m.removeButton()->click();
        m.renameButton()->click();
        EXPECT_EQ(prompter.messages(),
                  (Strings{"请先选择要删除的项目。", "请先选择要删除的项目。", "请先选定要改名的项目！"}));
        EXPECT_EQ(prompter.last().title, "提示");

        prompter.type("总分");
        m.insertButton()->click();
        m.cancelButton()->click();
    });
    EXPECT_FALSE(OpenFieldManager(doc, prompter, dialogs, nullptr));
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文", " 数学 "}));  // cancelled: no change
    EXPECT_TRUE(prompter.exhausted());

    // The wizard's showing keeps the list as it was left.
    dialogs.then([&](QDialog& d) {
        auto& m = static_cast<FieldManagerDialog&>(d);
        EXPECT_EQ(shown(m), (Strings{"总分"}));
        m.cancelButton()->click();
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
        prompter.type("英语");
        m.insertButton()->click();
        m.okButton()->click();
    });
    EXPECT_TRUE(OpenFieldManager(doc, prompter, dialogs, nullptr));
    EXPECT_EQ(doc.table.cols(), 4);
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"语文", "数学", "英语"}));
    EXPECT_EQ(doc.table.cell(1, 1), "张三");
    EXPECT_EQ(doc.table.headerLayout(), "   |语文|数学|英语");
    EXPECT_TRUE(doc.modified());

    // Undo brings the titles back.
    EXPECT_TRUE(doc.undo());
    EXPECT_EQ(doc.table.fieldTitles(), (Strings{"姓名", "语文", " 数学 "}));
}

}  // namespace
}  // namespace scorvane

#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QMenu>

#include "common/file_io.h"
#include "common/line_reader.h"
#include "common/text_codec.h"
#include "main/workspace/workspace_folder.h"
#include "table_window_fixture.h"

namespace scorvane {
namespace {

using testing::TableWindowTest;

class TableCommandsTest : public TableWindowTest {
  protected:
    void SetUp() override { load(); }
    const GradeTable& table() const { return window->document().table; }
    QStringList shownTitles() const {
        QStringList titles;
        const QAbstractItemModel* m = window->grid()->model();
        for (int c = 0; c < m->columnCount(); ++c) {
            titles << m->headerData(c, Qt::Horizontal).toString();
        }
        return titles;
    }
    void trigger(const char* name) {
        QAction* a = window->action(name);
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }
};

TEST_F(TableCommandsTest, InsertingAtTheRowNumbersAddsAFirstFieldAndUndoTakesItBack) {
    // Right after the load the cursor stands in column 0.
    host.prompts.type("学号");
    trigger("menuIstLei");
    EXPECT_EQ(host.prompts.calls().back().text, "请输入新的字段名称：");
    EXPECT_EQ(shownTitles(), (QStringList{"学号", "姓名", "语文", "数学成绩总评"}));
    EXPECT_EQ(table().cell(2, 2), "学生2");
    EXPECT_TRUE(window->document().modified());
    trigger("menuUndo");
    EXPECT_EQ(shownTitles(), (QStringList{"姓名", "语文", "数学成绩总评"}));
    EXPECT_EQ(window->grid()->model()->index(1, 0).data().toString(), "学生2");

    // Inside the table the new column goes before the current one; a cancelled title leaves it blank.
    window->setCurrentCell(3, 3);
    host.prompts.type(std::nullopt);
    trigger("menuIstLei");
    EXPECT_EQ(shownTitles(), (QStringList{"姓名", "语文", "   ", "数学成绩总评"}));
    EXPECT_EQ(table().cell(3, 4), "73");
}

TEST_F(TableCommandsTest, RemovingAndRenamingActOnTheCurrentFieldOrTheFirstFromColumnZero) {
    window->setCurrentCell(2, 2);
    trigger("menuRemLei");
    EXPECT_EQ(shownTitles(), (QStringList{"姓名", "数学成绩总评"}));
    EXPECT_EQ(table().cell(2, 2), "72");

    window->setCurrentCell(2, 0);
    host.prompts.type("").type("名字");
    trigger("menuChangeLeiTitle");  // an empty answer changes nothing
    EXPECT_EQ(shownTitles().first(), "姓名");
    trigger("menuChangeLeiTitle");
    EXPECT_EQ(host.prompts.calls().back().offered, "姓名");
    EXPECT_EQ(shownTitles(), (QStringList{"名字", "数学成绩总评"}));

    // The last field may go; with none left, remove and rename do nothing.
    trigger("menuRemLei");
    trigger("menuRemLei");
    EXPECT_EQ(window->grid()->model()->columnCount(), 0);
    trigger("menuRemLei");
    trigger("menuChangeLeiTitle");
    EXPECT_EQ(table().cols(), 1);
    EXPECT_TRUE(host.prompts.exhausted());
}

TEST_F(TableCommandsTest, ATemplateSavedFromOneTableGivesAnotherItsFields) {
    host.prompts.type("a/b").type("三科");
    trigger("menuSaveModel");
    EXPECT_EQ(host.prompts.messages(),
              (std::vector<std::string>{"文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。"}));
    EXPECT_EQ(host.prompts.calls().front().offered, "模版");
    ASSERT_EQ(window->templateItems().size(), 1);
    QAction* item = window->templateItems().front();
    EXPECT_EQ(item->text(), "三科.templet");
    EXPECT_EQ(window->menus().at(2)->actions().last(), item);

    // Applied to a table of two fields: three columns with the template's titles, cells in place.
    trigger("menuRemLei");
    window->document().table.setCell(1, 2, "留着");
    item->trigger();
    EXPECT_EQ(shownTitles(), (QStringList{"姓名", "语文", "数学成绩总评"}));
    EXPECT_EQ(table().cell(1, 2), "留着");
    trigger("menuUndo");
    EXPECT_EQ(table().cols(), 3);
}

TEST_F(TableCommandsTest, AWrongTemplateOrTitlesTooLongForOneAreRefusedWithAWord) {
    testing::WriteBytes(TemplateFolder() + "坏.templet", std::string(128 * 3, 'x'));
    window->rebuildTemplateMenu();
    ASSERT_EQ(window->templateItems().size(), 1);
    window->templateItems().front()->trigger();
    EXPECT_EQ(host.prompts.messages(), (std::vector<std::string>{"模版文件格式错误!"}));
    EXPECT_EQ(table().cols(), 4);
    EXPECT_TRUE(window->undoAvailable());  // its snapshot was taken all the same

    window->document().table.setCell(0, 1, std::string(127, 'T'));  // one byte more than a record holds
    host.prompts.clear();
    host.prompts.type("长");
    trigger("menuSaveModel");
    EXPECT_EQ(host.prompts.messages(), (std::vector<std::string>{"字段名称过长，无法保存为模版。"}));
    EXPECT_EQ(host.prompts.calls().back().title, "提示");
    EXPECT_FALSE(FileExists(TemplateFolder() + "长.templet"));
}

TEST_F(TableCommandsTest, CheckingAndComputingFormulasMarkTheFailuresAndFreezeTheValues) {
    GradeTable& t = window->document().table;
    t.setCell(1, 3, "！公式：cell(?,2)*2");  // 122
    t.setCell(2, 3, "！公式：cell(?,1)+1");  // a name is no number
    t.setCell(3, 3, "！公式：cell(?,?)");    // a reference to itself is left alone
    window->tableReset();

    trigger("menuCheckGS");
    EXPECT_EQ(t.cell(2, 3), "(公式错误)！公式：cell(?,1)+1");
    EXPECT_EQ(t.cell(3, 3), "！公式：cell(?,?)");
    EXPECT_EQ(window->grid()->model()->index(1, 2).data().toString(), "(公式错误)！公式：cell(?,1)+1");
    EXPECT_TRUE(host.prompts.calls().empty());
    trigger("menuUndo");

    host.prompts.answer(Answer::Cancel).answer(Answer::Ok);
    trigger("menuRun");
    EXPECT_EQ(t.cell(1, 3), "！公式：cell(?,2)*2");
    trigger("menuRun");
    EXPECT_EQ(host.prompts.calls().back().title, "提示");
    EXPECT_EQ(t.cell(1, 3), "122");
    EXPECT_EQ(window->grid()->model()->index(0, 2).data().toString(), "122");
    trigger("menuUndo");
    EXPECT_EQ(t.cell(1, 3), "！公式：cell(?,2)*2");
}

TEST_F(TableCommandsTest, TheCsvExportWritesTheValuesAndSaysSo) {
    window->document().table.setCell(1, 3, "！公式：cell(?,2)+0.5");
    host.prompts.chooseSave("").chooseSave(dir.file("出.csv"));
    trigger("menuSaveCVS");
    EXPECT_TRUE(host.prompts.messages().empty());
    trigger("menuSaveCVS");
    EXPECT_EQ(host.prompts.messages(),
              (std::vector<std::string>{"文件保存成功！您可以使用Excel作为以逗号为分割符的文本文件打开。"}));
    const std::string text = DecodeGbk(testing::ReadBytes(dir.file("出.csv")));
    const std::vector<std::string_view> lines = SplitLines(text);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "期中");
    EXPECT_EQ(lines[2], ",1,学生1,61,61.5");
}

}  // namespace
}  // namespace scorvane

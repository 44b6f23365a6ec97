#include "main/document/new_table_wizard.h"

#include <gtest/gtest.h>

#include "support/scoped_program_folder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ScriptedPrompter;
using testing::TempDir;
using Call = ScriptedPrompter::Call;

class NewTableWizardTest : public ::testing::Test {
  protected:
    TempDir dir;
    testing::ScopedProgramFolder folder{dir.path()};
    ScriptedPrompter prompter;
};

TEST_F(NewTableWizardTest, ShowsItsMessagesAndDialogsInOrder) {
    Document doc;
    std::vector<std::string> order;
    NewTableWizardSteps steps;
    steps.classInfo = [&] {
        order.push_back("classInfo:" + std::to_string(prompter.calls().size()));
        doc.table.setRows(4);
    };
    steps.dataFormat = [&] { order.push_back("dataFormat:" + std::to_string(prompter.calls().size())); };
    steps.fieldManager = [&] { order.push_back("fields:" + std::to_string(prompter.calls().size())); };
    // The name: first empty, then a bad one, then a good one; the title: first empty, then given.
    prompter.type("").type("a/b").type("期中").type("").type("高一(1)班期中");
    RunNewTableWizard(doc, prompter, "一中/高一/(1)班", 3, steps);

    const auto& calls = prompter.calls();
    ASSERT_EQ(calls.size(), 14u);
    EXPECT_EQ(calls[0].text, "下面将显示一系列的窗口，以帮助您快速的设置完表格的各个信息。");
    EXPECT_EQ(calls[1].kind, Call::Input);
    EXPECT_EQ(calls[1].text, "请输入新表格要使用的文件名称，可以使用中文，这要可以使该表格更易于管理。");
    EXPECT_EQ(calls[1].title, "表格");
    EXPECT_EQ(calls[1].offered, "新成绩表2");
    EXPECT_EQ(calls[2].text, "文件名称不能为空！请重新输入。");
    EXPECT_EQ(calls[4].text, "文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。");
    EXPECT_EQ(calls[6].text, "下面，首先将设置班级的人数，班主任等信息。");
    EXPECT_EQ(calls[7].text, "接下来，我们开始设置使用公式时的数据格式，即数值的格式。如：小数位数等。");
    EXPECT_EQ(calls[8].text, "然后，是对表格标题的设置，它也是打印时所使用的标题。");
    EXPECT_EQ(calls[9].kind, Call::Input);
    EXPECT_EQ(calls[9].title, "更改标题");
    EXPECT_EQ(calls[9].offered, "未命名的表格");
    EXPECT_EQ(calls[10].text, "标题不能为空！");
    EXPECT_EQ(calls[11].kind, Call::Input);
    EXPECT_EQ(calls[12].text,
              "最后，我们要设置表格的项目，也就是平时所说的字段。你可以使用项目管理器编辑表格的项目，也可以在"
              "表格的“"
              "成绩表字段模版”菜单下，选择已存在的字段模版。");
    EXPECT_EQ(
        calls[13].text,
        "至此，一张新的表格就已经设置完成！接下来，可以输入数据了。你可以通过右键菜单里的项目来简化你的操作过"
        "程。");
    for (const Call& c : calls) {
        if (c.kind == Call::Message) {
            EXPECT_EQ(c.icon, Icon::Information) << c.text;
            EXPECT_EQ(c.title, "提示") << c.text;
        }
    }
    // Each dialog comes right after its message.
    EXPECT_EQ(order, (std::vector<std::string>{"classInfo:7", "dataFormat:8", "fields:13"}));

    // The name gives the file path in the class's folder; the title is the one typed, not the name.
    EXPECT_EQ(doc.table.filePath, dir.path() + "/表格数据/一中/高一/(1)班/期中");
    EXPECT_EQ(doc.table.title, "高一(1)班期中");
    EXPECT_EQ(doc.table.rows(), 4);
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(NewTableWizardTest, StepsLeftOutArePassedOverWithTheirMessages) {
    Document doc;
    prompter.type("表").type("标题");
    RunNewTableWizard(doc, prompter, "一中/高一/(1)班", 0, {});
    EXPECT_EQ(prompter.messages().size(), 6u);
    EXPECT_EQ(prompter.calls()[1].offered, "新成绩表-1");
    EXPECT_EQ(doc.table.title, "标题");
}

}  // namespace
}  // namespace scorvane

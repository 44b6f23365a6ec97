#include "main/workspace/ui/school_editor_dialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "main/workspace/school_info.h"
#include "support/qt/qt_app.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ScriptedPrompter;
using testing::TempDir;
using Strings = std::vector<std::string>;

QStringList items(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) {
        names << list->item(i)->text();
    }
    return names;
}

class SchoolEditorDialogTest : public testing::QtTest {
  protected:
    std::unique_ptr<SchoolEditorDialog> open() {
        auto dialog = std::make_unique<SchoolEditorDialog>(prompter, folder());
        dialog->show();
        return dialog;
    }
    std::string folder() const { return dir.path() + "/"; }
    void click(SchoolEditorDialog& d, const char* name) { d.button(name)->click(); }

    TempDir dir;
    ScriptedPrompter prompter;
};

TEST_F(SchoolEditorDialogTest, AnEmptyWorkspaceStartsWithThePlaceholderAndTheButtonsBuildTheSchool) {
    auto d = open();
    EXPECT_EQ(d->objectName(), "frmClass");
    EXPECT_EQ(d->windowTitle(), "班级编制");
    EXPECT_EQ(d->schoolNameEdit()->text(), "在此输入学校名称");
    EXPECT_EQ(d->gradeList()->count(), 0);
    struct {
        const char* name;
        const char* text;
    } buttons[] = {{"Command1", "添加>"}, {"Command2", "删除<"}, {"Command3", "重命名"},
                   {"Command4", "添加>"}, {"Command5", "删除<"}, {"Command6", "重命名"},
                   {"Command7", "完成"},  {"Command8", "取消"}};
    for (const auto& b : buttons) {
        ASSERT_NE(d->button(b.name), nullptr) << b.name;
        EXPECT_EQ(d->button(b.name)->text(), QString::fromUtf8(b.text));
    }

    // Focus on the name box empties the placeholder; leaving it empty puts it back.
    QFocusEvent in(QEvent::FocusIn);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(d->schoolNameEdit(), &in);
    EXPECT_EQ(d->schoolNameEdit()->text(), "");
    QCoreApplication::sendEvent(d->schoolNameEdit(), &out);
    EXPECT_EQ(d->schoolNameEdit()->text(), "在此输入学校名称");
    QCoreApplication::sendEvent(d->schoolNameEdit(), &in);
    d->schoolNameEdit()->insert("二中");  // typed
    QCoreApplication::sendEvent(d->schoolNameEdit(), &out);

    // A class needs a grade first.
    click(*d, "Command4");
    EXPECT_EQ(prompter.messages(), Strings{"请先选择要添加班级的年级!"});

    prompter.type("高一").type("高二");
    click(*d, "Command1");
    click(*d, "Command1");
    EXPECT_EQ(items(d->gradeList()), (QStringList{"高一", "高二"}));
    EXPECT_EQ(d->gradeList()->currentRow(), 1);  // the last grade is selected
    const auto& ask = prompter.calls()[1];
    EXPECT_EQ(ask.text, "请输入一个年级的名称：（如：一年级）");
    EXPECT_EQ(ask.title, "添加年级");

    d->gradeList()->setCurrentRow(0);
    prompter.type("(1)班").type("(2)班");
    click(*d, "Command4");
    click(*d, "Command4");
    EXPECT_EQ(items(d->classList()), (QStringList{"(1)班", "(2)班"}));
    EXPECT_EQ(d->classList()->currentRow(), 1);
    EXPECT_EQ(prompter.last().title, "添加班级");

    // Selecting another grade shows its own (empty) class list.
    d->gradeList()->setCurrentRow(1);
    EXPECT_EQ(d->classList()->count(), 0);
    d->gradeList()->setCurrentRow(0);
    EXPECT_EQ(items(d->classList()), (QStringList{"(1)班", "(2)班"}));

    // Rename a class; delete the other after the question.
    d->classList()->setCurrentRow(0);
    prompter.type("(一)班");
    click(*d, "Command6");
    EXPECT_EQ(prompter.last().title, "班机重命名");
    EXPECT_EQ(prompter.last().offered, "(1)班");
    d->classList()->setCurrentRow(1);
    prompter.answer(Answer::Yes);
    click(*d, "Command5");
    EXPECT_EQ(prompter.questions().back(), "确实删除项目：“(2)班” 么？");
    EXPECT_EQ(prompter.calls().back().title, "确认删除");
    EXPECT_EQ(prompter.calls().back().defaultAnswer, Answer::No);
    EXPECT_EQ(items(d->classList()), (QStringList{"(一)班"}));

    // "完成" writes the school file.
    click(*d, "Command7");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    auto school = LoadSchoolInfo(folder());
    ASSERT_TRUE(school);
    EXPECT_EQ(school->name, "二中");
    ASSERT_EQ(school->grades.size(), 2u);
    EXPECT_EQ(school->grades[0].classes, Strings{"(一)班"});
    EXPECT_TRUE(school->grades[1].classes.empty());
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(SchoolEditorDialogTest, DeletingAndRenamingAskForASelectionAndCancelAsksBeforeDroppingChanges) {
    ASSERT_TRUE(SaveSchoolInfo({"一中", {{"高一", {"(1)班"}}, {"高二", {}}, {"高三", {}}}}, folder()));
    auto d = open();
    EXPECT_EQ(d->schoolNameEdit()->text(), "一中");
    EXPECT_EQ(items(d->gradeList()), (QStringList{"高一", "高二", "高三"}));
    EXPECT_EQ(d->gradeList()->currentRow(), 0);
    EXPECT_EQ(items(d->classList()), (QStringList{"(1)班"}));

    // Unmodified, "取消" closes without a question.
    d->reject();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(prompter.calls().empty());

    d = open();
    click(*d, "Command5");  // no class selected
    click(*d, "Command6");
    EXPECT_EQ(prompter.messages(), (Strings{"请先选择要删除的项目!", "请先选择要重命名的项目!"}));

    // Deleting grade 0, answered No, keeps it; Yes removes it with its classes.
    prompter.answer(Answer::No).answer(Answer::Yes);
    click(*d, "Command2");
    EXPECT_EQ(d->gradeList()->count(), 3);
    click(*d, "Command2");
    EXPECT_EQ(items(d->gradeList()), (QStringList{"高二", "高三"}));
    EXPECT_EQ(d->classList()->count(), 0);

    // Rename a grade: an empty answer changes nothing.
    prompter.type("").type("二年级");
    click(*d, "Command3");
    click(*d, "Command3");
    EXPECT_EQ(items(d->gradeList()), (QStringList{"二年级", "高三"}));
    EXPECT_EQ(prompter.last().title, "年级重命名");

    // Modified: "取消" asks; No keeps the editor open, Yes closes it without writing.
    d->setResult(QDialog::Accepted);
    prompter.answer(Answer::No).answer(Answer::Yes);
    click(*d, "Command8");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(prompter.questions().back(), "真的不保存修改么?");
    d->reject();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_EQ(LoadSchoolInfo(folder())->grades.size(), 3u);
    EXPECT_TRUE(prompter.exhausted());
}

}  // namespace
}  // namespace scorvane

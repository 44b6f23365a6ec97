#include "main/workspace/ui/main_window.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QThread>

#include "common/file_io.h"
#include "common/qt/program_start.h"
#include "common/text_codec.h"
#include "frame_fixture.h"
#include "main/document/ui/class_info_dialog.h"
#include "main/document/ui/data_format_dialog.h"
#include "main/document/ui/field_manager_dialog.h"
#include "main/document/ui/grade_table_model.h"
#include "main/workspace/ui/tree_pictures.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::Flush;
using testing::FrameTest;
using testing::ReadBytes;
using testing::WriteBytes;
using Call = testing::ScriptedPrompter::Call;

QImage picture(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

QStringList entryTexts(const MainWindow& w) {
    QStringList names;
    for (QAction* a : w.tableEntries()) {
        names << a->text();
    }
    return names;
}

// ---- start-up and the tree

TEST_F(FrameTest, StartUpBuildsTheTreeFromTheSchoolFile) {
    writeSchool();
    MainWindow& w = start();
    EXPECT_EQ(w.windowTitle(), "KVL'S Scorvane");
    EXPECT_EQ(w.objectName(), "MDIForm1");
    EXPECT_TRUE(w.tree()->isEnabled());
    EXPECT_EQ(w.statusText(1), "就绪");
    EXPECT_EQ(w.statusText(2), "当前表格：无");

    struct Expected {
        const char* key;
        const char* text;
        int image;
        const char* parent;
    } nodes[] = {{"School1", "一中", 1, ""},
                 {"Grade0", "高一", 2, "School1"},
                 {"Grade0Class0", "(1)班", 3, "Grade0"},
                 {"Grade0Class1", "(2)班", 3, "Grade0"},
                 {"Grade1", "高二", 2, "School1"}};
    int count = 0;
    for (QTreeWidgetItemIterator it(w.tree()); *it; ++it) {
        ++count;
    }
    EXPECT_EQ(count, 5);
    for (const Expected& e : nodes) {
        QTreeWidgetItem* node = item(e.key);
        ASSERT_NE(node, nullptr) << e.key;
        EXPECT_EQ(node->text(0), QString::fromUtf8(e.text));
        EXPECT_EQ(picture(node->icon(0)), picture(TreePicture(e.image))) << e.key;
        QString parent = node->parent() ? node->parent()->data(0, Qt::UserRole).toString() : QString();
        EXPECT_EQ(parent, QString::fromUtf8(e.parent));
        EXPECT_FALSE(node->isSelected());
    }
    EXPECT_TRUE(item("School1")->isExpanded());
    EXPECT_TRUE(item("Grade0")->isExpanded());
    EXPECT_TRUE(item("Grade1")->isExpanded());
    // The three pictures differ from each other.
    EXPECT_NE(picture(TreePicture(1)), picture(TreePicture(2)));
    EXPECT_NE(picture(TreePicture(2)), picture(TreePicture(3)));
    // Nothing is created on disk by starting.
    EXPECT_FALSE(DirectoryExists(dir.path() + "/表格数据"));
}

TEST_F(FrameTest, WithoutASchoolFileTheTreeIsEmptyAndDisabledButButtonTwoStillShowsTheMenu) {
    MainWindow& w = start();
    EXPECT_EQ(w.tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(w.tree()->isEnabled());
    w.toolbarButton(MainWindow::kSchoolTree)->trigger();
    EXPECT_TRUE(w.treePopup()->isVisible());
    EXPECT_FALSE(w.action("menuNewFile")->isEnabled());
    EXPECT_TRUE(w.action("menuEditTV")->isEnabled());
    EXPECT_TRUE(w.action("menuTabelD")->isEnabled());
    EXPECT_TRUE(w.tableEntries().isEmpty());
    w.treePopup()->close();
}

TEST_F(FrameTest, StartUpTakesTheStoredTableFont) {
    {
        QSettings s(QSettings::UserScope, "KVL'S Scorvane", "KVL'S Scorvane");
        s.setValue("Font/Name", "黑体");
        s.setValue("Font/Size", "  ");
    }
    MainWindow& w = start();
    EXPECT_EQ(w.tableFont().name, "黑体");
    EXPECT_EQ(w.tableFont().pointSize, 12);  // an empty size keeps the design size
    {
        QSettings s(QSettings::UserScope, "KVL'S Scorvane", "KVL'S Scorvane");
        s.remove("Font");
    }
}

// ---- the pop-up menu

TEST_F(FrameTest, ThePopUpMenuOffersNewTablesAndListsTablesOnlyForClasses) {
    writeSchool();
    MainWindow& w = start();
    const QPoint somewhere(100, 100);

    for (const char* key : {"School1", "Grade0"}) {
        w.treeRightPressed(item(key), somewhere);
        EXPECT_TRUE(w.treePopup()->isVisible());
        EXPECT_TRUE(item(key)->isSelected()) << key;
        EXPECT_FALSE(w.action("menuNewFile")->isEnabled()) << key;
        EXPECT_FALSE(w.action("menuOpenHere")->isEnabled());
        EXPECT_TRUE(w.tableEntries().isEmpty());
        w.treePopup()->close();
    }
    EXPECT_FALSE(DirectoryExists(dir.path() + "/表格数据"));

    // A class: its folder is made at every level, and it has no tables yet.
    w.treeRightPressed(item("Grade0Class0"), somewhere);
    EXPECT_TRUE(w.action("menuNewFile")->isEnabled());
    EXPECT_TRUE(DirectoryExists(classFolder()));
    EXPECT_TRUE(w.tableEntries().isEmpty());
    w.treePopup()->close();

    // a.skv and b.skv are its tables; other files are not.
    writeTable(tablePath("b"), "乙");
    writeTable(tablePath("a"), "甲");
    testing::WriteBytes(classFolder() + "notes.txt", "x");
    w.treeRightPressed(item("Grade0Class0"), somewhere);
    EXPECT_EQ(entryTexts(w), (QStringList{"a", "b"}));
    EXPECT_FALSE(w.action("menuOpenHere")->isEnabled());
    w.treePopup()->close();

    // Another node drops the entries again; button 2 never lists tables.
    w.treeRightPressed(item("Grade1"), somewhere);
    EXPECT_TRUE(w.tableEntries().isEmpty());
    w.treePopup()->close();
    w.tree()->setCurrentItem(item("Grade0Class0"));
    w.toolbarButton(MainWindow::kSchoolTree)->trigger();
    EXPECT_TRUE(w.action("menuNewFile")->isEnabled());
    EXPECT_TRUE(w.tableEntries().isEmpty());
    w.treePopup()->close();

    // A double click on a class opens the menu as a right press does; elsewhere it does not.
    w.treeDoubleClicked(item("Grade0"), somewhere);
    EXPECT_FALSE(w.treePopup()->isVisible());
    w.treeDoubleClicked(item("Grade0Class0"), somewhere);
    EXPECT_TRUE(w.treePopup()->isVisible());
    EXPECT_EQ(entryTexts(w), (QStringList{"a", "b"}));
    w.treePopup()->close();
}

// ---- opening tables

TEST_F(FrameTest, ATableEntryOpensThatTableAsTheActiveWindow) {
    writeSchool();
    MainWindow& w = start();
    w.treeRightPressed(item("Grade0Class0"), QPoint(10, 10));
    writeTable(tablePath("期中"), "高一(1)班期中", 5);
    w.treeRightPressed(item("Grade0Class0"), QPoint(10, 10));
    ASSERT_EQ(w.tableEntries().size(), 1);
    w.tableEntries().first()->trigger();
    w.treePopup()->close();

    TableWindow* t = w.activeTable();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(w.tables().size(), 1);
    EXPECT_EQ(t->caption(), "高一(1)班期中");
    EXPECT_EQ(t->document().table.filePath, tablePath("期中"));
    EXPECT_EQ(t->document().table.rows(), 6);
    EXPECT_EQ(w.statusText(2), "当前表格：高一(1)班期中");
    EXPECT_EQ(w.statusText(1), "就绪");
    EXPECT_EQ(subWindowOf(t)->windowTitle(), "高一(1)班期中");
}

TEST_F(FrameTest, TheOpenCommandAndButtonThreeLoadTheChosenFile) {
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    writeTable(dir.file("二"), "表二");

    prompter.chooseOpen(dir.file("一.skv"));
    w.action("menuOpen")->trigger();
    ASSERT_NE(w.activeTable(), nullptr);
    EXPECT_EQ(w.activeTable()->caption(), "表一");
    EXPECT_EQ(w.activeTable()->document().table.filePath, dir.file("一"));
    EXPECT_EQ(prompter.last().kind, Call::OpenFile);
    EXPECT_EQ(prompter.last().text, "*.skv");
    EXPECT_EQ(prompter.last().title, "打开数据文件");

    prompter.chooseOpen(dir.file("二.skv"));
    w.toolbarButton(MainWindow::kOpen)->trigger();
    EXPECT_EQ(w.tables().size(), 2);
    EXPECT_EQ(w.activeTable()->caption(), "表二");

    // Cancelled: no window. Not a data file: the message, and no window is left behind.
    prompter.chooseOpen("");
    w.toolbarButton(MainWindow::kOpen)->trigger();
    testing::WriteBytes(dir.file("坏.skv"), "not a table\r\n");
    prompter.chooseOpen(dir.file("坏.skv"));
    w.action("menuOpen")->trigger();
    Flush();
    EXPECT_EQ(w.tables().size(), 2);
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"文件格式不正确!"}));
    EXPECT_EQ(w.activeTable()->caption(), "表二");
    EXPECT_EQ(w.statusText(2), "当前表格：表二");
}

// ---- the toolbar and the status panels follow the active table

TEST_F(FrameTest, TheTableButtonsAndPanelTwoFollowTheActiveTable) {
    MainWindow& w = start();
    const int tableButtons[] = {MainWindow::kSave,           MainWindow::kCut,
                                MainWindow::kCopy,           MainWindow::kPaste,
                                MainWindow::kFind,           MainWindow::kSortAscending,
                                MainWindow::kSortDescending, MainWindow::kTableProperties};
    for (int b : tableButtons) {
        EXPECT_FALSE(w.toolbarButton(b)->isEnabled()) << b;
    }
    EXPECT_FALSE(w.toolbarButton(MainWindow::kUndo)->isEnabled());
    // The buttons that need no table.
    for (int b :
         {MainWindow::kSchoolTree, MainWindow::kOpen, MainWindow::kHelp, MainWindow::kEnterAlongRow}) {
        EXPECT_TRUE(w.toolbarButton(b)->isEnabled()) << b;
    }
    EXPECT_EQ(menuBarTitles(), (QStringList{"文件(&F)", "帮助(&H)"}));

    writeTable(dir.file("一"), "表一");
    writeTable(dir.file("二"), "表二");
    TableWindow* one = w.openTable(dir.file("一"));
    TableWindow* two = w.openTable(dir.file("二"));
    ASSERT_TRUE(one && two);
    EXPECT_EQ(w.activeTable(), two);
    for (int b : tableButtons) {
        EXPECT_TRUE(w.toolbarButton(b)->isEnabled()) << b;
    }
    EXPECT_EQ(menuBarTitles(), (QStringList{"成绩表(&B)", "编辑(&E)", "成绩表字段(&L)", "格式(&O)",
                                            "工具(&T)", "窗口(&W)", "帮助(&H)"}));
    EXPECT_EQ(w.menuBar()->actions().first(), two->menus().first()->menuAction());

    // Undo follows the active table's Undo command (opening the class information takes the snapshot).
    dialogs.then([](QDialog& d) { d.reject(); });
    two->setupClassInfo();
    EXPECT_TRUE(w.toolbarButton(MainWindow::kUndo)->isEnabled());
    w.documentArea()->setActiveSubWindow(subWindowOf(one));
    EXPECT_EQ(w.activeTable(), one);
    EXPECT_EQ(w.statusText(2), "当前表格：表一");
    EXPECT_FALSE(w.toolbarButton(MainWindow::kUndo)->isEnabled());
    EXPECT_EQ(w.menuBar()->actions().first(), one->menus().first()->menuAction());

    // Closing both leaves no active table.
    subWindowOf(one)->close();
    Flush();
    EXPECT_EQ(w.activeTable(), two);
    EXPECT_EQ(w.statusText(2), "当前表格：表二");
    subWindowOf(two)->close();
    Flush();
    EXPECT_EQ(w.activeTable(), nullptr);
    EXPECT_EQ(w.statusText(2), "当前表格：无");
    for (int b : tableButtons) {
        EXPECT_FALSE(w.toolbarButton(b)->isEnabled()) << b;
    }
    EXPECT_FALSE(w.toolbarButton(MainWindow::kUndo)->isEnabled());
    EXPECT_EQ(menuBarTitles(), (QStringList{"文件(&F)", "帮助(&H)"}));
}

TEST_F(FrameTest, EveryButtonHasAPictureOfItsOwnAndPrintWorksWhileATableIsActive) {
    MainWindow& w = start();
    EXPECT_FALSE(w.toolbarButton(MainWindow::kPrint)->isEnabled());
    QList<QImage> seen;
    for (int position = 1; position <= MainWindow::kButtonCount; ++position) {
        QAction* a = w.toolbarButton(position);
        ASSERT_NE(a, nullptr);
        const bool separator = position == 1 || position == 5 || position == 7 || position == 12 ||
                               position == 14 || position == 18 || position == 21 || position == 23;
        EXPECT_EQ(a->isSeparator(), separator) << position;
        if (separator) {
            continue;
        }
        EXPECT_FALSE(a->toolTip().isEmpty()) << position;
        QImage image = picture(a->icon());
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                painted += qAlpha(image.pixel(x, y)) > 128;
            }
        }
        EXPECT_GT(painted, 40) << "button " << position << " has hardly a picture";
        EXPECT_FALSE(seen.contains(image)) << "picture of button " << position << " repeats another";
        seen << image;
    }
    EXPECT_EQ(seen.size(), 16);
    EXPECT_EQ(w.toolbarButton(MainWindow::kTableProperties)->toolTip(), "成绩表属性");
    EXPECT_EQ(w.toolbarButton(MainWindow::kDirectionKeys)->toolTip(), "方向键控制");

    writeTable(dir.file("一"), "表一");
    w.openTable(dir.file("一"));
    ASSERT_TRUE(w.toolbarButton(MainWindow::kPrint)->isEnabled());
    EXPECT_EQ(w.toolbarButton(MainWindow::kPrint)->toolTip(), "打印");
    // The button opens the active table's print set-up and preview.
    dialogs.then([](QDialog& d) { d.reject(); });
    w.toolbarButton(MainWindow::kPrint)->trigger();
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"frmPrintSetup"}));
    // So does Ctrl+P in the table.
    dialogs.then([](QDialog& d) { d.reject(); });
    QTest::keyClick(w.activeTable()->grid(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"frmPrintSetup", "frmPrintSetup"}));
}

TEST_F(FrameTest, TheTwoEnterButtonsAlwaysStandOneDownOneUp) {
    MainWindow& w = start();
    QAction* along = w.toolbarButton(MainWindow::kEnterAlongRow);
    QAction* down = w.toolbarButton(MainWindow::kEnterDownColumn);
    QAction* keys = w.toolbarButton(MainWindow::kDirectionKeys);
    EXPECT_TRUE(along->isChecked());
    EXPECT_FALSE(down->isChecked());
    EXPECT_TRUE(keys->isChecked());

    along->trigger();  // down -> up: 纵向输入 goes down
    EXPECT_FALSE(along->isChecked());
    EXPECT_TRUE(down->isChecked());
    EXPECT_TRUE(w.enterMovesDownColumn());
    down->trigger();  // down -> up: 横向输入 goes down
    EXPECT_TRUE(along->isChecked());
    EXPECT_FALSE(down->isChecked());
    down->trigger();  // up -> down: 横向输入 goes up
    EXPECT_FALSE(along->isChecked());
    EXPECT_TRUE(down->isChecked());
    along->trigger();  // up -> down
    EXPECT_TRUE(along->isChecked());
    EXPECT_FALSE(down->isChecked());
    EXPECT_TRUE(w.enterMovesAlongRow());

    // 方向键控制 keeps its own two states and moves nothing else.
    keys->trigger();
    EXPECT_FALSE(keys->isChecked());
    EXPECT_TRUE(along->isChecked());
    keys->trigger();
    EXPECT_TRUE(keys->isChecked());
}

// ---- new tables

TEST_F(FrameTest, NewTableDirectlyAsksForAUsableNameAndPutsTheTableInTheClass) {
    writeSchool();
    MainWindow& w = start();
    w.treeRightPressed(item("Grade0Class0"), QPoint(10, 10));
    w.treePopup()->close();
    writeTable(tablePath("a"), "甲");
    writeTable(tablePath("b"), "乙");

    prompter.type(std::nullopt).type("  ").type("期中?").type("期中考试");
    w.action("menuNewonly")->trigger();
    TableWindow* t = w.activeTable();
    ASSERT_NE(t, nullptr);
    const auto& calls = prompter.calls();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].kind, Call::Input);
    EXPECT_EQ(calls[0].title, "表格");
    EXPECT_EQ(calls[0].offered, "新成绩表1");  // two tables listed
    EXPECT_EQ(calls[1].text, "文件名称不能为空！请重新输入。");
    EXPECT_EQ(calls[3].text, "文件名称不能为空！请重新输入。");
    EXPECT_EQ(calls[5].text, "文件名中包含了诸如“\\/*?”之类的非法字符，请重新输入。");
    EXPECT_EQ(t->caption(), "期中考试");
    EXPECT_EQ(t->document().table.filePath, tablePath("期中考试"));
    EXPECT_EQ(w.statusText(2), "当前表格：期中考试");
    EXPECT_EQ(subWindowOf(t)->windowTitle(), "期中考试");
    // Nothing is saved yet.
    EXPECT_FALSE(FileExists(tablePath("期中考试") + ".skv"));
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(FrameTest, TheWizardShowsItsDialogsInOrderOnTheNewTable) {
    writeSchool();
    MainWindow& w = start();
    w.tree()->setCurrentItem(item("Grade0Class1"));
    SharedClassInfo() = {};
    SharedFieldManager() = FieldManager();
    prompter.type("月考").type("高一(2)班月考").type("姓名").type("语文");
    dialogs
        .then([](QDialog& d) {
            auto& info = static_cast<ClassInfoDialog&>(d);
            info.classSizeEdit()->setText("4");
            info.teacherEdit()->setText("王老师");
            info.confirmButton()->click();
        })
        .then([](QDialog& d) {
            auto& format = static_cast<DataFormatDialog&>(d);
            format.decimalsEdit()->setText("1");
            format.okButton()->click();
        })
        .then([](QDialog& d) {
            auto& fields = static_cast<FieldManagerDialog&>(d);
            fields.insertButton()->click();
            fields.insertButton()->click();
            fields.okButton()->click();
        });
    w.action("menuNewXD")->trigger();

    TableWindow* t = w.activeTable();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"frmClassInfo", "frmDataFormat", "frm项目管理"}));
    EXPECT_EQ(t->document().table.dataFormat, "###.#");
    EXPECT_EQ(t->document().table.fieldTitles(), (std::vector<std::string>{"姓名", "语文"}));
    EXPECT_EQ(t->model().columnCount(), 2);
    EXPECT_EQ(t->model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "语文");
    EXPECT_EQ(prompter.messages().size(), 6u);
    EXPECT_EQ(prompter.messages().front(), "下面将显示一系列的窗口，以帮助您快速的设置完表格的各个信息。");
    EXPECT_EQ(prompter.calls()[1].offered, "新成绩表-1");
    EXPECT_EQ(t->document().table.rows(), 5);
    EXPECT_EQ(t->document().table.cell(4, 0), "4");
    EXPECT_EQ(t->document().table.teacher, "王老师");
    EXPECT_EQ(t->model().rowCount(), 4);
    EXPECT_EQ(t->caption(), "高一(2)班月考");
    EXPECT_EQ(w.statusText(2), "当前表格：高一(2)班月考");
    EXPECT_EQ(t->document().table.filePath, dir.path() + "/表格数据/一中/高一/(2)班/月考");
    EXPECT_TRUE(t->document().modified());
    EXPECT_TRUE(dialogs.exhausted());
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(FrameTest, ATableOutsideAnyClassAsksForAFileOnEverySave) {
    MainWindow& w = start();
    w.action("menuTabelD")->trigger();
    TableWindow* t = w.activeTable();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->caption(), "未命名的表格");
    EXPECT_EQ(t->document().table.filePath, "");
    EXPECT_EQ(t->document().table.rows(), 2);
    EXPECT_EQ(t->document().table.cols(), 2);

    prompter.chooseSave(dir.file("甲.skv")).chooseSave(dir.file("乙.skv"));
    w.toolbarButton(MainWindow::kSave)->trigger();
    t->action("menuSave")->trigger();
    EXPECT_TRUE(FileExists(dir.file("甲.skv")));
    EXPECT_TRUE(FileExists(dir.file("乙.skv")));
    EXPECT_EQ(t->document().table.filePath, "");
    int dialogsShown = 0;
    for (const Call& c : prompter.calls()) {
        dialogsShown += c.kind == Call::SaveFile;
    }
    EXPECT_EQ(dialogsShown, 2);
}

TEST_F(FrameTest, AResultOpensLargeEnoughToReadAndPrintsItsClassInformation) {
    MainWindow& w = start();
    w.resize(1500, 1000);
    const QSize area = w.documentArea()->viewport()->size();
    // A wide and long result: at least two thirds of the area each way.
    GradeTable wide = testing::MakeClass(80, "甲");
    wide.setCols(30);
    w.openNewTable(wide, NewTableKind::Result);
    QMdiSubWindow* sub = w.documentArea()->activeSubWindow();
    ASSERT_NE(sub, nullptr);
    EXPECT_GE(sub->width(), area.width() * 2 / 3);
    EXPECT_GE(sub->height(), area.height() * 2 / 3);
    EXPECT_TRUE(w.activeTable()->resultTable());
    // A small one: the size of its table, which it shows whole.
    w.openNewTable(testing::MakeTable({"姓名", "总分"}, {{"甲", "300"}}, "小"), NewTableKind::Result);
    sub = w.documentArea()->activeSubWindow();
    TableWindow* small = w.activeTable();
    EXPECT_LT(sub->width(), area.width() * 2 / 3);
    EXPECT_LT(sub->height(), area.height() * 2 / 3);
    EXPECT_EQ(small->size().expandedTo(small->wholeTableSize()), small->size());
    // A sheet brought in is an ordinary table: the ordinary size, printed without 班级信息.
    w.openNewTable(wide, NewTableKind::Ordinary);
    EXPECT_FALSE(w.activeTable()->resultTable());
    EXPECT_EQ(w.activeTable()->size(), w.activeTable()->sizeHint());
    // Among maximised windows a result opens maximised too.
    w.documentArea()->activeSubWindow()->showMaximized();
    w.openNewTable(testing::MakeTable({"姓名"}, {{"甲"}}, "小"), NewTableKind::Result);
    EXPECT_TRUE(w.documentArea()->activeSubWindow()->isMaximized());
}

TEST_F(FrameTest, MadeTablesOpenCascadedNumberedInTheWindowListAndSaveIntoTheChosenClass) {
    writeSchool();
    MainWindow& w = start();
    w.tree()->setCurrentItem(item("Grade0Class1"));
    const std::string classFolder = dir.path() + "/表格数据/一中/高一/(2)班/";
    ASSERT_TRUE(MakeDirectories(classFolder));
    // A small frame: no free place is left beside the first window.
    w.resize(520, 420);
    for (int i = 0; i < 3; ++i) {
        w.openNewTable(testing::MakeTable({"姓名"}, {{"甲"}}, "期中 成绩统计"), NewTableKind::Result);
    }
    const QList<QMdiSubWindow*> subs = w.documentArea()->subWindowList();
    ASSERT_EQ(subs.size(), 3);
    EXPECT_NE(subs[0]->pos(), subs[1]->pos());
    EXPECT_NE(subs[1]->pos(), subs[2]->pos());
    EXPECT_NE(subs[0]->pos(), subs[2]->pos());

    auto* menu = w.findChild<QMenu*>("menuWindow");
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList listed;
    for (QAction* a : menu->actions()) {
        if (a->text().startsWith('&') && a->isCheckable()) {
            listed << a->text();
        }
    }
    EXPECT_EQ(listed, (QStringList{"&1 期中 成绩统计", "&2 期中 成绩统计 (2)", "&3 期中 成绩统计 (3)"}));
    EXPECT_EQ(w.activeTable()->caption(), "期中 成绩统计");

    prompter.chooseSave("");
    w.activeTable()->action("menuCopyTable")->trigger();
    ASSERT_EQ(prompter.calls().size(), 1u);
    EXPECT_EQ(prompter.calls()[0].folder, classFolder);
    EXPECT_EQ(prompter.calls()[0].suggestedName, "期中 成绩统计");
}

// ---- saving and closing

TEST_F(FrameTest, SavingAnOpenedTableAsksBeforeOverwritingAndSaveAsAlwaysAsksForAFile) {
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    TableWindow* t = w.openTable(dir.file("一"));
    ASSERT_NE(t, nullptr);
    t->document().table.setCell(1, 1, "改过");

    prompter.answer(Answer::No);
    w.toolbarButton(MainWindow::kSave)->trigger();
    EXPECT_EQ(prompter.questions(), (std::vector<std::string>{"确实覆盖原有数据么？"}));
    EXPECT_EQ(ReadBytes(dir.file("一.skv")).find(EncodeGbk("改过")), std::string::npos);

    prompter.answer(Answer::Yes);
    t->action("menuSave")->trigger();
    EXPECT_NE(ReadBytes(dir.file("一.skv")).find(EncodeGbk("改过")), std::string::npos);
    EXPECT_EQ(w.statusText(1), "就绪");

    prompter.chooseSave(dir.file("副本.skv"));
    t->action("menuCopyTable")->trigger();
    EXPECT_TRUE(FileExists(dir.file("副本.skv")));
    EXPECT_EQ(t->document().table.filePath, dir.file("一"));
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(FrameTest, TheCloseCheckSavesDropsOrKeepsAChangedTable) {
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    TableWindow* t = w.openTable(dir.file("一"));
    ASSERT_NE(t, nullptr);
    QPointer<TableWindow> alive(t);
    prompter.type("新标题");
    t->action("menuChangTitile")->trigger();

    // Cancel: the window stays, and so do its buttons.
    prompter.answer(Answer::Cancel);
    subWindowOf(t)->close();
    Flush();
    ASSERT_TRUE(alive);
    EXPECT_EQ(prompter.questions().back(), "是否更改对表格：“新标题”所做的修改?");
    EXPECT_EQ(prompter.calls().back().title, "提示：");
    EXPECT_EQ(prompter.calls().back().buttons, Buttons::YesNoCancel);
    EXPECT_EQ(w.activeTable(), t);
    EXPECT_TRUE(w.toolbarButton(MainWindow::kSave)->isEnabled());
    EXPECT_EQ(w.statusText(2), "当前表格：新标题");

    // Yes, but the overwrite is declined: nothing written, the window stays.
    prompter.answer(Answer::Yes).answer(Answer::No);
    t->action("menuClose")->trigger();
    Flush();
    ASSERT_TRUE(alive);

    // A table outside any class: Yes with the save dialog cancelled keeps it too.
    w.action("menuTabelD")->trigger();
    TableWindow* loose = w.activeTable();
    QPointer<TableWindow> looseAlive(loose);
    loose->document().setModified();
    prompter.answer(Answer::Yes).chooseSave("");
    subWindowOf(loose)->close();
    Flush();
    ASSERT_TRUE(looseAlive);

    // Yes with a file chosen saves and closes.
    prompter.answer(Answer::Yes).chooseSave(dir.file("新.skv"));
    subWindowOf(loose)->close();
    Flush();
    EXPECT_FALSE(looseAlive);
    EXPECT_TRUE(FileExists(dir.file("新.skv")));

    // No closes without saving.
    prompter.answer(Answer::No);
    subWindowOf(t)->close();
    Flush();
    EXPECT_FALSE(alive);
    EXPECT_EQ(ReadBytes(dir.file("一.skv")).find(EncodeGbk("新标题")), std::string::npos);
    EXPECT_EQ(w.statusText(2), "当前表格：无");
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(FrameTest, ExitAsksAboutEveryChangedTableAndCancelKeepsTheProgramRunning) {
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    writeTable(dir.file("二"), "表二");
    writeTable(dir.file("三"), "表三");
    TableWindow* one = w.openTable(dir.file("一"));
    TableWindow* two = w.openTable(dir.file("二"));
    TableWindow* three = w.openTable(dir.file("三"));
    QPointer<TableWindow> a(one), b(two), c(three);
    one->document().setModified();
    three->document().setModified();

    // 表一 is let go without saving, 表二 has no changes, Cancel on 表三 stops the exit.
    prompter.answer(Answer::No).answer(Answer::Cancel);
    w.action("menuExit")->trigger();
    Flush();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(a);
    EXPECT_FALSE(b);
    ASSERT_TRUE(c);
    EXPECT_EQ(prompter.questions().size(), 2u);

    prompter.answer(Answer::No);
    w.action("menuExit")->trigger();
    Flush();
    EXPECT_FALSE(c);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(prompter.exhausted());
}

TEST_F(FrameTest, EditingKeysReachTheTableOnlyWhileTheFocusIsInIt) {
    writeSchool();
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    TableWindow* t = w.openTable(dir.file("一"));
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(1, 1);
    w.tree()->setFocus();
    QTest::keyClick(w.tree(), Qt::Key_Delete);
    EXPECT_EQ(t->document().table.cell(1, 1), "学生1");
    t->grid()->setFocus();
    QTest::keyClick(t->grid(), Qt::Key_Delete);
    EXPECT_EQ(t->document().table.cell(1, 1), "");
    EXPECT_TRUE(w.toolbarButton(MainWindow::kUndo)->isEnabled());
    QTest::keyClick(t->grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(t->document().table.cell(1, 1), "学生1");
}

// ---- the rest of the frame's commands

TEST_F(FrameTest, ButtonTwentyTwoShowsTheActiveTablesOwnClassInformation) {
    MainWindow& w = start();
    writeTable(dir.file("大"), "大班", 40);
    writeTable(dir.file("小"), "小班", 3);
    w.openTable(dir.file("大"));
    TableWindow* small = w.openTable(dir.file("小"));
    SharedClassInfo() = {40, "", ""};  // what a dialog on the other table left behind

    QString shown;
    dialogs.then([&](QDialog& d) {
        shown = static_cast<ClassInfoDialog&>(d).classSizeEdit()->text();
        static_cast<ClassInfoDialog&>(d).confirmButton()->click();
    });
    w.toolbarButton(MainWindow::kTableProperties)->trigger();
    EXPECT_EQ(shown, "3");
    EXPECT_EQ(small->document().table.rows(), 4);
    EXPECT_TRUE(w.toolbarButton(MainWindow::kUndo)->isEnabled());
}

TEST_F(FrameTest, HelpAboutAndTheSchoolEditorAreReachable) {
    writeSchool();
    MainWindow& w = start();
    w.action("menuHelpItem")->trigger();
    w.toolbarButton(MainWindow::kHelp)->trigger();
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_EQ(prompter.messages()[0],
              "本软件目前还处于测试阶段。不提供帮助文档。帮助文档将随正式版一同发布。");
    EXPECT_EQ(prompter.calls()[1].icon, Icon::Information);

    dialogs.then([](QDialog& d) { d.accept(); });
    w.action("menuAbout")->trigger();

    // The editor adds a grade and confirms; the tree is built again from the file it wrote.
    prompter.type("高三");
    dialogs.then([](QDialog& d) {
        d.findChild<QPushButton*>("Command1")->click();
        d.findChild<QPushButton*>("Command7")->click();
    });
    w.action("menuClass")->trigger();
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"frmAbout", "frmClass"}));
    ASSERT_NE(item("Grade2"), nullptr);
    EXPECT_EQ(item("Grade2")->text(0), "高三");

    // Cancelled, the tree is built again all the same (and shows the file as it is).
    dialogs.then([](QDialog& d) { d.reject(); });
    w.action("menuEditTV")->trigger();
    EXPECT_NE(item("Grade2"), nullptr);
}

TEST_F(FrameTest, TheDesignerStartsDetachedAndMaximisedFromItsFolder) {
    MainWindow& w = start();
    // A stand-in for the designer that writes down how it was started, and its window that shows
    // itself as asked.
    const std::string folder = dir.file("bin");
    const std::string record = dir.file("started.txt");
    WriteBytes(folder + "/velmora",
               "#!/bin/sh\necho \"$# $SCORVANE_START_MAXIMIZED $(pwd)\" > '" + record + "'\n");
    ASSERT_EQ(::chmod((folder + "/velmora").c_str(), 0755), 0);
    w.setDesignerFolder(QString::fromStdString(folder));
    w.action("menuVelmora")->trigger();
    for (int i = 0; i < 200 && ReadBytes(record).empty(); ++i) {
        QThread::msleep(25);
    }
    EXPECT_EQ(ReadBytes(record), "0 1 " + folder + "\n");
    EXPECT_TRUE(prompter.messages().empty());

    ::setenv(kStartMaximizedVariable, "1", 1);
    QWidget designer;
    ShowStartWindow(designer);
    EXPECT_TRUE(designer.isMaximized());
    EXPECT_EQ(::getenv(kStartMaximizedVariable), nullptr);
    QWidget other;
    ShowStartWindow(other);
    EXPECT_FALSE(other.isMaximized());
}

TEST_F(FrameTest, TheDesignerThatIsNotThereIsReported) {
    MainWindow& w = start();
    w.setDesignerFolder(QString::fromStdString(dir.path()));
    w.action("menuVelmora")->trigger();
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"无法找到组件：velmora"}));
    EXPECT_EQ(prompter.last().title, "错误");
    EXPECT_EQ(prompter.last().icon, Icon::Error);
}

TEST_F(FrameTest, TilingSharesTheDocumentAreaAmongTheTables) {
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    writeTable(dir.file("二"), "表二");
    QRect a, b;
    const QSize area = w.documentArea()->viewport()->size();
    w.openTable(dir.file("一"));
    w.openTable(dir.file("二"));
    w.action("menuZXPP")->trigger();
    a = w.documentArea()->subWindowList()[0]->geometry();
    b = w.documentArea()->subWindowList()[1]->geometry();
    EXPECT_EQ(a.width(), area.width());
    EXPECT_EQ(a.height() + b.height(), area.height());
    w.action("menuHXPP")->trigger();
    a = w.documentArea()->subWindowList()[0]->geometry();
    b = w.documentArea()->subWindowList()[1]->geometry();
    EXPECT_EQ(a.height(), area.height());
    EXPECT_EQ(a.width() + b.width(), area.width());
}

TEST_F(FrameTest, ActivationAppliesTheTableFont) {
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    TableWindow* t = w.openTable(dir.file("一"));
    EXPECT_EQ(t->grid()->font().pointSizeF(), 12);
    const int rowHeight12 = t->grid()->verticalHeader()->defaultSectionSize();
    w.setTableFont({"宋体", 20});
    EXPECT_EQ(t->grid()->font().pointSizeF(), 20);
    EXPECT_GT(t->grid()->verticalHeader()->defaultSectionSize(), rowHeight12);
}

}  // namespace
}  // namespace scorvane

// The frame on a workspace that others share: the locks of its table windows and the school tree
// read again after another computer saved the school file.
#include <gtest/gtest.h>

#include <QApplication>

#include "common/document_file.h"
#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/prompter.h"
#include "frame_fixture.h"
#include "main/workspace/school_info.h"

namespace scorvane {
namespace {

using testing::Flush;
using testing::FrameTest;

TEST_F(FrameTest, EveryWayATableWindowGoesRemovesItsLock) {
    writeSchool();
    MainWindow& w = start();
    const std::string names[] = {"一", "二", "三"};
    for (const std::string& name : names) {
        writeTable(tablePath(name), name);
        ASSERT_NE(w.openTable(tablePath(name)), nullptr);
        EXPECT_TRUE(FileExists(LockFilePath(tablePath(name) + ".skv"))) << name;
    }
    // The same table again comes forward: no second window, no question about its own lock.
    TableWindow* first = w.tables().first();
    EXPECT_EQ(w.openTable(tablePath("一")), first);
    EXPECT_EQ(w.activeTable(), first);
    EXPECT_EQ(w.tables().size(), 3);
    EXPECT_TRUE(prompter.calls().empty());

    // Its close button; 关闭 of the others; the frame going with a table still open.
    subWindowOf(first)->close();
    Flush();
    EXPECT_FALSE(FileExists(LockFilePath(tablePath("一") + ".skv")));
    EXPECT_TRUE(w.closeAllTables());
    EXPECT_FALSE(FileExists(LockFilePath(tablePath("二") + ".skv")));
    EXPECT_FALSE(FileExists(LockFilePath(tablePath("三") + ".skv")));

    ASSERT_NE(w.openTable(tablePath("三")), nullptr);
    window.reset();
    EXPECT_FALSE(FileExists(LockFilePath(tablePath("三") + ".skv")));
}

TEST_F(FrameTest, ATableOpenOnAnotherComputerOpensReadOnlyWithItsCaptionEverywhere) {
    writeSchool();
    MainWindow& w = start();
    writeTable(tablePath("期中"), "期中成绩");
    const std::string lock = LockFilePath(tablePath("期中") + ".skv");
    testing::WriteBytes(lock, "王老师,办公室-1,101,2024-09-02T08:05:09+08:00");

    prompter.answer(Answer::Cancel);
    EXPECT_EQ(w.openTable(tablePath("期中")), nullptr);
    Flush();
    EXPECT_TRUE(w.tables().isEmpty());

    prompter.answer(Answer::Yes);  // 只读打开
    TableWindow* t = w.openTable(tablePath("期中"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(subWindowOf(t)->windowTitle(), "期中成绩（只读）");
    EXPECT_EQ(w.statusText(2), "当前表格：期中成绩（只读）");
    auto* windows = w.findChild<QMenu*>("menuWindow");
    emit windows->aboutToShow();
    EXPECT_EQ(windows->actions().last()->text(), "&1 期中成绩（只读）");
    EXPECT_EQ(prompter.questions().size(), 2u);

    // Closing it leaves the other's lock alone.
    subWindowOf(t)->close();
    Flush();
    EXPECT_EQ(testing::ReadBytes(lock), "王老师,办公室-1,101,2024-09-02T08:05:09+08:00");
}

TEST_F(FrameTest, ATableWithoutALockSaysSoWheneverItComesForward) {
    MainWindow& w = start();
    writeTable(dir.file("一"), "表一");
    writeTable(dir.file("二"), "表二");
    TableWindow* first = w.openTable(dir.file("一"));
    ASSERT_NE(first, nullptr);
    // As a table of a folder where no lock file can be made opens.
    first->document().file.opened(dir.file("一.skv"), FileState{}, FileLock{}, false,
                                  std::string(kLockNotCreatedNote));
    ASSERT_NE(w.openTable(dir.file("二")), nullptr);
    EXPECT_EQ(w.statusText(1), "就绪");
    w.openTable(dir.file("一"));
    EXPECT_EQ(w.statusText(1).toStdString(), kLockNotCreatedNote);
}

TEST_F(FrameTest, TheTreeIsReadAgainWhenTheFrameComesForwardAfterTheSchoolFileChanged) {
    writeSchool();
    MainWindow& w = start();
    auto comeForward = [&] {
        QEvent activation(QEvent::ActivationChange);
        QApplication::sendEvent(&w, &activation);
    };
    ASSERT_TRUE(w.isActiveWindow());
    w.tree()->setCurrentItem(item("Grade0Class1"));

    // Unchanged: the tree stays as it is, with its selection.
    comeForward();
    ASSERT_NE(w.selectedNode(), nullptr);
    EXPECT_EQ(w.selectedNode()->key, "Grade0Class1");

    // Another computer saved the school with a class more.
    SchoolInfo school{"一中", {{"高一", {"(1)班", "(2)班", "(3)班"}}, {"高二", {}}}};
    ASSERT_TRUE(SaveSchoolInfo(school, dir.path() + "/"));
    comeForward();
    EXPECT_NE(item("Grade0Class2"), nullptr);
    EXPECT_EQ(w.selectedNode(), nullptr);
}

}  // namespace
}  // namespace scorvane

// Recovery copies of table windows: made while a table has unsaved changes, removed by a save, a
// discarding close and a normal quit, offered back at the next start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/file_sharing.h"
#include "common/qt/recovery/recovery_copier.h"
#include "common/qt/recovery/recovery_offer_dialog.h"
#include "common/recovery/recovery_store.h"
#include "frame_fixture.h"
#include "main/document/table_recovery.h"
#include "main/document/ui/table_copier.h"
#include "main/workspace/ui/table_recovery_offer.h"
#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::Flush;
using testing::FrameTest;

class TableRecoveryTest : public FrameTest {
  protected:
    // The frame with its recovery copies every `intervalMillis`.
    MainWindow& startWithCopies(int64_t intervalMillis) {
        store = std::make_unique<RecoveryStore>(dir.file("recovery"), intervalMillis);
        MainWindow& w = start();
        w.setRecoveryStore(store.get());
        return w;
    }
    ~TableRecoveryTest() override {
        window.reset();  // the windows go before the store that writes their copies
        store.reset();
    }

    TableWindow* openTable(int students = 3) {
        writeTable(tablePath("期中"), "期中考试", students);
        TableWindow* t = window->openTable(tablePath("期中"));
        EXPECT_NE(t, nullptr);
        return t;
    }

    std::string copyOf(TableWindow* t) {
        return store->folder().documentPath(TableCopierOf(*t)->copyId(), kTableCopyExtension);
    }

    // Lets the copier's timer and the writer run until `done` holds or `millis` pass.
    bool waitFor(const std::function<bool()>& done, int millis = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < millis) {
            QTest::qWait(10);
            store->writer().wait();
        }
        return done();
    }

    std::unique_ptr<RecoveryStore> store;
};

TEST_F(TableRecoveryTest, EditsAreCopiedWithinTheIntervalAndTheCopyReadsBackToTheWindowsTable) {
    startWithCopies(200);
    TableWindow* t = openTable();
    ASSERT_NE(t, nullptr);
    QTest::qWait(300);
    store->writer().wait();
    EXPECT_FALSE(FileExists(copyOf(t)));  // nothing to copy while the table matches its file

    t->setCurrentCell(2, 2);
    t->grid()->setFocus();
    QTest::keyClick(t->grid(), '9');
    QTest::keyClick(t->cellEditor(), '8');  // still in the cell editor
    ASSERT_TRUE(t->editing());
    ASSERT_TRUE(waitFor([&] { return FileExists(copyOf(t)); }));

    GradeTable copied;
    ASSERT_TRUE(ParseDataFile(testing::ReadBytes(copyOf(t)), copied));
    EXPECT_EQ(copied.cell(2, 2), "98");
    copied.setCell(2, 2, t->document().table.cell(2, 2));
    EXPECT_EQ(SerializeDataFile(copied), SerializeDataFile(t->document().table));
    const auto info = ParseRecoveryInfo(
        testing::ReadBytes(store->folder().infoPath(TableCopierOf(*t)->copyId(), kTableCopyExtension)));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->filePath, tablePath("期中"));
    EXPECT_EQ(info->title, "期中考试");
    EXPECT_TRUE(SameFolder(info->workspace, dir.path()));
    EXPECT_EQ(info->session, store->session());
}

TEST_F(TableRecoveryTest, ACommandThatChangesManyCellsIsCopiedAtOnce) {
    startWithCopies(60000);
    TableWindow* t = openTable();
    ASSERT_NE(t, nullptr);
    t->setCurrentCell(1, 2);
    t->grid()->setFocus();
    QTest::keyClick(t->grid(), '5');
    QTest::keyClick(t->cellEditor(), Qt::Key_Return);
    QTest::qWait(50);
    store->writer().wait();
    EXPECT_FALSE(FileExists(copyOf(t)));  // one mark waits for the interval
    t->undo();                            // the whole table anew
    ASSERT_TRUE(waitFor([&] { return FileExists(copyOf(t)); }, 2000));
    GradeTable copied;
    ASSERT_TRUE(ParseDataFile(testing::ReadBytes(copyOf(t)), copied));
    EXPECT_EQ(copied.cell(1, 2), "61");
}

TEST_F(TableRecoveryTest, SaveDiscardAndQuitRemoveTheCopyCancelKeepsIt) {
    startWithCopies(20);
    TableWindow* t = openTable();
    ASSERT_NE(t, nullptr);
    auto edit = [&](TableWindow* table, char key) {
        table->setCurrentCell(1, 2);
        table->grid()->setFocus();
        QTest::keyClick(table->grid(), key);
        QTest::keyClick(table->cellEditor(), Qt::Key_Return);
        return waitFor([&] { return FileExists(copyOf(table)); });
    };
    ASSERT_TRUE(edit(t, '1'));
    prompter.answer(Answer::Yes);  // 确实覆盖原有数据么？
    ASSERT_EQ(t->save(), SaveOutcome::Saved);
    EXPECT_FALSE(FileExists(copyOf(t)));

    ASSERT_TRUE(edit(t, '2'));
    prompter.answer(Answer::Cancel);  // 是否更改 … 所做的修改?
    EXPECT_FALSE(subWindowOf(t)->close());
    EXPECT_TRUE(FileExists(copyOf(t)));
    const std::string copy = copyOf(t);
    prompter.answer(Answer::No);
    EXPECT_TRUE(subWindowOf(t)->close());
    Flush();
    EXPECT_FALSE(FileExists(copy));

    TableWindow* again = openTable();
    ASSERT_TRUE(edit(again, '3'));
    const std::string quitCopy = copyOf(again);
    prompter.answer(Answer::No);
    EXPECT_TRUE(window->close());  // 退出: every table's close check
    Flush();
    EXPECT_FALSE(FileExists(quitCopy));
}

TEST_F(TableRecoveryTest, ATableACommandMadeIsCopiedOnlyOnceItIsChanged) {
    startWithCopies(20);
    // A result of the statistics, opened by the frame.
    window->openNewTable(testing::MakeClass(3, "甲"), NewTableKind::Result);
    TableWindow* t = window->activeTable();
    ASSERT_NE(t, nullptr);
    QTest::qWait(100);
    store->writer().wait();
    EXPECT_FALSE(FileExists(copyOf(t)));
    t->setCurrentCell(1, 3);
    t->grid()->setFocus();
    QTest::keyClick(t->grid(), '7');
    QTest::keyClick(t->cellEditor(), Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return FileExists(copyOf(t)); }));
}

class TableOfferTest : public TableRecoveryTest {
  protected:
    // Copies left by a program that was killed on this workspace, and one of another workspace.
    void leaveCopies() {
        const RecoveryFolder folder(dir.file("recovery"));
        GradeTable table = testing::MakeClass(2, "甲");
        table.title = "期中考试";
        table.filePath = tablePath("期中");
        table.setCell(1, 3, "100");
        expected = SerializeDataFile(table);
        RecoveryInfo info = TableCopyInfo(table, dir.path());
        info.session = "00000000000000ee";
        info.time = 1714550000;
        ASSERT_TRUE(folder.write("sound", kTableCopyExtension, expected, info));
        info.time += 1;
        ASSERT_TRUE(folder.write("damaged", kTableCopyExtension, "KVL'S Scorvane数据文件\r\n", info));
        info.workspace = dir.file("elsewhere");
        ASSERT_TRUE(folder.write("elsewhere", kTableCopyExtension, expected, info));
    }
    std::string expected;
};

TEST_F(TableOfferTest, RecoverOpensTheCopyUnsavedUnderItsOwnFileName) {
    leaveCopies();
    writeTable(tablePath("期中"), "期中考试", 2);
    MainWindow& w = startWithCopies(60000);
    dialogs.then([](QDialog& d) {
        auto& offer = dynamic_cast<RecoveryOfferDialog&>(d);
        EXPECT_EQ(offer.windowTitle(), "恢复未保存的表格");
        QTreeWidget* list = offer.list();
        ASSERT_EQ(list->topLevelItemCount(), 2);  // not the other workspace's
        EXPECT_EQ(list->topLevelItem(0)->text(0), "期中考试");
        EXPECT_EQ(list->topLevelItem(0)->text(1), "高一 (1)班");
        EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
        EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
        EXPECT_TRUE(list->topLevelItem(1)->text(0).endsWith("（副本已损坏，只能放弃）"));
        // The damaged copy alone cannot be recovered.
        list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        EXPECT_FALSE(offer.recoverButton()->isEnabled());
        list->topLevelItem(0)->setCheckState(0, Qt::Checked);
        offer.recoverButton()->click();
    });
    const QList<TableWindow*> opened = OfferTableRecovery(w, *store, dir.path());
    ASSERT_EQ(opened.size(), 1);
    TableWindow* t = opened[0];
    EXPECT_EQ(t->caption(), "期中考试");
    EXPECT_EQ(t->document().table.filePath, tablePath("期中"));
    EXPECT_TRUE(t->document().modified());
    EXPECT_EQ(SerializeDataFile(t->document().table), expected);
    EXPECT_EQ(TableCopierOf(*t)->copyId(), "sound");
    // While this program runs nobody else is offered the copy; the damaged one and the other
    // workspace's stay.
    const std::vector<TableCopy> left = FindTableCopies(store->folder(), dir.path());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].id, "damaged");
    EXPECT_TRUE(FileExists(store->folder().documentPath("elsewhere", kTableCopyExtension)));

    // 保存 writes it where it belongs. The copy records nothing of the file (as an earlier version's
    // copies): whatever stands there counts as changed meanwhile, and 覆盖 writes.
    prompter.answer(kOverwrite);
    ASSERT_EQ(t->save(), SaveOutcome::Saved);
    ASSERT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.questions()[0].find("表格“期中考试”在您打开之后已被其他人修改并保存。"), 0u);
    EXPECT_EQ(testing::ReadBytes(tablePath("期中") + ".skv"), expected);
    EXPECT_FALSE(FileExists(store->folder().documentPath("sound", kTableCopyExtension)));
}

// The copy of a table that another computer's program has open: 恢复 asks the lock question like any
// opening; 取消 opens nothing and keeps the copy, 仍然打开 restores it, and its first save meets what the
// colleague saved meanwhile.
TEST_F(TableOfferTest, RecoverAsksTheLockQuestionAndTheFirstSaveMeetsAColleaguesSave) {
    writeTable(tablePath("期中"), "期中考试", 2);
    const std::string file = tablePath("期中") + ".skv";
    const RecoveryFolder folder(dir.file("recovery"));
    GradeTable table = testing::MakeClass(2, "甲");
    table.title = "期中考试";
    table.filePath = tablePath("期中");
    RecoveryInfo info = TableCopyInfo(table, dir.path());
    info.file = RecordFile(TakeFileState(file));
    info.session = "00000000000000ee";
    ASSERT_TRUE(folder.write("sound", kTableCopyExtension, SerializeDataFile(table), info));
    testing::WriteBytes(LockFilePath(file), "王老师,办公室-2,7,2024-09-02T08:05:09+08:00");
    MainWindow& w = startWithCopies(60000);
    const std::string locked =
        "表格“期中考试”（期中.skv）已由 王老师（办公室-2）于 2024-09-02 08:05 "
        "打开。\n\n只读打开：可以查看和打印，不能保存修改。";

    auto recover = [](QDialog& d) { dynamic_cast<RecoveryOfferDialog&>(d).recoverButton()->click(); };
    dialogs.then(recover);
    prompter.answer(Answer::Cancel);
    EXPECT_TRUE(OfferTableRecovery(w, *store, dir.path()).isEmpty());
    EXPECT_EQ(prompter.questions(), std::vector<std::string>{locked});
    EXPECT_EQ(FindTableCopies(store->folder(), dir.path()).size(), 1u);  // kept for the next start

    prompter.clear();
    dialogs.then(recover);
    prompter.answer(kOpenAnyway);
    const QList<TableWindow*> opened = OfferTableRecovery(w, *store, dir.path());
    ASSERT_EQ(opened.size(), 1);
    TableWindow* t = opened[0];
    EXPECT_EQ(prompter.questions(), std::vector<std::string>{locked});
    EXPECT_EQ(t->document().file.path(), file);
    EXPECT_FALSE(t->document().file.holdsLock());

    writeTable(tablePath("期中"), "期中考试", 3);  // the colleague saves
    const std::string theirs = testing::ReadBytes(file);
    prompter.clear();
    prompter.answer(Answer::Cancel);
    EXPECT_EQ(t->save(), SaveOutcome::Declined);
    ASSERT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.questions()[0].find("表格“期中考试”在您打开之后已被其他人修改并保存。"), 0u);
    EXPECT_EQ(testing::ReadBytes(file), theirs);
}

TEST_F(TableOfferTest, TabGoesListRecoverDiscardLaterAndEscapeIsLater) {
    leaveCopies();
    MainWindow& w = startWithCopies(60000);
    dialogs.then([](QDialog& d) {
        auto& offer = dynamic_cast<RecoveryOfferDialog&>(d);
        offer.show();
        QApplication::setActiveWindow(&offer);
        offer.list()->setFocus();
        const std::vector<QWidget*> order = {offer.recoverButton(), offer.discardButton(),
                                             offer.laterButton(), offer.list()};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(offer.isVisible());
    });
    EXPECT_TRUE(OfferTableRecovery(w, *store, dir.path()).isEmpty());
    EXPECT_EQ(FindTableCopies(store->folder(), dir.path()).size(), 2u);
}

TEST_F(TableOfferTest, DiscardRemovesTheTickedCopiesAfterTheQuestionLaterKeepsThem) {
    leaveCopies();
    MainWindow& w = startWithCopies(60000);
    dialogs.then([](QDialog& d) { dynamic_cast<RecoveryOfferDialog&>(d).laterButton()->click(); });
    EXPECT_TRUE(OfferTableRecovery(w, *store, dir.path()).isEmpty());
    EXPECT_EQ(FindTableCopies(store->folder(), dir.path()).size(), 2u);

    prompter.answer(Answer::No).answer(Answer::Yes);
    dialogs.then([](QDialog& d) {
        auto& offer = dynamic_cast<RecoveryOfferDialog&>(d);
        offer.show();
        QTest::keyClick(offer.list(), Qt::Key_Space);  // unticks the first line
        offer.discardButton()->click();                // No: the window stays
        EXPECT_TRUE(offer.isVisible());
        offer.discardButton()->click();
    });
    EXPECT_TRUE(OfferTableRecovery(w, *store, dir.path()).isEmpty());
    ASSERT_EQ(prompter.questions().size(), 2u);
    EXPECT_EQ(prompter.questions()[0], "确实要放弃选中的恢复副本么？放弃后，其中未保存的修改将不能再找回。");
    const std::vector<TableCopy> left = FindTableCopies(store->folder(), dir.path());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].id, "sound");
    EXPECT_TRUE(FileExists(store->folder().documentPath("elsewhere", kTableCopyExtension)));
}

}  // namespace
}  // namespace scorvane

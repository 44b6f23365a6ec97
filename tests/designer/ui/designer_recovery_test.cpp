// Recovery copies of the designer's template: made while it has unsaved changes, removed by a save and
// a discarding close or 退出, kept when 退出 is answered No, offered back at the next start.
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/qt/recovery/recovery_copier.h"
#include "common/qt/recovery/recovery_offer_dialog.h"
#include "common/recovery/recovery_store.h"
#include "common/text_codec.h"
#include "designer/template_recovery.h"
#include "designer/ui/template_copier.h"
#include "designer/ui/template_recovery_offer.h"
#include "designer_window_fixture.h"

namespace scorvane::designer {
namespace {

class DesignerRecoveryTest : public testing_support::DesignerWindowFixture {
  protected:
    void attach(int64_t intervalMillis) {
        store = std::make_unique<RecoveryStore>(dir.file("recovery"), intervalMillis);
        copier = AttachTemplateCopier(window, *store);
    }
    ~DesignerRecoveryTest() override {
        window.document().onChange = nullptr;
        delete copier;  // before the store it writes through
        store.reset();
    }
    std::string copyPath() const {
        return store->folder().documentPath(copier->copyId(), kTemplateCopyExtension);
    }
    bool copied(int millis = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (!FileExists(copyPath()) && clock.elapsed() < millis) {
            QTest::qWait(10);
            store->writer().wait();
        }
        return FileExists(copyPath());
    }

    std::unique_ptr<RecoveryStore> store;
    RecoveryCopier* copier = nullptr;
};

TEST_F(DesignerRecoveryTest, EditsAreCopiedASaveRemovesTheCopyAndADiscardingCloseToo) {
    attach(20);
    action("menuAddLabel")->trigger();
    ASSERT_TRUE(copied());
    const ReportTemplateRecords records = ParseReportTemplate(DecodeGbk(testing::ReadBytes(copyPath())));
    EXPECT_TRUE(records.hasInformation);
    EXPECT_EQ(records.labelRecords.size(), 1u);

    const std::string saved = dir.file("通知单.rvx");
    prompter.chooseSave(saved);
    action("menuSaveAs")->trigger();
    EXPECT_FALSE(FileExists(copyPath()));

    action("menuAddLabel")->trigger();
    ASSERT_TRUE(copied());
    prompter.answer(Answer::Yes);  // 文件尚未保存，确认要退出吗？
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(FileExists(copyPath()));
}

TEST_F(DesignerRecoveryTest, ExitKeepsTheCopyWhenAnsweredNoAndRemovesItWhenTheChangesAreGivenUp) {
    attach(20);
    bool ended = false;
    window.setExitHandler([&ended] { ended = true; });
    action("menuAddLabel")->trigger();
    ASSERT_TRUE(copied());
    prompter.answer(Answer::No);  // 文件尚未保存，确认要退出吗？
    action("menuExit")->trigger();
    EXPECT_FALSE(ended);
    EXPECT_TRUE(FileExists(copyPath()));
    prompter.answer(Answer::Yes);
    action("menuExit")->trigger();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(FileExists(copyPath()));
}

TEST_F(DesignerRecoveryTest, CopiesOfEndedDesignersAreOfferedTheFirstRecoveredHereTheOthersElsewhere) {
    attach(60000);
    const RecoveryFolder folder(dir.file("recovery"));
    TemplateDocument left;
    left.labels.append(TemplateLabel(), "文字标签  0");
    left.fileName = dir.file("成绩通知单.rvx");
    RecoveryInfo info = TemplateCopyInfo(left);
    info.session = "00000000000000ee";
    info.time = 1714550000;
    ASSERT_TRUE(
        folder.write("first", kTemplateCopyExtension, TemplateCopyBytes(left.toReportTemplate()), info));
    info.time += 1;
    ASSERT_TRUE(
        folder.write("second", kTemplateCopyExtension, TemplateCopyBytes(left.toReportTemplate()), info));

    dialogs.then([](QDialog& d) {
        auto& offer = dynamic_cast<RecoveryOfferDialog&>(d);
        EXPECT_EQ(offer.windowTitle(), "恢复未保存的报表");
        ASSERT_EQ(offer.list()->topLevelItemCount(), 2);
        EXPECT_EQ(offer.list()->topLevelItem(0)->text(0), "成绩通知单.rvx");
        offer.recoverButton()->click();
    });
    std::vector<std::string> elsewhere;
    EXPECT_TRUE(
        OfferTemplateRecovery(window, *store, [&](const std::string& id) { elsewhere.push_back(id); }));
    EXPECT_EQ(elsewhere, std::vector<std::string>{"second"});
    EXPECT_EQ(window.document().fileName, dir.file("成绩通知单.rvx"));
    EXPECT_TRUE(window.document().changed);
    EXPECT_EQ(window.document().labels.size(), 1u);
    EXPECT_EQ(copier->copyId(), "first");
    // The designer started for the second copy finds it; the first is held by this one.
    const std::vector<TemplateCopy> found = FindTemplateCopies(folder);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].id, "second");
}

// A copy whose template another designer has open asks the lock question; 取消 leaves it for the next
// start, and the next chosen copy comes into this window.
TEST_F(DesignerRecoveryTest, ACopyWhoseLockQuestionIsCancelledStaysAndTheNextTakesTheWindow) {
    attach(60000);
    const RecoveryFolder folder(dir.file("recovery"));
    TemplateDocument left;
    left.labels.append(TemplateLabel(), "文字标签  0");
    int64_t time = 1714550000;
    for (const char* name : {"甲", "乙"}) {
        left.fileName = dir.file(std::string(name) + ".rvx");
        RecoveryInfo info = TemplateCopyInfo(left);
        info.session = "00000000000000ee";
        info.time = time++;
        ASSERT_TRUE(folder.write(name == std::string("甲") ? "first" : "second", kTemplateCopyExtension,
                                 TemplateCopyBytes(left.toReportTemplate()), info));
    }
    testing::WriteBytes(LockFilePath(dir.file("甲.rvx")), "王老师,办公室-2,7,2024-09-02T08:05:09+08:00");
    dialogs.then([](QDialog& d) { dynamic_cast<RecoveryOfferDialog&>(d).recoverButton()->click(); });
    prompter.answer(Answer::Cancel);
    std::vector<std::string> elsewhere;
    EXPECT_TRUE(
        OfferTemplateRecovery(window, *store, [&](const std::string& id) { elsewhere.push_back(id); }));
    ASSERT_EQ(prompter.questions().size(), 1u);
    EXPECT_EQ(prompter.questions()[0].find("模板“甲”（甲.rvx）已由 王老师（办公室-2）"), 0u);
    EXPECT_TRUE(elsewhere.empty());
    EXPECT_EQ(window.document().fileName, dir.file("乙.rvx"));
    EXPECT_TRUE(window.document().file.holdsLock());
    EXPECT_EQ(copier->copyId(), "second");
    const std::vector<TemplateCopy> found = FindTemplateCopies(folder);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].id, "first");
    // Started on that copy alone, a designer whose lock question is answered 取消 restores nothing.
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(RecoverTemplateCopy(window, *store, "first"));
    EXPECT_EQ(window.document().fileName, dir.file("乙.rvx"));
}

}  // namespace
}  // namespace scorvane::designer

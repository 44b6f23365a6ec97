// The designer's saves with the disk failing under them: the template, its bitmap and its sample page
// keep their old files byte for byte, leave no temporary file, say so, and the template stays unsaved.

#include <gtest/gtest.h>

#include <QAction>

#include "common/drawing_surface.h"
#include "common/qt/print_path.h"
#include "designer/template_file_commands.h"
#include "designer/ui/designer_window_fixture.h"
#include "support/write_faults.h"

namespace scorvane::designer {
namespace {

using scorvane::testing::FolderEntries;
using scorvane::testing::ReadBytes;
using scorvane::testing::ScopedWriteFault;
using scorvane::testing::WriteBytes;
using scorvane::testing::WriteFault;

constexpr WriteFault kFaults[] = {WriteFault::CreateTemporary, WriteFault::NoSpace, WriteFault::Rename};

class DesignerSaveFaults : public testing_support::DesignerWindowFixture {};

TEST_F(DesignerSaveFaults, SaveBitmapAndSamplePageKeepTheOldFilesAndTheTemplateUnsaved) {
    window.printPath().setPrintersInstalled([] { return false; });  // the sample page goes to a PDF
    const std::string rvx = dir.file("卡片.rvx");
    const std::string bmp = dir.file("页面.bmp");
    const std::string pdf = dir.file("样张.pdf");
    const std::string old = "the old file\r\n";
    for (const std::string& path : {rvx, bmp, pdf}) {
        WriteBytes(path, old);
    }
    const std::vector<std::string> folder = FolderEntries(dir.path());
    TemplateDocument& doc = window.document();
    doc.lines.append("1000,1500,9000,1500,1", LineStore::DrawnName(0));
    doc.fileName = rvx;
    doc.markChanged();

    auto expectKept = [&](const std::string& message, const std::string& title) {
        for (const std::string& path : {rvx, bmp, pdf}) {
            EXPECT_EQ(ReadBytes(path), old) << path;
        }
        EXPECT_EQ(FolderEntries(dir.path()), folder);
        ASSERT_FALSE(prompter.messages().empty());
        EXPECT_EQ(prompter.messages().back(), message);
        EXPECT_EQ(prompter.last().title, title);
    };
    for (WriteFault fault : kFaults) {
        SCOPED_TRACE(std::string(scorvane::testing::WriteFaultName(fault)));
        ScopedWriteFault injected(fault);
        action("menuSave")->trigger();
        expectKept(std::string(kSaveFailedMessage), "错误");
        EXPECT_TRUE(doc.changed);  // closing still asks

        prompter.chooseSave(bmp);
        action("menuExportBitmap")->trigger();
        expectKept(std::string(kSaveFailedMessage), "错误");

        prompter.chooseSave(pdf);
        action("menuPrintSample")->trigger();
        expectKept(std::string(kPrintErrorMessage), std::string(kPrintErrorTitle));
        EXPECT_GE(injected.failures(), 3);
    }
    EXPECT_TRUE(prompter.exhausted());

    // With the disk whole again, the same commands write all three.
    action("menuSave")->trigger();
    EXPECT_FALSE(doc.changed);
    prompter.chooseSave(bmp);
    action("menuExportBitmap")->trigger();
    prompter.chooseSave(pdf);
    action("menuPrintSample")->trigger();
    EXPECT_EQ(prompter.messages().size(), 3 * std::size(kFaults));
    EXPECT_EQ(ReadBytes(bmp).substr(0, 2), "BM");
    EXPECT_EQ(ReadBytes(pdf).substr(0, 5), "%PDF-");
    EXPECT_NE(ReadBytes(rvx), old);
    // No temporary file is left; the template, written, is the window's now, with its lock beside it.
    std::vector<std::string> withLock = folder;
    withLock.insert(withLock.begin(), ".~lock.卡片.rvx#");
    EXPECT_EQ(FolderEntries(dir.path()), withLock);
}

}  // namespace
}  // namespace scorvane::designer

#include "common/qt/print_path.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "common/file_io.h"
#include "support/pdf_files.h"
#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"
#include "support/recording_surface.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::PdfPageSizes;
using testing::PdfText;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::RecordingSurface;
using testing::ScriptedDialogs;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Op = RecordingSurface::Op;

// A job of `pages` pages, each with its number; the last page turned when `turnLast`.
PrintJob NumberedPages(int pages, bool turnLast = false) {
    return {"成绩表", [pages, turnLast](DrawingSurface& s) {
                for (int page = 1; page <= pages; ++page) {
                    if (turnLast && page == pages) {
                        s.setOrientation(PageOrientation::Landscape);
                    }
                    if (page > 1) {
                        s.newPage();
                    }
                    s.setCurrentX(1000);
                    s.setCurrentY(1000);
                    s.printText("第" + std::to_string(page) + "页");
                }
            }};
}

class PrintPathTest : public testing::QtTest {
  protected:
    PrintPath& path(bool printers) {
        path_.setPrintersInstalled([printers] { return printers; });
        return path_;
    }

    TempDir dir;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    RecordingStatus status;
    PrintPath path_{prompter, dialogs, status, nullptr};
};

TEST_F(PrintPathTest, WithoutAPrinterTheJobGoesToThePdfFileTheUserNames) {
    const std::string pdf = dir.file("期中.pdf");
    WriteBytes(pdf, "old");
    prompter.chooseSave(pdf);
    EXPECT_EQ(path(false).print(NumberedPages(3, true)), PrintOutcome::Printed);
    ASSERT_EQ(prompter.calls().size(), 1u);
    EXPECT_EQ(prompter.calls()[0].kind, ScriptedPrompter::Call::SaveFile);
    EXPECT_EQ(prompter.calls()[0].text, "*.pdf");
    EXPECT_EQ(prompter.calls()[0].title, "打印到文件");
    EXPECT_EQ(prompter.calls()[0].suggestedName, "成绩表");
    EXPECT_TRUE(prompter.calls()[0].confirmOverwrite);
    EXPECT_EQ(PdfPageSizes(pdf), "3 595x842 595x842 842x595");
    testing::ExpectParts(PdfText(pdf), {"第1页", "第3页"});
    EXPECT_EQ(path_.lastJobPages(), 3);
    EXPECT_TRUE(dialogs.shown().empty());
    // A short job: the status text and the busy pointer while it goes out.
    EXPECT_EQ(status.texts, (std::vector<std::string>{"正在打印...", "就绪"}));
    EXPECT_EQ(status.busyChanges, (std::vector<bool>{true, false}));
}

TEST_F(PrintPathTest, ANameWithoutExtensionBecomesAPdfName) {
    EXPECT_EQ(PdfPathAsChosen("/home/李/期中"), "/home/李/期中.pdf");
    EXPECT_EQ(PdfPathAsChosen("/home/李/期中.PDF"), "/home/李/期中.PDF");
    EXPECT_EQ(PdfPathAsChosen("/home/a.b/期中"), "/home/a.b/期中.pdf");
    EXPECT_EQ(PdfPathAsChosen(""), "");
    prompter.chooseSave(dir.file("无扩展名"));
    EXPECT_EQ(path(false).print(NumberedPages(1)), PrintOutcome::Printed);
    EXPECT_EQ(PdfPageSizes(dir.file("无扩展名.pdf")), "1 595x842");
}

TEST_F(PrintPathTest, ACancelledDialogPrintsNothingAndSaysNothing) {
    bool drawn = false;
    PrintJob job{"成绩表", [&](DrawingSurface&) { drawn = true; }};
    prompter.chooseSave("");
    EXPECT_EQ(path(false).print(job), PrintOutcome::Cancelled);
    EXPECT_TRUE(prompter.messages().empty());

    dialogs.then([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(path(true).print(job), PrintOutcome::Cancelled);
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"printDialog"}));

    path_.setPrinterOverride([](const PrintJob&) { return nullptr; });
    EXPECT_EQ(path_.print(job), PrintOutcome::Cancelled);
    EXPECT_FALSE(drawn);
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_TRUE(status.texts.empty());
    EXPECT_EQ(path_.lastJobPages(), 0);
}

TEST_F(PrintPathTest, WithAPrinterThePrintDialogChoosesAndItsPrintToFileWritesThePdf) {
    const std::string pdf = dir.file("打印.pdf");
    dialogs.then([&](QDialog& dialog) {
        auto& print = dynamic_cast<QPrintDialog&>(dialog);
        // The dialog works on the default printer; "print to file" names the file.
        print.printer()->setOutputFormat(QPrinter::PdfFormat);
        print.printer()->setOutputFileName(QString::fromStdString(pdf));
        print.printer()->setPrintRange(QPrinter::PageRange);
        print.printer()->setFromTo(2, 3);
        print.done(QDialog::Accepted);
    });
    EXPECT_EQ(path(true).print(NumberedPages(4)), PrintOutcome::Printed);
    EXPECT_EQ(PdfPageSizes(pdf), "2 595x842 595x842");
    testing::ExpectParts(PdfText(pdf), {"第2页", "第3页"}, {"第1页", "第4页"});
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(PrintPathTest, EveryFailureOfThePrinterOrTheFileIsToldAndNeverCountsAsPrinted) {
    RecordingSurface printer;
    printer.failAtPage(1);
    path_.setPrinterOverride([&](const PrintJob&) { return &printer; });
    EXPECT_EQ(path_.print(NumberedPages(2)), PrintOutcome::Failed);
    ASSERT_EQ(prompter.calls().size(), 1u);
    EXPECT_EQ(prompter.last().text, "打印错误，请检查 打印机连接！");
    EXPECT_EQ(prompter.last().title, "打印错误");
    EXPECT_EQ(prompter.last().icon, Icon::Error);
    // The pages already sent stay sent: the job is ended.
    EXPECT_TRUE(printer.hasText("第1页"));
    EXPECT_EQ(printer.count(Op::EndJob), 1);
    EXPECT_EQ(path_.lastJobPages(), 0);

    // A PDF that cannot be written (a folder stands where it should go) leaves the folder as it was.
    path_.setPrinterOverride({});
    prompter.clear();
    ASSERT_TRUE(MakeDirectories(dir.file("占用.pdf")));
    prompter.chooseSave(dir.file("占用.pdf"));
    EXPECT_EQ(path(false).print(NumberedPages(1)), PrintOutcome::Failed);
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"打印错误，请检查 打印机连接！"}));
    EXPECT_EQ(status.texts.back(), "就绪");
}

TEST_F(PrintPathTest, AJobOfFourPagesShowsItsProgressAndOneOfThreeDoesNot) {
    RecordingSurface printer;
    path_.setPrinterOverride([&](const PrintJob&) { return &printer; });
    path_.setProgressInterval(0);
    for (int pages : {3, 4}) {
        bool shown = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                shown = shown || (w->objectName() == "printProgress" && w->isVisible());
            }
        });
        timer.start(0);
        EXPECT_EQ(path_.print(NumberedPages(pages)), PrintOutcome::Printed) << pages;
        timer.stop();
        EXPECT_EQ(shown, pages == 4) << pages;
    }
}

TEST_F(PrintPathTest, ALongJobShowsItsProgressAndCancelLeavesNoFile) {
    const std::string pdf = dir.file("长.pdf");
    WriteBytes(pdf, "old");
    prompter.chooseSave(pdf);
    std::vector<QString> seen;
    // The user presses 取消 while the third page goes out.
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            if (progress && progress->isVisible() && progress->objectName() == "printProgress") {
                if (seen.empty() || seen.back() != progress->labelText()) {
                    seen.push_back(progress->labelText());
                }
                if (progress->labelText() == "正在打印第 3 页，共 10 页...") {
                    progress->findChild<QPushButton*>()->click();
                }
            }
        }
    });
    timer.start(0);
    path_.setProgressInterval(0);  // every page shown, however quickly the pages go out
    EXPECT_EQ(path(false).print(NumberedPages(10)), PrintOutcome::Cancelled);
    timer.stop();
    EXPECT_EQ(seen, (std::vector<QString>{"正在打印第 1 页，共 10 页...", "正在打印第 2 页，共 10 页...",
                                          "正在打印第 3 页，共 10 页..."}));
    EXPECT_EQ(ReadBytes(pdf), "old");
    EXPECT_TRUE(prompter.messages().empty());
    // No busy pointer over the progress dialog, whose 取消 must stay pressable.
    EXPECT_TRUE(status.busyChanges.empty() || status.busyChanges.back() == false);
    EXPECT_EQ(status.texts.back(), "就绪");

    // Cancelled on a printer, the job is aborted rather than ended.
    RecordingSurface printer;
    path_.setPrinterOverride([&](const PrintJob&) { return &printer; });
    timer.start(0);
    seen.clear();
    EXPECT_EQ(path_.print(NumberedPages(10)), PrintOutcome::Cancelled);
    timer.stop();
    EXPECT_EQ(printer.count(Op::Abort), 1);
    EXPECT_EQ(printer.count(Op::EndJob), 0);
    EXPECT_FALSE(printer.hasText("第4页"));
}

}  // namespace
}  // namespace scorvane

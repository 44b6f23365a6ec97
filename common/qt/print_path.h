#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QPointer>
#include <QWidget>

#include "common/drawing_surface.h"
#include "common/prompter.h"

namespace scorvane {

class DialogRunner;
class StatusSink;

// How a print job ended.
enum class PrintOutcome {
    Printed,    // every page went to the printer or into the PDF file
    Cancelled,  // the printer or file dialog was cancelled, or the job in its progress dialog: nothing
                // was printed or written, and nothing was said
    Failed,  // the printer or the output file failed: "打印错误，请检查 打印机连接！" was shown
};

// A job: its name (the printer queue's entry, the PDF's title) and the drawing of its pages. The
// drawing starts on the first sheet and calls newPage() for each further one; it sets the orientation
// of each sheet before drawing on it. It draws on a recording (see below), so it never sees a failure.
struct PrintJob {
    std::string name;
    std::function<void(DrawingSurface& printer)> drawPages;
};

// The one way both programs print from a window:
//
//  1. Where to: with a printer installed, QPrintDialog with the default printer chosen (its page range
//     and "print to file" are honoured); with none, a save dialog for a PDF file (PrintToFileDialog,
//     through the Prompter), so that a machine without printers still prints. A cancelled dialog ends the
//     job: nothing is printed and nothing is said.
//  2. The job is drawn on a recording whose texts are measured as on paper (PaperMetrics), so its
//     pages are known before the first goes out, and the layout is the one a preview made with the
//     same metrics shows.
//  3. The pages go out one by one. A job of more than kProgressPages pages shows a progress dialog
//     ("正在打印第 n 页，共 m 页...") whose 取消 aborts the job; the windows stay painted meanwhile. A
//     shorter job shows "正在打印..." in the status panel and the busy pointer.
//  4. Any failure of the printer or of the output file shows "打印错误，请检查 打印机连接！" (title
//     "打印错误", error icon); it is never reported as printed. A PDF file is written whole or not at
//     all (a temporary file in the target folder renamed over the target), so a failed or cancelled
//     job leaves no half-written file and an existing file as it was.
//
// A PrintPath is made once per window (or per frame) and used for every job. Offscreen tests either go
// the real way (setPrintersInstalled, the Prompter's save answer, the DialogRunner's QPrintDialog) or
// replace the printer by a surface of their own (setPrinterOverride), such as a recording surface whose
// sheet fails, to see the message.
class PrintPath {
  public:
    // Jobs of more pages than this show the progress dialog.
    static constexpr int kProgressPages = 3;
    // The progress dialog is brought up to date at most this often (milliseconds).
    static constexpr int kProgressIntervalMs = 40;

    PrintPath(Prompter& prompter, DialogRunner& dialogs, StatusSink& status, QWidget* owner);
    ~PrintPath();
    PrintPath(const PrintPath&) = delete;
    PrintPath& operator=(const PrintPath&) = delete;

    PrintOutcome print(const PrintJob& job);

    // Writes the job into the PDF file `path`, without a dialog and without a word: drawn as on paper
    // (PaperMetrics) and written whole or not at all. False when the file could not be written.
    bool writePdf(const PrintJob& job, const std::string& path);

    // Where the frame's status bar is told how a job goes.
    StatusSink& statusSink() const { return status_; }

    // The pages of the last job that went out (0 before the first, and after a cancelled dialog).
    int lastJobPages() const { return lastJobPages_; }

    // Whether a printer is installed; by default the system is asked (QPrinterInfo).
    void setPrintersInstalled(std::function<bool()> installed) { printersInstalled_ = std::move(installed); }
    // Replaces both dialogs and the printer: the job's pages go to the surface returned (owned by the
    // caller; nullptr acts as a cancelled dialog). An empty function restores the real way.
    using PrinterOverride = std::function<DrawingSurface*(const PrintJob& job)>;
    void setPrinterOverride(PrinterOverride override) { override_ = std::move(override); }
    // How often a long job's progress is shown (kProgressIntervalMs; 0 shows every page).
    void setProgressInterval(int milliseconds) { progressIntervalMs_ = milliseconds; }

  private:
    PrintOutcome send(const PrintJob& job, DrawingSurface& printer, int firstPage, int lastPage);

    Prompter& prompter_;
    DialogRunner& dialogs_;
    StatusSink& status_;
    QPointer<QWidget> owner_;
    std::function<bool()> printersInstalled_;
    PrinterOverride override_;
    std::unique_ptr<DrawingSurface> paperMetrics_;
    int lastJobPages_ = 0;
    int progressIntervalMs_ = kProgressIntervalMs;
};

// A surface that measures texts as a printed page does, for laying pages out (a print job, a preview)
// exactly as they print. It draws nothing.
std::unique_ptr<DrawingSurface> PaperMetrics();

// The save dialog of a machine without printers: "PDF 文件 (*.pdf)", titled "打印到文件", opening where
// the last PDF file was chosen with the job's name offered, asking before an existing file is replaced;
// and the name chosen there with ".pdf" added when it has no extension.
FileDialogSpec PrintToFileDialog(std::string_view jobName);
std::string PdfPathAsChosen(const std::string& chosen);

// The progress text of page n of m.
std::string PrintProgressText(int page, int pages);

}  // namespace scorvane

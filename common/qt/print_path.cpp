#include "common/qt/print_path.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <algorithm>

#include "common/file_dialog_start.h"
#include "common/prompter.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/qt_surface.h"
#include "common/recorded_pages.h"
#include "common/status_sink.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

FileDialogSpec PrintToFileDialog(std::string_view jobName) {
    FileDialogSpec spec = SaveDialogFor("*.pdf", jobName);
    spec.description = "PDF 文件";
    spec.title = "打印到文件";
    spec.confirmOverwrite = true;
    return spec;
}

std::string PdfPathAsChosen(const std::string& chosen) {
    if (chosen.empty()) {
        return chosen;
    }
    const size_t slash = chosen.find_last_of('/');
    const std::string name = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    return name.find('.') == std::string::npos ? chosen + ".pdf" : chosen;
}

std::unique_ptr<DrawingSurface> PaperMetrics() {
    // A PDF page at 1440 dots per inch measures in twips without rounding; it is never ended, so nothing
    // is written.
    return QtSurface::ForPdfFile(std::string());
}

std::string PrintProgressText(int page, int pages) {
    return "正在打印第 " + std::to_string(page) + " 页，共 " + std::to_string(pages) + " 页...";
}

PrintPath::PrintPath(Prompter& prompter, DialogRunner& dialogs, StatusSink& status, QWidget* owner)
    : prompter_(prompter), dialogs_(dialogs), status_(status), owner_(owner) {}

PrintPath::~PrintPath() = default;

PrintOutcome PrintPath::print(const PrintJob& job) {
    lastJobPages_ = 0;
    // Where the pages go.
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QtSurface> owned;
    DrawingSurface* output = nullptr;
    int firstPage = 1;
    int lastPage = 0;  // 0: to the end
    if (override_) {
        output = override_(job);
        if (!output) {
            return PrintOutcome::Cancelled;
        }
    } else {
        const bool installed =
            printersInstalled_ ? printersInstalled_() : !QPrinterInfo::availablePrinterNames().isEmpty();
        if (installed) {
            printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
            if (!defaultPrinter.isEmpty()) {
                printer->setPrinterName(defaultPrinter);
            }
            printer->setDocName(qs(job.name));
            printer->setFullPage(true);
            QPrintDialog dialog(printer.get(), owner_);
            dialog.setObjectName(QStringLiteral("printDialog"));
            dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
            dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
            if (dialogs_.run(dialog) != QDialog::Accepted) {
                return PrintOutcome::Cancelled;
            }
            if (printer->printRange() == QPrinter::PageRange) {
                firstPage = std::max(1, printer->fromPage());
                lastPage = printer->toPage();
            }
            if (printer->outputFormat() == QPrinter::PdfFormat) {
                // "Print to file": our own PDF, written whole or not at all.
                const std::string path = printer->outputFileName().toStdString();
                if (path.empty()) {
                    prompter_.message(kPrintErrorMessage, kPrintErrorTitle, Icon::Error);
                    return PrintOutcome::Failed;
                }
                owned = QtSurface::ForPdfFile(path, job.name);
            } else {
                owned = QtSurface::ForPrinter(*printer);
            }
        } else {
            const std::string path = PdfPathAsChosen(prompter_.chooseSaveFile(PrintToFileDialog(job.name)));
            if (path.empty()) {
                return PrintOutcome::Cancelled;
            }
            owned = QtSurface::ForPdfFile(path, job.name);
        }
        output = owned.get();
    }
    return send(job, *output, firstPage, lastPage);
}

bool PrintPath::writePdf(const PrintJob& job, const std::string& path) {
    if (!paperMetrics_) {
        paperMetrics_ = PaperMetrics();
    }
    RecordedPages pages(RecordedPages::Kind::Printer, *paperMetrics_);
    if (job.drawPages) {
        job.drawPages(pages);
    }
    std::unique_ptr<QtSurface> pdf = QtSurface::ForPdfFile(path, job.name);
    const bool sent = ReplayJob(pages, 0, pages.pageCount() - 1, *pdf);
    if (!sent) {
        pdf->abortJob();
        return false;
    }
    return pdf->endJob() && !pdf->failed();
}

PrintOutcome PrintPath::send(const PrintJob& job, DrawingSurface& printer, int firstPage, int lastPage) {
    if (!paperMetrics_) {
        paperMetrics_ = PaperMetrics();
    }
    status_.setStatus(kStatusPrinting);
    status_.setBusy(true);
    bool busy = true;
    auto done = [&] {
        if (busy) {
            status_.setBusy(false);
            busy = false;
        }
        status_.setStatus(kStatusReady);
    };

    RecordedPages pages(RecordedPages::Kind::Printer, *paperMetrics_);
    if (job.drawPages) {
        job.drawPages(pages);
    }
    const int first = std::clamp(firstPage, 1, pages.pageCount()) - 1;
    const int last =
        lastPage > 0 ? std::clamp(lastPage, first + 1, pages.pageCount()) - 1 : pages.pageCount() - 1;
    const int count = last - first + 1;

    // A long job shows its progress instead of the busy pointer, so that 取消 can be pressed.
    std::unique_ptr<QProgressDialog> progress;
    if (count > kProgressPages) {
        status_.setBusy(false);
        busy = false;
        progress = std::make_unique<QProgressDialog>(qs(PrintProgressText(1, count)), QStringLiteral("取消"),
                                                     0, count, owner_);
        progress->setObjectName(QStringLiteral("printProgress"));
        progress->setWindowTitle(QStringLiteral("打印"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        progress->show();
    }
    bool cancelled = false;
    // The progress is shown, and 取消 looked at, every progress interval at most: often enough for the
    // window to stay painted and answer at once, seldom enough not to slow a long job down.
    QElapsedTimer sinceShown;
    sinceShown.start();
    const bool sent = ReplayJob(pages, first, last, printer, [&](int n) {
        if (progress && (n == 1 || sinceShown.elapsed() >= progressIntervalMs_)) {
            sinceShown.restart();
            progress->setLabelText(qs(PrintProgressText(n, count)));
            progress->setValue(n - 1);
            QApplication::processEvents();
            if (progress->wasCanceled()) {
                cancelled = true;
                return false;
            }
        }
        return true;
    });
    if (cancelled) {
        printer.abortJob();
        progress.reset();
        done();
        return PrintOutcome::Cancelled;
    }
    // The job is ended even after a failure, so that the pages already sent stay sent.
    const bool ended = printer.endJob();
    progress.reset();
    done();
    if (!sent || !ended || printer.failed()) {
        prompter_.message(kPrintErrorMessage, kPrintErrorTitle, Icon::Error);
        return PrintOutcome::Failed;
    }
    lastJobPages_ = count;
    return PrintOutcome::Printed;
}

}  // namespace scorvane

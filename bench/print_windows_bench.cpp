// The printing windows on the 20,000-student table, drawn offscreen as a teacher meets them:
//  - 打印、预览[表格] from the table window until the print set-up window shows its painted preview, with
//    the process's memory then (resident and peak);
//  - scrolling that preview to the last page and back, each with a repaint;
//  - 打印(&P) of all pages into a PDF (no printer installed: the PDF file is named), beside the same table
//    printed by `scorvane-cli print` as a whole process;
//  - the report printing window opening the sample report card and printing 1,000 pages into a PDF.
// Run by hand: print_windows_bench [--benchmark_repetitions=N]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QRadioButton>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "common/qt/print_path.h"
#include "main/document/ui/table_window.h"
#include "main/printing/ui/print_setup_window.h"
#include "main/printing/ui/report_print_window.h"
#include "main/printing/ui/scrolled_page.h"
#include "main/workspace/ui/main_window.h"

namespace {

using namespace scorvane;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// A line of /proc/self/status in megabytes ("VmRSS", "VmHWM").
double MemoryMb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::atof(line.c_str() + line.find(':') + 1) / 1024.0;
        }
    }
    return 0;
}

std::string OutPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// Answers the save dialog with `pdf` and the open dialog with `rvx`; drops messages but counts them.
class BenchPrompter : public bench::QuietPrompter {
  public:
    std::string pdf;
    std::string rvx;
    int messages = 0;
    void message(std::string_view, std::string_view, Icon) override { ++messages; }
    std::string saveFile(std::string_view) override { return pdf; }
    std::string openFile(std::string_view, std::string_view) override { return rvx; }
};

// Shows each modal window, paints it and hands it to `inside` instead of waiting for the user.
class BenchRunner : public DialogRunner {
  public:
    std::function<void(QDialog&)> inside;
    int run(QDialog& dialog) override {
        dialog.resize(900, 800);
        dialog.show();
        QPixmap painted = dialog.grab();
        benchmark::DoNotOptimize(painted);
        if (inside) {
            inside(dialog);
        }
        dialog.hide();
        return QDialog::Rejected;
    }
};

BenchPrompter& Prompts() {
    static BenchPrompter prompter;
    return prompter;
}
BenchRunner& Runner() {
    static BenchRunner runner;
    return runner;
}

// The frame with the table open in a window of a working size; printing finds no printer.
TableWindow& Table() {
    static TableWindow* table = [] {
        auto* frame = new MainWindow(Prompts(), Runner());
        frame->resize(1200, 800);
        frame->show();
        frame->printPath().setPrintersInstalled([] { return false; });
        TableWindow* window = frame->openTable(bench::BenchTableStem());
        if (window) {
            window->parentWidget()->resize(1000, 650);
        }
        QCoreApplication::processEvents();
        return window;
    }();
    return *table;
}

// From the menu command to the window shown with its preview painted.
void OpenPrintSetup(benchmark::State& state) {
    TableWindow& table = Table();
    int pages = 0;
    Runner().inside = [&](QDialog& d) { pages = static_cast<PrintSetupWindow&>(d).previewPages(); };
    for (auto _ : state) {
        table.printView();
    }
    state.counters["pages"] = pages;
    state.counters["rss_MB"] = MemoryMb("VmRSS");
    state.counters["peak_MB"] = MemoryMb("VmHWM");
}
BENCHMARK(OpenPrintSetup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// In the open window: the scroll bar dragged to the last page and the view repainted, then to the top.
void ScrollPreviewToLastPage(benchmark::State& state) {
    TableWindow& table = Table();
    double lastPage = 0;
    double firstPage = 0;
    long runs = 0;
    Runner().inside = [&](QDialog& d) {
        auto& w = static_cast<PrintSetupWindow&>(d);
        ScrolledPage* view = w.previewView();
        QScrollBar* bar = view->verticalBar();
        // The top of the last page.
        const int lastPageTop = static_cast<int>((w.previewPages() - 1) * kA4Height / 120);
        // grab() runs the view's paint event into a picture of its own, as an exposed window's repaint
        // does; it cannot be skipped the way a repaint of a window the platform has not exposed can.
        for (int i = 0; i < 20; ++i) {
            Clock::time_point start = Clock::now();
            bar->setValue(lastPageTop);
            QPixmap last = view->target()->grab();
            lastPage += Seconds(start);
            benchmark::DoNotOptimize(last);
            start = Clock::now();
            bar->setValue(0);
            QPixmap first = view->target()->grab();
            firstPage += Seconds(start);
            benchmark::DoNotOptimize(first);
            ++runs;
        }
    };
    for (auto _ : state) {
        table.printView();
    }
    state.counters["last_page_ms"] = lastPage * 1000 / static_cast<double>(runs);
    state.counters["first_page_ms"] = firstPage * 1000 / static_cast<double>(runs);
}
BENCHMARK(ScrollPreviewToLastPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// 打印(&P) with every page, into a PDF file.
void PrintAllPagesToPdf(benchmark::State& state) {
    TableWindow& table = Table();
    Prompts().pdf = OutPath("print_window_bench.pdf");
    double printing = 0;
    long runs = 0;
    Runner().inside = [&](QDialog& d) {
        const Clock::time_point start = Clock::now();
        static_cast<PrintSetupWindow&>(d).print();
        printing += Seconds(start);
        ++runs;
    };
    const int before = Prompts().messages;
    for (auto _ : state) {
        table.printView();
    }
    if (Prompts().messages != before) {
        state.SkipWithError("printing failed");
    }
    state.counters["print_s"] = printing / static_cast<double>(runs);
    state.counters["pdf_MB"] =
        static_cast<double>(std::filesystem::file_size(Prompts().pdf)) / (1024.0 * 1024.0);
}
BENCHMARK(PrintAllPagesToPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same table printed by the command-line tool, the whole process.
void CliPrintToPdf(benchmark::State& state) {
    const std::string cli = QCoreApplication::applicationDirPath().toStdString() + "/scorvane-cli";
    const std::string command =
        "'" + cli + "' print '" + bench::BenchTablePath() + "' -o '" + OutPath("print_cli_bench.pdf") + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("scorvane-cli print failed");
            break;
        }
    }
}
BENCHMARK(CliPrintToPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// 打印报表: the window opened, the sample report card opened in it, three labels bound, rows 1 to
// 1,000 printed into a PDF.
void ReportThousandPages(benchmark::State& state) {
    TableWindow& table = Table();
    Prompts().pdf = OutPath("report_window_bench.pdf");
    Prompts().rvx = std::string(SCORVANE_SOURCE_DIR) + "/examples/成绩通知单.rvx";
    int pages = 0;
    Runner().inside = [&](QDialog& d) {
        auto& w = static_cast<ReportPrintWindow&>(d);
        w.openTemplate();
        w.findChild<QComboBox*>("Combo1")->setCurrentIndex(2);
        w.findChild<QComboBox*>("Combo2")->setCurrentIndex(0);
        w.bind();
        w.findChild<QComboBox*>("Combo1")->setCurrentIndex(4);
        w.findChild<QComboBox*>("Combo2")->setCurrentIndex(1);
        w.bind();
        w.findChild<QRadioButton*>("Option3")->setChecked(true);
        w.findChild<QComboBox*>("Combo5")->setCurrentIndex(999);
        w.print();
        pages = table.host().printPath().lastJobPages();
    };
    for (auto _ : state) {
        table.printReport();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(ReportThousandPages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SetUpFonts();
    if (!bench::PrepareBenchTable()) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

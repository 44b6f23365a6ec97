// The designer on a large template of 2,000 lines and 500 labels, drawn offscreen: opening it into the
// window until the page is shown and painted, the redraw after choosing a line, one step of dragging a
// label, and the core's reading of the file alone. Prints the times per run.
//
// Then hostile templates, each opened into the window and painted: a label of a hundred characters at
// the largest font size (430 bytes), a megabyte of such labels, a megabyte-long caption at that size,
// and a megabyte of ordinary labels. The goal is under 2 s and 300 MB for any template under 1 MB: run
// each alone for its memory, e.g. --benchmark_filter=OpenHostile/1, and read peak_MB.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPixmap>
#include <filesystem>

#include "bench/quiet_prompter.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "common/report_template.h"
#include "designer/template_file_commands.h"
#include "designer/ui/designer_window.h"
#include "designer/ui/page_viewport.h"
#include "designer/ui/page_widget.h"
#include "designer/ui/side_panel.h"

namespace {

using namespace scorvane;
using namespace scorvane::designer;

// A report card repeated down the page: ruled rows and columns, captions and placeholders.
const std::string& LargeTemplate() {
    static const std::string path = [] {
        ReportTemplate report;
        for (int i = 0; i < 2000; ++i) {
            const int row = i / 20;
            const int col = i % 20;
            TemplateLine line = (i % 2 == 0) ? TemplateLine{500, 600 + row * 160, 11400, 600 + row * 160, 1}
                                             : TemplateLine{500 + col * 545, 600, 500 + col * 545, 16600, 2};
            report.lineRecords.push_back(EncodeLineRecord(line));
        }
        for (int i = 0; i < 500; ++i) {
            TemplateLabel label;
            label.caption = (i % 3 == 0) ? "！引用数据" : "成绩" + std::to_string(i);
            label.top = 600 + (i / 5) * 160;
            label.left = 600 + (i % 5) * 2200;
            label.fontSize = (i % 7 == 0) ? 12 : 9;
            label.fontBold = i % 11 == 0;
            label.foreColor = (i % 3 == 0) ? 255 : 0;
            report.labels.push_back(label);
        }
        const std::string file = (std::filesystem::temp_directory_path() / "velmora_bench.rvx").string();
        if (!WriteReportTemplate(report, file)) {
            abort();
        }
        return file;
    }();
    return path;
}

DesignerWindow& Window() {
    static bench::QuietPrompter prompter(Answer::Yes);
    static DesignerWindow* window = [] {
        auto* w = new DesignerWindow(prompter, DefaultDialogRunner());
        w->resize(1200, 850);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }();
    return *window;
}

// Reading the file into a template document, without a window.
void ReadTemplate(benchmark::State& state) {
    const std::string& path = LargeTemplate();
    bench::QuietPrompter prompter;
    SilentStatusSink status;
    for (auto _ : state) {
        TemplateDocument doc;
        if (!OpenTemplateFile(doc, path, prompter, status) || doc.lines.size() != 2000 ||
            doc.labels.size() != 500) {
            state.SkipWithError("the template did not open");
            break;
        }
        benchmark::DoNotOptimize(doc);
    }
}
BENCHMARK(ReadTemplate)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the open command to a painted page: the file read, both lists filled, the labels laid out, the
// page drawn and the window painted once.
void OpenIntoWindow(benchmark::State& state) {
    DesignerWindow& window = Window();
    const std::string& path = LargeTemplate();
    for (auto _ : state) {
        if (!window.openAtStart(path) || window.document().lines.size() != 2000) {
            state.SkipWithError("the template did not open");
            break;
        }
        QPixmap painted = window.grab();
        benchmark::DoNotOptimize(painted);
    }
}
BENCHMARK(OpenIntoWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// Choosing another line in the line list: the redraw of grid and 2,000 lines and the page painted
// with its 500 labels.
void RedrawAfterChoosingALine(benchmark::State& state) {
    DesignerWindow& window = Window();
    if (!window.openAtStart(LargeTemplate())) {
        state.SkipWithError("the template did not open");
        return;
    }
    QComboBox* list = window.panel()->lineList;
    int i = 0;
    for (auto _ : state) {
        list->setCurrentIndex(i++ % 2000);
        QPixmap painted = window.page()->grab(window.viewport()->rect().translated(-window.page()->pos()));
        benchmark::DoNotOptimize(painted);
    }
}
BENCHMARK(RedrawAfterChoosingALine)->Unit(benchmark::kMillisecond)->UseRealTime();

// Counts the paints a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// One step of dragging a label with the mouse: the move handled and the page painted again where the
// proxy left and where it now stands, over the picture of 2,000 lines and among 500 labels.
void DragALabelOneStep(benchmark::State& state) {
    DesignerWindow& window = Window();
    if (!window.openAtStart(LargeTemplate())) {
        state.SkipWithError("the template did not open");
        return;
    }
    PageWidget* page = window.page();
    QCoreApplication::processEvents();
    const QPointF grab = page->labelRect(12).center();
    const auto send = [page](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, page->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &event);
    };
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton);
    send(QEvent::MouseMove, grab + QPointF(40, 40), Qt::LeftButton);
    QCoreApplication::processEvents();
    if (page->draggedLabel() != 12) {
        state.SkipWithError("the label is not dragged");
        return;
    }
    PaintCounter counter;
    page->installEventFilter(&counter);
    int step = 0;
    for (auto _ : state) {
        // To and fro over a few hundred pixels, one pixel at a time.
        const int offset = step % 600 < 300 ? step % 300 : 300 - step % 300;
        ++step;
        send(QEvent::MouseMove, grab + QPointF(40 + offset, 40 + offset / 2), Qt::LeftButton);
        QCoreApplication::processEvents();  // the paint of the changed part
    }
    page->removeEventFilter(&counter);
    send(QEvent::MouseButtonRelease, grab + QPointF(40, 40), Qt::NoButton);
    // Every step that moved the proxy should have painted the page.
    state.counters["paints/step"] = static_cast<double>(counter.paints) / static_cast<double>(step);
}
BENCHMARK(DragALabelOneStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// The hostile templates, by number: 0 the 430-byte one, 1 a megabyte of its label at scattered places,
// 2 one label whose caption fills a megabyte, 3 a megabyte of ordinary labels, 4 a megabyte of labels
// of a hundred different characters each at sizes from 1 to 160 points.
std::string HostileTemplate(int kind) {
    std::string longCaption;
    for (int i = 0; i < 100; ++i) {
        longCaption += "长";
    }
    ReportTemplate report;
    TemplateLabel big;
    big.fontName = "宋体";
    big.fontSize = 1638;
    switch (kind) {
        case 0:
            big.caption = longCaption;
            big.top = 600;
            big.left = 300;
            report.labels = {big};
            break;
        case 1:
            for (int i = 0; i < 2400; ++i) {  // 2,400 records of about 430 bytes
                big.caption = longCaption;
                big.top = (i * 7919) % 16840;
                big.left = (i * 104729) % 11907;
                report.labels.push_back(big);
            }
            break;
        case 2:
            for (int i = 0; i < 500000; ++i) {
                big.caption += "长";
            }
            report.labels = {big};
            break;
        case 4:
            for (int i = 0; i < 2400; ++i) {
                TemplateLabel label;
                QString text;
                for (int j = 0; j < 100; ++j) {
                    text += QChar(static_cast<char16_t>(0x4E00 + (i * 100 + j) % 20000));
                }
                label.caption = text.toStdString();
                label.fontSize = 1 + i % 160;
                label.top = (i * 7919) % 16840;
                label.left = (i * 104729) % 11907;
                report.labels.push_back(label);
            }
            break;
        default:
            for (int i = 0; i < 22000; ++i) {  // just under a megabyte
                TemplateLabel label;
                label.caption = "成绩" + std::to_string(i);
                label.top = (i * 37) % 16800;
                label.left = (i * 101) % 11800;
                report.labels.push_back(label);
            }
            break;
    }
    const std::string file =
        (std::filesystem::temp_directory_path() / ("velmora_hostile" + std::to_string(kind) + ".rvx"))
            .string();
    if (!WriteReportTemplate(report, file)) {
        abort();
    }
    return file;
}

// From the open command to a painted page, and the process's peak memory so far.
void OpenHostile(benchmark::State& state) {
    const std::string path = HostileTemplate(static_cast<int>(state.range(0)));
    DesignerWindow& window = Window();
    for (auto _ : state) {
        if (!window.openAtStart(path)) {
            state.SkipWithError("the template did not open");
            break;
        }
        QPixmap painted = window.grab();
        benchmark::DoNotOptimize(painted);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["file_KB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024;
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
    std::filesystem::remove(path);
}
BENCHMARK(OpenHostile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SetUpFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(LargeTemplate());
    return 0;
}

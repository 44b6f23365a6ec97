// Printing on the benchmark table (20,000 students, 14 fields, 40,000 formula cells):
//   python3 /work/shared/bench/gen_table.py 20000 --outdir DIR --no-xlsx
//   printing_bench [--table DIR/grades_20000.skv]   (default /tmp/bench/grades_20000.skv)
// The PDFs are written to the temporary folder; their sizes are printed as counters.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>

#include "bench/bench_table.h"
#include "common/drawing_surface.h"
#include "common/qt/font_setup.h"
#include "common/qt/qt_surface.h"
#include "common/report_template.h"
#include "main/document/cell_value.h"
#include "main/printing/report_pages.h"
#include "main/printing/table_page_layout.h"

namespace {

using namespace scorvane;

std::string gTablePath = "/tmp/bench/grades_20000.skv";

const GradeTable& BenchTable() {
    static const GradeTable table = [] {
        GradeTable t = bench::ReadTableOrExit(gTablePath);
        t.setHeaderLayout(t.composeHeaderLayout(false));
        t.renumber();
        return t;
    }();
    return table;
}

std::string OutPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

double FileSize(const std::string& path) {
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<double>(size);
}

// A surface that draws nothing and measures like the recording surface: the engine's own cost.
class NullSurface : public DrawingSurface {
  public:
    double width() const override { return kA4Width; }
    double height() const override { return kA4Height; }
    void setSize(double, double) override {}
    void setOrientation(PageOrientation) override {}
    PageOrientation orientation() const override { return PageOrientation::Portrait; }
    bool isPrinter() const override { return true; }
    void setFont(const SurfaceFont& font) override { font_ = font; }
    const SurfaceFont& font() const override { return font_; }
    void setTextColor(SurfaceColor) override {}
    SurfaceColor textColor() const override { return 0; }
    double textWidth(std::string_view text) override {
        return static_cast<double>(text.size()) * font_.size * 10;
    }
    double textHeight(std::string_view) override { return font_.size * 25; }
    void drawTextAt(double, double, std::string_view) override { ++texts; }
    void drawTextInRect(double, double, double, double, std::string_view, TextAlign) override { ++texts; }
    void setLineWidth(int) override {}
    int lineWidth() const override { return 1; }
    void drawLine(double, double, double, double, SurfaceColor) override { ++lines; }
    void drawBox(double, double, double, double, SurfaceColor) override {}
    void fillBox(double, double, double, double, SurfaceColor) override {}
    void drawCircle(double, double, double, SurfaceColor) override {}
    void drawPicture(std::string_view, double, double, double, double) override {}
    void clear() override {}
    bool newPage() override {
        ++pages;
        return true;
    }
    bool endJob() override { return true; }
    bool failed() const override { return false; }
    bool saveImage(const std::string&) override { return false; }

    long texts = 0, lines = 0, pages = 1;

  private:
    SurfaceFont font_;
};

TablePrintSettings Settings(const GradeTable& t) {
    TablePrintSettings s;
    s.title = t.title;
    s.printTime = PrintTimeText(2024, 5, 3);
    return s;
}

// The layout and the engine alone: values, widths, paging, cell placement (no rendering).
void BM_TableLayoutOnly(benchmark::State& state) {
    const GradeTable& t = BenchTable();
    long pages = 0;
    for (auto _ : state) {
        NullSurface s;
        LayOutTablePages(s, PrintTarget::Paper, TablePrintSourceFor(t, s), Settings(t));
        pages = s.pages;
    }
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_TableLayoutOnly)->Unit(benchmark::kMillisecond);

// What `scorvane-cli print` does after loading: formula values, widths in the real font, every page
// rendered and the PDF written.
void BM_PrintTableToPdf(benchmark::State& state) {
    const GradeTable& t = BenchTable();
    const std::string path = OutPath("scorvane-print-bench.pdf");
    for (auto _ : state) {
        auto pdf = QtSurface::ForPdfFile(path, t.title);
        const TablePrintSource source = TablePrintSourceFor(t, *pdf);
        if (!LayOutTablePages(*pdf, PrintTarget::Paper, source, Settings(t)).completed || !pdf->endJob()) {
            state.SkipWithError("printing failed");
            return;
        }
        state.counters["pages"] = pdf->pageCount();
    }
    state.counters["pdf_bytes"] = FileSize(path);
}
BENCHMARK(BM_PrintTableToPdf)->Unit(benchmark::kMillisecond);

// `scorvane-cli report` of 1,000 pages with the example report card, ten labels bound.
void BM_Report1000Pages(benchmark::State& state) {
    const GradeTable& t = BenchTable();
    ReportTemplateRecords records;
    const std::string card = std::string(SCORVANE_SOURCE_DIR) + "/examples/成绩通知单.rvx";
    if (!ReadReportTemplateFile(card, records)) {
        state.SkipWithError("cannot read the example report card");
        return;
    }
    const PrintableTemplate report = PrintableReportTemplate(records);
    ReportBindings bindings;
    const int labels[] = {3, 5, 16, 17, 18, 19, 20, 21, 22};
    const int columns[] = {1, 2, 3, 4, 5, 6, 7, 13, 14};
    for (int i = 0; i < 9; ++i) {
        bindings.bind(labels[i], columns[i], "！引用数据", t.cell(0, columns[i]));
    }
    const std::string path = OutPath("scorvane-report-bench.pdf");
    for (auto _ : state) {
        auto pdf = QtSurface::ForPdfFile(path, t.title);
        ReportSource source;
        source.table = &t;
        source.value = FormulaValues(t);
        if (!DrawReportPages(*pdf, report, bindings, source, {1, 1000}) || !pdf->endJob()) {
            state.SkipWithError("printing failed");
            return;
        }
        state.counters["pages"] = pdf->pageCount();
    }
    state.counters["pdf_bytes"] = FileSize(path);
}
BENCHMARK(BM_Report1000Pages)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    gTablePath = bench::TableArgument(argc, argv, gTablePath);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    SetUpFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// 上线分析 and 临界生 on a grade of 30 classes x 60 students (1,800 students, ten subjects, 总分 a formula),
// drawn offscreen with three remembered lines (特控 前100名, 一本 前450名, 本科 前1000名): each window from its
// pop-up entry (the window made, the classes' tables read for its choices) through "确定(&O)" (the tables
// read again, the lines checked, the analysis worked out) to the result open in a new table window,
// painted. The settings go to a folder of their own.
//   LineAnalysis_Window: the 上线分析 table (31 rows, 128 columns);
//   LineList_Window: the 上线名单 (about 1,000 students);
//   Borderline_Window: the 临界生 of 一本 (20 below, 10 above).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <functional>
#include <iostream>

#include "bench/bench_table.h"
#include "bench/quiet_prompter.h"
#include "bench/stepping_runner.h"
#include "common/qt/font_setup.h"
#include "main/analysis/exam_order.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/ui/borderline_dialog.h"
#include "main/analysis/ui/line_analysis_dialog.h"
#include "main/analysis/ui/line_memory.h"
#include "main/document/ui/table_window.h"
#include "main/workspace/school_info.h"
#include "main/workspace/ui/main_window.h"
#include "main/workspace/workspace_folder.h"

namespace {

using namespace scorvane;
namespace fs = std::filesystem;

constexpr int kClasses = 30;
constexpr int kStudents = 60;

bench::QuietPrompter& Prompts() {
    static bench::QuietPrompter prompter;
    return prompter;
}
bench::SteppingRunner& Runner() {
    static bench::SteppingRunner runner;
    return runner;
}

// 一中/高一: each class's 期中考试 the next 60 rows of the 1,800-student table.
fs::path Workspace() {
    static const fs::path workspace = [] {
        const fs::path root = fs::temp_directory_path() / "scorvane-bench-line-windows";
        fs::remove_all(root);
        const GradeTable all = bench::ReadTableOrExit(bench::BenchTable(kClasses * kStudents));
        const fs::path grade = root / "表格数据" / "一中" / "高一";
        SchoolInfo school{"一中", {{"高一", {}}}};
        for (int k = 0; k < kClasses; ++k) {
            const std::string name = "(" + std::to_string(k + 1) + ")班";
            school.grades[0].classes.push_back(name);
            GradeTable t(kStudents + 1, all.cols());
            for (int r = 0; r <= kStudents; ++r) {
                for (int c = 0; c < all.cols(); ++c) {
                    t.setCell(r, c, all.cell(r == 0 ? 0 : k * kStudents + r, c));
                }
            }
            t.renumber();
            t.title = "高一" + name + " 期中考试";
            WriteDataFile(t, (grade / name / "期中考试").string());
        }
        SaveSchoolInfo(school, root.string() + "/");
        return root;
    }();
    return workspace;
}

MainWindow& Frame() {
    static MainWindow* frame = [] {
        SetProgramFolder(Workspace().string() + "/");
        auto* w = new MainWindow(Prompts(), Runner());
        w->loadWorkspace();
        w->resize(1200, 800);
        w->show();
        QCoreApplication::processEvents();
        for (QTreeWidgetItemIterator it(w->tree()); *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString() == "Grade0") {
                w->tree()->setCurrentItem(*it);
                (*it)->setSelected(true);
            }
        }
        w->preparePopup(false);
        return w;
    }();
    return *frame;
}

// From `entry` triggered to its result shown and painted in a new table window (of `rows` rows unless
// that is negative); the window's step presses 确定 after `choose`.
void RunToResult(benchmark::State& state, const char* entry, int rows, const std::function<void(QDialog&)>& choose = {}) {
    bool made = true;
    Runner().step = [&](QDialog& d) {
        if (choose) {
            choose(d);
        }
        d.findChild<QPushButton*>("Command1")->click();
    };
    for (auto _ : state) {
        const qsizetype before = Frame().tables().size();
        Frame().action(entry)->trigger();
        QCoreApplication::processEvents();
        made = made && Frame().tables().size() == before + 1;
        if (!made) {
            break;
        }
        TableWindow* result = Frame().tables().back();
        QPixmap painted = result->grab();
        benchmark::DoNotOptimize(painted);
        made = made && (rows < 0 || result->document().table.rows() == rows + 1);
        state.counters["rows"] = result->document().table.rows() - 1;
        state.PauseTiming();
        delete result->parentWidget();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (!made) {
        state.SkipWithError("the result did not open");
    }
    Runner().step = nullptr;
}

void LineAnalysis_Window(benchmark::State& state) {
    RunToResult(state, "menuLineAnalysis", kClasses + 1);
}
BENCHMARK(LineAnalysis_Window)->Unit(benchmark::kMillisecond)->UseRealTime();

void LineList_Window(benchmark::State& state) {
    RunToResult(state, "menuLineAnalysis", -1,
                [](QDialog& d) { static_cast<LineAnalysisDialog&>(d).listCheck()->setChecked(true); });
}
BENCHMARK(LineList_Window)->Unit(benchmark::kMillisecond)->UseRealTime();

void Borderline_Window(benchmark::State& state) {
    RunToResult(state, "menuBorderline", -1,
                [](QDialog& d) { static_cast<BorderlineDialog&>(d).lineBox()->setCurrentText("一本"); });
}
BENCHMARK(Borderline_Window)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path settings = fs::temp_directory_path() / "scorvane-bench-line-settings";
    fs::create_directories(settings);
    ::setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
    QApplication app(argc, argv);
    SetUpFonts();
    if (bench::BenchTable(kClasses * kStudents).empty()) {
        std::cerr << "cannot make the 1,800-student table\n";
        return 1;
    }
    std::cout << "workspace: " << Workspace().string() << "\n";
    std::vector<GradeClass> classes;
    for (int k = 0; k < kClasses; ++k) {
        const std::string name = "(" + std::to_string(k + 1) + ")班";
        classes.push_back({name, (Workspace() / "表格数据" / "一中" / "高一" / name).string() + "/"});
    }
    RememberTierLines(GradeFolderOfClasses(classes), {{"特控", LineKind::Count, "100"},
                                                      {"一本", LineKind::Count, "450"},
                                                      {"本科", LineKind::Count, "1000"}});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The windows of the analyses over several tables on a grade of 20 classes x 60 students, drawn
// offscreen: each from its menu entry (the window made, the tables read for its choices) through
// "确定(&O)" with the window's defaults (the tables read again, the analysis worked out) to the result
// open in a new table window, painted.
//   年级排名 of the 20 classes' 期中考试 (1,200 students; 总分 a formula);
//   历次成绩 of (1)班: 11 tables of 60 students, values and ranks;
//   进退步 of (1)班's last exam against the newest other table, and of two 1,200-student tables;
//   标准分 of a class's table and of the 1,200-student table.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
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
#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "main/analysis/ui/exam_history_dialog.h"
#include "main/document/ui/table_window.h"
#include "main/workspace/school_info.h"
#include "main/workspace/ui/main_window.h"
#include "main/workspace/workspace_folder.h"

namespace {

using namespace scorvane;

bench::QuietPrompter& Prompts() {
    static bench::QuietPrompter prompter;
    return prompter;
}
bench::SteppingRunner& Runner() {
    static bench::SteppingRunner runner;
    return runner;
}

namespace fs = std::filesystem;

// The workspace: 一中/高一 with 20 classes of 60 students, each class's 期中考试 the next 60 rows of the
// 1,200-student table; (1)班 also holds 第1次考试 … 第10次考试, its students with the marks of the k-th
// class. Beside them, in 一中/年级, the 1,200 students twice (前次, 本次: the marks of the students in
// reverse order).
fs::path Workspace() {
    static const fs::path workspace = [] {
        const fs::path root = fs::temp_directory_path() / "scorvane-bench-analysis-windows";
        fs::remove_all(root);
        const GradeTable all = bench::ReadTableOrExit(bench::BenchTable(1200));
        const fs::path grade = root / "表格数据" / "一中" / "高一";
        auto block = [&](int names, int marks) {
            GradeTable t(61, all.cols());
            for (int r = 0; r <= 60; ++r) {
                for (int c = 0; c < all.cols(); ++c) {
                    // Name and number (columns 1 and 2) from block `names`, the marks from block `marks`.
                    t.setCell(r, c, all.cell(r == 0 ? 0 : (c <= 2 ? names : marks) * 60 + r, c));
                }
            }
            t.renumber();
            return t;
        };
        SchoolInfo school{"一中", {{"高一", {}}}};
        for (int k = 0; k < 20; ++k) {
            const std::string name = "(" + std::to_string(k + 1) + ")班";
            school.grades[0].classes.push_back(name);
            GradeTable t = block(k, k);
            t.title = "高一" + name + " 期中考试";
            WriteDataFile(t, (grade / name / "期中考试").string());
        }
        for (int e = 1; e <= 10; ++e) {
            GradeTable t = block(0, e - 1);
            t.title = "第" + std::to_string(e) + "次考试";
            WriteDataFile(t, (grade / "(1)班" / t.title).string());
        }
        SaveSchoolInfo(school, root.string() + "/");
        GradeTable earlier = all;
        GradeTable later = all;
        for (int r = 1; r < all.rows(); ++r) {
            for (int c = 3; c < all.cols(); ++c) {
                later.setCell(r, c, all.cell(all.rows() - r, c));
            }
        }
        earlier.title = "前次";
        later.title = "本次";
        WriteDataFile(earlier, (root / "表格数据" / "一中" / "年级" / "前次").string());
        WriteDataFile(later, (root / "表格数据" / "一中" / "年级" / "本次").string());
        return root;
    }();
    return workspace;
}

std::string TablePath(const std::string& relative) {
    return (Workspace() / "表格数据" / "一中" / relative).string();
}

// The frame on the workspace, shown once, 1200 x 800 like a teacher's screen.
MainWindow& Frame() {
    static MainWindow* frame = [] {
        SetProgramFolder(Workspace().string() + "/");
        auto* w = new MainWindow(Prompts(), Runner());
        w->loadWorkspace();
        w->resize(1200, 800);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }();
    return *frame;
}

void CloseAll() {
    for (QMdiSubWindow* sub : Frame().findChildren<QMdiSubWindow*>()) {
        delete sub;
    }
    QCoreApplication::processEvents();
}

// Selects the tree's node `key` as a right press does, so that the pop-up's entries follow it.
void SelectNode(const QString& key) {
    MainWindow& frame = Frame();
    for (QTreeWidgetItemIterator it(frame.tree()); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == key) {
            frame.tree()->setCurrentItem(*it);
            (*it)->setSelected(true);
        }
    }
    frame.preparePopup(false);
}

// From `entry` triggered to its result shown and painted in a new table window of `rows` rows; the
// window's step presses 确定 after `choose`. The result window is closed between runs, untimed.
void RunToResult(benchmark::State& state, const std::function<void()>& entry, int rows,
                 const std::function<void(QDialog&)>& choose = {}) {
    bool made = true;
    Runner().step = [&](QDialog& d) {
        if (choose) {
            choose(d);
        }
        d.findChild<QPushButton*>("Command1")->click();
    };
    for (auto _ : state) {
        const qsizetype before = Frame().tables().size();
        entry();
        QCoreApplication::processEvents();
        made = made && Frame().tables().size() == before + 1;
        TableWindow* result = Frame().tables().back();
        QPixmap painted = result->grab();
        benchmark::DoNotOptimize(painted);
        made = made && result->document().table.rows() == rows + 1;
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

void GradeRanking_Window(benchmark::State& state) {
    SelectNode("Grade0");
    RunToResult(
        state, [] { Frame().action("menuGradeRank")->trigger(); }, 1200);
}
BENCHMARK(GradeRanking_Window)->Unit(benchmark::kMillisecond)->UseRealTime();

void ExamHistory_Window(benchmark::State& state) {
    SelectNode("Grade0Class0");
    RunToResult(
        state, [] { Frame().action("menuClassHistory")->trigger(); }, 60);
}
BENCHMARK(ExamHistory_Window)->Unit(benchmark::kMillisecond)->UseRealTime();

void ExamHistoryRanks_Window(benchmark::State& state) {
    SelectNode("Grade0Class0");
    RunToResult(
        state, [] { Frame().action("menuClassHistory")->trigger(); }, 60,
        [](QDialog& d) { static_cast<ExamHistoryDialog&>(d).ranksCheck()->setChecked(true); });
}
BENCHMARK(ExamHistoryRanks_Window)->Unit(benchmark::kMillisecond)->UseRealTime();

// An entry of the 成绩表 menu of the table at `relative`, opened once.
void TableEntry(benchmark::State& state, const std::string& relative, const char* entry, int rows) {
    TableWindow* table = Frame().openTable(TablePath(relative));
    if (!table) {
        state.SkipWithError("the table did not open");
        return;
    }
    RunToResult(
        state, [&] { table->action(entry)->trigger(); }, rows);
    CloseAll();
}

void ExamProgress_ClassWindow(benchmark::State& state) {
    TableEntry(state, "高一/(1)班/第10次考试", "menuProgress", 60);
}
BENCHMARK(ExamProgress_ClassWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void ExamProgress_GradeWindow(benchmark::State& state) {
    TableEntry(state, "年级/本次", "menuProgress", 1200);
}
BENCHMARK(ExamProgress_GradeWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void StandardScores_ClassWindow(benchmark::State& state) {
    TableEntry(state, "高一/(1)班/期中考试", "menuStandardScores", 60);
}
BENCHMARK(StandardScores_ClassWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void StandardScores_GradeWindow(benchmark::State& state) {
    TableEntry(state, "年级/本次", "menuStandardScores", 1200);
}
BENCHMARK(StandardScores_GradeWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SetUpFonts();
    if (bench::BenchTable(1200).empty()) {
        std::cerr << "cannot make the 1,200-student table\n";
        return 1;
    }
    std::cout << "workspace: " << Workspace().string() << "\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

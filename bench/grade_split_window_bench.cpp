// 导入全年级成绩 in the frame, drawn offscreen, on a grade of 30 classes x 60 students: the whole grade's
// .xlsx workbook (1,800 rows, 考号, 班级, 姓名, 学号 and nine subjects, the classes' rows mixed), through
// the sheet preview and the classes' preview with their defaults (the template's 总分 and 平均 added),
// 覆盖 for the tables the runs before made.
//   Split_FromOkToTree: from 确定 in the classes' window to the tree read again with the 30 tables written
//   (the question, the writes, the closing message, the tree) — what the teacher waits for;
//   Split_WholeCommand: from the pop-up's entry to the same point (the workbook read twice: the first
//   rows for the preview, then the whole sheet).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "bench/quiet_prompter.h"
#include "bench/stepping_runner.h"
#include "common/qt/font_setup.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/workbook/workbook_export.h"
#include "main/workspace/school_info.h"
#include "main/workspace/ui/main_window.h"
#include "main/workspace/workspace_folder.h"

namespace {

using namespace scorvane;
namespace fs = std::filesystem;

constexpr int kClasses = 30;
constexpr int kStudents = 60;

// Answers 覆盖 and hands out the workbook to every open dialog.
class BookPrompter : public bench::QuietPrompter {
  public:
    std::string book;
    std::string chooseOpenFile(const FileDialogSpec&) override { return book; }
};
BookPrompter& Prompts() {
    static BookPrompter prompter;
    return prompter;
}
bench::SteppingRunner& Runner() {
    static bench::SteppingRunner runner;
    return runner;
}

fs::path Workspace() {
    static const fs::path workspace = [] {
        const fs::path root = fs::temp_directory_path() / "scorvane-bench-grade-split";
        fs::remove_all(root);
        const char* subjects[] = {"语文", "数学", "英语", "物理", "化学", "生物", "政治", "历史", "地理"};
        SchoolInfo school{"一中", {{"高一", {}}}};
        GradeTable all(kClasses * kStudents + 1, 14);
        all.title = "高一期中考试";
        const char* titles[] = {"考号", "班级", "姓名", "学号"};
        for (int c = 0; c < 4; ++c) {
            all.setCell(0, c + 1, titles[c]);
        }
        for (int s = 0; s < 9; ++s) {
            all.setCell(0, s + 5, subjects[s]);
        }
        unsigned state = 7;
        for (int i = 0; i < kClasses * kStudents; ++i) {
            // Class after class in turn, as a list sorted by total mixes them.
            const int k = i % kClasses;
            const int n = i / kClasses + 1;
            const int r = i + 1;
            all.setCell(r, 1, std::to_string(250000 + k * 1000 + n));
            all.setCell(r, 2, "高一" + std::to_string(k + 1) + "班");
            all.setCell(r, 3, "学生" + std::to_string(k + 1) + "_" + std::to_string(n));
            all.setCell(r, 4, std::to_string(2024000000 + k * 1000 + n));
            for (int s = 0; s < 9; ++s) {
                state = state * 1103515245u + 12345u;
                all.setCell(r, s + 5, std::to_string(40 + (state >> 16) % 61));
            }
        }
        all.renumber();
        all.setHeaderLayout(all.composeHeaderLayout(false));
        for (int k = 0; k < kClasses; ++k) {
            school.grades[0].classes.push_back("(" + std::to_string(k + 1) + ")班");
            fs::create_directories(root / "表格数据" / "一中" / "高一" / school.grades[0].classes.back());
        }
        SaveSchoolInfo(school, root.string() + "/");
        WriteFieldTemplate((root / "表格模版" / "考试成绩.templet").string(),
                           {"  ", {"姓名", "学号", "语文", "数学", "英语", "总分", "平均"}});
        ExportWorkbook(all, (root / "全年级.xlsx").string());
        return root;
    }();
    return workspace;
}

MainWindow& Frame() {
    static MainWindow* frame = [] {
        SetProgramFolder(Workspace().string() + "/");
        Prompts().book = (Workspace() / "全年级.xlsx").string();
        auto* w = new MainWindow(Prompts(), Runner());
        w->loadWorkspace();
        w->resize(1200, 800);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }();
    return *frame;
}

// Selects 高一 as a right press does (the tree read again after an import has no selection).
void SelectGrade() {
    MainWindow& w = Frame();
    for (QTreeWidgetItemIterator it(w.tree()); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == "Grade0") {
            w.tree()->setCurrentItem(*it);
            (*it)->setSelected(true);
        }
    }
    w.preparePopup(false);
}

bool Written() {
    return fs::exists(Workspace() / "表格数据" / "一中" / "高一" / "(30)班" / "期中考试.skv");
}

void Split(benchmark::State& state, bool fromOk) {
    MainWindow& frame = Frame();
    std::chrono::steady_clock::time_point ok;
    Runner().step = [&ok](QDialog& d) {
        ok = std::chrono::steady_clock::now();
        d.findChild<QPushButton*>("Command1")->click();
    };
    bool shown = true;
    for (auto _ : state) {
        SelectGrade();
        ok = {};
        const auto start = std::chrono::steady_clock::now();
        frame.action("menuGradeImport")->trigger();
        QCoreApplication::processEvents();
        const auto end = std::chrono::steady_clock::now();
        shown = shown && ok != std::chrono::steady_clock::time_point{};
        state.SetIterationTime(std::chrono::duration<double>(end - (fromOk ? ok : start)).count());
    }
    if (!shown || !Written()) {
        state.SkipWithError("the tables were not written");
    }
    Runner().step = nullptr;
}

void Split_FromOkToTree(benchmark::State& state) {
    Split(state, true);
}
BENCHMARK(Split_FromOkToTree)->Unit(benchmark::kMillisecond)->UseManualTime();

void Split_WholeCommand(benchmark::State& state) {
    Split(state, false);
}
BENCHMARK(Split_WholeCommand)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    SetUpFonts();
    std::cout << "workspace: " << Workspace().string() << "\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/borderline_students.h"
#include "main/analysis/grade_ranking.h"

namespace scorvane::cli {
namespace {

const std::string kUsage =
    "borderline GRADE_FOLDER --table NAME --line 名称=分数|名称=前N [--below 20] [--above 10] [--by FIELD] "
    "[--fields F1,F2,…] -o OUT.skv|OUT.csv";

constexpr const char* kOneLineMessage = "临界生只能按一条分数线计算，请只给出一个 --line！";

int runBorderline(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("--table") || !args.has("-o")) {
        return UsageError(kUsage);
    }
    std::vector<LineText> lines;
    if (!LineOptions(args, lines)) {
        return 1;
    }
    if (lines.size() > 1) {
        std::cerr << kOneLineMessage << "\n";
        return 1;
    }
    const std::optional<GradeFolder> grade = GradeFolderArgument(args.positional[0]);
    if (!grade) {
        return 1;
    }
    const std::string name = args.value("--table");
    const std::vector<ClassTable> classes = LoadGradeTables(grade->classes, name);
    LineChoice choice;
    choice.total = args.value("--by", DefaultGradeRankField(classes));
    choice.subjects = args.has("--fields") ? OptionList(args, "--fields")
                                           : SubjectFieldsOfTables(PresentTables(classes));
    choice.lines = std::move(lines);
    BorderRange range;
    range.below = args.value("--below", range.below);
    range.above = args.value("--above", range.above);
    const std::string line = choice.lines.empty() ? std::string() : choice.lines.front().name;
    NoteMismatchedTotals(GroupOfClasses(classes), choice.total, kOtherClasses);
    return WriteAnalysisResult(BorderlineStudents(grade->grade, name, classes, choice, line, range),
                               args.value("-o"));
}

CliRegistrar registrar(
    {"borderline",
     kUsage,
     "临界生：按一条分数线（--line 一本=520 或 一本=前150），列出总分在 线−below ≤ 总分 < 线+above（默认线下 20、"
     "线上 10）之间的学生：班级、姓名、学号、总分、距线、年级名次、各学科成绩和低于该线有效分的学科（薄弱学科），"
     "按班级、距线从高到低排列；其余选项同 lines",
     {"--table", "--line", "--below", "--above", "--by", "--fields", "-o"},
     {},
     runBorderline,
     77});

}  // namespace
}  // namespace scorvane::cli

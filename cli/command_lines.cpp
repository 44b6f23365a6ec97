#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/line_analysis.h"

namespace scorvane::cli {
namespace {

const std::string kUsage =
    "lines GRADE_FOLDER --table NAME --line 名称=分数|名称=前N [--line …] [--by FIELD] [--fields F1,F2,…] "
    "[--students] -o OUT.skv|OUT.csv";

int runLines(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("--table") || !args.has("-o")) {
        return UsageError(kUsage);
    }
    std::vector<LineText> lines;
    if (!LineOptions(args, lines)) {
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
    NoteMismatchedTotals(GroupOfClasses(classes), choice.total, kOtherClasses);
    return WriteAnalysisResult(args.has("--students") ? LineStudentList(grade->grade, name, classes, choice)
                                                      : LineAnalysis(grade->grade, name, classes, choice),
                               args.value("-o"));
}

CliRegistrar registrar(
    {"lines",
     kUsage,
     "上线分析：年级文件夹各班的同名表格 NAME，按总分字段（--by，默认各班都有的“总分”）和分数线（--line 一本=520 "
     "按分数，--line 本科=前300 按年级前 N 名，至多 5 条），每班一行、最后一行为年级：参考人数，各线上线人数与上线率，"
     "各线各学科（--fields，默认不由其他字段算出的成绩字段）的单上线、双上线、命中率、贡献率；学科有效分按上线比例"
     "（四舍五入，至少 1 人）取该学科年级第 k 高分，写在班级信息中。--students 改为写出上线名单：达到分数线的学生、"
     "所达最高线及低于有效分的学科（偏科），按年级名次排列",
     {"--table", "--line", "--by", "--fields", "-o"},
     {"--students"},
     runLines,
     76});

}  // namespace
}  // namespace scorvane::cli

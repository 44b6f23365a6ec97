#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/grade_tables.h"

namespace scorvane::cli {
namespace {

const std::string kUsage = "rank GRADE_FOLDER --table NAME [--by FIELD] -o OUT.skv|OUT.csv";

int runRank(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("--table") || !args.has("-o")) {
        return UsageError(kUsage);
    }
    const std::optional<GradeFolder> grade = GradeFolderArgument(args.positional[0]);
    if (!grade) {
        return 1;
    }
    const std::string name = args.value("--table");
    const std::vector<ClassTable> classes = LoadGradeTables(*grade, name);
    const std::string field = args.value("--by", DefaultGradeRankField(classes));
    NoteMismatchedTotals(GroupOfClasses(classes), field, kOtherClasses);
    return WriteAnalysisResult(GradeRanking(grade->grade, name, classes, field), args.value("-o"));
}

CliRegistrar registrar(
    {"rank",
     kUsage,
     "年级排名：年级文件夹（表格数据/学校/年级）各班的同名表格 NAME 合为一张表，按字段 FIELD（默认各班都有的"
     "“总分”，否则第一个有成绩的字段）排出班级名次和年级名次（成绩相同名次相同），按年级名次排列；"
     "没有该表格的班级在标准错误输出上列出",
     {"--table", "--by", "-o"},
     {},
     runRank,
     72});

}  // namespace
}  // namespace scorvane::cli

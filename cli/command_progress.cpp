#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/exam_progress.h"
#include "main/document/data_file.h"
#include "main/workspace/utilities.h"

namespace scorvane::cli {
namespace {

const std::string kUsage = "progress EARLIER.skv LATER.skv [--by FIELD] [--key FIELD] -o OUT.skv|OUT.csv";

int runProgress(const CliArgs& args) {
    if (args.positional.size() != 2 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document earlier;
    Document later;
    if (!LoadTable(args.positional[0], earlier, prompter) ||
        !LoadTable(args.positional[1], later, prompter)) {
        return 1;
    }
    ProgressChoice choice;
    // Each table is known by its file name, as the class folders list tables.
    choice.earlierName = FileNameOfPath(ExistingDataPath(args.positional[0]).value_or(args.positional[0]));
    choice.laterName = FileNameOfPath(ExistingDataPath(args.positional[1]).value_or(args.positional[1]));
    choice.field = args.value("--by", DefaultRankField({&earlier.table, &later.table}));
    choice.key = args.has("--key") ? ChosenStudentKey(args.value("--key"))
                                   : DefaultStudentKey({&earlier.table, &later.table});
    NoteMismatchedTotals({{choice.earlierName, &earlier.table}, {choice.laterName, &later.table}}, choice.field,
                         kOtherExams);
    return WriteAnalysisResult(ExamProgress(earlier.table, later.table, choice), args.value("-o"));
}

CliRegistrar registrar(
    {"progress",
     kUsage,
     "进退步：两次考试（或两张年级排名表）中每个学生按字段 FIELD（默认“总分”）的前次名次、本次名次、"
     "进退（前次名次 − 本次名次）、两次成绩与分差，按进退从大到小排列；学生按 --key 字段对应（默认两表都有"
     "“学号”时按学号，学号为空的按姓名，否则按“姓名”）",
     {"--by", "--key", "-o"},
     {},
     runProgress,
     73});

}  // namespace
}  // namespace scorvane::cli

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/standard_scores.h"

namespace scorvane::cli {
namespace {

const std::string kUsage = "zscore TABLE.skv [--fields F1,F2,…] -o OUT.skv|OUT.csv";

int runZscore(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const GradeTable& table = document.table;
    const std::vector<std::string> fields = args.has("--fields")
                                                ? FieldsByTitleOrColumn(table, OptionList(args, "--fields"))
                                                : DefaultStandardScoreFields(table);
    return WriteAnalysisResult(StandardScores(table, fields), args.value("-o"));
}

CliRegistrar registrar(
    {"zscore",
     kUsage,
     "标准分：每个所选字段（字段名称、列号或列号范围；默认成绩统计所选的字段中不由其他字段算出的，即不含"
     "总分、平均）的标准分 =（成绩 − 平均分）÷ 标准差，标准分合计，以及 T分 = 50 + 10 × 标准分合计 ÷ 字段数",
     {"--fields", "-o"},
     {},
     runZscore,
     75});

}  // namespace
}  // namespace scorvane::cli

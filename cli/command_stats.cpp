#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "common/utf8.h"
#include "main/analysis/class_statistics.h"

namespace scorvane::cli {
namespace {

const std::string kUsage = std::string("stats TABLE.skv ") + kAnalysisOptionsUsage +
                           " -o OUT.skv|OUT.csv [--bands-out BANDS.skv|BANDS.csv]";

int runStats(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const GradeTable& table = document.table;
    AnalysisTexts texts = AnalysisOptions(args);
    texts.fields = FieldsByTitleOrColumn(table, texts.fields);
    texts.derived = DeriveFields(table);
    AnalysisSettings settings;
    if (auto fault =
            ReadAnalysisTexts(texts, table.fieldTitles(), DefaultStatisticsFields(table), settings)) {
        std::cerr << *fault << "\n";
        return 1;
    }
    if (const std::string above = ClassMarksAboveFullMarks(table, settings); !above.empty()) {
        std::cerr << above << "\n";
    }
    const ClassStatistics result = ComputeClassStatistics(table, settings);
    if (!SaveResultTable(result.figures, args.value("-o"))) {
        return 1;
    }
    return !args.has("--bands-out") || SaveResultTable(result.bands, args.value("--bands-out")) ? 0 : 1;
}

CliRegistrar registrar(
    {"stats",
     kUsage,
     "成绩统计：每个字段（字段名称、列号或列号范围）的参考人数、平均分、最高分、最低分、标准差、及格/优秀/"
     "低分人数与比率、"
     "缺考人数写为一张新表格（--bands-out 另写分数段表）；满分默认 "
     "100（求和字段为所加字段满分之和，求平均字段为其平均），及格线、优秀线、低分线为"
     "满分的百分比（默认 60、85、40），分数段宽度为满分的百分比（默认 10）；.csv 按导出格式写出",
     {"--fields", "--full", "--pass", "--excellent", "--low", "--band", "-o", "--bands-out"},
     {},
     runStats,
     70});

}  // namespace
}  // namespace scorvane::cli

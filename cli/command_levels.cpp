#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/class_statistics.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/mark_levels.h"

namespace scorvane::cli {
namespace {

const std::string kUsage =
    "levels TABLE.skv [--fields F1,F2,…] [--full N | --full F=N,…] [--scheme 优秀=85,良好=70,合格=60,待合格] "
    "[--distribution] -o OUT.skv|OUT.csv";

int runLevels(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    LevelScheme scheme = DefaultLevelScheme();
    if (args.has("--scheme")) {
        if (auto fault = ReadLevelSchemeText(args.value("--scheme"), scheme)) {
            std::cerr << *fault << "\n";
            return 1;
        }
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
    if (auto fault = ReadAnalysisTexts(texts, table.fieldTitles(), DefaultStatisticsFields(table), settings)) {
        std::cerr << *fault << "\n";
        return 1;
    }
    if (const std::string above = ClassMarksAboveFullMarks(table, settings); !above.empty()) {
        std::cerr << above << "\n";
    }
    return WriteAnalysisResult(args.has("--distribution")
                                   ? LevelDistribution(table, settings, scheme)
                                   : MarkLevels(table, settings, scheme, ClassOfTableFile(args.positional[0])),
                               args.value("-o"));
}

CliRegistrar registrar(
    {"levels",
     kUsage,
     "成绩等级（等级制）：每个字段（字段名称、列号或列号范围；默认成绩统计所选的字段）的成绩按满分的百分比分为"
     "等级（默认 优秀 85、良好 70、合格 60，其下为待合格；正好等于下限的属于较高等级；缺考仍为缺考，没有成绩为空），"
     "与姓名、学号等文字字段写为一张表格，不含任何名次；--distribution 改为写出各等级的人数与比例（等级分布）；"
     "满分同 stats",
     {"--fields", "--full", "--scheme", "-o"},
     {"--distribution"},
     runLevels,
     77});

}  // namespace
}  // namespace scorvane::cli

#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/grade_comparison.h"
#include "main/analysis/grade_tables.h"
#include "main/document/data_file.h"

namespace scorvane::cli {
namespace {

const std::string kUsage =
    std::string("compare GRADE_FOLDER --table NAME ") + kAnalysisOptionsUsage + " -o OUT.skv|OUT.csv";

int runCompare(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("--table") || !args.has("-o")) {
        return UsageError(kUsage);
    }
    const std::optional<GradeFolder> grade = GradeFolderArgument(args.positional[0]);
    if (!grade) {
        return 1;
    }
    const std::string name = args.value("--table");
    const std::vector<ClassTable> classes = LoadGradeTables(*grade, name);
    bool any = false;
    for (const ClassTable& c : classes) {
        any = any || c.table.has_value();
    }
    if (!any) {
        std::cerr << NoClassHoldsTableMessage(name) << "\n";
        return 1;
    }
    AnalysisSettings settings;
    AnalysisTexts texts = AnalysisOptions(args);
    texts.derived = ComparisonDerivedFields(classes);
    if (auto fault =
            ReadAnalysisTexts(texts, ComparisonFields(classes), DefaultComparisonFields(classes), settings)) {
        std::cerr << *fault << "\n";
        return 1;
    }
    if (const std::string leftOut = LeftOutClassesMessage(name, classes, settings.fields); !leftOut.empty()) {
        std::cerr << leftOut << "\n";
    }
    const TableGroup group = GroupOfClasses(classes);
    for (const std::string& field : settings.fields) {
        if (GroupFieldMarks(group, field).marks.empty()) {
            std::cerr << NoMarksInFieldMessage(field) << "\n";
            return 1;
        }
        NoteMismatchedTotals(group, field, kOtherClasses);
    }
    if (const std::string above = GradeMarksAboveFullMarks(classes, settings); !above.empty()) {
        std::cerr << above << "\n";
    }
    return SaveResultTable(GradeComparisonTable(grade->grade, name, classes, settings), args.value("-o")) ? 0
                                                                                                          : 1;
}

CliRegistrar registrar(
    {"compare",
     kUsage,
     "年级成绩对比：年级文件夹（表格数据/学校/年级）各班的同名表格 NAME，每个字段的平均分、"
     "及格率、优秀率与名次，每班一行，最后一行为全年级；没有该表格的班级在标准错误输出上列出",
     {"--table", "--fields", "--full", "--pass", "--excellent", "--low", "--band", "-o"},
     {},
     runCompare,
     71});

}  // namespace
}  // namespace scorvane::cli

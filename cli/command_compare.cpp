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
    const std::optional<GradeFolder> grade = ReadGradeFolder(args.positional[0]);
    if (!grade) {
        std::cerr << "找不到文件夹：" << args.positional[0] << "\n";
        return 1;
    }
    const std::string name = args.value("--table");
    for (const GradeClass& c : grade->classes) {
        if (!c.folder.empty()) {
            NoteOpenElsewhere(DataFileOf(c.folder + name));
        }
    }
    const std::vector<ClassTable> classes = LoadClassTables(grade->classes, name);
    bool any = false;
    for (const ClassTable& c : classes) {
        any = any || c.table.has_value();
    }
    if (!any) {
        std::cerr << NoClassHoldsTableMessage(name) << "\n";
        return 1;
    }
    AnalysisSettings settings;
    if (auto fault = ReadAnalysisTexts(AnalysisOptions(args), ComparisonFields(classes),
                                       DefaultComparisonFields(classes), settings)) {
        std::cerr << *fault << "\n";
        return 1;
    }
    if (const std::string leftOut = LeftOutClassesMessage(name, classes); !leftOut.empty()) {
        std::cerr << leftOut << "\n";
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

#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "common/file_io.h"
#include "common/utf8.h"
#include "main/analysis/grade_score_assignment.h"
#include "main/analysis/grade_tables.h"
#include "main/document/data_file.h"

namespace scorvane::cli {
namespace {

const std::string kUsage =
    "assign GRADE_FOLDER|TABLE.skv [--table NAME] --fields F1,F2,… [--bands A=15:100-86,B=35:85-71,…] "
    "-o OUT.skv|OUT.csv";

bool isCsv(const std::string& path) {
    return path.size() >= 4 && EqualsIgnoreCaseAscii(std::string_view(path).substr(path.size() - 4), ".csv");
}

// The sheet written to `path`: a .csv of any number of rows, otherwise a data file, which holds at most a
// table's rows.
int writeSheet(const ScoreAssignmentSheet& sheet, const std::string& path) {
    if (!sheet.refusal.empty()) {
        std::cerr << sheet.refusal << "\n";
        return 1;
    }
    if (isCsv(path)) {
        if (!sheet.notice.empty()) {
            std::cerr << sheet.notice << "\n";
        }
        return SaveBytes(ScoreAssignmentCsvBytes(sheet), path) ? 0 : 1;
    }
    const AnalysisResult result = ScoreAssignmentTable(sheet);
    if (!result.table) {
        std::cerr << result.refusal << "写为 .csv 文件则没有此限制。\n";
        return 1;
    }
    return WriteAnalysisResult(result, path);
}

int runAssign(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o") || !args.has("--fields")) {
        return UsageError(kUsage);
    }
    AssignmentBands bands = DefaultAssignmentBands();
    if (args.has("--bands")) {
        if (auto fault = ReadAssignmentBandsText(args.value("--bands"), bands)) {
            std::cerr << *fault << "\n";
            return 1;
        }
    }
    const std::string& path = args.positional[0];
    const std::string out = args.value("-o");
    if (DirectoryExists(path)) {
        const std::optional<GradeFolder> grade = GradeFolderArgument(path);
        if (!grade) {
            return 1;
        }
        std::string name = args.value("--table");
        if (name.empty()) {
            const std::vector<GradeTableCount> held = GradeTablesByClassCount(grade->classes);
            if (held.empty()) {
                std::cerr << "本年级的班级中还没有表格！\n";
                return 1;
            }
            name = held.front().name;
        }
        for (const GradeClass& c : grade->classes) {
            NoteOpenElsewhere(DataFileOf(c.folder + name));
        }
        const std::vector<ClassTable> classes = LoadClassTables(grade->classes, name);
        return writeSheet(GradeScoreAssignment(grade->grade, name, classes, OptionList(args, "--fields"), bands), out);
    }
    if (args.has("--table")) {
        return UsageError(kUsage);  // --table names a table of a grade folder's classes
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(path, document, prompter)) {
        return 1;
    }
    const GradeTable& table = document.table;
    return writeSheet(TableScoreAssignment(table, ClassOfTableFile(path),
                                           FieldsByTitleOrColumn(table, OptionList(args, "--fields")), bands),
                      out);
}

CliRegistrar registrar(
    {"assign",
     kUsage,
     "等级赋分：年级文件夹各班的同名表格 NAME（默认与年级排名相同：多数班级都有的最近一次考试）合为一个群体，"
     "或一张表格的各行为一个群体；每个字段按名次分等级（各等级的累计人数 = 人数 × 累计比例，四舍五入；"
     "成绩相同的学生留在较高等级），等级内 赋分 = T1 + (原始分 − Y1) × (T2 − T1) ÷ (Y2 − Y1)，四舍五入为整数；"
     "--bands 为各等级的 比例:最高分-最低分（默认 A=15:100-86,B=35:85-71,C=35:70-56,D=13:55-41,E=2:40-30）；"
     "写出 班级、姓名、学号、各字段的原始分、等级、赋分，以及赋分总分和年级名次；超过 32766 名学生时请写为 .csv",
     {"--table", "--fields", "--bands", "-o"},
     {},
     runAssign,
     76});

}  // namespace
}  // namespace scorvane::cli

#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "common/file_io.h"
#include "common/utf8.h"
#include "main/analysis/result_table.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/document/new_table.h"
#include "main/workbook/grade_split.h"
#include "main/workbook/workbook_import.h"
#include "main/workspace/new_classes.h"
#include "main/workspace/utilities.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage =
    "split GRADE_FOLDER BOOK|FILE --class-column 班级 --table NAME [--sheet …] [--header-row N] "
    "[--template NAME] [--skip-existing|--overwrite] [--add-classes]";

// The whole grade's file, a workbook's sheet given by number as import-sheet takes it.
std::optional<GradeSource> readSource(const std::string& path, const CliArgs& args) {
    int headerRow = -1;
    if (args.has("--header-row")) {
        long long n = 0;
        if (!ParseWholeNumber(TrimSpaces(args.value("--header-row")), 1, 1048576, n)) {
            std::cerr << "字段行应为从 1 起的行号：" << args.value("--header-row") << "\n";
            return std::nullopt;
        }
        headerRow = static_cast<int>(n - 1);
    }
    SheetChoice choice;
    choice.name = args.value("--sheet");
    GradeSource source = ReadGradeSource(path, choice, headerRow);
    long long number = 0;
    if (!choice.name.empty() && source.message.rfind(kMissingSheetMessage, 0) == 0 &&
        ParseWholeNumber(TrimSpaces(choice.name), 1, 65536, number)) {
        source = ReadGradeSource(path, SheetChoice{{}, static_cast<int>(number - 1)}, headerRow);
    }
    if (!source.message.empty()) {
        std::cerr << source.message << "\n";
        return std::nullopt;
    }
    if (GradeSourceKindOf(path) == GradeSourceKind::DataFile) {
        NoteOpenElsewhere(path);
    }
    return source;
}

// The field template --template names: a file, or a template of the grade's workspace (or of the
// workspace folder), with or without ".templet".
std::optional<FieldTemplate> namedTemplate(const std::string& name, const SplitGrade& grade) {
    std::vector<std::string> candidates{name};
    const std::string folder = grade.workspace.empty() ? TemplateFolder() : grade.workspace + "表格模版/";
    candidates.push_back(folder + name);
    candidates.push_back(folder + name + std::string(kTemplateExtension));
    for (const std::string& path : candidates) {
        if (FileExists(path)) {
            if (std::optional<FieldTemplate> fields = ReadFieldTemplate(path)) {
                return fields;
            }
            std::cerr << "字段模板无法读取：" << path << "\n";
            return std::nullopt;
        }
    }
    std::cerr << "找不到字段模板：" << name << "\n";
    return std::nullopt;
}

int runSplit(const CliArgs& args) {
    if (args.positional.size() != 2) {
        return UsageError(kUsage);
    }
    if (args.has("--skip-existing") && args.has("--overwrite")) {
        std::cerr << "--skip-existing 与 --overwrite 只能给出一个。\n";
        return 1;
    }
    const std::optional<SplitGrade> grade = ReadSplitGrade(args.positional[0]);
    if (!grade) {
        std::cerr << "找不到文件夹：" << args.positional[0] << "\n";
        return 1;
    }
    const std::string& path = args.positional[1];
    const std::optional<GradeSource> source = readSource(path, args);
    if (!source) {
        return 1;
    }
    int classColumn = DefaultClassColumn(source->table);
    if (args.has("--class-column")) {
        classColumn = ResolveField(source->table, args.value("--class-column"));
        if (classColumn < 0) {
            return 1;
        }
    } else if (classColumn < 0) {
        std::cerr << "找不到班级列（班级、班别或班），请用 --class-column 指定。\n";
        return 1;
    }
    const std::string name =
        std::string(TrimSpaces(args.value("--table", OfferedTableName(*source, path, grade->grade))));
    if (IsBlank(name)) {
        std::cerr << kEmptyFileNameMessage << "\n";
        return 1;
    }
    if (!IsValidFileName(name)) {
        std::cerr << kIllegalFileNameMessage << "\n";
        return 1;
    }
    if (!FitsFileSystemName(name, kDataFileExtension)) {
        std::cerr << kFileNameTooLongMessage << "\n";
        return 1;
    }
    std::optional<FieldTemplate> fields;
    if (args.has("--template")) {
        fields = namedTemplate(args.value("--template"), *grade);
        if (!fields) {
            return 1;
        }
    }

    const SplitPlan plan = PlanGradeSplit(*source, classColumn, *grade, args.has("--add-classes"));
    if (plan.classes.empty()) {
        std::cerr << "没有属于" << grade->grade << "的班级的学生，请检查班级列。\n";
        for (const UnmatchedRows& rows : plan.unmatched) {
            std::cerr << UnmatchedRowsText(rows, grade->grade) << "\n";
        }
        return 1;
    }
    const LockIdentity identity = LockIdentity::ThisProgram();
    const std::vector<SplitTarget> targets = InspectSplitTargets(plan, name, identity);
    const std::vector<std::string> existing = ExistingTableClasses(plan, targets);
    if (!existing.empty() && !args.has("--skip-existing") && !args.has("--overwrite")) {
        std::cerr << "以下班级已有表格“" << name << "”：" << JoinNames(existing)
                  << "\n请用 --skip-existing 跳过这些班级，或用 --overwrite 覆盖。\n";
        return 1;
    }
    std::vector<std::string> added;
    for (const SplitClass& c : plan.classes) {
        if (c.added) {
            added.push_back(c.name);
        }
    }
    ConsolePrompter prompter;
    if (!added.empty() && !grade->workspace.empty() &&
        AddNewClasses(grade->workspace, grade->school, grade->grade, added, grade->schoolState, prompter) !=
            NewClassesOutcome::Added) {
        return 1;
    }
    const SplitLayout layout = LayOutSplit(*source, classColumn, fields ? &*fields : nullptr);
    const SplitReport report = WriteSplitTables(
        *source, layout, plan, *grade, name, targets,
        args.has("--overwrite") ? ExistingAnswer::Overwrite : ExistingAnswer::Skip, identity);
    std::cout << SplitSummary(report) << "\n";
    return report.failed.empty() ? 0 : 1;
}

CliRegistrar registrar(
    {"split",
     kUsage,
     "导入全年级成绩：把全年级的成绩（电子表格、以逗号分隔的文本文件或成绩表）按班级列分到年级文件夹"
     "（表格数据/学校/年级）各班的新表格 NAME 中；已有该表格的班级须用 --skip-existing 跳过或用 "
     "--overwrite 覆盖，正被打开的表格不会覆盖；--template 按字段模板添加总分、平均；"
     "--add-classes 把学校关系树中没有的班级添加进去",
     {"--class-column", "--table", "--sheet", "--header-row", "--template"},
     {"--skip-existing", "--overwrite", "--add-classes"},
     runSplit,
     66});

}  // namespace
}  // namespace scorvane::cli

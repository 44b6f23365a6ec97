#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "common/file_io.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/teaching_evaluation.h"
#include "main/document/data_file.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage =
    "evaluate GRADE_FOLDER --table NAME [--fields …] [--full …] [--pass P] [--excellent P] [--low P] "
    "[--weights 0.4,0.3,0.3,0] [--earlier NAME] [--teachers] -o OUT";

// The classes' tables of that name, each noted when a program has it open.
std::vector<ClassTable> loadTables(const GradeFolder& grade, const std::string& name) {
    for (const GradeClass& c : grade.classes) {
        if (!c.folder.empty()) {
            NoteOpenElsewhere(DataFileOf(c.folder + name));
        }
    }
    return LoadClassTables(grade.classes, name);
}

bool anyTable(const std::vector<ClassTable>& classes) {
    for (const ClassTable& c : classes) {
        if (c.table) {
            return true;
        }
    }
    return false;
}

int runEvaluate(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    const std::optional<GradeFolder> grade = GradeFolderArgument(args.positional[0]);
    if (!grade) {
        return 1;
    }
    std::string folder = args.positional[0];
    if (folder.back() != '/') {
        folder += '/';
    }
    const std::vector<GradeTableCount> offered = GradeTablesByClassCount(grade->classes);
    EvaluationInput input;
    input.grade = grade->grade;
    input.tableName = args.value("--table", offered.empty() ? std::string() : offered.front().name);
    if (input.tableName.empty()) {
        std::cerr << "本年级的班级中还没有表格！\n";
        return 1;
    }
    input.classes = loadTables(*grade, input.tableName);
    if (!anyTable(input.classes)) {
        std::cerr << NoClassHoldsTableMessage(input.tableName) << "\n";
        return 1;
    }
    AnalysisTexts texts = AnalysisOptions(args);
    texts.derived = ComparisonDerivedFields(input.classes);
    if (auto fault = ReadAnalysisTexts(texts, ComparisonFields(input.classes),
                                       SubjectFieldsOfTables(PresentTables(input.classes)), input.settings)) {
        std::cerr << *fault << "\n";
        return 1;
    }
    const std::optional<EvaluationWeights> weights =
        ReadWeights(args.value("--weights", std::string(kDefaultWeights)));
    if (!weights) {
        std::cerr << kWeightsMessage << "\n";
        return 1;
    }
    input.weights = *weights;
    if (args.has("--earlier")) {
        input.earlierName = args.value("--earlier");
        input.earlier = loadTables(*grade, input.earlierName);
        if (!anyTable(input.earlier)) {
            std::cerr << NoClassHoldsTableMessage(input.earlierName) << "\n";
            return 1;
        }
    }
    std::vector<std::string> names;
    for (const GradeClass& c : grade->classes) {
        names.push_back(c.name);
    }
    NoteOpenElsewhere(DataFileOf(TeacherTablePath(folder)));
    input.teachers = ReadTeacherAssignments(folder, grade->grade, names, input.teacherTableMissing);
    input.teacherTableMissing =
        input.teacherTableMissing || !FileExists(DataFileOf(TeacherTablePath(folder)));

    const TeachingEvaluation result = EvaluateTeaching(input);
    if (!result.refusal.empty()) {
        std::cerr << result.refusal << "\n";
        return 1;
    }
    const bool teachers = args.has("--teachers");
    if (teachers && !result.byTeacher) {
        std::cerr << (input.teacherTableMissing ? kNoTeacherTableNotice : kNoTeachersNotice) << "\n";
        return 1;
    }
    if (!result.notice.empty()) {
        std::cerr << result.notice << "\n";
    }
    if (const std::string above = GradeMarksAboveFullMarks(input.classes, input.settings); !above.empty()) {
        std::cerr << above << "\n";
    }
    return SaveResultTable(teachers ? *result.byTeacher : *result.byClass, args.value("-o")) ? 0 : 1;
}

CliRegistrar registrar(
    {"evaluate",
     kUsage,
     "教学评价：年级文件夹各班的同名表格 NAME，每个学科每班一行：任课教师（取自年级的任课表）、"
     "参考人数、平均分、年级平均分、比均率、超均率、优秀率、及格率、低分率、综合得分"
     "（--weights a,b,c,d：a×平均分÷满分×100 + b×优秀率 + c×及格率 − d×低分率）与名次；"
     "--earlier 加上前次比均率及其变化；--teachers 改为写出教师汇总（每位教师每个学科一行）",
     {"--table", "--fields", "--full", "--pass", "--excellent", "--low", "--weights", "--earlier", "-o"},
     {"--teachers"},
     runEvaluate,
     76});

}  // namespace
}  // namespace scorvane::cli

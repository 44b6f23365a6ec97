#include <iostream>

#include "cli/analysis_args.h"
#include "cli/table_io.h"
#include "main/analysis/exam_history.h"
#include "main/analysis/exam_order.h"
#include "main/workspace/class_folder.h"

namespace scorvane::cli {
namespace {

const std::string kUsage =
    "history CLASS_FOLDER [--by FIELD] [--tables N1,N2,…] [--ranks] -o OUT.skv|OUT.csv";

int runHistory(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o")) {
        return UsageError(kUsage);
    }
    const std::optional<GradeClass> folder = ReadClassFolder(args.positional[0]);
    if (!folder) {
        std::cerr << "找不到文件夹：" << args.positional[0] << "\n";
        return 1;
    }
    const std::vector<std::string> names =
        args.has("--tables") ? OptionList(args, "--tables") : ClassExamOrder(folder->folder);
    NoteOpenElsewhere(folder->folder, names);
    std::vector<NamedTable> tables;
    if (auto fault = LoadClassExams(folder->folder, names, tables)) {
        std::cerr << *fault << "\n";
        return 1;
    }
    const HistoryChoice choice{args.value("--by", DefaultHistoryField(tables)), args.has("--ranks")};
    NoteMismatchedTotals(GroupOfExams(tables), choice.field, kOtherExams);
    return WriteAnalysisResult(ExamHistory(folder->name, tables, choice), args.value("-o"));
}

CliRegistrar registrar(
    {"history",
     kUsage,
     "历次成绩：班级文件夹中的各张表格（默认全部，按年级的考试顺序；--tables 指定表格及其次序）并排，每张表格"
     "一列，为每个学生字段 FIELD（默认“总分”）的成绩，--ranks 时为该学生在那张表格中的名次；学生按学号"
     "（各表都有时）或姓名对应",
     {"--by", "--tables", "-o"},
     {"--ranks"},
     runHistory,
     74});

}  // namespace
}  // namespace scorvane::cli

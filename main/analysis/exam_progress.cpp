#include "main/analysis/exam_progress.h"

#include <algorithm>
#include <filesystem>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/analysis_settings.h"
#include "main/analysis/competition_rank.h"
#include "main/analysis/exam_order.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/analysis/score_figures.h"
#include "main/document/data_file.h"
#include "main/formula/formula_cell.h"
#include "main/workspace/class_folder.h"

namespace scorvane {
namespace {

// One exam's side of the comparison: each data row's rank and mark.
struct ExamSide {
    std::vector<std::optional<double>> marks;
    std::vector<int> ranks;
};

ExamSide readSide(const GradeTable& table, int col, const StudentRows& students) {
    ExamSide side{StudentMarks(table, col, students), {}};
    side.ranks = CompetitionRanks(side.marks);
    return side;
}

struct ProgressRow {
    int earlierRow = 0;  // 0: not in that table
    int laterRow = 0;
};

}  // namespace

AnalysisResult ExamProgress(const GradeTable& earlier, const GradeTable& later,
                            const ProgressChoice& choice) {
    if (choice.field.empty()) {
        return Refusal(std::string(kNoRankFieldMessage));
    }
    if (choice.key.field.empty()) {
        return Refusal(std::string(kNoStudentKeyMessage));
    }
    const int earlierCol = FieldColumn(earlier, choice.field);
    const int laterCol = FieldColumn(later, choice.field);
    if (earlierCol < 0 || laterCol < 0) {
        return Refusal(
            MissingFieldInTableMessage(earlierCol < 0 ? choice.earlierName : choice.laterName, choice.field));
    }
    const TableGroup group{{choice.earlierName, &earlier}, {choice.laterName, &later}};
    if (GroupFieldMarks(group, choice.field).marks.empty()) {
        return Refusal(NoMarksInFieldMessage(choice.field));
    }
    StudentRows before;
    StudentRows after;
    if (auto fault = ReadStudentRows(earlier, choice.earlierName, choice.key, before)) {
        return Refusal(*fault);
    }
    if (auto fault = ReadStudentRows(later, choice.laterName, choice.key, after)) {
        return Refusal(*fault);
    }
    const ExamSide first = readSide(earlier, earlierCol, before);
    const ExamSide second = readSide(later, laterCol, after);

    std::vector<ProgressRow> both;
    std::vector<ProgressRow> added;
    std::vector<ProgressRow> absent;
    for (int r = 1; r < later.rows(); ++r) {
        const std::string& key = after.keys[static_cast<size_t>(r - 1)];
        if (key.empty()) {
            continue;
        }
        const auto found = before.rowOf.find(key);
        (found == before.rowOf.end() ? added : both)
            .push_back({found == before.rowOf.end() ? 0 : found->second, r});
    }
    for (int r = 1; r < earlier.rows(); ++r) {
        const std::string& key = before.keys[static_cast<size_t>(r - 1)];
        if (!key.empty() && !after.rowOf.count(key)) {
            absent.push_back({r, 0});
        }
    }
    auto rankOf = [](const ExamSide& side, int row) {
        return row > 0 ? side.ranks[static_cast<size_t>(row - 1)] : 0;
    };
    auto moved = [&](const ProgressRow& p) {
        const int was = rankOf(first, p.earlierRow);
        const int is = rankOf(second, p.laterRow);
        return was > 0 && is > 0 ? std::optional<int>(was - is) : std::nullopt;
    };
    std::stable_sort(both.begin(), both.end(), [&](const ProgressRow& a, const ProgressRow& b) {
        const std::optional<int> ma = moved(a);
        const std::optional<int> mb = moved(b);
        if (!ma || !mb) {
            return ma.has_value() && !mb.has_value();
        }
        return *ma != *mb ? *ma > *mb : rankOf(second, a.laterRow) < rankOf(second, b.laterRow);
    });

    const bool keyColumn = choice.key.field != kStudentNameField;
    const int laterName = FieldColumn(later, kStudentNameField);
    const int earlierName = FieldColumn(earlier, kStudentNameField);
    const int laterKey = FieldColumn(later, choice.key.field);
    const int earlierKey = FieldColumn(earlier, choice.key.field);
    auto shown = [](const GradeTable& table, int row, int col) {
        return row > 0 && col > 0 ? ShownMark(table, row, col) : std::string();
    };
    std::vector<std::vector<std::string>> rows;
    for (const std::vector<ProgressRow>* group : {&both, &added, &absent}) {
        for (const ProgressRow& p : *group) {
            const bool inLater = p.laterRow > 0;
            std::vector<std::string> row{inLater ? shown(later, p.laterRow, laterName)
                                                 : shown(earlier, p.earlierRow, earlierName)};
            if (keyColumn) {
                row.push_back(inLater ? shown(later, p.laterRow, laterKey)
                                      : shown(earlier, p.earlierRow, earlierKey));
            }
            const std::optional<int> m = moved(p);
            row.push_back(RankText(rankOf(first, p.earlierRow)));
            row.push_back(RankText(rankOf(second, p.laterRow)));
            row.push_back(m ? std::to_string(*m) : std::string());
            row.push_back(shown(earlier, p.earlierRow, earlierCol));
            row.push_back(shown(later, p.laterRow, laterCol));
            const std::optional<double> was =
                p.earlierRow > 0 ? first.marks[static_cast<size_t>(p.earlierRow - 1)] : std::nullopt;
            const std::optional<double> is =
                p.laterRow > 0 ? second.marks[static_cast<size_t>(p.laterRow - 1)] : std::nullopt;
            row.push_back(was && is ? TwoDecimals(*is - *was) : std::string());
            rows.push_back(std::move(row));
        }
    }

    std::vector<std::string> titles{std::string(kStudentNameField)};
    if (keyColumn) {
        titles.push_back(choice.key.field);
    }
    for (const std::string& title : {std::string("前次名次"), std::string("本次名次"), std::string("进退"),
                                     "前次" + choice.field, "本次" + choice.field, std::string("分差")}) {
        titles.push_back(title);
    }
    AnalysisResult result;
    result.table = ResultTable(later.title + std::string(kProgressTitleSuffix) + "（对比 " + choice.earlierName + "）",
                               titles, rows);
    result.table->teacher = later.teacher;
    result.table->classInfo = "前次“" + choice.earlierName + "”，本次“" + choice.laterName + "”，按“" +
                              choice.field + "”排名，按“" + choice.key.field + "”对应学生；新增 " +
                              std::to_string(added.size()) + " 人，未参加 " + std::to_string(absent.size()) +
                              " 人";
    AppendNote(result.table->classInfo, FieldNotes(group, choice.field, kOtherExams));
    return result;
}

std::vector<std::string> EarlierTableChoices(const std::string& tablePath) {
    namespace fs = std::filesystem;
    const fs::path path(tablePath);
    const std::string folder = path.parent_path().string() + "/";
    const std::string current = path.filename().string();
    const std::vector<std::string> order = ClassExamOrder(folder);
    const auto at = std::find(order.begin(), order.end(), current);
    // Those held before the table, the nearest first; then those after it, the nearest first.
    std::vector<std::string> names(std::make_reverse_iterator(at), order.rend());
    if (at != order.end()) {
        names.insert(names.end(), std::next(at), order.end());
    }
    return names;
}

}  // namespace scorvane

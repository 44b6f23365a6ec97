#include "main/analysis/mark_levels.h"

#include <algorithm>

#include "common/utf8.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/result_table.h"
#include "main/analysis/score_figures.h"
#include "main/formula/formula_cell.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

bool isRankTitle(std::string_view title) {
    return title.find("名次") != std::string_view::npos || title.find("排名") != std::string_view::npos;
}

// A field not chosen that the levels keep beside them: one that identifies the student (its title holds
// "号") or holds text (姓名, 班级), never one of ranks.
bool keptAsText(const GradeTable& table, int col) {
    const std::string_view title = table.cell(0, col);
    if (isRankTitle(title)) {
        return false;
    }
    if (title.find("号") != std::string_view::npos) {
        return true;
    }
    const FieldMarks marks = CollectFieldMarks(table, col);
    return !marks.texts.empty() && !marks.numeric();
}

struct ChosenField {
    std::string title;
    int col = 0;
    double fullMarks = 0;
    FieldMarks marks;
    std::vector<RowMark> rows;  // what each data row's cell holds
};

// The chosen fields with their columns and marks; a refusal when there are none or one is missing or
// holds no mark.
std::optional<std::string> chosenFields(const GradeTable& table, const AnalysisSettings& settings,
                                        std::vector<ChosenField>& out) {
    for (size_t i = 0; i < settings.fields.size(); ++i) {
        const std::string& field = settings.fields[i];
        const int col = FieldColumn(table, field);
        if (col < 0) {
            return MissingFieldMessage(field);
        }
        ChosenField chosen{field, col, i < settings.fullMarks.size() ? settings.fullMarks[i] : 100, {}, {}};
        chosen.marks = CollectFieldMarks(table, col, chosen.rows);
        if (chosen.marks.marks.empty()) {
            return "字段“" + field + "”中没有成绩，不能换算等级！";
        }
        out.push_back(std::move(chosen));
    }
    if (out.empty()) {
        return std::string(kNoFieldChosenMessage);
    }
    return std::nullopt;
}

std::string fullMarksText(const std::vector<ChosenField>& fields) {
    std::string text = "满分：";
    for (size_t i = 0; i < fields.size(); ++i) {
        text += (i > 0 ? "，" : "") + fields[i].title + " " + NumberToText(fields[i].fullMarks);
    }
    return text;
}

}  // namespace

AnalysisResult MarkLevels(const GradeTable& table, const AnalysisSettings& settings, const LevelScheme& scheme,
                          std::string_view className) {
    std::vector<ChosenField> fields;
    if (auto refusal = chosenFields(table, settings, fields)) {
        return Refusal(*refusal);
    }
    const bool withClass = !className.empty() && FieldColumn(table, kClassColumnTitle) < 0;
    std::vector<std::string> titles;
    if (withClass) {
        titles.emplace_back(kClassColumnTitle);
    }
    std::vector<int> kept;
    for (int c = 1; c < table.cols(); ++c) {
        const std::string title = table.cell(0, c);
        const bool chosen = std::any_of(fields.begin(), fields.end(), [&](const ChosenField& f) { return f.title == title; });
        if (!chosen && keptAsText(table, c)) {
            kept.push_back(c);
            titles.push_back(title);
        }
    }
    for (const ChosenField& field : fields) {
        titles.push_back(field.title + std::string(kLevelSuffix));
    }

    int students = 0;
    for (int r = 1; r < table.rows(); ++r) {
        students += RowHoldsData(table, r) ? 1 : 0;
    }
    AnalysisResult result;
    result.table = ResultTable(table.title + std::string(kLevelsTitleSuffix), titles, {});
    GradeTable& out = *result.table;
    out.setRows(students + 1);
    int row = 0;
    for (int r = 1; r < table.rows(); ++r) {
        if (!RowHoldsData(table, r)) {
            continue;
        }
        ++row;
        int c = 1;
        if (withClass) {
            out.setCell(row, c++, className);
        }
        for (int col : kept) {
            out.setCell(row, c++, 公式2值(table, r, col));
        }
        for (const ChosenField& field : fields) {
            const RowMark& mark = field.rows[static_cast<size_t>(r - 1)];
            switch (mark.kind) {
                case MarkCell::Mark:
                    out.setCell(row, c, scheme[LevelOf(scheme, mark.value, field.fullMarks)].name);
                    break;
                case MarkCell::Absent:
                    out.setCell(row, c, TrimSpaces(table.cell(r, field.col)));
                    break;
                case MarkCell::Text:
                case MarkCell::Nothing:
                    break;
            }
            ++c;
        }
    }
    out.renumber();
    out.teacher = table.teacher;
    std::string info = "由“" + table.title + "”换算，等级：" + LevelSchemeDescription(scheme) + "（满分的百分比）；" +
                       fullMarksText(fields);
    for (const ChosenField& field : fields) {
        if (std::string note = TextMarksNote(field.title, field.marks); !note.empty()) {
            info += "；" + note;
        }
    }
    out.classInfo = std::move(info);
    return result;
}

AnalysisResult LevelDistribution(const GradeTable& table, const AnalysisSettings& settings,
                                 const LevelScheme& scheme) {
    std::vector<ChosenField> fields;
    if (auto refusal = chosenFields(table, settings, fields)) {
        return Refusal(*refusal);
    }
    std::vector<std::string> titles{"字段", "参考人数"};
    for (const MarkLevel& level : scheme) {
        titles.push_back(level.name + "人数");
        titles.push_back(level.name + "比例");
    }
    titles.emplace_back("缺考人数");
    std::vector<std::vector<std::string>> rows;
    for (const ChosenField& field : fields) {
        std::vector<int> counts(scheme.size(), 0);
        for (double mark : field.marks.marks) {
            ++counts[LevelOf(scheme, mark, field.fullMarks)];
        }
        const int marks = static_cast<int>(field.marks.marks.size());
        std::vector<std::string> row{field.title, std::to_string(marks)};
        for (int count : counts) {
            row.push_back(std::to_string(count));
            row.push_back(RateText(count, marks));
        }
        row.push_back(std::to_string(field.marks.absent));
        rows.push_back(std::move(row));
    }
    AnalysisResult result;
    result.table = ResultTable(table.title + std::string(kLevelDistributionTitleSuffix), titles, rows);
    result.table->teacher = table.teacher;
    std::string info = "由“" + table.title + "”统计，等级：" + LevelSchemeDescription(scheme) + "（满分的百分比）；" +
                       fullMarksText(fields);
    for (const ChosenField& field : fields) {
        if (std::string note = TextMarksNote(field.title, field.marks); !note.empty()) {
            info += "；" + note;
        }
    }
    result.table->classInfo = std::move(info);
    return result;
}

}  // namespace scorvane

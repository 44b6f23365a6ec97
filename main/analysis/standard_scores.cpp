#include "main/analysis/standard_scores.h"

#include <algorithm>

#include "main/analysis/analysis_settings.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/analysis/score_figures.h"
#include "main/formula/formula_cell.h"

namespace scorvane {
namespace {

// A field not chosen that is copied beside the scores: an identifier (its title holds "号": 学号, 考号)
// or a field of text (姓名, 班级), not one of marks.
bool keptAsText(const GradeTable& table, int col) {
    const std::string_view title = table.cell(0, col);
    if (title.find("号") != std::string_view::npos) {
        return true;
    }
    const FieldMarks marks = CollectFieldMarks(table, col);
    return !marks.texts.empty() && !marks.numeric();
}

}  // namespace

std::vector<std::string> StandardScoreFieldChoices(const GradeTable& table) {
    return DefaultStatisticsFields(table);
}

std::vector<std::string> DefaultStandardScoreFields(const GradeTable& table) {
    return SubjectFieldsOfTables({&table});
}

AnalysisResult StandardScores(const GradeTable& table, const std::vector<std::string>& chosen) {
    std::vector<std::string> fields;
    for (const std::string& field : chosen) {
        if (FieldColumn(table, field) < 0) {
            return Refusal(MissingFieldMessage(field));
        }
        if (std::find(fields.begin(), fields.end(), field) == fields.end()) {
            fields.push_back(field);
        }
    }
    if (fields.empty()) {
        return Refusal(std::string(kNoFieldChosenMessage));
    }

    struct Scale {
        int col;
        double mean;
        double deviation;  // 0: every mark is equal
    };
    std::vector<Scale> scales;
    std::vector<std::string> notes;
    for (const std::string& field : fields) {
        const int col = FieldColumn(table, field);
        const FieldMarks marks = CollectFieldMarks(table, col);
        const FieldFigures f = ComputeFieldFigures(marks, 100, ScoreLines{});
        if (f.count == 0) {
            return Refusal("字段“" + field + "”中没有成绩，不能计算标准分！");
        }
        if (std::string note = TextMarksNote(field, marks); !note.empty()) {
            notes.push_back(std::move(note));
        }
        // Equal marks may leave a deviation of a few last bits: they are 0.
        const double deviation = f.highest == f.lowest ? 0 : f.deviation;
        if (deviation == 0) {
            notes.push_back("“" + field + "”的成绩都相同（标准差为 0），标准分记为 0.00");
        }
        scales.push_back({col, f.mean, deviation});
    }

    std::vector<int> kept;
    std::vector<std::string> titles;
    for (int c = 1; c < table.cols(); ++c) {
        const std::string title = table.cell(0, c);
        if (std::find(fields.begin(), fields.end(), title) == fields.end() && keptAsText(table, c)) {
            kept.push_back(c);
            titles.push_back(title);
        }
    }
    for (const std::string& field : fields) {
        titles.push_back(field + std::string(kStandardScoreSuffix));
    }
    titles.emplace_back(kStandardScoreSumTitle);
    titles.emplace_back(kTScoreTitle);

    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r < table.rows(); ++r) {
        if (!RowHoldsData(table, r)) {
            continue;
        }
        std::vector<std::string> row;
        for (int c : kept) {
            row.push_back(公式2值(table, r, c));
        }
        double sum = 0;
        bool whole = true;
        for (const Scale& s : scales) {
            double mark = 0;
            if (ReadMarkCell(table, r, s.col, mark) != MarkCell::Mark) {
                whole = false;
                row.emplace_back();
                continue;
            }
            // The sum and the T score add the exact scores; only what is written is rounded.
            const double z = s.deviation == 0 ? 0 : (mark - s.mean) / s.deviation;
            sum += z;
            row.push_back(TwoDecimals(z));
        }
        if (whole) {
            row.push_back(TwoDecimals(sum));
            row.push_back(TwoDecimals(50 + 10 * sum / static_cast<double>(scales.size())));
        }
        rows.push_back(std::move(row));
    }

    AnalysisResult result;
    result.table = ResultTable(table.title + std::string(kStandardScoresTitleSuffix), titles, rows);
    result.table->teacher = table.teacher;
    std::string info = "由“" + table.title + "”的 " + JoinNames(fields) +
                       " 计算：标准分 =（成绩 − 平均分）÷ 标准差，T分 = 50 + 10 × 标准分合计 ÷ " +
                       std::to_string(scales.size());
    for (const std::string& note : notes) {
        info += "；" + note;
    }
    result.table->classInfo = std::move(info);
    return result;
}

}  // namespace scorvane

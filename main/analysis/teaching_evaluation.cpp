#include "main/analysis/teaching_evaluation.h"

#include <algorithm>
#include <cmath>

#include "common/utf8.h"
#include "main/analysis/competition_rank.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/analysis/score_figures.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

constexpr std::string_view kFullWidthComma = "，";

std::string percentText(double value) {
    return TwoDecimals(value) + "%";
}

// A group of students' figures in one subject, with what the tables derive from them.
struct Figures {
    FieldFigures figures;
    bool marked() const { return figures.count > 0; }
    double rate(int part) const { return 100.0 * part / figures.count; }
    // 平均分 ÷ 年级平均分 as a percentage; nothing without marks on either side.
    std::optional<double> ratio(double gradeMean) const {
        if (!marked() || gradeMean == 0) {
            return std::nullopt;
        }
        return 100.0 * figures.mean / gradeMean;
    }
    std::optional<double> score(const EvaluationWeights& w, double fullMarks) const {
        if (!marked()) {
            return std::nullopt;
        }
        return w.mean * (figures.mean / fullMarks * 100) + w.excellent * rate(figures.excellent) +
               w.pass * rate(figures.passed) - w.low * rate(figures.low);
    }
};

std::string optionalPercent(const std::optional<double>& value) {
    return value ? percentText(*value) : std::string();
}

// The scores as the table shows them, which the ranks go by, so that equal shown scores share a rank.
std::vector<int> ranksOfShown(const std::vector<std::optional<double>>& scores) {
    std::vector<std::optional<double>> shown;
    for (const std::optional<double>& score : scores) {
        double value = 0;
        if (score && ReadMark(TwoDecimals(*score), value)) {
            shown.push_back(value);
        } else {
            shown.push_back(std::nullopt);
        }
    }
    return CompetitionRanks(shown);
}

// The marks of a subject in each class's table (nothing where the class lacks the table or the field),
// and all of them together.
struct SubjectMarks {
    std::vector<std::optional<FieldMarks>> classes;
    FieldMarks grade;
};
SubjectMarks marksOf(const std::vector<ClassTable>& classes, const std::string& subject) {
    SubjectMarks out;
    for (const ClassTable& c : classes) {
        const int col = c.table ? FieldColumn(*c.table, subject) : -1;
        if (col < 0) {
            out.classes.emplace_back();
            continue;
        }
        out.classes.push_back(CollectFieldMarks(*c.table, col));
        out.grade.add(*out.classes.back());
    }
    return out;
}

// The earlier exam's table of a class, by the class's name.
const ClassTable* classNamed(const std::vector<ClassTable>& classes, const std::string& name) {
    for (const ClassTable& c : classes) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<EvaluationWeights> ReadWeights(const std::array<std::string, 4>& texts) {
    double values[4] = {};
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!ReadMark(texts[i], values[i]) || !std::isfinite(values[i]) || values[i] < 0) {
            return std::nullopt;
        }
    }
    return EvaluationWeights{values[0], values[1], values[2], values[3]};
}

std::optional<EvaluationWeights> ReadWeights(std::string_view text) {
    const std::string plain = ReplaceAll(text, kFullWidthComma, ",");
    std::array<std::string, 4> parts;
    size_t count = 0;
    size_t start = 0;
    while (true) {
        const size_t comma = plain.find(',', start);
        if (count == parts.size()) {
            return std::nullopt;
        }
        parts[count++] = plain.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (count != parts.size()) {
        return std::nullopt;
    }
    return ReadWeights(parts);
}

std::string WeightsText(const EvaluationWeights& w) {
    return NumberToText(w.mean) + "," + NumberToText(w.excellent) + "," + NumberToText(w.pass) + "," +
           NumberToText(w.low);
}

std::string WeightsFormulaText(const EvaluationWeights& w) {
    return "综合得分 = " + NumberToText(w.mean) + "×平均分÷满分×100 + " + NumberToText(w.excellent) +
           "×优秀率 + " + NumberToText(w.pass) + "×及格率 − " + NumberToText(w.low) + "×低分率";
}

TeachingEvaluation EvaluateTeaching(const EvaluationInput& input) {
    TeachingEvaluation out;
    const std::vector<ClassTable>& classes = input.classes;
    if (std::none_of(classes.begin(), classes.end(),
                     [](const ClassTable& c) { return c.table.has_value(); })) {
        out.refusal = NoClassHoldsTableMessage(input.tableName);
        return out;
    }
    const AnalysisSettings& settings = input.settings;
    const TableGroup group = GroupOfClasses(classes);
    for (const std::string& subject : settings.fields) {
        if (GroupFieldMarks(group, subject).marks.empty()) {
            out.refusal = NoMarksInFieldMessage(subject);
            return out;
        }
    }
    const bool earlier = !input.earlierName.empty();
    const EvaluationWeights& w = input.weights;

    std::vector<std::string> titles{"学科",       "班级",     "任课教师", "参考人数", "平均分",
                                    "年级平均分", "比均率",   "超均率",   "优秀率",   "及格率",
                                    "低分率",     "综合得分", "名次"};
    if (earlier) {
        titles.insert(titles.end(), {"前次比均率", "比均率变化"});
    }
    std::vector<std::vector<std::string>> rows;
    const std::vector<std::string> teacherTitles{"学科",   "任课教师", "任课班级", "参考人数",
                                                 "平均分", "比均率",   "优秀率",   "及格率",
                                                 "低分率", "综合得分", "名次"};
    std::vector<std::vector<std::string>> teacherRows;
    std::string teacherNotes;

    for (size_t f = 0; f < settings.fields.size(); ++f) {
        const std::string& subject = settings.fields[f];
        const double full = settings.fullMarks[f];
        const SubjectMarks now = marksOf(classes, subject);
        const double gradeMean = ComputeFieldFigures(now.grade, full, settings.lines).mean;
        SubjectMarks before;
        double earlierMean = 0;
        if (earlier) {
            before = marksOf(input.earlier, subject);
            earlierMean = ComputeFieldFigures(before.grade, full, settings.lines).mean;
        }

        // The classes of the subject.
        std::vector<std::vector<std::string>> subjectRows;
        std::vector<std::optional<double>> scores;
        for (size_t i = 0; i < classes.size(); ++i) {
            if (!now.classes[i]) {
                continue;
            }
            const ClassTable& c = classes[i];
            const Figures fig{ComputeFieldFigures(*now.classes[i], full, settings.lines)};
            const std::optional<double> ratio = fig.ratio(gradeMean);
            std::vector<std::string> row{subject,
                                         c.name,
                                         input.teachers.teacher(c.name, subject),
                                         std::to_string(fig.figures.count),
                                         fig.marked() ? TwoDecimals(fig.figures.mean) : std::string(),
                                         TwoDecimals(gradeMean),
                                         optionalPercent(ratio),
                                         ratio ? percentText(ratio.value() - 100) : std::string(),
                                         RateText(fig.figures.excellent, fig.figures.count),
                                         RateText(fig.figures.passed, fig.figures.count),
                                         RateText(fig.figures.low, fig.figures.count)};
            scores.push_back(fig.score(w, full));
            row.push_back(scores.back() ? TwoDecimals(*scores.back()) : std::string());
            row.emplace_back();  // the rank, once all are known
            if (earlier) {
                std::optional<double> earlierRatio;
                if (const ClassTable* e = classNamed(input.earlier, c.name)) {
                    const size_t at = static_cast<size_t>(e - input.earlier.data());
                    if (before.classes[at]) {
                        earlierRatio =
                            Figures{ComputeFieldFigures(*before.classes[at], full, settings.lines)}.ratio(
                                earlierMean);
                    }
                }
                row.push_back(optionalPercent(earlierRatio));
                row.push_back(ratio && earlierRatio ? percentText(*ratio - *earlierRatio) : std::string());
            }
            subjectRows.push_back(std::move(row));
        }
        const std::vector<int> ranks = ranksOfShown(scores);
        for (size_t k = 0; k < subjectRows.size(); ++k) {
            subjectRows[k][12] = RankText(ranks[k]);
            rows.push_back(std::move(subjectRows[k]));
        }

        // The subject's teachers, each over all the classes they teach.
        struct Teacher {
            std::string name;
            std::vector<std::string> classes;
            FieldMarks marks;
        };
        std::vector<Teacher> teachers;
        std::vector<std::string> untaught;
        for (size_t i = 0; i < classes.size(); ++i) {
            if (!now.classes[i]) {
                continue;
            }
            const std::string name = input.teachers.teacher(classes[i].name, subject);
            if (name.empty()) {
                untaught.push_back(classes[i].name);
                continue;
            }
            auto at = std::find_if(teachers.begin(), teachers.end(),
                                   [&name](const Teacher& t) { return t.name == name; });
            if (at == teachers.end()) {
                teachers.push_back({name, {}, {}});
                at = teachers.end() - 1;
            }
            at->classes.push_back(classes[i].name);
            at->marks.add(*now.classes[i]);
        }
        if (!untaught.empty()) {
            AppendNote(teacherNotes,
                       "以下班级的" + subject + "没有任课教师，未列入汇总：" + JoinNames(untaught));
        }
        std::vector<std::optional<double>> teacherScores;
        const size_t firstTeacherRow = teacherRows.size();
        for (const Teacher& t : teachers) {
            const Figures fig{ComputeFieldFigures(t.marks, full, settings.lines)};
            teacherScores.push_back(fig.score(w, full));
            teacherRows.push_back({subject,
                                   t.name,
                                   JoinNames(t.classes),
                                   std::to_string(fig.figures.count),
                                   fig.marked() ? TwoDecimals(fig.figures.mean) : std::string(),
                                   optionalPercent(fig.ratio(gradeMean)),
                                   RateText(fig.figures.excellent, fig.figures.count),
                                   RateText(fig.figures.passed, fig.figures.count),
                                   RateText(fig.figures.low, fig.figures.count),
                                   teacherScores.back() ? TwoDecimals(*teacherScores.back()) : std::string(),
                                   {}});
        }
        const std::vector<int> teacherRanks = ranksOfShown(teacherScores);
        for (size_t k = 0; k < teachers.size(); ++k) {
            teacherRows[firstTeacherRow + k].back() = RankText(teacherRanks[k]);
        }
    }

    std::vector<std::string> present;
    for (const ClassTable& c : classes) {
        if (c.table) {
            present.push_back(c.name);
        }
    }
    std::string info = input.grade + " " + JoinNames(present) + "的“" + input.tableName + "”";
    info = ResultClassInfo(info, settings);
    AppendNote(info, WeightsFormulaText(w));
    if (earlier) {
        AppendNote(info, "前次：“" + input.earlierName + "”");
    }
    for (const std::string& subject : settings.fields) {
        AppendNote(info, FieldNotes(group, subject, kOtherClasses));
    }

    const std::string prefix = input.grade + " " + input.tableName;
    out.byClass = ResultTable(prefix + std::string(kEvaluationTitleSuffix), titles, rows);
    out.byClass->classInfo = info;
    if (!teacherRows.empty()) {
        out.byTeacher =
            ResultTable(prefix + std::string(kTeacherSummaryTitleSuffix), teacherTitles, teacherRows);
        out.byTeacher->classInfo = info;
        WidenToFit(*out.byTeacher, 3);  // 任课班级: "(1)班、(3)班" shows and prints whole
        AppendNote(out.byTeacher->classInfo, teacherNotes);
    }
    out.notice = LeftOutClassesMessage(input.tableName, classes, settings.fields, "教学评价");
    if (earlier) {
        std::vector<std::string> without;
        for (const ClassTable& c : classes) {
            const ClassTable* e = classNamed(input.earlier, c.name);
            if (c.table && (!e || !e->table)) {
                without.push_back(c.name);
            }
        }
        if (!without.empty()) {
            out.notice += std::string(out.notice.empty() ? "" : "\n") + "以下班级没有前次的表格“" +
                          input.earlierName + "”，前次比均率为空：" + JoinNames(without);
        }
    }
    if (!out.byTeacher) {
        out.notice += std::string(out.notice.empty() ? "" : "\n") +
                      std::string(input.teacherTableMissing ? kNoTeacherTableNotice : kNoTeachersNotice);
    }
    return out;
}

}  // namespace scorvane

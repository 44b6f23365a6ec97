#include "main/analysis/borderline_students.h"

#include <algorithm>
#include <cmath>

#include "main/analysis/competition_rank.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/result_table.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

constexpr std::string_view kNameTitle = "姓名";
constexpr std::string_view kNumberTitle = "学号";

bool readDistance(std::string_view text, double& value) {
    return ReadMark(text, value) && value >= 0;
}

}  // namespace

bool ReadBorderRange(const BorderRange& range, double& below, double& above) {
    return readDistance(range.below, below) && readDistance(range.above, above);
}

std::string DistanceText(double total, double line) {
    // A difference within the rounding of binary fractions is none (AtOrAbove counts it as reaching).
    const double distance = AtOrAbove(total, line) && AtOrAbove(line, total) ? 0 : total - line;
    return (distance > 0 ? "+" : "") + NumberToText(distance);
}

AnalysisResult BorderlineStudents(std::string_view grade, std::string_view tableName,
                                  const std::vector<ClassTable>& classes, const LineChoice& choice,
                                  std::string_view line, const BorderRange& range) {
    double below = 0;
    double above = 0;
    if (!ReadBorderRange(range, below, above)) {
        return Refusal(std::string(kBorderRangeMessage));
    }
    LineGrade g;
    if (std::optional<std::string> fault = ReadLineGrade(grade, tableName, classes, choice, "临界生", g)) {
        return Refusal(*fault);
    }
    size_t l = 0;
    while (l < g.lines.size() && g.lines[l].name != line) {
        ++l;
    }
    if (l == g.lines.size()) {
        return Refusal(std::string(kNoBorderlineLineMessage));
    }
    const double score = g.lines[l].score;

    std::vector<const LineStudent*> listed;
    for (const LineStudent& s : g.students) {
        if (s.total && AtOrAbove(*s.total, score - below) && !AtOrAbove(*s.total, score + above)) {
            listed.push_back(&s);
        }
    }
    if (listed.empty()) {
        return Refusal(std::string(kNoBorderlineStudentsMessage));
    }
    std::stable_sort(listed.begin(), listed.end(), [](const LineStudent* a, const LineStudent* b) {
        return a->classIndex != b->classIndex ? a->classIndex < b->classIndex : *a->total > *b->total;
    });

    std::vector<std::string> titles{std::string(kClassColumnTitle), std::string(kNameTitle),
                                    std::string(kNumberTitle),      g.total,
                                    std::string(kDistanceTitle),    std::string(kGradeRankTitle)};
    titles.insert(titles.end(), g.subjects.begin(), g.subjects.end());
    titles.emplace_back(kWeakSubjectsTitle);
    std::vector<std::vector<std::string>> rows;
    for (const LineStudent* s : listed) {
        std::vector<std::string> row{g.classes[s->classIndex]->name, g.shown(*s, kNameTitle),
                                     g.shown(*s, kNumberTitle),      g.shown(*s, g.total),
                                     DistanceText(*s->total, score), RankText(s->gradeRank)};
        for (const std::string& subject : g.subjects) {
            row.push_back(g.shown(*s, subject));
        }
        row.push_back(g.weakSubjects(*s, l));
        rows.push_back(std::move(row));
    }

    AnalysisResult result;
    result.table = ResultTable(std::string(grade) + " " + std::string(tableName) + " " + g.lines[l].name +
                                   std::string(kBorderlineTitleSuffix),
                               titles, rows);
    result.table->classInfo =
        g.classInfo(l, "临界范围：线下 " + NumberToText(below) + " 分至线上 " + NumberToText(above) + " 分，即 " +
                           NumberToText(score - below) + " ≤ " + g.total + " < " + NumberToText(score + above));
    result.table->printPlan.pageBreakField = std::string(kClassColumnTitle);
    WidenToFit(*result.table, result.table->cols() - 1);
    result.notice = g.notice;
    return result;
}

}  // namespace scorvane

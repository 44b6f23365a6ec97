#include "main/analysis/line_analysis.h"

#include <algorithm>
#include <functional>

#include "main/analysis/competition_rank.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/result_table.h"
#include "main/analysis/score_figures.h"

namespace scorvane {
namespace {

constexpr std::string_view kNameTitle = "姓名";
constexpr std::string_view kNumberTitle = "学号";
const std::string kSubjectFigures[] = {"单上线", "双上线", "命中率", "贡献率"};

// The figures of a group of students (a class, or the grade).
std::vector<std::string> figuresRow(const LineGrade& g, const std::string& name,
                                    const std::function<bool(const LineStudent&)>& member) {
    std::vector<const LineStudent*> students;
    for (const LineStudent& s : g.students) {
        if (member(s)) {
            students.push_back(&s);
        }
    }
    const int takingPart = static_cast<int>(
        std::count_if(students.begin(), students.end(), [](const LineStudent* s) { return s->total.has_value(); }));
    std::vector<std::string> row{name, std::to_string(takingPart)};
    std::vector<int> reaching;
    for (size_t l = 0; l < g.lines.size(); ++l) {
        reaching.push_back(static_cast<int>(
            std::count_if(students.begin(), students.end(), [&](const LineStudent* s) { return g.reaches(*s, l); })));
        row.push_back(std::to_string(reaching[l]));
        row.push_back(RateText(reaching[l], takingPart));
    }
    for (size_t l = 0; l < g.lines.size(); ++l) {
        for (size_t s = 0; s < g.subjects.size(); ++s) {
            if (!g.effective[l][s]) {
                row.insert(row.end(), 4, std::string());
                continue;
            }
            int single = 0;
            int both = 0;
            for (const LineStudent* student : students) {
                if (g.subjectReaches(*student, l, s)) {
                    ++single;
                    both += g.reaches(*student, l) ? 1 : 0;
                }
            }
            row.push_back(std::to_string(single));
            row.push_back(std::to_string(both));
            row.push_back(RateText(both, single));
            row.push_back(RateText(both, reaching[l]));
        }
    }
    return row;
}

}  // namespace

AnalysisResult LineAnalysis(std::string_view grade, std::string_view tableName,
                            const std::vector<ClassTable>& classes, const LineChoice& choice) {
    LineGrade g;
    if (std::optional<std::string> fault = ReadLineGrade(grade, tableName, classes, choice, "上线分析", g)) {
        return Refusal(*fault);
    }
    std::vector<std::string> titles{std::string(kClassColumnTitle), std::string(kTakingPartTitle)};
    for (const TierLine& line : g.lines) {
        titles.push_back(line.name + "上线");
        titles.push_back(line.name + "上线率");
    }
    std::vector<std::string> groups{std::string(kTakingPartTitle)};
    for (const TierLine& line : g.lines) {
        const std::string prefix = g.lines.size() > 1 ? line.name : std::string();
        for (const std::string& subject : g.subjects) {
            groups.push_back(prefix + subject + kSubjectFigures[0]);
            for (const std::string& figure : kSubjectFigures) {
                titles.push_back(prefix + subject + figure);
            }
        }
    }

    std::vector<std::vector<std::string>> rows;
    for (size_t c = 0; c < g.classes.size(); ++c) {
        rows.push_back(figuresRow(g, g.classes[c]->name, [c](const LineStudent& s) { return s.classIndex == c; }));
    }
    rows.push_back(figuresRow(g, std::string(kGradeRowName), [](const LineStudent&) { return true; }));

    AnalysisResult result;
    result.table = ResultTable(std::string(grade) + " " + std::string(tableName) + std::string(kLineAnalysisTitleSuffix),
                               titles, rows);
    result.table->classInfo = g.classInfo();
    result.table->printPlan.columnGroups = std::move(groups);
    result.notice = g.notice;
    return result;
}

AnalysisResult LineStudentList(std::string_view grade, std::string_view tableName,
                               const std::vector<ClassTable>& classes, const LineChoice& choice) {
    LineGrade g;
    if (std::optional<std::string> fault = ReadLineGrade(grade, tableName, classes, choice, "上线名单", g)) {
        return Refusal(*fault);
    }
    std::vector<const LineStudent*> listed;
    for (const LineStudent& s : g.students) {
        if (g.reaches(s, g.lines.size() - 1)) {
            listed.push_back(&s);
        }
    }
    if (listed.empty()) {
        return Refusal(std::string(kNoStudentReachesMessage));
    }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const LineStudent* a, const LineStudent* b) { return a->gradeRank < b->gradeRank; });
    std::vector<std::vector<std::string>> rows;
    for (const LineStudent* s : listed) {
        size_t highest = 0;
        while (!g.reaches(*s, highest)) {
            ++highest;
        }
        rows.push_back({g.classes[s->classIndex]->name, g.shown(*s, kNameTitle), g.shown(*s, kNumberTitle),
                        g.shown(*s, g.total), RankText(s->gradeRank), g.lines[highest].name,
                        g.weakSubjects(*s, highest)});
    }
    AnalysisResult result;
    result.table = ResultTable(std::string(grade) + " " + std::string(tableName) + std::string(kLineListTitleSuffix),
                               {std::string(kClassColumnTitle), std::string(kNameTitle), std::string(kNumberTitle),
                                g.total, std::string(kGradeRankTitle), std::string(kHighestLineTitle),
                                std::string(kLopsidedTitle)},
                               rows);
    result.table->classInfo = g.classInfo();
    WidenToFit(*result.table, result.table->cols() - 1);
    result.notice = g.notice;
    return result;
}

}  // namespace scorvane

#include "main/analysis/line_grade.h"

#include <algorithm>

#include "main/analysis/analysis_settings.h"
#include "main/analysis/competition_rank.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

bool someTableHas(const std::vector<const GradeTable*>& tables, std::string_view field) {
    return std::any_of(tables.begin(), tables.end(),
                       [field](const GradeTable* t) { return FieldColumn(*t, field) >= 0; });
}

}  // namespace

bool LineGrade::reaches(const LineStudent& student, size_t line) const {
    return student.total && AtOrAbove(*student.total, lines[line].score);
}

bool LineGrade::subjectReaches(const LineStudent& student, size_t line, size_t subject) const {
    const std::optional<double>& mark = student.subjects[subject];
    const std::optional<double>& effectiveMark = effective[line][subject];
    return mark && effectiveMark && AtOrAbove(*mark, *effectiveMark);
}

std::string LineGrade::weakSubjects(const LineStudent& student, size_t line) const {
    std::vector<std::string> weak;
    for (size_t s = 0; s < subjects.size(); ++s) {
        if (student.subjects[s] && effective[line][s] && !subjectReaches(student, line, s)) {
            weak.push_back(subjects[s]);
        }
    }
    return JoinNames(weak);
}

std::string LineGrade::shown(const LineStudent& student, std::string_view field) const {
    const GradeTable& table = *classes[student.classIndex]->table;
    const int col = FieldColumn(table, field);
    return col < 0 ? std::string() : ShownMark(table, student.row, col);
}

std::string LineGrade::lineText(size_t line) const {
    const TierLine& l = lines[line];
    std::string text = l.name + " " + LineGivenText(l) + " = " + total + " " + NumberToText(l.score) + "；";
    if (reaching[line] == 0) {
        return text + "无人上线，没有有效分";
    }
    for (size_t s = 0; s < subjects.size(); ++s) {
        text += (s == 0 ? "" : "，") + subjects[s] + " " +
                (effective[line][s] ? NumberToText(*effective[line][s]) : std::string("没有成绩"));
    }
    return text;
}

std::string LineGrade::classInfo(std::optional<size_t> onlyLine, std::string_view note) const {
    std::vector<std::string> names;
    TableGroup group;
    for (const ClassTable* c : classes) {
        names.push_back(c->name);
        group.push_back({c->name, &*c->table});
    }
    std::string info = grade + " " + JoinNames(names) + "的“" + tableName + "”，按“" + total + "”，参考 " +
                       std::to_string(takingPart) + " 人";
    for (size_t l = 0; l < lines.size(); ++l) {
        if (!onlyLine || *onlyLine == l) {
            info += "。" + lineText(l);
        }
    }
    AppendNote(info, note);
    AppendNote(info, FieldNotes(group, total, kOtherClasses));
    for (const std::string& subject : subjects) {
        AppendNote(info, FieldNotes(group, subject, kOtherClasses));
    }
    return info;
}

std::vector<double> GradeTotals(const std::vector<ClassTable>& classes, std::string_view total) {
    std::vector<double> totals;
    for (const ClassTable& c : classes) {
        if (!c.table) {
            continue;
        }
        const std::vector<std::optional<double>> marks = FieldRowMarks(*c.table, FieldColumn(*c.table, total));
        for (int r = 1; r < c.table->rows(); ++r) {
            if (marks[static_cast<size_t>(r - 1)] && RowHoldsData(*c.table, r)) {
                totals.push_back(*marks[static_cast<size_t>(r - 1)]);
            }
        }
    }
    return totals;
}

std::optional<std::string> ReadLineGrade(std::string_view grade, std::string_view tableName,
                                         const std::vector<ClassTable>& classes, const LineChoice& choice,
                                         std::string_view leftOutOf, LineGrade& out) {
    const std::vector<const GradeTable*> tables = PresentTables(classes);
    if (tables.empty()) {
        return NoClassHoldsTableMessage(tableName);
    }
    if (choice.total.empty()) {
        return std::string(kNoTotalFieldMessage);
    }
    if (!someTableHas(tables, choice.total)) {
        return MissingFieldMessage(choice.total);
    }
    for (const std::string& subject : choice.subjects) {
        if (!someTableHas(tables, subject)) {
            return MissingFieldMessage(subject);
        }
    }
    if (GroupFieldMarks(GroupOfClasses(classes), choice.total).marks.empty()) {
        return NoMarksInFieldMessage(choice.total);
    }

    LineGrade g;
    g.grade = std::string(grade);
    g.tableName = std::string(tableName);
    g.total = choice.total;
    g.subjects = choice.subjects;
    std::vector<std::optional<double>> totals;
    std::vector<double> taking;
    for (const ClassTable& c : classes) {
        if (!c.table) {
            continue;
        }
        const GradeTable& table = *c.table;
        const size_t index = g.classes.size();
        g.classes.push_back(&c);
        const std::vector<std::optional<double>> classTotals = FieldRowMarks(table, FieldColumn(table, g.total));
        std::vector<std::vector<std::optional<double>>> marks;
        for (const std::string& subject : g.subjects) {
            marks.push_back(FieldRowMarks(table, FieldColumn(table, subject)));
        }
        for (int r = 1; r < table.rows(); ++r) {
            if (!RowHoldsData(table, r)) {
                continue;
            }
            const size_t at = static_cast<size_t>(r - 1);
            LineStudent student{index, r, classTotals[at], {}, 0};
            for (const auto& subjectMarks : marks) {
                student.subjects.push_back(subjectMarks[at]);
            }
            if (student.total) {
                taking.push_back(*student.total);
            }
            totals.push_back(student.total);
            g.students.push_back(std::move(student));
        }
    }
    g.takingPart = static_cast<int>(taking.size());
    if (std::optional<std::string> fault = ResolveTierLines(choice.lines, taking, g.lines)) {
        return fault;
    }
    const std::vector<int> ranks = CompetitionRanks(totals);
    auto rank = ranks.begin();
    for (LineStudent& student : g.students) {
        student.gradeRank = *rank++;
    }
    for (size_t l = 0; l < g.lines.size(); ++l) {
        g.reaching.push_back(static_cast<int>(std::count_if(g.students.begin(), g.students.end(),
                                                            [&](const LineStudent& s) { return g.reaches(s, l); })));
        std::vector<std::optional<double>> lineEffective;
        for (size_t s = 0; s < g.subjects.size(); ++s) {
            std::vector<double> subjectMarks;
            for (const LineStudent& student : g.students) {
                if (student.subjects[s]) {
                    subjectMarks.push_back(*student.subjects[s]);
                }
            }
            lineEffective.push_back(EffectiveMark(std::move(subjectMarks), g.reaching[l], g.takingPart));
        }
        g.effective.push_back(std::move(lineEffective));
    }
    std::vector<std::string> fields{g.total};
    fields.insert(fields.end(), g.subjects.begin(), g.subjects.end());
    g.notice = LeftOutClassesMessage(tableName, classes, fields, leftOutOf);
    out = std::move(g);
    return std::nullopt;
}

}  // namespace scorvane

#include "main/analysis/grade_comparison.h"

#include <algorithm>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/competition_rank.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/analysis/score_figures.h"

namespace scorvane {
std::vector<const GradeTable*> PresentTables(const std::vector<ClassTable>& classes) {
    std::vector<const GradeTable*> tables;
    for (const ClassTable& c : classes) {
        if (c.table) {
            tables.push_back(&*c.table);
        }
    }
    return tables;
}

std::vector<std::string> ComparisonFields(const std::vector<ClassTable>& classes) {
    return FieldsOfTables(PresentTables(classes));
}

std::vector<std::string> DefaultComparisonFields(const std::vector<ClassTable>& classes) {
    return NumericFieldsOfTables(PresentTables(classes));
}

DerivedFields ComparisonDerivedFields(const std::vector<ClassTable>& classes) {
    DerivedFields out;
    for (const ClassTable& c : classes) {
        if (!c.table) {
            continue;
        }
        for (auto& derived : DeriveFields(*c.table)) {
            const std::string& field = derived.first;
            if (std::none_of(out.begin(), out.end(),
                             [&field](const auto& known) { return known.first == field; })) {
                out.push_back(std::move(derived));
            }
        }
    }
    return out;
}

GradeTable GradeComparisonTable(std::string_view grade, std::string_view tableName,
                                const std::vector<ClassTable>& classes, const AnalysisSettings& settings) {
    std::vector<const ClassTable*> present;
    for (const ClassTable& c : classes) {
        if (c.table) {
            present.push_back(&c);
        }
    }
    std::vector<std::string> titles{"班级"};
    std::vector<std::vector<std::string>> rows(present.size() + 1);
    for (size_t i = 0; i < present.size(); ++i) {
        rows[i].push_back(present[i]->name);
    }
    rows.back().push_back(std::string(kGradeRowName));

    for (size_t f = 0; f < settings.fields.size(); ++f) {
        const std::string& field = settings.fields[f];
        for (const char* figure : {"平均分", "及格率", "优秀率", "名次"}) {
            titles.push_back(ComparisonColumnTitle(field, figure));
        }
        FieldMarks all;
        std::vector<FieldFigures> figures;
        std::vector<std::optional<double>> shownMeans;
        for (const ClassTable* c : present) {
            const FieldMarks marks = CollectFieldMarks(*c->table, FieldColumn(*c->table, field));
            all.add(marks);
            figures.push_back(ComputeFieldFigures(marks, settings.fullMarks[f], settings.lines));
            double shown = 0;
            if (figures.back().count > 0 && ReadMark(TwoDecimals(figures.back().mean), shown)) {
                shownMeans.push_back(shown);
            } else {
                shownMeans.push_back(std::nullopt);
            }
        }
        auto cells = [](const FieldFigures& fig) {
            return std::vector<std::string>{fig.count > 0 ? TwoDecimals(fig.mean) : std::string(),
                                            RateText(fig.passed, fig.count),
                                            RateText(fig.excellent, fig.count)};
        };
        const std::vector<int> ranks = CompetitionRanks(shownMeans);
        for (size_t i = 0; i < present.size(); ++i) {
            for (std::string& cell : cells(figures[i])) {
                rows[i].push_back(std::move(cell));
            }
            rows[i].push_back(RankText(ranks[i]));
        }
        for (std::string& cell : cells(ComputeFieldFigures(all, settings.fullMarks[f], settings.lines))) {
            rows.back().push_back(std::move(cell));
        }
        rows.back().push_back({});
    }
    GradeTable out =
        ResultTable(std::string(grade) + " " + std::string(tableName) + std::string(kComparisonTitleSuffix),
                    titles, rows);
    out.classInfo = ResultClassInfo({}, settings);
    const TableGroup group = GroupOfClasses(classes);
    for (const std::string& field : settings.fields) {
        AppendNote(out.classInfo, FieldNotes(group, field, kOtherClasses));
    }
    return out;
}

std::string ComparisonColumnTitle(std::string_view field, std::string_view figure) {
    constexpr std::string_view kMean = "平均";
    if (field.size() >= kMean.size() && field.substr(field.size() - kMean.size()) == kMean &&
        figure.substr(0, kMean.size()) == kMean) {
        figure.remove_prefix(kMean.size());
    }
    return std::string(field) + std::string(figure);
}

std::string GradeMarksAboveFullMarks(const std::vector<ClassTable>& classes,
                                     const AnalysisSettings& settings) {
    std::vector<MarksAboveFullMarks> above;
    for (size_t f = 0; f < settings.fields.size(); ++f) {
        int count = 0;
        for (const ClassTable& c : classes) {
            if (c.table) {
                const FieldMarks marks =
                    CollectFieldMarks(*c.table, FieldColumn(*c.table, settings.fields[f]));
                count += CountAboveFullMarks(marks.marks, settings.fullMarks[f]);
            }
        }
        above.push_back({settings.fields[f], count, settings.fullMarks[f]});
    }
    return MarksAboveFullMarksMessage(above);
}

std::string NoClassHoldsTableMessage(std::string_view tableName) {
    return "本年级没有班级有表格“" + std::string(tableName) + "”！";
}

std::string LeftOutClassesMessage(std::string_view tableName, const std::vector<ClassTable>& classes,
                                  const std::vector<std::string>& fields, std::string_view leftOutOf) {
    std::vector<std::string> missing;
    std::vector<std::string> unreadable;
    for (const ClassTable& c : classes) {
        if (!c.table) {
            (c.unreadable ? unreadable : missing).push_back(c.name);
        }
    }
    std::string out;
    if (!missing.empty()) {
        out += "以下班级没有表格“" + std::string(tableName) + "”，未列入" + std::string(leftOutOf) + "：" +
               JoinNames(missing);
    }
    if (!unreadable.empty()) {
        out += std::string(out.empty() ? "" : "\n") + "以下班级的表格“" + std::string(tableName) +
               "”无法读取，未列入" + std::string(leftOutOf) + "：" + JoinNames(unreadable);
    }
    for (const std::string& field : fields) {
        std::vector<std::string> lacking;
        for (const ClassTable& c : classes) {
            if (c.table && FieldColumn(*c.table, field) < 0) {
                lacking.push_back(c.name);
            }
        }
        if (!lacking.empty()) {
            out += std::string(out.empty() ? "" : "\n") + "以下班级的表格“" + std::string(tableName) +
                   "”没有字段“" + field + "”，该字段不含这些班级：" + JoinNames(lacking);
        }
    }
    return out;
}

}  // namespace scorvane

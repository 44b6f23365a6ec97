#include "main/analysis/class_statistics.h"

#include <string>
#include <vector>

#include "main/analysis/field_across_tables.h"
#include "main/analysis/result_table.h"
#include "main/analysis/score_bands.h"

namespace scorvane {

ClassStatistics ComputeClassStatistics(const GradeTable& table, const AnalysisSettings& settings) {
    std::vector<std::vector<std::string>> figureRows;
    std::vector<std::vector<std::string>> bandRows;
    std::string notes;
    for (size_t i = 0; i < settings.fields.size(); ++i) {
        const std::string& field = settings.fields[i];
        const double full = settings.fullMarks[i];
        const FieldMarks marks = CollectFieldMarks(table, FieldColumn(table, field));
        const FieldFigures f = ComputeFieldFigures(marks, full, settings.lines);
        AppendNote(notes, TextMarksNote(field, marks));
        auto figure = [&f](double value) { return f.count > 0 ? TwoDecimals(value) : std::string(); };
        figureRows.push_back({field, std::to_string(f.count), figure(f.mean), figure(f.highest),
                              figure(f.lowest), figure(f.deviation), std::to_string(f.passed),
                              RateText(f.passed, f.count), std::to_string(f.excellent),
                              RateText(f.excellent, f.count), std::to_string(f.low), RateText(f.low, f.count),
                              std::to_string(f.absent)});
        std::vector<std::string> bands{field};
        for (int count : CountBands(marks.marks, full, settings.bandWidth)) {
            bands.push_back(std::to_string(count));
        }
        bandRows.push_back(std::move(bands));
    }

    ClassStatistics out;
    out.figures = ResultTable(table.title + std::string(kStatisticsTitleSuffix),
                              {"科目", "参考人数", "平均分", "最高分", "最低分", "标准差", "及格人数",
                               "及格率", "优秀人数", "优秀率", "低分人数", "低分率", "缺考人数"},
                              figureRows);
    std::vector<std::string> bandTitles{"科目", "满分人数"};
    for (std::string& title : BandTitles(settings.bandWidth)) {
        bandTitles.push_back(std::move(title));
    }
    out.bands = ResultTable(table.title + std::string(kBandsTitleSuffix), bandTitles, bandRows);
    for (GradeTable* t : {&out.figures, &out.bands}) {
        t->teacher = table.teacher;
        t->classInfo = ResultClassInfo(table.classInfo, settings);
        AppendNote(t->classInfo, notes);
    }
    return out;
}

std::string ClassMarksAboveFullMarks(const GradeTable& table, const AnalysisSettings& settings) {
    std::vector<MarksAboveFullMarks> above;
    for (size_t i = 0; i < settings.fields.size(); ++i) {
        const FieldMarks marks = CollectFieldMarks(table, FieldColumn(table, settings.fields[i]));
        above.push_back({settings.fields[i], CountAboveFullMarks(marks.marks, settings.fullMarks[i]),
                         settings.fullMarks[i]});
    }
    return MarksAboveFullMarksMessage(above);
}

}  // namespace scorvane

#include "main/workbook/split_templates.h"

#include <algorithm>

#include "main/workbook/grade_split.h"

namespace scorvane {

std::vector<OfferedTemplate> OfferedTemplates(const std::string& templateFolder) {
    std::vector<OfferedTemplate> out;
    for (const std::string& file : ListFieldTemplates(templateFolder)) {
        if (std::optional<FieldTemplate> fields = ReadFieldTemplate(templateFolder + file)) {
            out.push_back({file.substr(0, file.size() - kTemplateExtension.size()), std::move(*fields)});
        }
    }
    return out;
}

int DefaultTemplate(const std::vector<OfferedTemplate>& templates, const GradeSource& source,
                    int classColumn) {
    const std::vector<std::string> titles = source.table.fieldTitles();
    int best = -1;
    long bestShared = -1;
    for (size_t i = 0; i < templates.size(); ++i) {
        if (LayOutSplit(source, classColumn, &templates[i].fields).formulas.empty()) {
            continue;
        }
        const auto shared =
            std::count_if(templates[i].fields.titles.begin(), templates[i].fields.titles.end(),
                          [&titles](const std::string& t) {
                              return std::find(titles.begin(), titles.end(), t) != titles.end();
                          });
        if (shared > bestShared) {
            best = static_cast<int>(i);
            bestShared = shared;
        }
    }
    return best;
}

}  // namespace scorvane

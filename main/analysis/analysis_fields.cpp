#include "main/analysis/analysis_fields.h"

#include <algorithm>

#include "main/analysis/field_derivation.h"
#include "main/analysis/field_marks.h"

namespace scorvane {

std::vector<std::string> FieldsOfTables(const std::vector<const GradeTable*>& tables) {
    std::vector<std::string> fields;
    for (const GradeTable* table : tables) {
        for (std::string& title : table->fieldTitles()) {
            if (!title.empty() && std::find(fields.begin(), fields.end(), title) == fields.end()) {
                fields.push_back(std::move(title));
            }
        }
    }
    return fields;
}

std::vector<std::string> CommonFields(const std::vector<const GradeTable*>& tables) {
    std::vector<std::string> fields = FieldsOfTables(tables);
    std::erase_if(fields, [&](const std::string& field) { return !EveryTableHas(tables, field); });
    return fields;
}

namespace {

// Those of `titles` with a mark title whose cells, over all the tables together, are numeric.
std::vector<std::string> numericFields(std::vector<std::string> titles,
                                       const std::vector<const GradeTable*>& tables) {
    std::vector<std::string> fields;
    for (std::string& title : titles) {
        if (!IsMarkTitle(title)) {
            continue;
        }
        FieldMarks all;
        for (const GradeTable* table : tables) {
            all.add(CollectFieldMarks(*table, FieldColumn(*table, title)));
        }
        if (all.numeric()) {
            fields.push_back(std::move(title));
        }
    }
    return fields;
}

}  // namespace

std::vector<std::string> NumericFieldsOfTables(const std::vector<const GradeTable*>& tables) {
    return numericFields(FieldsOfTables(tables), tables);
}

std::vector<std::string> SubjectFieldsOfTables(const std::vector<const GradeTable*>& tables) {
    // The computed fields are left out first: that is cheaper than reading their marks (formulas).
    std::vector<std::string> fields = FieldsOfTables(tables);
    std::erase_if(fields, [&tables](const std::string& field) {
        return std::any_of(tables.begin(), tables.end(), [&field](const GradeTable* t) {
            const int col = FieldColumn(*t, field);
            return col > 0 && IsComputedField(*t, col);
        });
    });
    return numericFields(std::move(fields), tables);
}

bool EveryTableHas(const std::vector<const GradeTable*>& tables, std::string_view field) {
    return std::all_of(tables.begin(), tables.end(),
                       [field](const GradeTable* table) { return FieldColumn(*table, field) >= 0; });
}

std::string DefaultRankField(const std::vector<const GradeTable*>& tables) {
    if (!tables.empty() && EveryTableHas(tables, kTotalField)) {
        return std::string(kTotalField);
    }
    std::vector<std::string> numeric = NumericFieldsOfTables(tables);
    return numeric.empty() ? std::string() : std::move(numeric.front());
}

}  // namespace scorvane

#pragma once

#include <string>
#include <vector>

#include "main/document/field_template.h"
#include "main/workbook/grade_source.h"

namespace scorvane {

// The field templates the grade import offers for the total and the average it adds.

// A template with its name (the file's, without ".templet") and fields.
struct OfferedTemplate {
    std::string name;
    FieldTemplate fields;
};

// The templates of the template folder (ending in "/") that can be read, in name order.
std::vector<OfferedTemplate> OfferedTemplates(const std::string& templateFolder);

// The template chosen at first: of those that would add formula fields to the source (LayOutSplit), the
// one sharing the most field titles with it (the first of equals); -1 when none would.
int DefaultTemplate(const std::vector<OfferedTemplate>& templates, const GradeSource& source,
                    int classColumn);

}  // namespace scorvane

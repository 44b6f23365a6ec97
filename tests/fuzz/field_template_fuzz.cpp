#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/document/field_template.h"
#include "main/document/grade_table.h"

namespace scorvane::fuzz {

// A template is taken whole or not at all, applies to a table, and saves back to what it was.
int FuzzFieldTemplate(const uint8_t* data, size_t size) {
    const std::optional<FieldTemplate> fields = DecodeFieldTemplate(Bytes(data, size));
    if (!fields) {
        return 0;
    }
    Check(fields->columnCount() >= 1 && fields->columnCount() <= GradeTable::kMaxCount,
          "the column count lies within 1 .. 32767");
    Check(
        (static_cast<size_t>(fields->columnCount()) + 1) * kTemplateRecordSize <= size + kTemplateRecordSize,
        "every title has a record in the file");
    GradeTable table(2, 2);
    table.setHeaderLayout(fields->headerLayout());
    Check(table.cols() >= 1, "applying the template leaves a table");

    if (const std::optional<std::string> saved = EncodeFieldTemplate(*fields)) {
        const std::optional<FieldTemplate> back = DecodeFieldTemplate(*saved);
        Check(back.has_value(), "a saved template reads back");
        Check(EncodeFieldTemplate(*back) == saved, "a saved template reads back to the same file");
    }
    return 0;
}

}  // namespace scorvane::fuzz

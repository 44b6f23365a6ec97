#include "main/document/class_info.h"

#include "common/utf8.h"

namespace scorvane {

void OpenClassInfo(Document& document, ClassInfoValues& values) {
    values.classSize = document.table.rows() - 1;
    values.teacher = document.table.teacher;
    values.info = document.table.classInfo;
    document.takeSnapshot();
}

std::string NormalizeClassSizeText(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return "1";
    }
    long long size = 0;
    // Digits beyond the range are as good as "too many students".
    if (!ParseWholeNumber(text, 0, kMaxClassSize, size)) {
        return std::to_string(kMaxClassSize);
    }
    return std::string(text);
}

int ClassSizeFromText(std::string_view text) {
    long long size = 0;
    ParseWholeNumber(NormalizeClassSizeText(text), 0, kMaxClassSize, size);
    return static_cast<int>(size);
}

void ConfirmClassInfo(Document& document, ClassInfoValues& values, std::string_view classSizeText,
                      std::string_view teacher, std::string_view info) {
    values.classSize = ClassSizeFromText(classSizeText);
    values.teacher = std::string(teacher);
    values.info = std::string(info);
    document.setModified();
    GradeTable& table = document.table;
    table.setRows(values.classSize + 1);
    table.teacher = values.teacher;
    table.classInfo = values.info;
    table.renumber();
}

}  // namespace scorvane

#include "main/formula/replace_text.h"

#include "common/utf8.h"

namespace scorvane {

bool CanReplace(std::string_view findText, std::string_view replacement) {
    return !findText.empty() || !replacement.empty();
}

void BeginReplace(Document& document) {
    document.takeSnapshot();
}

int ReplaceInTable(Document& document, std::string_view findText, std::string_view replacement,
                   bool wholeCell) {
    GradeTable& t = document.table;
    if (!wholeCell && findText.empty()) {
        return 0;
    }
    int changed = 0;
    for (int r = 1; r < t.rows(); ++r) {
        for (int c = 1; c < t.cols(); ++c) {
            const CellText cell = t.cell(r, c);
            if (wholeCell) {
                if (cell == findText && cell != replacement) {
                    t.setCell(r, c, replacement);
                    ++changed;
                }
            } else if (cell.find(findText) != std::string_view::npos) {
                const std::string next = ReplaceAll(cell, findText, replacement);
                if (next != cell) {
                    t.setCell(r, c, next);
                    ++changed;
                }
            }
        }
    }
    if (changed > 0) {
        document.setModified();
    }
    return changed;
}

}  // namespace scorvane

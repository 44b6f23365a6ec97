#include "main/formula/find_text.h"

#include "main/workspace/utilities.h"

namespace scorvane {

std::string FindResultCaption(int index, int row, std::string_view first, std::string_view second) {
    return std::to_string(index) + ": 第 " + std::to_string(row) + " 行。“" + ShortenForDisplay(first) +
           "；" + ShortenForDisplay(second) + "”";
}

FindResult FindInTable(Document& document, std::string_view text, const FindOptions& options) {
    GradeTable& t = document.table;
    FindResult result;
    const CellMark red{MarkColour::Red, options.bold};
    const CellMark blue{MarkColour::Blue, options.bold};
    const bool partial = !options.wholeCell;
    const bool bluePartial = partial && options.markBluePartial;
    for (int r = 1; r < t.rows(); ++r) {
        bool rowFound = false;
        for (int c = 1; c < t.cols(); ++c) {
            const CellText cell = t.cell(r, c);
            bool exact = !text.empty() && cell == text;
            bool inside = !exact && partial && !text.empty() && cell.find(text) != std::string_view::npos;
            // A match whose colour is not chosen keeps the mark it had; a cell that does not match
            // loses it.
            if (exact) {
                if (options.markRed) {
                    t.setMark(r, c, red);
                }
            } else if (inside) {
                if (bluePartial) {
                    t.setMark(r, c, blue);
                }
            } else {
                t.setMark(r, c, CellMark{});
            }
            rowFound = rowFound || exact || inside;
        }
        if (rowFound) {
            int index = static_cast<int>(result.items.size()) + 1;
            std::string_view first = t.cols() > 1 ? std::string_view(t.cell(r, 1)) : std::string_view();
            std::string_view second = t.cols() > 2 ? std::string_view(t.cell(r, 2)) : std::string_view();
            result.items.push_back({r, FindResultCaption(index, r, first, second)});
        }
    }
    if (!result.items.empty()) {
        result.summary = "共 " + std::to_string(result.items.size()) + " 行包含查找内容。";
    }
    return result;
}

void ClearFindMarks(Document& document) {
    document.table.clearMarks();
}

}  // namespace scorvane

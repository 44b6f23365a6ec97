#include "main/document/edit_commands.h"

#include <algorithm>

namespace scorvane {
namespace {

bool isDataCell(const GradeTable& table, int row, int col) {
    return row >= 1 && col >= 1 && row < table.rows() && col < table.cols();
}

}  // namespace

std::string CopyCell(const GradeTable& table, const GridSelection& selection) {
    if (!table.contains(selection.rowSel, selection.colSel)) {
        return std::string();
    }
    return table.cell(selection.rowSel, selection.colSel);
}

std::string CutCell(Document& document, const GridSelection& selection) {
    std::string text = CopyCell(document.table, selection);
    if (isDataCell(document.table, selection.rowSel, selection.colSel)) {
        document.takeSnapshot();
        if (!text.empty()) {
            document.table.setCell(selection.rowSel, selection.colSel, std::string());
            document.setModified();
        }
    }
    return text;
}

void PasteCell(Document& document, const GridSelection& selection, std::string_view text) {
    GradeTable& table = document.table;
    if (!isDataCell(table, selection.rowSel, selection.colSel)) {
        return;
    }
    document.takeSnapshot();
    if (table.cell(selection.rowSel, selection.colSel) != text) {
        table.setCell(selection.rowSel, selection.colSel, std::string(text));
        document.setModified();
    }
}

void DeleteCells(Document& document, const GridSelection& selection) {
    GradeTable& table = document.table;
    const int top = std::max(1, std::min(selection.row, selection.rowSel));
    const int bottom = std::min(table.rows() - 1, std::max(selection.row, selection.rowSel));
    const int left = std::max(1, std::min(selection.col, selection.colSel));
    const int right = std::min(table.cols() - 1, std::max(selection.col, selection.colSel));
    document.takeSnapshot();
    bool changed = false;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            if (!table.cell(r, c).empty()) {
                table.setCell(r, c, {});
                changed = true;
            }
        }
    }
    if (changed) {
        document.setModified();
    }
}

std::optional<GridSelection> SelectAll(const GradeTable& table) {
    if (table.rows() < 2 || table.cols() < 2) {
        return std::nullopt;
    }
    return GridSelection{1, 1, table.rows() - 1, table.cols() - 1};
}

bool UndoLastChange(Document& document) {
    return document.undo();
}

}  // namespace scorvane

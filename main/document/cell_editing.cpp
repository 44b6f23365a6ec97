#include "main/document/cell_editing.h"

namespace scorvane {
namespace {

bool isDataCell(const GradeTable& table, CellPosition cell) {
    return cell.row >= 1 && cell.col >= 1 && cell.row < table.rows() && cell.col < table.cols();
}

bool isControl(unsigned char c) {
    return c < 32 || c == 127;
}

}  // namespace

std::optional<CellPosition> EditTarget(const GradeTable& table, int row, int col) {
    CellPosition cell{row, col == 0 ? 1 : col};
    if (!isDataCell(table, cell)) {
        return std::nullopt;
    }
    return cell;
}

std::optional<std::string> EditorTextForKey(const GradeTable& table, CellPosition cell,
                                            std::string_view typed) {
    if (typed.empty() || !isDataCell(table, cell)) {
        return std::nullopt;
    }
    if (typed == " " || typed == "\r" || typed == "\n" || typed == "\b") {
        return table.cell(cell.row, cell.col);
    }
    for (char c : typed) {
        if (isControl(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
    }
    return std::string(typed);
}

std::string EditorTextOfCell(const GradeTable& table, CellPosition cell) {
    return isDataCell(table, cell) ? table.cell(cell.row, cell.col) : std::string();
}

void OpenCellEditor(Document& document) {
    document.takeEditorSnapshot();
}

void CommitCellEditor(Document& document, CellPosition cell, std::string text) {
    if (!isDataCell(document.table, cell)) {
        return;
    }
    document.table.setCell(cell.row, cell.col, std::move(text));
    document.setModified();
}

CellPosition CellAfterEnter(const GradeTable& table, CellPosition from, EnterDirection direction) {
    const int lastRow = table.rows() - 1;
    const int lastCol = table.cols() - 1;
    CellPosition to = from;
    if (direction == EnterDirection::DownColumn) {
        if (from.row >= lastRow) {
            to.row = 1;
            if (from.col < lastCol) {
                to.col = from.col + 1;
            }
        } else {
            to.row = from.row + 1;
        }
    } else if (from.col >= lastCol) {
        to.col = 1;
        to.row = from.row >= lastRow ? 1 : from.row + 1;
    } else {
        to.col = from.col + 1;
    }
    return to;
}

CellPosition CellAfterUp(const GradeTable&, CellPosition from) {
    if (from.row > 1) {
        --from.row;
    }
    return from;
}

CellPosition CellAfterDown(const GradeTable& table, CellPosition from) {
    if (from.row < table.rows() - 1) {
        ++from.row;
    }
    return from;
}

}  // namespace scorvane

#include "main/document/ui/grade_table_model.h"

#include <QBrush>
#include <QColor>
#include <string_view>

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The fixed cells' text: dark blue.
const QColor kFixedText(0, 0, 128);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// A find mark's text colour; invalid for an unmarked cell.
QColor MarkTextColour(MarkColour colour) {
    switch (colour) {
        case MarkColour::Red:
            return kRed;
        case MarkColour::Blue:
            return kBlue;
        case MarkColour::Normal:
            break;
    }
    return {};
}

}  // namespace

GradeTableModel::GradeTableModel(Document& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    boldFont_.setBold(true);
}

void GradeTableModel::setTableFont(const QFont& font) {
    font_ = font;
    boldFont_ = font;
    boldFont_.setBold(true);
}

bool GradeTableModel::cellLook(const QModelIndex& index, CellLook& look) const {
    const GradeTable& t = document_.table;
    const int r = tableRow(index);
    const int c = tableCol(index);
    if (!index.isValid() || !t.contains(r, c)) {
        return false;
    }
    look.text = t.cell(r, c);
    look.mark = t.mark(r, c);
    look.foreground = MarkTextColour(look.mark.colour);
    return true;
}

int GradeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, document_.table.rows() - 1);
}

int GradeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, document_.table.cols() - 1);
}

QVariant GradeTableModel::data(const QModelIndex& index, int role) const {
    const GradeTable& t = document_.table;
    int r = tableRow(index);
    int c = tableCol(index);
    if (!index.isValid() || !t.contains(r, c)) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::ToolTipRole: {
            const std::string_view text = t.cell(r, c);
            if (role == Qt::ToolTipRole && text.size() < 24) {
                return {};
            }
            return qs(text);
        }
        case Qt::ForegroundRole: {
            const QColor colour = MarkTextColour(t.mark(r, c).colour);
            return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
        }
        case Qt::FontRole:
            return t.mark(r, c).bold ? QVariant(boldFont_) : QVariant();
        default:
            return {};
    }
}

QVariant GradeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const GradeTable& t = document_.table;
    int r = orientation == Qt::Horizontal ? 0 : section + 1;
    int c = orientation == Qt::Horizontal ? section + 1 : 0;
    if (!t.contains(r, c)) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return qs(t.cell(r, c));
        case Qt::ForegroundRole:
            return QBrush(kFixedText);
        case Qt::TextAlignmentRole:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

Qt::ItemFlags GradeTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    // Cells are edited through the window's own cell editor, never by the view.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GradeTableModel::cellChanged(int tableRow, int tableCol) {
    if (tableRow == 0 || tableCol == 0) {
        if (tableRow == 0 && tableCol > 0)
            emit headerDataChanged(Qt::Horizontal, tableCol - 1, tableCol - 1);
        if (tableCol == 0 && tableRow > 0)
            emit headerDataChanged(Qt::Vertical, tableRow - 1, tableRow - 1);
        return;
    }
    QModelIndex i = indexOf(tableRow, tableCol);
    emit dataChanged(i, i);
}

void GradeTableModel::cellsChanged() {
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
    if (columnCount() > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
    if (rowCount() > 0) {
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }
}

void GradeTableModel::tableReset() {
    beginResetModel();
    endResetModel();
}

}  // namespace scorvane

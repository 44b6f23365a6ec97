#include "main/exchange/ui/table_grid_model.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include "common/qt/screen_twips.h"
#include "main/document/column_widths.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The fixed cells' text: dark blue, as in the table window.
const QColor kFixedText(0, 0, 128);

}  // namespace

TableGridModel::TableGridModel(const GradeTable* table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

void TableGridModel::setTable(const GradeTable* table) {
    beginResetModel();
    table_ = table;
    endResetModel();
}

int TableGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : std::max(0, table_->rows() - 1);
}

int TableGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ || table_->rows() < 1 ? 0 : std::max(0, table_->cols() - 1);
}

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || !table_->contains(index.row() + 1, index.column() + 1)) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return qs(table_->cell(index.row() + 1, index.column() + 1));
    }
    return {};
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const int r = orientation == Qt::Horizontal ? 0 : section + 1;
    const int c = orientation == Qt::Horizontal ? section + 1 : 0;
    if (!table_ || !table_->contains(r, c)) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return qs(table_->cell(r, c));
        case Qt::ForegroundRole:
            return kFixedText;
        case Qt::TextAlignmentRole:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QTableView* NewTableGrid(TableGridModel* model, QWidget* parent) {
    auto* grid = new QTableView(parent);
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    grid->setFont(font);
    grid->setModel(model);
    model->setParent(grid);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab and Shift+Tab go on to the next control; the arrow keys move between cells.
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->setCornerButtonEnabled(false);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = grid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    rows->setSectionsClickable(false);
    rows->setHighlightSections(false);
    QHeaderView* cols = grid->horizontalHeader();
    cols->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cols->setHighlightSections(true);
    return grid;
}

void SizeGridColumns(QTableView* grid) {
    auto* model = static_cast<TableGridModel*>(grid->model());
    if (!model->table() || model->columnCount() == 0) {
        return;
    }
    QFontMetrics metrics(grid->font());
    const double twipsPerPixel = TwipsPerPixelX(*grid);
    const std::vector<int> widths = GridColumnWidths(*model->table(), [&](std::string_view text) {
        return metrics.horizontalAdvance(
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) *
               twipsPerPixel;
    });
    for (int c = 1; c < model->table()->cols(); ++c) {
        grid->horizontalHeader()->resizeSection(c - 1, TwipsToPixelsX(widths[static_cast<size_t>(c)], *grid));
    }
}

}  // namespace scorvane

#include "main/analysis/ui/text_grid.h"

#include <QHeaderView>

namespace scorvane {

TextGrid::TextGrid(const QStringList& titles, int rows, QWidget* parent)
    : QTableWidget(rows, static_cast<int>(titles.size()), parent) {
    setHorizontalHeaderLabels(titles);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(false);
    setTexts({});
    setCurrentCell(0, 0);
    connect(this, &QTableWidget::itemChanged, this, [this] {
        if (!filling_) {
            emit edited();
        }
    });
}

void TextGrid::setTexts(const std::vector<std::vector<std::string>>& rows) {
    filling_ = true;
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const bool given = static_cast<size_t>(r) < rows.size() && static_cast<size_t>(c) < rows[r].size();
            setItem(r, c, new QTableWidgetItem(given ? QString::fromStdString(rows[r][c]) : QString()));
        }
    }
    filling_ = false;
}

std::vector<std::vector<std::string>> TextGrid::texts() {
    // A cell still being typed into (确定 pressed with Alt+O) keeps what was typed: moving the current
    // cell commits its editor.
    const QModelIndex current = currentIndex();
    setCurrentIndex(QModelIndex());
    setCurrentIndex(current);
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < columnCount(); ++c) {
            row.push_back(item(r, c) ? item(r, c)->text().toStdString() : std::string());
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace scorvane

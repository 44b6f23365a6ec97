#pragma once

#include <QAbstractTableModel>

#include "main/document/grade_table.h"

class QTableView;

namespace scorvane {

// A read-only view of a GradeTable for the exchange dialogs' grids: row 0 (the field titles) and
// column 0 (the row or record numbers) are the view's headers, model cell (r, c) is table cell
// (r + 1, c + 1). Nothing is copied, so a table of 20,000 rows shows at once.
class TableGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TableGridModel(const GradeTable* table = nullptr, QObject* parent = nullptr);

    // Shows another table (or none); the view reads it anew.
    void setTable(const GradeTable* table);
    const GradeTable* table() const { return table_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const GradeTable* table_;
};

// The exchange dialogs' grid: in "宋体", columns sized to their titles by the table window's rule,
// every row of one height, the row-number header not clickable; Tab leaves it (arrows move in it).
QTableView* NewTableGrid(TableGridModel* model, QWidget* parent);
// Sizes the grid's columns to the titles of the table it shows.
void SizeGridColumns(QTableView* grid);

}  // namespace scorvane

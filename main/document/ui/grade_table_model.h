#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <string_view>

#include "main/document/document.h"

namespace scorvane {

// Adapts a document's GradeTable to a QTableView. The fixed row 0 (field titles) and the fixed column 0
// (row numbers) are the view's headers; model cell (r, c) is table cell (r + 1, c + 1). Nothing is
// copied: every request reads the table, so 20,000 rows cost no more than the rows on screen.
class GradeTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit GradeTableModel(Document& document, QObject* parent = nullptr);

    Document& document() { return document_; }
    const GradeTable& table() const { return document_.table; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Table cell (row, col) of a model index, and back. Row 0 and column 0 have no index.
    static int tableRow(const QModelIndex& index) { return index.row() + 1; }
    static int tableCol(const QModelIndex& index) { return index.column() + 1; }
    QModelIndex indexOf(int tableRow, int tableCol) const { return index(tableRow - 1, tableCol - 1); }

    // After a command changed the table: one cell, or everything (counts, titles, cells).
    void cellChanged(int tableRow, int tableCol);
    // Many cells changed in place, the counts as they were: every shown cell and title is read again.
    void cellsChanged();
    void tableReset();

    void setTableFont(const QFont& font);
    const QFont& tableFont() const { return font_; }
    // The table font of a cell marked bold.
    const QFont& boldFont() const { return boldFont_; }

    // A cell as the grid paints it, read from the table: its text (valid until the table changes), its
    // find mark, and the mark's text colour (invalid: the grid's own).
    struct CellLook {
        std::string_view text;
        CellMark mark;
        QColor foreground;
    };
    // False for an index outside the table.
    bool cellLook(const QModelIndex& index, CellLook& look) const;

  private:
    Document& document_;
    QFont font_;
    QFont boldFont_;
};

}  // namespace scorvane

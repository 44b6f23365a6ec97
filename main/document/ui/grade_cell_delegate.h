#pragma once

#include <QStyledItemDelegate>

#include "main/document/ui/cell_text_cache.h"

namespace scorvane {

class GradeTableModel;

// Paints the grid's cells as the standard item delegate does (the selection's colours, a find mark's
// colour and bold, the text left-aligned, centred in the row, shortened with "…" to the column), but
// from the table directly and with every text laid out once: painting the grid after a key shapes no
// text again. The current cell, with its focus frame, and any cell the fast way cannot paint
// (several lines, right-to-left, another alignment) are painted by the standard delegate.
class GradeCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    GradeCellDelegate(const GradeTableModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    // The two fonts of the cells (bold for a find mark) follow the view's font and the table font.
    void followFonts(const QStyleOptionViewItem& option) const;

    const GradeTableModel& model_;
    mutable bool fontsSet_ = false;
    mutable QFont viewFont_;
    mutable QFont tableFont_;
    mutable CellTextCache plain_;
    mutable CellTextCache bold_;
};

}  // namespace scorvane

#pragma once

#include <QDialog>

#include "main/document/grade_table.h"
#include "main/document/grid_selection.h"

class QLineEdit;
class QPushButton;

namespace scorvane {

class DialogRunner;

// "行高 列宽" (frmHeiWei): one height for the selected rows and one width for the selected columns, in
// twips.
class RowColumnSizeDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens on the height of the current row and the width of the current column, as shown.
    RowColumnSizeDialog(int rowHeightTwips, int columnWidthTwips, QWidget* parent = nullptr);

    int rowHeight() const;
    int columnWidth() const;

    QLineEdit* rowHeightEdit() const { return height_; }
    QLineEdit* columnWidthEdit() const { return width_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void keepNumber(QLineEdit* box, int openingSize);

    int openingHeight_;
    int openingWidth_;
    QLineEdit* height_;
    QLineEdit* width_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// "行高(&H)" and "列宽(&W)": the dialog on the current row's height and the current column's width (in
// twips, as the grid shows them); on "确定(&O)" every row and column of the selection takes them
// (SetSelectionSizes). True when they were applied; the caller then lays the grid out again.
bool RunRowColumnSizeDialog(GradeTable& table, const GridSelection& selection, int rowHeightTwips,
                            int columnWidthTwips, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

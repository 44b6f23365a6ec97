#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <string_view>

#include "main/document/document.h"
#include "main/formula/formula_box_check.h"
#include "main/formula/formula_cell.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace scorvane {

class DialogRunner;
class GradeTableModel;
class Prompter;

// "公式编辑器" (frm公式编辑): builds a formula for the target cell from a block of cells selected in a
// copy of the table and an operation; shows its value; "确定(&O)" hands it to the formula bar.
class FormulaEditorDialog : public QDialog {
    Q_OBJECT
  public:
    // `table` is copied (titles and every cell text); the target is the table's current cell.
    FormulaEditorDialog(const GradeTable& table, CellAddress target, Prompter& prompter,
                        QWidget* parent = nullptr);
    ~FormulaEditorDialog() override;

    CellAddress target() const { return target_; }
    const GradeTable& tableCopy() const { return copy_.table; }

    // A formula without marker evaluated against the copy as seen from the target cell.
    std::string 公式2值b(std::string_view formula) const;

    // The formula in the box, and what "确定(&O)" puts into the formula bar: the marker and the formula.
    std::string formula() const;
    std::string acceptedText() const;

    // Selects the block from `from`, where the selection starts, to `to` in the copy (table coordinates,
    // data cells only), as the mouse or the keyboard would.
    void selectCells(CellAddress from, CellAddress to);

    QTableView* grid() const { return grid_; }
    QComboBox* operationBox() const { return operation_; }
    QLineEdit* formulaEdit() const { return formula_; }
    QLineEdit* targetEdit() const { return targetBox_; }
    QLineEdit* valueEdit() const { return value_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void selectionChanged();
    void generate();
    void check();

    Document copy_;
    CellAddress target_;
    Prompter& prompter_;
    // A selection made with the mouse is taken when the button is let go.
    bool selectionPending_ = false;
    // The selection was made by a click on a row number or a title.
    bool selectedByHeader_ = false;
    bool shownOnce_ = false;
    // The box's text is being set from a selection or an operation.
    bool generating_ = false;
    FormulaBoxCheck boxCheck_;

    GradeTableModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QComboBox* operation_ = nullptr;
    QLineEdit* formula_ = nullptr;
    QLineEdit* targetBox_ = nullptr;
    QLineEdit* value_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// "公式编辑器(&G)" and the formula bar's "…" (after their undo snapshot): the editor on a copy of the
// table for its current cell. The text for the formula bar (marker and formula) when the editor was
// left with "确定(&O)"; nullopt when it was closed otherwise.
std::optional<std::string> RunFormulaEditor(const GradeTable& table, CellAddress target, Prompter& prompter,
                                            DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

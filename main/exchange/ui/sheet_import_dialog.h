#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/exchange/workbook_import.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace scorvane {

class DialogRunner;
class TableGridModel;

// "导入电子表格" (frmSheetImport): the sheets of a workbook, the header row found (changeable) and the
// first rows as the table will hold them; 确定 takes the sheet as a grade table.
class SheetImportDialog : public QDialog {
    Q_OBJECT
  public:
    // The first sheet of `grid` is shown as read from `path`.
    SheetImportDialog(std::string path, SheetGrid grid, QWidget* parent = nullptr);
    ~SheetImportDialog() override;

    // The table 确定 took (nothing before, or after 取消).
    const std::optional<GradeTable>& result() const { return result_; }
    // The rows the preview shows at most, after the field row.
    static constexpr int kPreviewRows = 100;

    QComboBox* sheetCombo() const { return sheets_; }
    QSpinBox* headerRowSpin() const { return headerRow_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* countLabel() const { return count_; }
    QTableView* previewGrid() const { return grid_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void sheetChosen(int index);
    void headerRowChanged(int row);
    void present(const SheetTable& sheet);
    void accept() override;

    std::string path_;
    SheetGrid grid_data_;
    std::string readMessage_;
    SheetTable sheet_;
    GradeTable preview_;
    std::optional<GradeTable> result_;

    QComboBox* sheets_;
    QSpinBox* headerRow_;
    QLabel* title_;
    QLabel* count_;
    TableGridModel* model_;
    QTableView* grid_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The open dialog ("电子表格 (*.xlsx *.xls *.ods)"), the workbook's first sheet read (a workbook that
// cannot be read gets its message and nothing more), then the dialog, modal, owned by `owner`. The
// table 确定 took, or nothing.
std::optional<GradeTable> RunSheetImportDialog(Prompter& prompter, StatusSink& status, DialogRunner& runner,
                                               QWidget* owner);

}  // namespace scorvane

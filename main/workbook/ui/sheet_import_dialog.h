#pragma once

#include <QDialog>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/workbook/sheet_append.h"
#include "main/workbook/workbook_import.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace scorvane {

class DialogRunner;
class TableGridModel;

// "导入电子表格" (frmSheetImport): the sheets of a workbook, the header row found (changeable) and the
// first rows as the table will hold them; 确定 takes the sheet as a grade table. 确定 waits while the
// chosen header row gives no field. Appending to an open table ("从电子表格追加学生"), the window also
// says which sheet column goes to which field (lblColumns), and 确定 waits while none does.
// A large sheet shows its first rows at once, read alone (SheetChoice::rowLimit); the whole sheet is
// read meanwhile on a thread of its own, and then gives the counts (and 确定 waits for it when it
// comes first).
class SheetImportDialog : public QDialog {
    Q_OBJECT
  public:
    // The sheet of `grid` is shown as read from `path`; a partial grid is completed in the background.
    // With `appendTo`, the sheet is to be appended to that table (which must outlive the window).
    SheetImportDialog(std::string path, SheetGrid grid, QWidget* parent = nullptr,
                      const GradeTable* appendTo = nullptr);
    ~SheetImportDialog() override;

    // The table 确定 took (nothing before, or after 取消).
    const std::optional<GradeTable>& result() const { return result_; }
    // How 确定 took the sheet (its header and title rows, its students' rows); its table is result().
    const SheetTable& taken() const { return taken_; }
    // The rows the preview shows at most, after the field row.
    static constexpr int kPreviewRows = 100;
    // The rows read for the first look at a sheet: the preview's, with room for titles and notes above.
    static constexpr int kFirstLookRows = 2 * kPreviewRows;
    // Whether the whole sheet is still being read.
    bool reading() const { return reading_; }
    // Waits until the whole sheet is read and shown.
    void waitForSheet();

    QComboBox* sheetCombo() const { return sheets_; }
    QSpinBox* headerRowSpin() const { return headerRow_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* countLabel() const { return count_; }
    QLabel* columnsLabel() const { return columns_; }  // nullptr unless appending
    QTableView* previewGrid() const { return grid_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void sheetChosen(int index);
    void headerRowChanged(int row);
    void present(SheetTable sheet);
    void accept() override;
    // The whole sheet on the reading thread; sheetRead(generation) on the window's when it is done.
    void readWholeSheet();
    void sheetRead(int generation);
    void joinReader();
    // Ends the reading thread early, its sheet no longer wanted.
    void stopReading();

    std::string path_;
    SheetGrid grid_data_;
    std::string readMessage_;
    int headerChosen_ = -1;  // the header row the teacher set, from 0 (-1: the one found)
    SheetTable sheet_;
    std::thread reader_;
    std::atomic<bool> stop_ = false;
    bool reading_ = false;
    int generation_ = 0;        // counts the reading threads started, so a late word is recognised
    SheetGrid whole_;           // what the reading thread read, once it has joined
    std::string wholeMessage_;  // and why it could not
    GradeTable preview_;
    std::optional<GradeTable> result_;
    SheetTable taken_;
    const GradeTable* appendTo_;

    QComboBox* sheets_;
    QSpinBox* headerRow_;
    QLabel* title_;
    QLabel* count_;
    QLabel* columns_ = nullptr;
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

// "从电子表格追加学生": the same steps for a sheet whose students are appended to the open table, column
// by column to the fields of the same title (AppendSheetTable, undo snapshot first). True when rows
// were appended.
bool RunSheetAppendDialog(Document& document, Prompter& prompter, StatusSink& status, DialogRunner& runner,
                          QWidget* owner);

}  // namespace scorvane

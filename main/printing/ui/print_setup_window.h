#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "main/printing/table_page_layout.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace scorvane {

class DialogRunner;
class PrintPath;
class RecordedPages;
class ScrolledPage;

// The print set-up and preview window (frmPrintSetup, "打印:"): title and footer, what to show, all
// pages or one 64-row page or one row, the preview of the A4 pages as they print (刷新) and 打印.
//
// The table is only read: formulas print their values through the source's value function, so the
// table, its file name, modified flag and undo snapshot are the same after the window closes, and a
// table never saved previews and prints too. The preview is laid out once per 刷新, measured as on
// paper, and painted only where it is in view.
class PrintSetupWindow : public QDialog {
    Q_OBJECT
  public:
    // Opens with the boxes ticked as `initial` says (InitialTablePrintSettings).
    PrintSetupWindow(TablePrintSource source, const TablePrintSettings& initial, PrintPath& printPath,
                     StatusSink& status, QWidget* owner = nullptr);
    ~PrintSetupWindow() override;

    // The settings the controls hold now.
    TablePrintSettings settings() const;
    // 刷新(&R) and 打印(&P).
    void refresh();
    void print();

    // The preview's pages after the last 刷新.
    int previewPages() const { return previewPages_; }
    const RecordedPages& preview() const { return *preview_; }
    ScrolledPage* previewView() const { return view_; }

  private:
    void build();

    TablePrintSource source_;
    PrintPath& printPath_;
    StatusSink& status_;
    std::string printTime_;
    std::unique_ptr<DrawingSurface> metrics_;
    std::unique_ptr<RecordedPages> preview_;
    int previewPages_ = 0;
    bool rowChosenLast_ = false;

    QLineEdit* title_ = nullptr;
    QLineEdit* footer_ = nullptr;
    QCheckBox* classInfo_ = nullptr;
    QCheckBox* teacher_ = nullptr;
    QCheckBox* fitWidth_ = nullptr;
    QCheckBox* rules_ = nullptr;
    QComboBox* page_ = nullptr;
    QComboBox* row_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    ScrolledPage* view_ = nullptr;
};

// 打印、预览[表格](&P): the print set-up window on the table, modal, owned by `owner`.
void RunPrintSetup(TablePrintSource source, const TablePrintSettings& initial, PrintPath& printPath,
                   StatusSink& status, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

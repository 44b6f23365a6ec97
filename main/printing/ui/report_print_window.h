#pragma once

#include <QDialog>
#include <memory>

#include "main/printing/report_printing.h"

class QAction;
class QComboBox;
class QListWidget;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace scorvane {

class DialogRunner;
class PrintPath;
class Prompter;
class RecordedPages;
class ScrolledPage;

// The report printing window (frmPrintBB, "报表打印"): a report template filled with the rows of a grade
// table, one page a row. The user opens a template (打开报表模板), binds its labels to fields (绑定 &>>,
// 取消绑定), chooses the rows and the paper's orientation, and prints (开始打印). The template page is
// previewed as the designer shows it, with the labels' captions.
class ReportPrintWindow : public QDialog {
    Q_OBJECT
  public:
    ReportPrintWindow(ReportSource source, PrintPath& printPath, Prompter& prompter,
                      QWidget* owner = nullptr);
    ~ReportPrintWindow() override;

    const ReportPrinting& printing() const { return printing_; }
    QMenuBar* menuBar() const { return menuBar_; }

    // The commands.
    void openTemplate();  // 打开报表模板(&O)
    void bind();          // 绑定 &>>
    void unbind();        // 取消绑定
    void print();         // 开始打印(&P)
    // The rows the range options choose now.
    ReportRowRange chosenRows() const;

  private:
    void build();
    void showTemplate();
    void orientationChosen();
    void rangeStartChanged();
    void rangeEndChanged();

    ReportPrinting printing_;
    PrintPath& printPath_;
    Prompter& prompter_;
    std::unique_ptr<DrawingSurface> metrics_;
    std::unique_ptr<RecordedPages> page_;

    QMenuBar* menuBar_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* printAction_ = nullptr;
    ScrolledPage* view_ = nullptr;
    QComboBox* labels_ = nullptr;
    QComboBox* fields_ = nullptr;
    QPushButton* bindButton_ = nullptr;
    QListWidget* bindings_ = nullptr;
    QPushButton* unbindButton_ = nullptr;
    QRadioButton* oneRow_ = nullptr;
    QRadioButton* allRows_ = nullptr;
    QRadioButton* fromTo_ = nullptr;
    QComboBox* oneRowBox_ = nullptr;
    QComboBox* fromBox_ = nullptr;
    QComboBox* toBox_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
};

// 打印报表(&B): the report printing window on the table, modal, owned by `owner`.
void RunReportPrinting(ReportSource source, PrintPath& printPath, Prompter& prompter, DialogRunner& runner,
                       QWidget* owner);

}  // namespace scorvane

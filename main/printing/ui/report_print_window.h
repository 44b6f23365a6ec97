#pragma once

#include <QDialog>
#include <memory>

#include "main/printing/report_printing.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
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
// previewed as the designer shows it, with the labels' captions. With 每个学生一个PDF文件(&E) ticked,
// 开始打印 writes each student's page(s) into a PDF file of its own in the folder chosen, named from the
// fields of the file-name pattern, so that each family gets its own child's card alone.
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
    void chooseFolder();  // 浏览(&W)...: the folder of the students' files
    // The rows the range options choose now.
    ReportRowRange chosenRows() const;
    // The runner of the folder dialog (the program's by default).
    void setDialogRunner(DialogRunner& runner) { runner_ = &runner; }

    QCheckBox* splitBox() const { return splitBox_; }
    QLineEdit* folderEdit() const { return folderEdit_; }
    QLineEdit* patternEdit() const { return patternEdit_; }

  private:
    void build();
    void showTemplate();
    void orientationChosen();
    void rangeStartChanged();
    void rangeEndChanged();
    void splitChosen();
    // 开始打印 with 每个学生一个PDF文件: the files written, each whole or not at all.
    void writeFiles(ReportRowRange rows);

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
    QCheckBox* splitBox_ = nullptr;
    QLineEdit* folderEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QLineEdit* patternEdit_ = nullptr;
    DialogRunner* runner_ = nullptr;
};

// 打印报表(&B): the report printing window on the table, modal, owned by `owner`.
void RunReportPrinting(ReportSource source, PrintPath& printPath, Prompter& prompter, DialogRunner& runner,
                       QWidget* owner);

}  // namespace scorvane

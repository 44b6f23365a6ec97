#pragma once

#include <QDialog>
#include <memory>

#include "main/printing/chart_axis.h"
#include "main/printing/charts.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace scorvane {

class DialogRunner;
class GradeTable;
class PrintPath;
class Prompter;
class QtSurface;

// The chart dialog (frm图表, "图表（A4纵向，约半张）"): the fields ticked and the rows chosen of a grade
// table drawn as a line chart (scores "降序↑" or ranks "升序↓") or a bar chart, previewed on a 500 x 320
// picture (刷新预览), printed over the upper half of an A4 page (打印) and saved as a Windows bitmap of
// the preview (保存图片). While the teacher chooses, 最大值 and 最小值 follow the axis offered for the
// values chosen (OfferedChartAxis: 500 and 200 for totals of 250 to 483), until a box is changed by hand.
class ChartDialog : public QDialog {
    Q_OBJECT
  public:
    ChartDialog(const GradeTable& table, CellValueFn value, PrintPath& printPath, Prompter& prompter,
                QWidget* owner = nullptr);
    ~ChartDialog() override;

    // What the controls choose now (the boxes as they stand).
    ChartData chosenData() const;
    ChartType chosenType() const;

    // 刷新预览, 打印 and 保存图片.
    bool preview();
    void print();
    void savePicture();

    // The preview picture.
    const QtSurface& picture() const { return *picture_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void displayFieldChosen();
    void chartTypeChosen();
    // Puts the axis offered for the present choice into the boxes that still hold the last offer.
    void offerAxis();
    void showPicture();
    // Checks the choice (the message when nothing is chosen) and puts "1" into an empty or zero box.
    bool checkedData(ChartData& data);

    const GradeTable& table_;
    CellValueFn value_;
    PrintPath& printPath_;
    Prompter& prompter_;
    std::unique_ptr<QtSurface> picture_;
    ChartAxis offered_;

    QLineEdit* title_ = nullptr;
    QListWidget* fields_ = nullptr;
    QComboBox* displayField_ = nullptr;
    QListWidget* rows_ = nullptr;
    QRadioButton* lineChart_ = nullptr;
    QRadioButton* barChart_ = nullptr;
    QFrame* orderPanel_ = nullptr;
    QRadioButton* descending_ = nullptr;
    QRadioButton* ascending_ = nullptr;
    QLineEdit* maximum_ = nullptr;
    QLineEdit* minimum_ = nullptr;
    QLineEdit* segments_ = nullptr;
    QLabel* pictureLabel_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QLabel* saveLink_ = nullptr;
    QLabel* barHelp_ = nullptr;
    QLabel* lineHelp_ = nullptr;
};

// 打印图表(&H): the chart dialog on the table, modal, owned by `owner`.
void RunChartDialog(const GradeTable& table, CellValueFn value, PrintPath& printPath, Prompter& prompter,
                    DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

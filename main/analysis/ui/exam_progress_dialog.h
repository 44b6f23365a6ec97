#pragma once

#include <optional>
#include <string>

#include "main/analysis/ui/analysis_dialog.h"

class QComboBox;

namespace scorvane {

inline constexpr std::string_view kExamProgressCaption = "进退步分析";
inline constexpr std::string_view kEarlierTableOpenTitle = "选择前次考试的表格";

// "进退步分析": how far each student of the open table (the later exam, as it stands in the window)
// moved since an earlier one. The earlier-table box offers the other tables of the table's folder, the
// newest first; "浏览..." picks a table anywhere else through a file dialog, which is how a new, unsaved
// table (one in no folder) finds its earlier exam. Choosing the earlier table offers the fields both
// tables have (总分 by default) and the keys that match students (学号 where both have it, else 姓名).
// 确定 reads the earlier table again, as it is now.
class ExamProgressDialog : public AnalysisDialog {
    Q_OBJECT
  public:
    ExamProgressDialog(const GradeTable& later, Prompter& prompter, QWidget* parent = nullptr);

    QComboBox* earlierBox() const { return earlierBox_; }
    QPushButton* browseButton() const { return browse_; }
    QComboBox* fieldBox() const { return fieldBox_; }
    QComboBox* keyBox() const { return keyBox_; }

  private:
    void browse();
    void earlierChosen();
    std::string laterName() const;
    AnalysisResult compute() override;

    const GradeTable& later_;
    QComboBox* earlierBox_;
    QPushButton* browse_;
    QComboBox* fieldBox_;
    QComboBox* keyBox_;
};

// The window on the open table, modal, owned by `owner`; the table when it was closed with 确定.
std::optional<GradeTable> RunExamProgressDialog(const GradeTable& later, Prompter& prompter,
                                                DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

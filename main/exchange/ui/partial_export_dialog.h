#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "main/exchange/partial_export.h"

class QCheckBox;
class QListView;
class QListWidget;
class QPushButton;

namespace scorvane {

class DialogRunner;

// "导出表格指定数据" (frmExpTable): saves chosen rows and chosen fields of a table as a new table file.
class PartialExportDialog : public QDialog {
    Q_OBJECT
  public:
    PartialExportDialog(const GradeTable& table, Prompter& prompter, StatusSink& status,
                        QWidget* parent = nullptr);

    // The chosen data rows (1 .. Rows-1) and fields (1 .. Cols-1), in table order.
    std::vector<int> chosenRows() const;
    std::vector<int> chosenFields() const;

    // After "确定(&O)" was answered Yes to the open question: the file to open (without ".skv").
    const std::optional<std::string>& fileToOpen() const { return fileToOpen_; }

    QListView* rowList() const { return rows_; }
    QListWidget* fieldList() const { return fields_; }
    QCheckBox* allRowsCheck() const { return allRows_; }
    QCheckBox* allFieldsCheck() const { return allFields_; }
    QCheckBox* eachRowCheck() const { return eachRow_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void exportChosen();

    const GradeTable& table_;
    Prompter& prompter_;
    StatusSink& status_;
    std::optional<std::string> fileToOpen_;

    QListView* rows_;
    QListWidget* fields_;
    QCheckBox* allRows_;
    QCheckBox* allFields_;
    QCheckBox* eachRow_;
    QPushButton* ok_;
    QPushButton* save_;
    QPushButton* cancel_;
};

// menuexptable: the dialog, modal, owned by `owner`. The file to open when the user answered Yes to
// "文件保存完毕，是否现在打开？" (the dialog has closed then).
std::optional<std::string> RunPartialExportDialog(const GradeTable& table, Prompter& prompter,
                                                  StatusSink& status, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

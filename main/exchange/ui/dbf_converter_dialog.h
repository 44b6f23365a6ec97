#pragma once

#include <QDialog>

#include "main/exchange/dbf_converter.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace scorvane {

class DialogRunner;
class TableGridModel;

// "DBF2DAT,KVL'S Scorvane 数据格式转换器 " (Form2): reads a dBASE/FoxPro table, shows it, and saves it as
// a grade table with the title, teacher and class information typed in. It needs no open table.
class DbfConverterDialog : public QDialog {
    Q_OBJECT
  public:
    DbfConverterDialog(Prompter& prompter, StatusSink& status, QWidget* parent = nullptr);

    const DbfConverter& converter() const { return converter_; }
    // The boxes' texts as the data file takes them (line breaks as CR LF).
    ConvertedTableInfo info() const;

    QLineEdit* pathBox() const { return path_; }
    QPushButton* openButton() const { return open_; }
    QTableView* grid() const { return grid_; }
    QLineEdit* titleBox() const { return title_; }
    QLineEdit* teacherBox() const { return teacher_; }
    QPlainTextEdit* classInfoBox() const { return classInfo_; }
    QPushButton* saveButton() const { return save_; }

  private:
    void openTable();
    void saveTable();

    Prompter& prompter_;
    StatusSink& status_;
    DbfConverter converter_;

    QLineEdit* path_;
    QPushButton* open_;
    TableGridModel* model_;
    QTableView* grid_;
    QLineEdit* title_;
    QLineEdit* teacher_;
    QPlainTextEdit* classInfo_;
    QPushButton* save_;
};

// menuFoxExp and menuDRother: the converter, modal, owned by `owner`.
void RunDbfConverterDialog(Prompter& prompter, StatusSink& status, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

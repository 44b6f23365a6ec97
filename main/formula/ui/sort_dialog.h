#pragma once

#include <QDialog>

#include "main/formula/sort_rows.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace scorvane {

class Prompter;

// "排序：" (frm排序): sorts the data rows of a table by one field, ascending or descending, and can
// write each row's new position into another field as its rank.
class SortDialog : public QDialog {
    Q_OBJECT
  public:
    // Prepared from the table: the field of the current column, the direction of the button used.
    SortDialog(Document& document, int currentCol, bool descending, Prompter& prompter,
               QWidget* parent = nullptr);

    // The choice the dialog stands on.
    SortChoice choice() const;

    QComboBox* sortFieldBox() const { return sortField_; }
    QComboBox* rankFieldBox() const { return rankField_; }
    QCheckBox* rankCheck() const { return writeRanks_; }
    QRadioButton* ascendingOption() const { return ascending_; }
    QRadioButton* descendingOption() const { return descending_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void keepFieldsApart();
    void sort();

    Document& document_;
    Prompter& prompter_;
    int fieldCount_ = 0;
    bool adjusting_ = false;
    QComboBox* sortField_;
    QComboBox* rankField_;
    QCheckBox* writeRanks_;
    QRadioButton* ascending_;
    QRadioButton* descending_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace scorvane

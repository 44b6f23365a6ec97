#pragma once

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace scorvane {

class TableWindow;

// "查找..." (frmFind): marks every cell of a table that holds a text and lists the rows in the table's
// menu "转到查找结果". It does not block the tables and stays on top; it searches whichever table the
// frame makes active while it is open. "查找(&F)" searches and closes it.
class FindWindow : public QWidget {
    Q_OBJECT
  public:
    FindWindow(TableWindow* table, QWidget* owner);

    // The table "查找(&F)" searches: the frame's active one, nullptr while none is open.
    TableWindow* table() const { return table_; }
    void setTable(TableWindow* table);
    QLineEdit* findEdit() const { return find_; }
    QCheckBox* check(const char* objectName) const;
    QPushButton* findButton() const { return findButton_; }

    // "查找(&F)".
    void find();

  private:
    void updateControls();

    QPointer<TableWindow> table_;
    QLineEdit* find_;
    QCheckBox* red_;
    QCheckBox* bold_;
    QCheckBox* wholeCell_;
    QCheckBox* bluePartial_;
    QCheckBox* addToMenu_;
    QPushButton* findButton_;
};

}  // namespace scorvane

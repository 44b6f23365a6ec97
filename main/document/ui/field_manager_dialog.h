#pragma once

#include <QDialog>

#include "main/document/field_manager.h"

class QListWidget;
class QPushButton;

namespace scorvane {

class DialogRunner;

// "字段编辑器" (frm项目管理): the list of field titles, edited as a whole and applied to the table's
// titles and column count on "确定(&O)". The list is the FieldManager's; the dialog shows it and
// forwards every button to it.
class FieldManagerDialog : public QDialog {
    Q_OBJECT
  public:
    FieldManagerDialog(FieldManager& manager, Document& document, Prompter& prompter,
                       QWidget* parent = nullptr);

    QListWidget* itemList() const { return list_; }
    QPushButton* insertButton() const { return insert_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* renameButton() const { return rename_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    // Shows the manager's items and selection.
    void showItems();
    void run(void (FieldManager::*command)(Prompter&));

    FieldManager& manager_;
    Document& document_;
    Prompter& prompter_;
    QListWidget* list_;
    QPushButton* insert_;
    QPushButton* remove_;
    QPushButton* clear_;
    QPushButton* rename_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The field manager of the program: its list stays from one showing to the next.
FieldManager& SharedFieldManager();

// "表格字段管理(&A)": the undo snapshot, the list filled with the table's titles with the last one
// selected, then the dialog. True when "确定(&O)" applied the list to the table (Undo is available
// either way: the caller updates its Undo command and, on true, shows the table anew).
bool OpenFieldManager(Document& document, Prompter& prompter, DialogRunner& runner, QWidget* owner);

// The new-table wizard's step: the dialog on the list as it stood after its last use (empty at first),
// without snapshot. True when "确定(&O)" applied it.
bool RunFieldManagerDialog(Document& document, Prompter& prompter, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

#pragma once

#include <QDialog>

#include "main/exchange/partial_import.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace scorvane {

class DialogRunner;
class TableGridModel;

// "部分数据导入：" (frmImport): fills one column of the open table from one column of another table,
// row by row or matched on a key field of each ("对号入座").
class PartialImportDialog : public QDialog {
    Q_OBJECT
  public:
    // Opening takes the document's undo snapshot (menuImportSome).
    PartialImportDialog(Document& document, Prompter& prompter, StatusSink& status,
                        QWidget* parent = nullptr);

    // The column chosen in each grid (table coordinates; 0 while none is).
    int targetColumn() const;
    int sourceColumn() const;
    // Chooses a column as a click on it does (0 chooses none).
    void chooseTargetColumn(int col);
    void chooseSourceColumn(int col);

    const PartialImportSession& session() const { return session_; }
    bool imported() const { return imported_; }

    QTableView* targetGrid() const { return targetGrid_; }
    QTableView* sourceGrid() const { return sourceGrid_; }
    QCheckBox* keyMatchingCheck() const { return keyMatching_; }
    QComboBox* targetKeyBox() const { return targetKey_; }
    QComboBox* sourceKeyBox() const { return sourceKey_; }
    QLabel* explanationLabel() const { return explanation_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void browse();
    void confirm();
    void keyMatchingToggled(bool ticked);

    PartialImportSession session_;
    Prompter& prompter_;
    StatusSink& status_;
    bool imported_ = false;

    TableGridModel* targetModel_;
    TableGridModel* sourceModel_;
    QTableView* targetGrid_;
    QTableView* sourceGrid_;
    QCheckBox* keyMatching_;
    QComboBox* targetKey_;
    QComboBox* sourceKey_;
    QLabel* explanation_;
    QPushButton* browse_;
    QPushButton* confirm_;
    QPushButton* cancel_;
};

// menuImportSome: the undo snapshot, then the dialog, modal, owned by `owner`. True when it imported.
bool RunPartialImportDialog(Document& document, Prompter& prompter, StatusSink& status, DialogRunner& runner,
                            QWidget* owner);

}  // namespace scorvane

#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

#include "main/document/table_font.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace scorvane {

class DialogRunner;
class FontPreview;

// "更改字体：" (frmFont): the one table font of all table windows, a font name and a size from the
// list of point sizes and Chinese size names, with a preview.
class FontDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens on `current`: its name in the name box and selected in the list, its size preselected
    // (PreselectedFontSize). The list holds the system's font names.
    explicit FontDialog(const TableFont& current, QWidget* parent = nullptr);
    // The same with the names the list offers given (empty names are skipped).
    FontDialog(const TableFont& current, const QStringList& fontNames, QWidget* parent = nullptr);

    // The font the dialog stands on: the name box's text trimmed of spaces (the opening font's name
    // when it is empty) and the selected size's point size.
    TableFont chosenFont() const;
    // The font the preview is drawn in.
    QFont previewFont() const;

    QLineEdit* nameEdit() const { return name_; }
    QListWidget* fontList() const { return list_; }
    QComboBox* sizeBox() const { return size_; }
    QWidget* previewBox() const;
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void nameEdited(const QString& text);
    void listChanged();
    void updatePreview();

    TableFont opening_;
    QLineEdit* name_;
    QListWidget* list_;
    QComboBox* size_;
    FontPreview* preview_;
    QPushButton* confirm_;
    QPushButton* cancel_;
};

// "字体(&F)...": the dialog on the current table font. On "确认(&O)" the chosen font is stored in the
// per-user settings ("Name", and "Size" as decimal text) and returned, for the caller to give to the
// table windows; nullopt when the dialog was closed otherwise.
std::optional<TableFont> RunFontDialog(const TableFont& current, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

#include "designer/label_appearance.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace scorvane {
class DialogRunner;
class FontPreview;
}  // namespace scorvane

namespace scorvane::designer {

// "字体" (frmLabelFont): the font of a label, as the system's font dialog offers it: the face name
// from the system's fonts (led by "宋体" and "黑体"), the style (常规, 斜体, 粗体, 粗斜体), the size in
// points (typed, or chosen from the numbers and the Chinese size names), strike-through and underline,
// with a sample.
class LabelFontDialog : public QDialog {
    Q_OBJECT
  public:
    LabelFontDialog(const LabelFontChoice& start, const QStringList& fontNames, QWidget* parent = nullptr);

    // What the dialog stands on: the typed name trimmed (the starting one when empty), the style, the
    // typed size when it is a number of points or a size name (the starting size otherwise) and the
    // effects.
    LabelFontChoice chosenFont() const;

    QLineEdit* nameEdit() const { return name_; }
    QListWidget* nameList() const { return names_; }
    QListWidget* styleList() const { return styles_; }
    QLineEdit* sizeEdit() const { return size_; }
    QListWidget* sizeList() const { return sizes_; }
    QCheckBox* strikethruBox() const { return strikethru_; }
    QCheckBox* underlineBox() const { return underline_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void nameEdited(const QString& text);
    void sizeEdited(const QString& text);
    void updateSample();

    LabelFontChoice start_;
    QLineEdit* name_;
    QListWidget* names_;
    QListWidget* styles_;
    QLineEdit* size_;
    QListWidget* sizes_;
    QCheckBox* strikethru_;
    QCheckBox* underline_;
    FontPreview* sample_;
    QPushButton* ok_;
};

// The dialog run on `start`; the choice, or nullopt when cancelled.
std::optional<LabelFontChoice> RunLabelFontDialog(const LabelFontChoice& start, DialogRunner& runner,
                                                  QWidget* owner);

}  // namespace scorvane::designer

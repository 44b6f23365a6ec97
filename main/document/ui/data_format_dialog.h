#pragma once

#include <QDialog>
#include <string>
#include <string_view>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace scorvane {

class DialogRunner;
class Document;

// "表格数据格式：" (frmDataFormat): the number of decimals formula results are shown with, and whether
// missing decimals are padded with zeros; the preview shows 123.456789 in the resulting pattern.
class DataFormatDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens on a table's data format ("###.##").
    explicit DataFormatDialog(std::string_view pattern, QWidget* parent = nullptr);

    // The pattern the dialog stands on: "###." and the decimals, "0" when padded, else "#".
    std::string pattern() const;

    QLineEdit* decimalsEdit() const { return decimals_; }
    QCheckBox* padCheck() const { return pad_; }
    QLineEdit* previewEdit() const { return preview_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void decimalsEdited(const QString& text);
    void updatePreview();

    QLineEdit* decimals_;
    QCheckBox* pad_;
    QLineEdit* preview_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// "设置数据格式(&D)" and the new-table wizard's step: the dialog on the document's data format; on
// "确定(&O)" the document takes the pattern (marked changed when it differs). True when it was applied.
bool RunDataFormatDialog(Document& document, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane

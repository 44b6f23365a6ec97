#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace scorvane {

// The strip across the top of a table window: "值：", the formula tick "公式" (Check1), the current
// cell's value (Label2), the value box (Text1) with the formula editor's "…" (Command2) beside it, and
// the position box (Text2). The value box takes the window's width less what the parts beside it need;
// a window too narrow for the strip keeps the strip's last sizes. The window gives the controls their
// work.
class ValueStrip : public QWidget {
    Q_OBJECT
  public:
    // The strip's height, twips.
    static constexpr int kHeightTwips = 330;

    explicit ValueStrip(QWidget* parent = nullptr);

    QCheckBox* formulaCheck() const { return formulaCheck_; }
    QLabel* valueLabel() const { return valueLabel_; }
    QLineEdit* valueBox() const { return valueBox_; }
    QPushButton* formulaEditorButton() const { return formulaEditorButton_; }
    QLineEdit* positionBox() const { return positionBox_; }

    // Places the strip across the top of its window, `width` pixels wide, and its controls in it.
    void placeAcross(int width);

  private:
    QLabel* label1_ = nullptr;
    QCheckBox* formulaCheck_ = nullptr;
    QLabel* valueLabel_ = nullptr;
    QLineEdit* valueBox_ = nullptr;
    QPushButton* formulaEditorButton_ = nullptr;
    QLineEdit* positionBox_ = nullptr;
    // The value box's last valid width, kept when the window is made too small for it.
    int valueBoxWidth_ = 0;
};

}  // namespace scorvane

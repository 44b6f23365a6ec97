#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "common/report_template.h"
#include "designer/line_editing.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStackedWidget;

namespace scorvane::designer {

// The designer's side panel: the line list and the label list, the line editor "表格线属性：" (Frame1)
// and the label editor "文字标签：" (Frame2) sharing one place, the whole-table move buttons, the grid
// switch with its spacing and the page orientation. It holds and shows the controls; the window gives
// them their work. Pointing at a list's caption, or the focus entering a list, brings that list's
// editor into view.
//
// Tab goes through the panel in reading order, each list followed by its own editor (a list that takes
// the focus brings its editor into view): the line list, the line editor's boxes, bars and buttons,
// the label list, the label editor's boxes and buttons, the whole-table moves, the grid switch and its
// spacing, the orientation, then the page. Shift+Tab goes back the same way through the editor in view.
class SidePanel : public QWidget {
    Q_OBJECT
  public:
    explicit SidePanel(QWidget* parent = nullptr);

    // Shows the line editor or the label editor in the shared place.
    void showLineEditor();
    void showLabelEditor();
    bool lineEditorShown() const;

    // The selected line's coordinates in the boxes and on the move bars; nullopt (no line selected)
    // empties the boxes. A coordinate the record does not give leaves its box as it was, and a bar
    // keeps its place when the line lies outside its range; nothing here reports a change.
    void showLine(const std::optional<LineCoordinates>& coordinates);
    // The page's orientation and the move bars' ranges (0 … width, 0 … height twips), unreported.
    void showPage(bool landscape, long long width, long long height);
    // The selected label's position, caption (line breaks as "[/]") and data tick; nullptr empties them.
    void showLabel(const TemplateLabel* label);

    // A key with Alt on its way to a control of the window: Alt+F in the label editor (or its list) is
    // "更改字体(&F)", which shares its letter with the menu "文件(&F)"; Alt with any other letter that no
    // shortcut took is dropped instead of typed. True when the key is taken.
    bool takeAltKey(QKeyEvent* key);

  protected:
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  public:
    QLabel* lineListCaption;   // Label8
    QComboBox* lineList;       // Combo1
    QLabel* labelListCaption;  // Label9
    QComboBox* labelList;      // Combo2
    QStackedWidget* editors;

    QGroupBox* lineEditor;                      // Frame1
    std::array<QLineEdit*, 4> coordinateBoxes;  // Text2(0) … Text2(3): x1, y1, x2, y2
    QScrollBar* moveHorizontal;                 // LH
    QScrollBar* moveVertical;                   // LV
    QPushButton* lengthen;                      // Command8 "+"
    QPushButton* shorten;                       // Command9 "-"
    QPushButton* copyLine;                      // Command7
    QPushButton* deleteLine;                    // Command2

    QGroupBox* labelEditor;    // Frame2
    QLineEdit* labelTop;       // Text4(0)
    QLineEdit* labelLeft;      // Text4(1)
    QLineEdit* labelText;      // Text3
    QCheckBox* dataLabel;      // Check2 "引用数据"
    QPushButton* addLabel;     // Command3
    QPushButton* deleteLabel;  // Command6
    QPushButton* labelFont;    // Command4 "更改字体(&F)"
    QPushButton* labelColor;   // Command5 "更改颜色(&C)"

    std::array<QPushButton*, 4> tableMoves;  // Command10 "↑", Command11 "→", Command12 "←", Command13 "↓"
    QCheckBox* gridSwitch;                   // Check1 "网格线", then the spacing box and "cm."
    QLineEdit* gridSpacing;                  // Text1
    QRadioButton* landscape;                 // Option1 "纸张横向"
    QRadioButton* portrait;                  // Option2 "纸张纵向"
};

}  // namespace scorvane::designer

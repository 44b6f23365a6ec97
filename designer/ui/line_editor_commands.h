#pragma once

#include <QObject>
#include <array>

class QKeyEvent;
class QLineEdit;

namespace scorvane::designer {

class SidePanel;
struct TemplateDocument;

// The work of the side panel's line editor "表格线属性：": the coordinate boxes (Enter commits them;
// only digits, Backspace and Delete reach them), the move bars, "+" and "-", "复制线条(&C)" and
// "删除线条(&D)", each a command of the document on its selected line (line_editing.h). The window
// shows the document again when told.
class LineEditorCommands : public QObject {
    Q_OBJECT
  public:
    LineEditorCommands(SidePanel& panel, TemplateDocument& doc, QObject* parent = nullptr);

  signals:
    // A line changed: the page is drawn anew.
    void lineChanged();
    // A line was added or removed: the line list too.
    void linesChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool coordinateKey(QKeyEvent* key);
    void commitCoordinates();
    void changed(bool done);

    TemplateDocument& doc_;
    std::array<QLineEdit*, 4> boxes_;
};

}  // namespace scorvane::designer

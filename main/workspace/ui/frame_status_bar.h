#pragma once

#include <QStatusBar>
#include <string_view>

#include "common/status_sink.h"

class QLabel;

namespace scorvane {

// The frame's status bar (StatusBar1) with its two panels: Panel1 says what the program is doing
// ("就绪" at rest), Panel2 describes the active table. As the status sink of the frame and its table
// windows it shows their texts in Panel1 and the busy pointer while they work; the pointer is given
// back however deeply it was taken.
class FrameStatusBar : public QStatusBar, public StatusSink {
    Q_OBJECT
  public:
    explicit FrameStatusBar(QWidget* parent = nullptr);
    ~FrameStatusBar() override;

    // The text of panel 1 or 2.
    QString panelText(int panel) const;
    void setTableStatus(std::string_view text);

    void setStatus(std::string_view text) override;
    void setBusy(bool busy) override;

  private:
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    int busyDepth_ = 0;
};

}  // namespace scorvane

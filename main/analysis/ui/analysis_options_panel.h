#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "main/analysis/analysis_settings.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace scorvane {

// What the statistics windows ask: the fields (each with a tick and its full marks), one full-marks
// box for all fields, the pass, excellent and low lines, and (for a class) the band width.
//
// Typing into a field's full marks makes them its own; the box for all fields then changes only the
// fields whose full marks were not typed.
class AnalysisOptionsPanel : public QWidget {
    Q_OBJECT
  public:
    AnalysisOptionsPanel(bool withBandWidth, QWidget* parent = nullptr);

    // The fields offered, in order, those in `ticked` ticked; every field's full marks those of the box.
    void setFields(const std::vector<std::string>& fields, const std::vector<std::string>& ticked);
    // The ticked fields, in order.
    std::vector<std::string> tickedFields() const;
    // The ticked fields, each with the full marks its row shows, and the boxes' texts.
    AnalysisTexts texts() const;

    QTableWidget* fieldList() const { return fields_; }
    QPushButton* allButton() const { return all_; }
    QPushButton* noneButton() const { return none_; }
    QLineEdit* fullMarksBox() const { return fullMarks_; }
    QLineEdit* passBox() const { return pass_; }
    QLineEdit* excellentBox() const { return excellent_; }
    QLineEdit* lowBox() const { return low_; }
    QLineEdit* bandWidthBox() const { return bandWidth_; }  // nullptr without the band width
    // The first and the last control in Tab order, for the window around the panel.
    QWidget* firstControl() const;
    QWidget* lastControl() const;

  private:
    void tickAll(bool ticked);
    void fullMarksForAll(const QString& text);

    QTableWidget* fields_;
    QPushButton* all_;
    QPushButton* none_;
    QLineEdit* fullMarks_;
    QLineEdit* pass_;
    QLineEdit* excellent_;
    QLineEdit* low_;
    QLineEdit* bandWidth_ = nullptr;
    bool filling_ = false;
};

}  // namespace scorvane

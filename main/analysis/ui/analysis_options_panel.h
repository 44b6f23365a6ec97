#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "main/analysis/analysis_settings.h"

class QGridLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace scorvane {

// What the analysis windows ask: the fields, each with a tick, and for the statistics each field's full
// marks, one full-marks box for all fields, the pass, excellent and low lines, and (for a class) the
// band width.
//
// Typing into a field's full marks makes them its own; the box for all fields then changes only the
// fields whose full marks were not typed.
class AnalysisOptionsPanel : public QWidget {
    Q_OBJECT
  public:
    enum class Boxes { None, Lines, LinesAndBandWidth };
    AnalysisOptionsPanel(Boxes boxes, QWidget* parent = nullptr);

    // The fields offered, in order, those in `ticked` ticked; every field's full marks those of the box.
    void setFields(const std::vector<std::string>& fields, const std::vector<std::string>& ticked);
    // The ticked fields, in order.
    std::vector<std::string> tickedFields() const;
    // The ticked fields, each with the full marks its row shows, and the boxes' texts (the fields alone
    // without the boxes).
    AnalysisTexts texts() const;

    QTableWidget* fieldList() const { return fields_; }
    QPushButton* allButton() const { return all_; }
    QPushButton* noneButton() const { return none_; }
    // The boxes: nullptr without them.
    QLineEdit* fullMarksBox() const { return fullMarks_; }
    QLineEdit* passBox() const { return pass_; }
    QLineEdit* excellentBox() const { return excellent_; }
    QLineEdit* lowBox() const { return low_; }
    QLineEdit* bandWidthBox() const { return bandWidth_; }
    // The first and the last control in Tab order, for the window around the panel.
    QWidget* firstControl() const;
    QWidget* lastControl() const;

  private:
    QGridLayout* buildBoxes(bool withBandWidth);
    void tickAll(bool ticked);
    void fullMarksForAll(const QString& text);

    QTableWidget* fields_;
    QPushButton* all_;
    QPushButton* none_;
    QLineEdit* fullMarks_ = nullptr;
    QLineEdit* pass_ = nullptr;
    QLineEdit* excellent_ = nullptr;
    QLineEdit* low_ = nullptr;
    QLineEdit* bandWidth_ = nullptr;
    bool filling_ = false;
};

}  // namespace scorvane

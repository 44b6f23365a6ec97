#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "main/analysis/analysis_settings.h"

class QGridLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace scorvane {

// What the analysis windows ask: the fields, each with a tick, and for the statistics each field's full
// marks, one full-marks box for all fields, the pass, excellent and low lines, and (for a class) the
// band width; for the levels the full marks alone.
//
// Typing into a field's full marks makes them its own (so do full marks remembered for its title);
// every other field shows OfferedFullMarks: the box for all fields, or for a field that adds others
// the sum (or mean) of theirs, following them as they change.
class AnalysisOptionsPanel : public QWidget {
    Q_OBJECT
  public:
    enum class Boxes { None, FullMarks, Lines, LinesAndBandWidth };
    AnalysisOptionsPanel(Boxes boxes, QWidget* parent = nullptr);

    // The fields offered, in order, those in `ticked` ticked; a field named in `own` with those full
    // marks as its own, the others with the full marks offered (see above).
    void setFields(const std::vector<std::string>& fields, const std::vector<std::string>& ticked,
                   const DerivedFields& derived = {},
                   const std::vector<std::pair<std::string, std::string>>& own = {});
    // The full marks that are the fields' own (typed or remembered), by title.
    std::vector<std::pair<std::string, std::string>> ownFullMarks() const;
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
    QGridLayout* buildBoxes(Boxes boxes);
    void tickAll(bool ticked);
    // Shows the offered full marks in every row that has none of its own.
    void offerFullMarks();

    QTableWidget* fields_;
    QPushButton* all_;
    QPushButton* none_;
    QLineEdit* fullMarks_ = nullptr;
    QLineEdit* pass_ = nullptr;
    QLineEdit* excellent_ = nullptr;
    QLineEdit* low_ = nullptr;
    QLineEdit* bandWidth_ = nullptr;
    DerivedFields derived_;
    bool filling_ = false;
};

// The question before a result opens when marks pass their full marks (`warning`, see
// MarksAboveFullMarksMessage): "继续" goes on, "返回修改" (the default, also Esc) goes back to the
// window. True when there is nothing to ask or the user goes on.
bool MayUseFullMarks(const std::string& warning, Prompter& prompter);

}  // namespace scorvane

#pragma once

#include <string>
#include <vector>

#include "common/report_template.h"

namespace scorvane::designer {

// The labels of the template being designed. Element 0 is the hidden prototype, whose font, size and
// colour a new label copies; elements 1 .. m are the visible labels, element i holding label record
// i - 1 of the file. Beside them stand the names the label list shows, one per visible label in the
// same order. Visible labels are indexed from 0 here: label(i) is element i + 1.
class LabelStore {
  public:
    // The prototype starts as 宋体, 12 points, regular, black.
    LabelStore();

    // "文字标签  i" for the i-th label read from a file, and for a label added as element i.
    static std::string ListName(size_t number);

    TemplateLabel& prototype() { return prototype_; }
    const TemplateLabel& prototype() const { return prototype_; }

    size_t size() const { return labels_.size(); }
    bool empty() const { return labels_.empty(); }
    // The number of elements, the prototype included (m + 1).
    size_t elementCount() const { return labels_.size() + 1; }
    TemplateLabel& label(size_t i) { return labels_[i]; }
    const TemplateLabel& label(size_t i) const { return labels_[i]; }
    const std::vector<TemplateLabel>& labels() const { return labels_; }
    const std::string& name(size_t i) const { return names_[i]; }
    const std::vector<std::string>& names() const { return names_; }

    // Appends a visible label under the given list name; the selection stays where it is.
    void append(TemplateLabel label, std::string name);
    // Removes visible label i: every later label moves down one place, and the last name goes, so the
    // names of the labels that stay do not change. The selection is cleared.
    void removeShifting(size_t i);
    // Removes every visible label and its name, keeping the prototype.
    void clearVisible();

    // The selected visible label, -1 when none.
    int selected() const { return selected_; }
    bool hasSelection() const { return selected_ >= 0; }
    void select(int i);
    void selectLast() { select(static_cast<int>(size()) - 1); }
    // What the commands on "the selected label" act on: the selected label, or the prototype when no
    // label is selected.
    TemplateLabel& target() { return hasSelection() ? labels_[static_cast<size_t>(selected_)] : prototype_; }
    const TemplateLabel& target() const {
        return hasSelection() ? labels_[static_cast<size_t>(selected_)] : prototype_;
    }

  private:
    TemplateLabel prototype_;
    std::vector<TemplateLabel> labels_;
    std::vector<std::string> names_;
    int selected_ = -1;
};

}  // namespace scorvane::designer

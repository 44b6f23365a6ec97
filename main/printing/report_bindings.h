#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"

namespace scorvane {

// One binding of the report printing window: the template's label `label` (1 = the first label of the
// label list) prints the value of the table's column `column` (1 = the first field).
struct ReportBinding {
    int label = 0;
    int column = 0;
    std::string caption;    // the label's caption, for the list
    std::string fieldName;  // the field's title, for the list
};

// The binding list, in the order the bindings were made. Its display text for each entry is the caption
// and the field name joined by " = ", its index text the label and column numbers joined the same way.
class ReportBindings {
  public:
    // Appends a binding; false (and nothing added) when this label is already bound to this column.
    bool bind(int label, int column, std::string_view caption, std::string_view fieldName);
    // Removes the entry at `index`; false when there is none.
    bool unbind(size_t index);
    void clear() { entries_.clear(); }

    const std::vector<ReportBinding>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    std::string displayText(size_t index) const;
    std::string indexText(size_t index) const;

    // The column whose value label `label` prints: the last matching binding wins; 0 when unbound.
    int columnFor(int label) const;

  private:
    std::vector<ReportBinding> entries_;
};

// "取消绑定": asks "是否取消绑定：<entry> ？" (title "提示", Yes and No) and removes the entry unless the
// answer is No. False when nothing was removed.
bool UnbindWithQuestion(ReportBindings& bindings, size_t index, Prompter& prompter);

}  // namespace scorvane

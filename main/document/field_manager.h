#pragma once

#include <string>
#include <vector>

#include "common/prompter.h"
#include "main/document/document.h"

namespace scorvane {

// The field manager ("字段编辑器"): a list of field titles edited as a whole and applied to a table's
// row 0 and column count. The window keeps one manager for the program's life and shows items() with
// selected() selected; the new-table wizard shows it without open(), so the list is whatever it held
// last.
class FieldManager {
  public:
    // "表格字段管理": takes the snapshot, fills the list with the table's titles (trimmed of spaces) and
    // selects the last one.
    void open(Document& document);

    const std::vector<std::string>& items() const { return items_; }
    int selected() const { return selected_; }
    // -1, or a position outside the list, selects nothing.
    void select(int index);

    // "< 插入": a new title at the end; the last item becomes selected.
    void insert(Prompter& prompter);
    // "> 删除": the selected item, after a question; the selection stays at its place (or moves to the
    // new last item).
    void remove(Prompter& prompter);
    // "清空": every item, after a question; asks for a selection first all the same.
    void clear(Prompter& prompter);
    // "重命名": the selected item.
    void rename(Prompter& prompter);

    // "确定": the table gets Cols = items + 1 and the items as titles, with the corner "   "; cells keep
    // their places, so only the titles move. Sets the modified flag when the titles or the count change.
    void accept(Document& document) const;

  private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

}  // namespace scorvane

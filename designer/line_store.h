#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scorvane::designer {

// The lines of the template being designed: two parallel lists kept in the same order, the line records
// as text ("x1,y1,x2,y2,k", kept exactly as they stand so that a record is written back as it was read)
// and the names the line list shows. Names are not renumbered when a line is removed.
class LineStore {
  public:
    // "表格直线  N" for a line drawn or copied, N being the number of lines before it was added.
    static std::string DrawnName(size_t linesBefore);
    // "表格线段  i" for the i-th line read from a file.
    static std::string ReadName(size_t index);

    size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const std::string& record(size_t i) const { return records_[i]; }
    const std::string& name(size_t i) const { return names_[i]; }
    const std::vector<std::string>& records() const { return records_; }
    const std::vector<std::string>& names() const { return names_; }

    // Appends a line; the selection stays where it is.
    void append(std::string record, std::string name);
    void setRecord(size_t i, std::string record) { records_[i] = std::move(record); }
    // Removes line i; the selection is cleared.
    void remove(size_t i);
    void clear();

    // The selected line, -1 when none.
    int selected() const { return selected_; }
    bool hasSelection() const { return selected_ >= 0; }
    // Selects line i; an index outside the list clears the selection.
    void select(int i);
    void selectLast() { select(static_cast<int>(size()) - 1); }

  private:
    std::vector<std::string> records_;
    std::vector<std::string> names_;
    int selected_ = -1;
};

}  // namespace scorvane::designer

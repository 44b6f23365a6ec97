#include "designer/line_store.h"

namespace scorvane::designer {

std::string LineStore::DrawnName(size_t linesBefore) {
    return "表格直线  " + std::to_string(linesBefore);
}

std::string LineStore::ReadName(size_t index) {
    return "表格线段  " + std::to_string(index);
}

void LineStore::append(std::string record, std::string name) {
    records_.push_back(std::move(record));
    names_.push_back(std::move(name));
}

void LineStore::remove(size_t i) {
    if (i >= size()) {
        return;
    }
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(i));
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(i));
    selected_ = -1;
}

void LineStore::clear() {
    records_.clear();
    names_.clear();
    selected_ = -1;
}

void LineStore::select(int i) {
    selected_ = (i >= 0 && static_cast<size_t>(i) < size()) ? i : -1;
}

}  // namespace scorvane::designer

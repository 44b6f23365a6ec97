#include "designer/label_store.h"

namespace scorvane::designer {

LabelStore::LabelStore() {
    prototype_.fontName = "宋体";
    prototype_.fontSize = 12;
    prototype_.foreColor = kBlack;
}

std::string LabelStore::ListName(size_t number) {
    return "文字标签  " + std::to_string(number);
}

void LabelStore::append(TemplateLabel label, std::string name) {
    labels_.push_back(std::move(label));
    names_.push_back(std::move(name));
}

void LabelStore::removeShifting(size_t i) {
    if (i >= size()) {
        return;
    }
    labels_.erase(labels_.begin() + static_cast<std::ptrdiff_t>(i));
    names_.pop_back();
    selected_ = -1;
}

void LabelStore::clearVisible() {
    labels_.clear();
    names_.clear();
    selected_ = -1;
}

void LabelStore::select(int i) {
    selected_ = (i >= 0 && static_cast<size_t>(i) < size()) ? i : -1;
}

}  // namespace scorvane::designer

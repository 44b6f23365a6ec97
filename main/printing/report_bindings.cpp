#include "main/printing/report_bindings.h"

namespace scorvane {

bool ReportBindings::bind(int label, int column, std::string_view caption, std::string_view fieldName) {
    for (const ReportBinding& b : entries_) {
        if (b.label == label && b.column == column) {
            return false;
        }
    }
    entries_.push_back({label, column, std::string(caption), std::string(fieldName)});
    return true;
}

bool ReportBindings::unbind(size_t index) {
    if (index >= entries_.size()) {
        return false;
    }
    entries_.erase(entries_.begin() + static_cast<long>(index));
    return true;
}

std::string ReportBindings::displayText(size_t index) const {
    if (index >= entries_.size()) {
        return {};
    }
    return entries_[index].caption + " = " + entries_[index].fieldName;
}

std::string ReportBindings::indexText(size_t index) const {
    if (index >= entries_.size()) {
        return {};
    }
    return std::to_string(entries_[index].label) + " = " + std::to_string(entries_[index].column);
}

int ReportBindings::columnFor(int label) const {
    int column = 0;
    for (const ReportBinding& b : entries_) {
        if (b.label == label) {
            column = b.column;
        }
    }
    return column;
}

bool UnbindWithQuestion(ReportBindings& bindings, size_t index, Prompter& prompter) {
    if (index >= bindings.size()) {
        return false;
    }
    Answer a = prompter.ask("是否取消绑定：" + bindings.displayText(index) + " ？", "提示", Buttons::YesNo,
                            Icon::Question, Answer::Yes);
    if (a == Answer::No) {
        return false;
    }
    return bindings.unbind(index);
}

}  // namespace scorvane

#include "main/document/field_manager.h"

#include "common/utf8.h"
#include "main/document/field_commands.h"

namespace scorvane {
namespace {

constexpr std::string_view kSelectToDelete = "请先选择要删除的项目。";
constexpr std::string_view kNewItemPrompt = "请输入一个新的项目名称：";

}  // namespace

void FieldManager::open(Document& document) {
    document.takeSnapshot();
    items_.clear();
    const GradeTable& table = document.table;
    // Segments 1.. of the header layout string last set, as far as the table has columns.
    const std::vector<std::string_view> segments = GradeTable::SplitHeaderLayout(table.headerLayout());
    for (size_t col = 1; col < segments.size() && col < static_cast<size_t>(table.cols()); ++col) {
        items_.emplace_back(TrimSpaces(segments[col]));
    }
    select(static_cast<int>(items_.size()) - 1);
}

void FieldManager::select(int index) {
    selected_ = index >= 0 && static_cast<size_t>(index) < items_.size() ? index : -1;
}

void FieldManager::insert(Prompter& prompter) {
    if (auto title = AskFieldTitle(prompter, kNewItemPrompt, "插入项目", "")) {
        items_.push_back(std::move(*title));
    }
    select(static_cast<int>(items_.size()) - 1);
}

void FieldManager::remove(Prompter& prompter) {
    if (selected_ < 0) {
        prompter.message(kSelectToDelete, "提示", Icon::Information);
        return;
    }
    std::string question = "确实删除项目：“" + items_[static_cast<size_t>(selected_)] + "” 么？";
    if (prompter.ask(question, "确认删除", Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes) {
        return;
    }
    const int position = selected_;
    items_.erase(items_.begin() + position);
    select(std::min(position, static_cast<int>(items_.size()) - 1));
}

void FieldManager::clear(Prompter& prompter) {
    if (selected_ < 0) {
        prompter.message(kSelectToDelete, "提示", Icon::Information);
        return;
    }
    if (prompter.ask("确实要删除所有项目？", "确认删除", Buttons::YesNo, Icon::Question, Answer::No) !=
        Answer::Yes) {
        return;
    }
    items_.clear();
    selected_ = -1;
}

void FieldManager::rename(Prompter& prompter) {
    if (selected_ < 0) {
        prompter.message("请先选定要改名的项目！", "提示", Icon::Information);
        return;
    }
    std::string& item = items_[static_cast<size_t>(selected_)];
    if (auto title = AskFieldTitle(prompter, kNewItemPrompt, "项目重命名", item)) {
        item = std::move(*title);
    }
}

void FieldManager::accept(Document& document) const {
    GradeTable& table = document.table;
    const bool changed = table.cols() != static_cast<int>(items_.size()) + 1 || table.fieldTitles() != items_;
    std::string layout = "   ";
    for (const std::string& item : items_) {
        layout += '|';
        layout += item;
    }
    table.setHeaderLayout(layout);
    if (changed) {
        document.setModified();
    }
}

}  // namespace scorvane

#include "designer/label_editing.h"

#include <cstdint>
#include <limits>

#include "common/report_template.h"
#include "common/utf8.h"

namespace scorvane::designer {
namespace {

// A position a label record carries and reads back as a whole number.
constexpr long long kPositionMin = std::numeric_limits<int32_t>::min();
constexpr long long kPositionMax = std::numeric_limits<int32_t>::max();

}  // namespace

size_t AddLabel(TemplateDocument& doc, double viewLeft, double viewTop) {
    doc.markChanged();
    const size_t k = doc.labels.elementCount();
    TemplateLabel label = doc.labels.prototype();
    label.caption = std::string(kNewLabelCaption) + std::to_string(k);
    label.left = viewLeft;
    label.top = viewTop;
    doc.labels.append(std::move(label), LabelStore::ListName(k));
    doc.labels.selectLast();
    return doc.labels.size() - 1;
}

std::string LabelEditorText(const TemplateLabel& label) {
    return ChangeText(label.caption, "\r\n", kLineBreakMark);
}

void SetLabelText(TemplateDocument& doc, std::string_view editorText) {
    doc.labels.target().caption = ChangeText(editorText, kLineBreakMark, "\r\n");
    doc.markChanged();
}

void MakeDataLabel(TemplateDocument& doc) {
    SetLabelText(doc, kDataLabelCaption);
}

bool IsDataLabel(const TemplateLabel& label) {
    return label.caption == kDataLabelCaption;
}

bool MoveLabel(TemplateDocument& doc, size_t i, double left, double top) {
    if (i >= doc.labels.size()) {
        return false;
    }
    TemplateLabel& label = doc.labels.label(i);
    label.left = left;
    label.top = top;
    doc.markChanged();
    return true;
}

bool CommitLabelPosition(TemplateDocument& doc, std::string_view leftBox, std::string_view topBox) {
    if (!doc.labels.hasSelection()) {
        return false;
    }
    long long left = 0;
    long long top = 0;
    if (!ParseWholeNumber(TrimSpaces(leftBox), kPositionMin, kPositionMax, left) ||
        !ParseWholeNumber(TrimSpaces(topBox), kPositionMin, kPositionMax, top)) {
        return false;
    }
    return MoveLabel(doc, static_cast<size_t>(doc.labels.selected()), static_cast<double>(left),
                     static_cast<double>(top));
}

bool DeleteSelectedLabel(TemplateDocument& doc) {
    doc.markChanged();
    if (!doc.labels.hasSelection()) {
        return false;
    }
    doc.labels.removeShifting(static_cast<size_t>(doc.labels.selected()));
    doc.labels.selectLast();
    return true;
}

}  // namespace scorvane::designer

#include "designer/label_editing.h"

#include <cmath>
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

size_t AddLabel(TemplateDocument& doc, double left, double top) {
    doc.markChanged();
    const size_t k = doc.labels.elementCount();
    TemplateLabel label = doc.labels.prototype();
    label.caption = std::string(kNewLabelCaption) + std::to_string(k);
    label.left = left;
    label.top = top;
    KeepOnPage(doc, label);
    doc.labels.append(std::move(label), LabelStore::ListName(k));
    doc.labels.selectLast();
    doc.lastAddedLabel = static_cast<int>(doc.labels.size()) - 1;
    return doc.labels.size() - 1;
}

std::pair<double, double> NewLabelPlace(const TemplateDocument& doc, double lastHeight, double viewLeft,
                                        double viewTop) {
    if (doc.lastAddedLabel < 0 || static_cast<size_t>(doc.lastAddedLabel) >= doc.labels.size()) {
        return {viewLeft, viewTop};
    }
    const TemplateLabel& last = doc.labels.label(static_cast<size_t>(doc.lastAddedLabel));
    const double below = last.top + lastHeight;
    if (below + lastHeight > static_cast<double>(doc.pageHeight())) {
        return {last.left, viewTop};
    }
    return {last.left, below};
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
    KeepOnPage(doc, label);
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
    const int removed = doc.labels.selected();
    doc.labels.removeShifting(static_cast<size_t>(removed));
    doc.labels.selectLast();
    if (doc.lastAddedLabel == removed) {
        doc.lastAddedLabel = -1;
    } else if (doc.lastAddedLabel > removed) {
        --doc.lastAddedLabel;
    }
    return true;
}

namespace {

// The grid line next to `at` towards `forward`: lines stand at whole twips nearest extent·i/parts.
double nextGridLine(double at, double extent, long long parts, bool forward) {
    const auto line = [&](long long i) {
        return std::nearbyint(static_cast<double>(static_cast<long double>(extent) * i / parts));
    };
    long long i = static_cast<long long>(std::floor(at * static_cast<double>(parts) / extent));
    if (forward) {
        while (line(i) <= at && i <= parts) {
            ++i;
        }
    } else {
        ++i;
        while (line(i) >= at && i >= 0) {
            --i;
        }
    }
    return line(i);
}

}  // namespace

bool NudgeLabel(TemplateDocument& doc, TableMove direction, const std::optional<GridDivisions>& grid) {
    if (!doc.labels.hasSelection()) {
        return false;
    }
    TemplateLabel& label = doc.labels.label(static_cast<size_t>(doc.labels.selected()));
    const bool horizontal = direction == TableMove::Left || direction == TableMove::Right;
    const bool forward = direction == TableMove::Right || direction == TableMove::Down;
    double& at = horizontal ? label.left : label.top;
    const double extent = static_cast<double>(horizontal ? doc.pageWidth() : doc.pageHeight());
    double target = at + (forward ? kNudgeStep : -kNudgeStep);
    if (grid) {
        target = nextGridLine(at, extent, horizontal ? grid->columns : grid->rows, forward);
    }
    const double before = at;
    at = target;
    KeepOnPage(doc, label);
    if (at == before) {
        return false;
    }
    doc.markChanged();
    return true;
}

}  // namespace scorvane::designer

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "designer/line_editing.h"
#include "designer/page_geometry.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// The caption of a new label is "文字标签 " (one space) and its element number; a data placeholder's
// caption is "！引用数据", which report printing replaces by a field's value.
inline constexpr std::string_view kNewLabelCaption = "文字标签 ";
inline constexpr std::string_view kDataLabelCaption = "！引用数据";
// How the label editor shows a line break of a caption.
inline constexpr std::string_view kLineBreakMark = "[/]";

// "添加标签(&A)": marks the template changed and adds element k = the number of elements (the first
// label added to a new template is 1) as a copy of the prototype captioned "文字标签 k", at (left, top)
// twips. It is listed as "文字标签  k", selected and remembered as the label added last. Returns its
// index among the visible labels.
size_t AddLabel(TemplateDocument& doc, double left, double top);

// Where the next added label goes, so that labels added one after another stand in a column instead
// of covering each other: just below the label added last (its Left, its Top + `lastHeight` twips, its
// height on the page), or at the top-left corner of the part of the page in view (`viewLeft`,
// `viewTop`) when there is no such label. A label that would leave the page below goes back up to the
// view's top.
std::pair<double, double> NewLabelPlace(const TemplateDocument& doc, double lastHeight, double viewLeft,
                                        double viewTop);

// The caption as the label editor ("标签文字：") shows it: every line break as "[/]".
std::string LabelEditorText(const TemplateLabel& label);

// Enter in "标签文字：": the selected label (the prototype when none is selected) takes the text with
// every "[/]" turned into a line break; the template is marked changed.
void SetLabelText(TemplateDocument& doc, std::string_view editorText);

// "引用数据" ticked: the selected label becomes a data placeholder, as if "！引用数据" had been entered.
void MakeDataLabel(TemplateDocument& doc);
bool IsDataLabel(const TemplateLabel& label);

// A label dropped after dragging, or its position typed into "坐标：X:" / "Y:": visible label i stands
// at (left, top) twips from now on, kept on the page, and the template is marked changed. False, with
// nothing changed, when there is no such label.
bool MoveLabel(TemplateDocument& doc, size_t i, double left, double top);
// Enter in a position box: the selected label moves to the whole numbers in the boxes (a number off
// the page puts it on the page's edge). Nothing happens when no label is selected or a box does not
// hold a whole number.
bool CommitLabelPosition(TemplateDocument& doc, std::string_view leftBox, std::string_view topBox);

// An arrow key on the page: the selected label moves to the next grid line that way (the grid's
// columns and rows divide the page as drawn, positions in whole twips), or 15 twips without a grid,
// and stays on the page. False when no label is selected or it is already at the page's edge.
inline constexpr double kNudgeStep = 15;
bool NudgeLabel(TemplateDocument& doc, TableMove direction, const std::optional<GridDivisions>& grid);

// "删除标签": marks the template changed; when a label is selected, every later label moves down one
// place (taking its caption, font, colour and position along), the last label and the last list name
// go, and the new last label is selected. The names of the labels that stay do not change.
bool DeleteSelectedLabel(TemplateDocument& doc);

}  // namespace scorvane::designer

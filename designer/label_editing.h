#pragma once

#include <string>
#include <string_view>

#include "designer/template_document.h"

namespace scorvane::designer {

// The caption of a new label is "文字标签 " (one space) and its element number; a data placeholder's
// caption is "！引用数据", which report printing replaces by a field's value.
inline constexpr std::string_view kNewLabelCaption = "文字标签 ";
inline constexpr std::string_view kDataLabelCaption = "！引用数据";
// How the label editor shows a line break of a caption.
inline constexpr std::string_view kLineBreakMark = "[/]";

// "添加标签(&A)": marks the template changed and adds element k = the number of elements (the first
// label added to a new template is 1) as a copy of the prototype captioned "文字标签 k", at the top-left
// corner of the part of the page in view (`viewLeft`, `viewTop`, twips). It is listed as "文字标签  k"
// and selected. Returns its index among the visible labels.
size_t AddLabel(TemplateDocument& doc, double viewLeft, double viewTop);

// The caption as the label editor ("标签文字：") shows it: every line break as "[/]".
std::string LabelEditorText(const TemplateLabel& label);

// Enter in "标签文字：": the selected label (the prototype when none is selected) takes the text with
// every "[/]" turned into a line break; the template is marked changed.
void SetLabelText(TemplateDocument& doc, std::string_view editorText);

// "引用数据" ticked: the selected label becomes a data placeholder, as if "！引用数据" had been entered.
void MakeDataLabel(TemplateDocument& doc);
bool IsDataLabel(const TemplateLabel& label);

// A label dropped after dragging, or its position typed into "坐标：X:" / "Y:": visible label i stands
// at (left, top) twips from now on, and the template is marked changed. False, with nothing changed,
// when there is no such label.
bool MoveLabel(TemplateDocument& doc, size_t i, double left, double top);
// Enter in a position box: the selected label moves to the whole numbers in the boxes. Nothing happens
// when no label is selected or a box does not hold a whole number a label record can carry.
bool CommitLabelPosition(TemplateDocument& doc, std::string_view leftBox, std::string_view topBox);

// "删除标签": marks the template changed; when a label is selected, every later label moves down one
// place (taking its caption, font, colour and position along), the last label and the last list name
// go, and the new last label is selected. The names of the labels that stay do not change.
bool DeleteSelectedLabel(TemplateDocument& doc);

}  // namespace scorvane::designer

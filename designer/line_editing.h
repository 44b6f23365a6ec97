#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/report_template.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// The line editor: the coordinate boxes, the move bars, the lengthen and shorten buttons, copying and
// deleting. Every command acts on the selected line (copying on the last one) and does nothing when
// there is no such line, when its record or a box does not hold whole numbers, or when the result
// would not fit a line record. A command that changes a line commits it with kind 2 and marks the
// template changed.

// The four coordinates x1, y1, x2, y2 of a line record as far as they parse: a record that stops
// parsing leaves the later ones empty.
using LineCoordinates = std::array<std::optional<long long>, 4>;
LineCoordinates GetLineXY(std::string_view record);

// The length of a line in whole twips: the square root of dx² + dy², rounded down.
long long GetLineLen(const TemplateLine& line);

// Enter in a coordinate box: the selected line becomes box0,box1,box2,box3,2.
bool CommitCoordinates(TemplateDocument& doc, const std::array<std::string, 4>& boxes);

// A key typed into a coordinate box, with `typed` its printable text ("" for a key that types
// nothing). Every key that edits marks the template changed: Enter commits the boxes; Backspace and
// Delete reach the box; typed text reaches it only when it is all digits, and is dropped otherwise.
// A key that types nothing (a cursor key) or is held with Ctrl passes untouched.
enum class BoxKey { Enter, Erase, Other };
enum class BoxKeyEffect { Pass, Drop, Commit };
BoxKeyEffect TypeIntoCoordinateBox(TemplateDocument& doc, BoxKey key, std::string_view typed, bool ctrl);

// The move bars: the selected line moves, keeping its shape, until its first end point has the given
// x ("移动：横向：") or y ("纵向：").
enum class Axis { Horizontal, Vertical };
bool MoveSelectedLine(TemplateDocument& doc, Axis axis, long long value);

// "+" and "-": the selected line grows or shrinks by about 15 twips. The x change goes to the end with
// the larger x, the y change (measured on the line with its new x) to the end with the larger y; a line
// of length 0 has no direction and stays as it is.
inline constexpr long long kLengthStep = 15;
bool ChangeSelectedLineLength(TemplateDocument& doc, long long step);

// "复制线条(&C)": the last line (not the selected one) moved 50 twips right and down, added as a drawn
// line and selected.
inline constexpr long long kCopyOffset = 50;
bool CopyLastLine(TemplateDocument& doc);

// "删除线条(&D)": removes the selected line and selects the last remaining one.
bool DeleteSelectedLine(TemplateDocument& doc);

// The whole-table moves "↑", "→", "←" and "↓": every line (keeping its kind) and every visible label
// moves 25 twips. Line coordinates may become negative; a label stops at the page's edge.
enum class TableMove { Up, Right, Left, Down };
inline constexpr long long kTableMoveStep = 25;
void MoveWholeTable(TemplateDocument& doc, TableMove direction);

}  // namespace scorvane::designer

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "main/document/document.h"

namespace scorvane {

inline constexpr std::string_view kNoSortFieldsMessage = "没有可供排序的字段！";
inline constexpr std::string_view kRankIntoSortFieldMessage = "排序结果不可写回原字段！";

// The sort dialog's two field lists: the titles of grid columns 1 to last; list index i stands for
// grid column i + 1 (column 0, the row numbers, is never offered).
std::vector<std::string> SortFieldList(const GradeTable& table);

// Whether the sort dialog may open: a table whose header layout string is empty after trimming has
// nothing to sort by, which "没有可供排序的字段！" says.
bool CheckSortable(const GradeTable& table, Prompter& prompter);

// The dialog's choices, as list indexes.
struct SortChoice {
    int sortField = 0;
    bool descending = false;
    bool writeRanks = false;
    int rankField = 0;
};

// On opening: the field of the current column (the first field when the current column is the
// row-number column), the direction of the toolbar button used, ranks not written, the last field as
// the rank field.
SortChoice InitialSortChoice(const GradeTable& table, int currentCol, bool descending);

// Whenever the rank box is ticked or a field changes while it is ticked: when both lists hold the same
// field, says "排序结果不可写回原字段！" and moves the rank field to the next field, or to the previous
// one when the sort field is the last. A table of one field has no other field: the rank box is
// unticked instead. Returns true when it changed the choice.
bool KeepSortFieldsApart(SortChoice& choice, int fieldCount, Prompter& prompter);

// Sorts the data rows by the key column: whole rows move (cells and find marks), stably. Formula cells
// sort by their display value. Texts that read as numbers (spaces around them, an optional sign,
// digits and an optional fraction: "85", " -3.5 ", ".5") compare as numbers and come before all
// other texts, which compare by their GBK bytes (pinyin order for the common characters); blank cells
// go last, in both directions. Then column 0 is renumbered 1, 2, ... and, when rankCol >= 0, the same
// numbers are written into the rank column. No undo snapshot. A key or rank column outside 1..Cols-1
// sorts nothing. Returns true when it sorted.
bool SortRows(Document& document, int keyCol, bool descending, int rankCol = -1);

// "确定" of the dialog: SortRows with the chosen fields.
bool RunSort(Document& document, const SortChoice& choice);

}  // namespace scorvane

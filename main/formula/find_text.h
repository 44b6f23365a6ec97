#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/document/document.h"

namespace scorvane {

inline constexpr std::string_view kFindNothingCaption = "(空)";

// The find window's boxes.
struct FindOptions {
    bool markRed = false;          // 用红色标记: colour exact matches red
    bool bold = false;             // 加粗: marked cells bold as well
    bool wholeCell = false;        // 全字符匹配: whole-cell matches only
    bool markBluePartial = false;  // 蓝色标记非全字符匹配 (only while wholeCell is off)
};

// One entry of the result menu "转到查找结果": the row it jumps to and its caption.
struct FindResultItem {
    int row = 0;
    std::string caption;
    bool operator==(const FindResultItem&) const = default;
};

// The result menu after a search: item 0's caption ("(空)", or "共 N 行包含查找内容。") and one
// entry per row that contains the text, in row order.
struct FindResult {
    std::string summary = std::string(kFindNothingCaption);
    std::vector<FindResultItem> items;
};

// Searches the data cells (rows 1.., columns 1..) row by row for `text`, case-sensitively and as cell
// text (a formula by its marker and formula). A cell equal to the text is an exact match, marked red
// when asked; otherwise, unless whole-cell only, a cell containing it is a partial match, marked blue
// when asked; marked cells are bold when asked. A match whose colour is not asked for keeps the mark
// it had; every data cell that does not match loses its mark. An empty text matches nothing. Marks
// are not table data: the document's modified flag is left alone.
FindResult FindInTable(Document& document, std::string_view text, const FindOptions& options);

// k + ": 第 " + row + " 行。“" + A + "；" + B + "”" with A and B the row's first two fields, each
// longer than 22 characters shown as its first 8, "..." and its last 8.
std::string FindResultCaption(int index, int row, std::string_view first, std::string_view second);

// "清除查找标记": every cell back to black, not bold.
void ClearFindMarks(Document& document);

}  // namespace scorvane

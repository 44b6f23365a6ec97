#pragma once

#include <string>
#include <vector>

#include "common/drawing_surface.h"
#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/cell_value.h"
#include "main/document/grade_table.h"

namespace scorvane {

// The pages of a printed grade table, the same for the print set-up window's preview and for paper:
// the title block, the ruled table (header on every page), the trailer, and the choice of what to print.

inline constexpr int kRowsPerPrintPage = 64;                           // the pages offered for choosing
inline constexpr double kPrintMargin = 567;                            // 1 cm left, top and bottom
inline constexpr double kPrintFitWidth = kA4Width - 2 * kPrintMargin;  // 10773

inline constexpr std::string_view kStatusPreviewing = "正在生成打印预览...";
inline constexpr std::string_view kPrintAllPages = "全部";
inline constexpr std::string_view kPrintAnyRow = "任意";

// The choices of the print set-up window.
struct TablePrintSettings {
    std::string title;           // 表格标题: printed above the table
    std::string footer;          // 页脚文字: printed after the table when not blank
    bool showClassInfo = false;  // 显示班级信息
    bool showTeacher = true;     // 显示教师 (nothing is shown while the table has no teacher)
    bool fitToPaper = true;      // 适应纸张大小(A4纸张)
    bool drawRules = true;       // 表格划线: cell borders, and the page separators of the preview
    int page = 0;                // 0 全部, else the 64-row page N
    int row = 0;                 // 0 任意, else the single data row R
    // Which of the two was chosen last, when both are set (the window keeps the later choice).
    bool rowChosenLast = true;
    std::string printTime;  // "打印时间：2024/5/3"
};

// The choices the print set-up window opens with: 显示班级信息 ticked for the result of an analysis, a
// statistics or a comparison (its 班级信息 says how it was made), not for any other table.
TablePrintSettings InitialTablePrintSettings(bool resultTable);

// The text with each of its lines broken into lines no wider than `width` in the surface's font: after the
// last comma, semicolon, 、, ： or blank that lets the line fit, else between two characters.
std::string WrapToWidth(DrawingSurface& surface, std::string_view text, double width);

// The pages offered: ceiling of data rows / 64, at least 1.
int PrintPageCount(int dataRows);

// The entries of 打印第 … 页: "全部", then "1" .. the page count; of 第 … 行: "任意", then "1" .. the last
// data row.
std::vector<std::string> PrintPageChoices(int dataRows);
std::vector<std::string> PrintRowChoices(int dataRows);

// The data rows drawn for the settings (first > last: none).
struct PrintRowRange {
    int first = 1;
    int last = 0;
};
PrintRowRange TablePrintRows(const GradeTable& table, const TablePrintSettings& settings);

// The title block is drawn with all pages or page 1; the trailer with all pages or the last page.
bool PrintsTitleBlock(const TablePrintSettings& settings);
bool PrintsTrailer(const TablePrintSettings& settings, int dataRows);

// "打印时间：" followed by the date as yyyy/M/d; the second form uses today's date.
std::string PrintTimeText(int year, int month, int day);
std::string TodayPrintTimeText();

// What is printed: the table, each cell's display value (formulas as their values), the grid's widths.
struct TablePrintSource {
    const GradeTable* table = nullptr;
    CellValueFn value;              // empty: the cells' own texts
    std::vector<int> columnWidths;  // twips, one per column (GridColumnWidths)
};

// The source when no grid window is at hand (the command line): formulas as their values, and every
// column as wide as a fresh grid makes it, its title measured on `surface` in the table font. The
// surface is left set to that font.
TablePrintSource TablePrintSourceFor(const GradeTable& table, DrawingSurface& surface);

enum class PrintTarget {
    Preview,  // one tall picture: each further page makes it 16840 twips taller
    Paper,    // the printer: each further page is a new sheet
};

struct TableLayoutResult {
    bool completed = false;  // false: starting a new sheet failed
    int pages = 0;
};

// Lays the pages out on the surface. On paper the surface is turned to portrait; in the preview the
// picture must already be one A4 page high (see PreviewTable).
TableLayoutResult LayOutTablePages(DrawingSurface& surface, PrintTarget target,
                                   const TablePrintSource& source, const TablePrintSettings& settings);

// The print set-up window's "刷新(&R)": "正在生成打印预览...", the picture reset to one A4 page and
// cleared, the pages laid out on it, "就绪".
TableLayoutResult PreviewTable(DrawingSurface& picture, const TablePrintSource& source,
                               const TablePrintSettings& settings, StatusSink& status);

// "打印(&P)": "正在打印...", the pages laid out on the printer, the job ended, "就绪". Any failure of the
// printer or of the output file shows "打印错误，请检查 打印机连接！" and returns false.
bool PrintTable(DrawingSurface& printer, const TablePrintSource& source, const TablePrintSettings& settings,
                Prompter& prompter, StatusSink& status);

}  // namespace scorvane

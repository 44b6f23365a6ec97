#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/drawing_surface.h"
#include "common/prompter.h"
#include "main/document/cell_value.h"

namespace scorvane {

// Charts of a grade table, drawn on the chart dialog's preview picture (scale 1) or on the upper half of
// an A4 portrait page (scale 1.74). The geometry is in twips before scaling: the value axis runs from
// (400, 210) to (400, 3500), the category axis from (400, 3500) to (6540, 3500); category i of m sits at
// x = 400 + 6140 * i / m.

inline constexpr double kChartPreviewScale = 1;
inline constexpr double kChartPrintScale = 1.74;
// The preview picture, in twips (500 x 320 pixels on a 96 dpi screen).
inline constexpr double kChartPreviewWidth = 7500;
inline constexpr double kChartPreviewHeight = 4800;

inline constexpr std::string_view kChartNothingChosenMessage = "请先选择要处理的数据（字段、处理对象）。";
inline constexpr std::string_view kChartMaximumNotAboveMinimumMessage = "最大值必须大于最小值。";

enum class ChartOutput { Preview, Printer };

// "折线图" with "降序↑" (larger values higher), with "升序↓" (larger values lower, as for ranks), "柱形图".
enum class ChartType { LineUp, LineDown, Bar };

// What the chart dialog chose.
struct ChartData {
    std::vector<int> rows;                // the chosen rows, in list order
    std::vector<std::string> rowLabels;   // each chosen row's text of the display field
    std::vector<int> fields;              // the ticked fields' columns, in list order
    std::vector<std::string> fieldNames;  // their titles
    double maximum = 100;                 // the top of the value axis
    double minimum = 0;                   // the bottom of the line charts' value axis (bars stand on 0)
    int segments = 5;                     // grid segments of the value axis
    std::string title;                    // omitted when empty
    std::string printTime;                // "打印时间： 2024/5/3 14:05:09"
};

// A cell's value for charting: an empty text (after trimming) counts 0, a number its value, anything
// else (an error text too) 0.
double ChartValue(std::string_view displayText);

// An axis label "###": a whole number (halves away from zero), zero as nothing.
std::string FormatChartAxisLabel(double value);

// "打印时间： " followed by the date and time as yyyy/M/d H:mm:ss; the second form uses now.
std::string ChartPrintTimeText(int year, int month, int day, int hour, int minute, int second);
std::string NowChartPrintTimeText();

// The three drawing routines. A preview picture is cleared first; on the printer the page is A4
// portrait and the job is ended at the end. `value` gives a cell's display value.
//
// The bar chart compares the chosen rows in the first ticked field: bars about 3100 / m wide, grid
// labels (1 - j/n) * maximum. The line charts follow each chosen row across the ticked fields; their
// value axis runs from the minimum to the maximum: grid labels minimum + (1 - j/n) * (maximum -
// minimum) (up) or minimum + (j/n) * (maximum - minimum) (down), and a point stands at the height of
// (value - minimum), so that points and labels agree. Each row's name is
// printed at its last point, on the point's left inside the chart. Every text of a chart stays on the
// surface: one too wide for its room is printed smaller (FitText).
void DrawBarChart(DrawingSurface& surface, double scale, ChartOutput output, const ChartData& data,
                  const CellValueFn& value);
void DrawLineChartUp(DrawingSurface& surface, double scale, ChartOutput output, const ChartData& data,
                     const CellValueFn& value);
void DrawLineChartDown(DrawingSurface& surface, double scale, ChartOutput output, const ChartData& data,
                       const CellValueFn& value);

// The choice is checked before drawing: with no row or no field chosen
// "请先选择要处理的数据（字段、处理对象）。" is shown (提示) and false returned; a maximum or segment count
// of 0 becomes 1; a line chart whose maximum is not above its minimum is refused with
// "最大值必须大于最小值。".
bool CheckChartChoice(ChartData& data, ChartType type, Prompter& prompter);
// The routine of the chart type, at scale 1 on the picture or 1.74 on the printer.
void DrawChart(DrawingSurface& surface, double scale, ChartOutput output, ChartType type,
               const ChartData& data, const CellValueFn& value);

// The maximum and segment boxes hold only the digits 0 to 9: what is typed, pasted or dropped into
// them keeps its digits only (a paste of "12a" enters "12"), while every editing key keeps its use.
std::string ChartBoxDigits(std::string_view text);
// What such a box holds before a chart is drawn: "1" in place of an empty box or one that reads as 0.
std::string ChartBoxText(std::string_view text);

// "刷新预览" and "打印": checks the choice (CheckChartChoice) and returns false when it is refused; a
// maximum or segment count of 0 becomes 1 (in `data`, as the dialog's boxes show);
// then the chart is drawn at scale 1 on the picture or 1.74 on the printer. A failure of the printer
// or of the output file shows "打印错误，请检查 打印机连接！" and returns false.
bool PreviewChart(DrawingSurface& picture, ChartType type, ChartData& data, const CellValueFn& value,
                  Prompter& prompter);
bool PrintChart(DrawingSurface& printer, ChartType type, ChartData& data, const CellValueFn& value,
                Prompter& prompter);

}  // namespace scorvane

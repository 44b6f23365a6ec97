#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "main/analysis/field_derivation.h"
#include "main/analysis/score_figures.h"

namespace scorvane {

// What the statistics and the grade comparison are asked for, as the user typed it (in the window's
// boxes or on the command line), and the same read and checked.

inline constexpr std::string_view kDefaultFullMarks = "100";
inline constexpr std::string_view kDefaultPassLine = "60";
inline constexpr std::string_view kDefaultExcellentLine = "85";
inline constexpr std::string_view kDefaultLowLine = "40";
inline constexpr std::string_view kDefaultBandWidth = "10";

inline constexpr std::string_view kNoFieldChosenMessage = "请选择需要统计的字段！";
inline constexpr std::string_view kLinesOutOfRangeMessage =
    "及格线、优秀线和低分线必须是 0 到 100 之间的数！";
inline constexpr std::string_view kPassAboveExcellentMessage = "及格线不能高于优秀线！";
inline constexpr std::string_view kBandWidthMessage = "分数段宽度必须是 1 到 100 之间的数！";
// 表格中没有字段“F”！
std::string MissingFieldMessage(std::string_view field);
// 表格“NAME”中没有字段“F”！ (when several tables are read)
std::string MissingFieldInTableMessage(std::string_view tableName, std::string_view field);
// “F”的满分必须是大于 0 的数！
std::string FullMarksMessage(std::string_view field);

struct AnalysisTexts {
    std::vector<std::string> fields;                         // field titles; none: the default fields
    std::string fullMarks = std::string(kDefaultFullMarks);  // every field's full marks,
    std::vector<std::pair<std::string, std::string>> fieldFullMarks;  // unless given here by title,
    DerivedFields derived;  // or the field adds others (then it takes from theirs, see OfferedFullMarks)
    std::string pass = std::string(kDefaultPassLine);
    std::string excellent = std::string(kDefaultExcellentLine);
    std::string low = std::string(kDefaultLowLine);
    std::string bandWidth = std::string(kDefaultBandWidth);
};

struct AnalysisSettings {
    std::vector<std::string> fields;
    std::vector<double> fullMarks;  // one per field
    ScoreLines lines;
    double bandWidth = 10;
};

// The full marks a field is offered: its own text in `own` (typed, remembered or given on the command
// line); else, for a field that adds others (`derived`), the sum of their full marks, or their mean for
// an average, each part its own or `common`; else `common`. When a part's full marks are no number
// above 0, the field takes `common`. Numbers are written as the evaluator writes them ("500", "112.5").
std::string OfferedFullMarks(const std::string& field,
                             const std::vector<std::pair<std::string, std::string>>& own,
                             const std::string& common, const DerivedFields& derived);

// The settings in words, for the result tables' class information:
// "满分：语文 150，数学 150，英语 100；及格 60%，优秀 85%，低分 40%".
std::string AnalysisSettingsText(const AnalysisSettings& settings);
// A result table's class information: the source's (when it says anything), then AnalysisSettingsText,
// joined by "；".
std::string ResultClassInfo(const std::string& sourceClassInfo, const AnalysisSettings& settings);

// Reads the texts against the fields the tables hold (`available`) and those chosen by default.
// Checks, in this order: a field named (in `fields` or with its own full marks) that the tables lack;
// no field at all; a full mark that is not a number above 0; a line that is not a number from 0 to
// 100; the pass line above the excellent line; a band width that is not a number from 1 to 100.
// Returns the first fault's message (nothing is to be computed then), or nothing when all is sound.
// A field named twice counts once. Each field's full marks are OfferedFullMarks.
std::optional<std::string> ReadAnalysisTexts(const AnalysisTexts& texts,
                                             const std::vector<std::string>& available,
                                             const std::vector<std::string>& defaults, AnalysisSettings& out);

}  // namespace scorvane

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// A scheme of 等级制: the levels from the highest down, each from its lower bound up, the bound a
// percentage of the field's full marks; the last level takes every mark below the bound before it. As
// text it reads "优秀=85,良好=70,合格=60,待合格".

struct MarkLevel {
    std::string name;
    double bound = 0;  // per cent of the full marks; unused for the last level
};
using LevelScheme = std::vector<MarkLevel>;

// 优秀 85, 良好 70, 合格 60, 待合格 below.
LevelScheme DefaultLevelScheme();
// A 90, B 80, C 70, D 60, E below.
LevelScheme LetterLevelScheme();

// One row of a scheme as typed: the level's name and its lower bound (empty for the last).
struct LevelRowText {
    std::string name;
    std::string bound;
};
std::vector<LevelRowText> LevelRowTexts(const LevelScheme& scheme);

// Reads the rows (row 1 first; a row left wholly blank is passed over) and checks them. In this order:
// each row has a name, not that of a row before; each row but the last has a lower bound from 0 to 100
// (a "%" after it allowed),
// below the bound of the row before; the last has none; there are at least two levels. Returns the first
// fault's message, naming its row ("等级方案第 2 行（良好）…"; `unit` is how a row is called), or nothing.
std::optional<std::string> ReadLevelRows(const std::vector<LevelRowText>& rows, LevelScheme& out,
                                         std::string_view unit = "行");

// The scheme as text, and the same read back: items "NAME=BOUND" and the last "NAME", joined by ","
// (a full-width "，" read alike); then ReadLevelRows checks the items.
std::string LevelSchemeText(const LevelScheme& scheme);
std::optional<std::string> ReadLevelSchemeText(std::string_view text, LevelScheme& out);

// The scheme in words: "优秀 85%，良好 70%，合格 60%，待合格 60% 以下".
std::string LevelSchemeDescription(const LevelScheme& scheme);

// The level (its index) of `mark` for a field of `fullMarks`: the first whose bound the mark reaches
// (a mark of exactly the bound is in the higher level), else the last.
size_t LevelOf(const LevelScheme& scheme, double mark, double fullMarks);

}  // namespace scorvane

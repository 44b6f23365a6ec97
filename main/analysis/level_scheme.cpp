#include "main/analysis/level_scheme.h"

#include <cmath>

#include "common/utf8.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/score_figures.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

std::string rowName(std::string_view unit, size_t row, const std::string& name) {
    std::string text = "等级方案第 " + std::to_string(row) + " " + std::string(unit);
    if (!name.empty()) {
        text += "（" + name + "）";
    }
    return text;
}

}  // namespace

LevelScheme DefaultLevelScheme() {
    return {{"优秀", 85}, {"良好", 70}, {"合格", 60}, {"待合格", 0}};
}

LevelScheme LetterLevelScheme() {
    return {{"A", 90}, {"B", 80}, {"C", 70}, {"D", 60}, {"E", 0}};
}

std::vector<LevelRowText> LevelRowTexts(const LevelScheme& scheme) {
    std::vector<LevelRowText> rows;
    for (size_t i = 0; i < scheme.size(); ++i) {
        rows.push_back({scheme[i].name, i + 1 < scheme.size() ? NumberToText(scheme[i].bound) : std::string()});
    }
    return rows;
}

std::optional<std::string> ReadLevelRows(const std::vector<LevelRowText>& rows, LevelScheme& out,
                                         std::string_view unit) {
    // The rows that are not blank, with their numbers.
    std::vector<std::pair<size_t, const LevelRowText*>> filled;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!IsBlank(rows[i].name) || !IsBlank(rows[i].bound)) {
            filled.emplace_back(i + 1, &rows[i]);
        }
    }
    LevelScheme scheme;
    for (size_t k = 0; k < filled.size(); ++k) {
        const auto [number, row] = filled[k];
        MarkLevel level;
        level.name = std::string(TrimSpaces(row->name));
        if (IsBlank(level.name)) {
            return rowName(unit, number, {}) + "：请填写等级名称！";
        }
        for (size_t j = 0; j < scheme.size(); ++j) {
            if (scheme[j].name == level.name) {
                return rowName(unit, number, level.name) + "的等级名称与第 " + std::to_string(filled[j].first) +
                       " " + std::string(unit) + "相同！";
            }
        }
        const bool last = k + 1 == filled.size();
        if (last) {
            if (!IsBlank(row->bound)) {
                return rowName(unit, number, level.name) + "是最低的等级，不填下限（低于上一等级下限的成绩都属于它）！";
            }
        } else {
            std::string_view bound = TrimSpaces(row->bound);
            if (!bound.empty() && bound.back() == '%') {
                bound.remove_suffix(1);
            }
            if (!ReadMark(bound, level.bound) || !std::isfinite(level.bound) || level.bound < 0 ||
                level.bound > 100) {
                return rowName(unit, number, level.name) + "：下限必须是 0 到 100 之间的数（满分的百分比）！";
            }
            if (!scheme.empty() && level.bound >= scheme.back().bound) {
                return rowName(unit, number, level.name) + "的下限 " + NumberToText(level.bound) + " 应低于第 " +
                       std::to_string(filled[k - 1].first) + " " + std::string(unit) + "（" + scheme.back().name +
                       "）的 " + NumberToText(scheme.back().bound) + "！";
            }
        }
        scheme.push_back(std::move(level));
    }
    if (scheme.size() < 2) {
        return std::string("等级方案至少要有两个等级！");
    }
    out = std::move(scheme);
    return std::nullopt;
}

std::string LevelSchemeText(const LevelScheme& scheme) {
    std::string text;
    for (size_t i = 0; i < scheme.size(); ++i) {
        text += (i > 0 ? "," : "") + scheme[i].name;
        if (i + 1 < scheme.size()) {
            text += "=" + NumberToText(scheme[i].bound);
        }
    }
    return text;
}

std::optional<std::string> ReadLevelSchemeText(std::string_view text, LevelScheme& out) {
    const std::string plain = ReplaceAll(ReplaceAll(text, "，", ","), "＝", "=");
    std::vector<LevelRowText> rows;
    size_t start = 0;
    while (start <= plain.size() && !IsBlank(plain)) {
        const size_t comma = std::min(plain.find(',', start), plain.size());
        const std::string_view item = std::string_view(plain).substr(start, comma - start);
        start = comma + 1;
        const size_t eq = item.find('=');
        if (IsBlank(item) && comma == plain.size() && !rows.empty()) {
            break;  // a comma at the end
        }
        rows.push_back({std::string(TrimSpaces(item.substr(0, eq))),
                        eq == std::string_view::npos ? std::string() : std::string(TrimSpaces(item.substr(eq + 1)))});
    }
    return ReadLevelRows(rows, out, "项");
}

std::string LevelSchemeDescription(const LevelScheme& scheme) {
    std::string text;
    for (size_t i = 0; i < scheme.size(); ++i) {
        text += (i > 0 ? "，" : "") + scheme[i].name + " ";
        text += i + 1 < scheme.size() ? NumberToText(scheme[i].bound) + "%"
                                      : (i > 0 ? NumberToText(scheme[i - 1].bound) + "% 以下" : std::string());
    }
    return text;
}

size_t LevelOf(const LevelScheme& scheme, double mark, double fullMarks) {
    for (size_t i = 0; i + 1 < scheme.size(); ++i) {
        if (ReachesLine(mark, fullMarks, scheme[i].bound)) {
            return i;
        }
    }
    return scheme.empty() ? 0 : scheme.size() - 1;
}

}  // namespace scorvane

#include "main/analysis/assignment_bands.h"

#include <cmath>

#include "common/utf8.h"
#include "main/analysis/field_marks.h"

namespace scorvane {
namespace {

constexpr int kWholeShare = 10000;  // 100 % in hundredths
constexpr long long kHighestScore = 10000;

std::string rowName(std::string_view unit, size_t row, const std::string& name) {
    std::string text = "赋分规则第 " + std::to_string(row) + " " + std::string(unit);
    if (!name.empty()) {
        text += "（" + name + "）";
    }
    return text;
}

std::string rangeText(int top, int bottom) {
    return std::to_string(top) + "-" + std::to_string(bottom);
}

// A share in per cent (a "%" after it allowed) with at most two decimals, above 0 and at most 100, in
// hundredths.
bool readShare(std::string_view text, int& hundredths) {
    text = TrimSpaces(text);
    if (!text.empty() && text.back() == '%') {
        text.remove_suffix(1);
    }
    double value = 0;
    if (!ReadMark(text, value) || !std::isfinite(value) || value <= 0 || value > 100) {
        return false;
    }
    const double scaled = value * 100;
    const double whole = std::round(scaled);
    if (std::fabs(scaled - whole) > 1e-6) {
        return false;
    }
    hundredths = static_cast<int>(whole);
    return true;
}

bool readScore(std::string_view text, int& score) {
    long long value = 0;
    if (!ParseWholeNumber(TrimSpaces(text), 0, kHighestScore, value)) {
        return false;
    }
    score = static_cast<int>(value);
    return true;
}

bool blankRow(const BandRowText& row) {
    return IsBlank(row.name) && IsBlank(row.share) && IsBlank(row.top) && IsBlank(row.bottom);
}

// The text with the full-width separators a Chinese input method types made plain.
std::string plainSeparators(std::string_view text) {
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "，", ","), "：", ":"), "＝", "=");
}

}  // namespace

AssignmentBands DefaultAssignmentBands() {
    return {{"A", 1500, 100, 86}, {"B", 3500, 85, 71}, {"C", 3500, 70, 56}, {"D", 1300, 55, 41}, {"E", 200, 40, 30}};
}

std::vector<BandRowText> BandRowTexts(const AssignmentBands& bands) {
    std::vector<BandRowText> rows;
    for (const AssignmentBand& band : bands) {
        rows.push_back(
            {band.name, ShareText(band.shareHundredths), std::to_string(band.top), std::to_string(band.bottom)});
    }
    return rows;
}

std::optional<std::string> ReadBandRows(const std::vector<BandRowText>& rows, AssignmentBands& out,
                                        std::string_view unit) {
    AssignmentBands bands;
    std::vector<size_t> rowOf;  // the row number of each band
    for (size_t i = 0; i < rows.size(); ++i) {
        const BandRowText& row = rows[i];
        if (blankRow(row)) {
            continue;
        }
        const size_t number = i + 1;
        AssignmentBand band;
        band.name = std::string(TrimSpaces(row.name));
        if (IsBlank(band.name)) {
            return rowName(unit, number, {}) + "：请填写等级名称！";
        }
        for (size_t j = 0; j < bands.size(); ++j) {
            if (bands[j].name == band.name) {
                return rowName(unit, number, band.name) + "的等级名称与第 " + std::to_string(rowOf[j]) + " " +
                       std::string(unit) + "相同！";
            }
        }
        if (!readShare(row.share, band.shareHundredths)) {
            return rowName(unit, number, band.name) + "：比例必须是大于 0、不超过 100 的数（最多两位小数）！";
        }
        if (!readScore(row.top, band.top) || !readScore(row.bottom, band.bottom) || band.top < band.bottom) {
            return rowName(unit, number, band.name) + "：赋分区间必须是 0 到 10000 之间的两个整数，高分在前（如 100-86）！";
        }
        bands.push_back(std::move(band));
        rowOf.push_back(number);
    }
    // Each range lies below the one before: the top band first, no score in two bands.
    for (size_t k = 1; k < bands.size(); ++k) {
        const AssignmentBand& above = bands[k - 1];
        const AssignmentBand& band = bands[k];
        if (band.top < above.bottom) {
            continue;
        }
        const std::string named = rowName(unit, rowOf[k], band.name) + "的赋分区间 " + rangeText(band.top, band.bottom);
        const std::string other = "第 " + std::to_string(rowOf[k - 1]) + " " + std::string(unit) + "（" +
                                  above.name + "）的 " + rangeText(above.top, above.bottom);
        if (band.bottom <= above.top) {
            return named + " 与" + other + " 重叠！";
        }
        return named + " 应低于" + other + "（高的等级在前）！";
    }
    if (bands.empty()) {
        return std::string("赋分规则中没有等级！");
    }
    int sum = 0;
    for (const AssignmentBand& band : bands) {
        sum += band.shareHundredths;
    }
    if (sum != kWholeShare) {
        return "赋分规则各等级的比例之和是 " + ShareText(sum) + "%，应为 100%！";
    }
    out = std::move(bands);
    return std::nullopt;
}

std::string AssignmentBandsText(const AssignmentBands& bands) {
    std::string text;
    for (const AssignmentBand& band : bands) {
        text += (text.empty() ? "" : ",") + band.name + "=" + ShareText(band.shareHundredths) + ":" +
                rangeText(band.top, band.bottom);
    }
    return text;
}

std::optional<std::string> ReadAssignmentBandsText(std::string_view text, AssignmentBands& out) {
    const std::string plain = plainSeparators(text);
    std::vector<BandRowText> rows;
    if (IsBlank(plain)) {
        return ReadBandRows(rows, out, "项");
    }
    size_t start = 0;
    while (start <= plain.size()) {
        const size_t comma = std::min(plain.find(',', start), plain.size());
        const std::string_view item = TrimSpaces(std::string_view(plain).substr(start, comma - start));
        start = comma + 1;
        const size_t eq = item.find('=');
        const size_t colon = item.find(':', eq == std::string_view::npos ? 0 : eq);
        const size_t dash = item.find('-', colon == std::string_view::npos ? 0 : colon);
        if (eq == std::string_view::npos || colon == std::string_view::npos || dash == std::string_view::npos) {
            if (item.empty() && comma == plain.size() && !rows.empty()) {
                break;  // a comma at the end
            }
            return "赋分规则第 " + std::to_string(rows.size() + 1) + " 项“" + std::string(item) +
                   "”的写法不正确，应为 等级=比例:最高分-最低分（如 A=15:100-86）！";
        }
        rows.push_back({std::string(TrimSpaces(item.substr(0, eq))),
                        std::string(TrimSpaces(item.substr(eq + 1, colon - eq - 1))),
                        std::string(TrimSpaces(item.substr(colon + 1, dash - colon - 1))),
                        std::string(TrimSpaces(item.substr(dash + 1)))});
    }
    return ReadBandRows(rows, out, "项");
}

std::string ShareText(int shareHundredths) {
    std::string text = std::to_string(shareHundredths / 100);
    const int fraction = shareHundredths % 100;
    if (fraction != 0) {
        text += fraction % 10 == 0 ? "." + std::to_string(fraction / 10)
                                   : (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
    }
    return text;
}

std::string AssignmentBandsDescription(const AssignmentBands& bands) {
    std::string text;
    for (const AssignmentBand& band : bands) {
        text += (text.empty() ? "" : "，") + band.name + " " + ShareText(band.shareHundredths) + "% " +
                rangeText(band.top, band.bottom);
    }
    return text;
}

}  // namespace scorvane

#include "main/analysis/tier_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "common/utf8.h"
#include "main/analysis/field_marks.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

constexpr std::string_view kCountBefore = "前";
constexpr std::string_view kCountAfter = "名";

// Room for the rounding of binary fractions when a total meets a line.
constexpr double kSlack = 1e-9;

std::string quoted(std::string_view text) {
    return "“" + std::string(text) + "”";
}

// The number of a count, "前" before it and "名" after it allowed.
std::string_view countDigits(std::string_view value) {
    value = TrimSpaces(value);
    if (value.substr(0, kCountBefore.size()) == kCountBefore) {
        value.remove_prefix(kCountBefore.size());
    }
    if (value.size() >= kCountAfter.size() && value.substr(value.size() - kCountAfter.size()) == kCountAfter) {
        value.remove_suffix(kCountAfter.size());
    }
    return TrimSpaces(value);
}

}  // namespace

std::string LineArgument(const LineText& line) {
    const std::string value(TrimSpaces(line.value));
    return std::string(TrimSpaces(line.name)) + "=" +
           (line.kind == LineKind::Count ? std::string(kCountBefore) + std::string(countDigits(value)) : value);
}

std::optional<LineText> ReadLineArgument(std::string_view text) {
    // "=", or the full-width "＝" a Chinese input method types.
    constexpr std::string_view kWideEquals = "＝";
    const size_t eq = std::min(text.find('='), text.find(kWideEquals));
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    LineText line;
    line.name = std::string(TrimSpaces(text.substr(0, eq)));
    const size_t after = eq + (text[eq] == '=' ? 1 : kWideEquals.size());
    const std::string_view value = TrimSpaces(text.substr(after));
    const bool counted = value.size() >= kCountAfter.size() &&
                         value.substr(value.size() - kCountAfter.size()) == kCountAfter;
    if (value.substr(0, kCountBefore.size()) == kCountBefore || counted) {
        line.kind = LineKind::Count;
        line.value = std::string(countDigits(value));
    } else {
        line.value = std::string(value);
    }
    return line;
}

std::string UnreadableLineMessage(std::string_view text) {
    return "无法识别的分数线" + quoted(text) + "，应写作 一本=520 或 一本=前150！";
}

std::string LineGivenText(const TierLine& line) {
    return line.kind == LineKind::Count
               ? std::string(kCountBefore) + NumberToText(line.given) + std::string(kCountAfter)
               : NumberToText(line.given);
}

bool AtOrAbove(double mark, double line) {
    return mark >= line - kSlack * std::max(1.0, std::fabs(line));
}

std::optional<std::string> ResolveTierLines(const std::vector<LineText>& texts, const std::vector<double>& totals,
                                            std::vector<TierLine>& out) {
    out.clear();
    std::vector<const LineText*> given;
    std::vector<std::string> names;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string name(TrimSpaces(texts[i].name));
        if (name.empty() && TrimSpaces(texts[i].value).empty()) {
            continue;
        }
        if (name.empty()) {
            return "第 " + std::to_string(i + 1) + " 条分数线没有名称！";
        }
        if (name.find('=') != std::string::npos) {
            return "分数线的名称" + quoted(name) + "中不能有“=”！";
        }
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            return "有两条分数线都叫" + quoted(name) + "！";
        }
        names.push_back(name);
        given.push_back(&texts[i]);
    }
    if (given.size() > static_cast<size_t>(kMaxTierLines)) {
        return std::string(kTooManyTierLinesMessage);
    }
    if (given.empty()) {
        return std::string(kNoTierLineMessage);
    }

    std::vector<double> ranked = totals;
    std::sort(ranked.begin(), ranked.end(), std::greater<double>());
    std::vector<TierLine> lines;
    for (size_t i = 0; i < given.size(); ++i) {
        const LineText& text = *given[i];
        TierLine line{names[i], text.kind, 0, 0};
        if (TrimSpaces(text.value).empty()) {
            return quoted(line.name) + "没有填写" + (text.kind == LineKind::Score ? "分数" : "名次") + "！";
        }
        if (text.kind == LineKind::Score) {
            if (!ReadMark(text.value, line.given)) {
                return quoted(line.name) + "的分数" + quoted(TrimSpaces(text.value)) + "不是数！";
            }
            line.score = line.given;
        } else {
            long long count = 0;
            const std::string_view digits = countDigits(text.value);
            if (!ParseWholeNumber(digits, 1, INT32_MAX, count)) {
                return quoted(line.name) + "的名次" + quoted(TrimSpaces(text.value)) + "必须是大于 0 的整数！";
            }
            if (count > static_cast<long long>(ranked.size())) {
                return quoted(line.name) + "的名次 " + std::to_string(count) + " 超过了参考人数 " +
                       std::to_string(ranked.size()) + "！";
            }
            line.given = static_cast<double>(count);
            line.score = ranked[static_cast<size_t>(count - 1)];
        }
        lines.push_back(std::move(line));
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const TierLine& a, const TierLine& b) { return a.score > b.score; });
    out = std::move(lines);
    return std::nullopt;
}

std::optional<LineText> DefaultTierLine(int takingPart) {
    if (takingPart <= 0) {
        return std::nullopt;
    }
    // 15 % half up: (15 n + 50) ÷ 100 in whole numbers.
    const int count = std::max(1, (15 * takingPart + 50) / 100);
    return LineText{"一本", LineKind::Count, std::to_string(count)};
}

int SameShareCount(int reaching, int takingPart, int withMark) {
    if (takingPart <= 0 || withMark <= 0) {
        return 0;
    }
    // reaching × withMark ÷ takingPart, half up, in whole numbers.
    const int64_t twice = 2 * static_cast<int64_t>(reaching) * withMark + takingPart;
    return std::max<int>(1, static_cast<int>(twice / (2 * static_cast<int64_t>(takingPart))));
}

std::optional<double> EffectiveMark(std::vector<double> marks, int reaching, int takingPart) {
    if (reaching <= 0 || marks.empty()) {
        return std::nullopt;
    }
    const int k = std::min(SameShareCount(reaching, takingPart, static_cast<int>(marks.size())),
                           static_cast<int>(marks.size()));
    if (k <= 0) {
        return std::nullopt;
    }
    std::nth_element(marks.begin(), marks.begin() + (k - 1), marks.end(), std::greater<double>());
    return marks[static_cast<size_t>(k - 1)];
}

}  // namespace scorvane

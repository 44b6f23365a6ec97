#include "main/analysis/analysis_settings.h"

#include <algorithm>
#include <cmath>

namespace scorvane {
namespace {

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool readWithin(const std::string& text, double low, double high, double& value) {
    return ReadMark(text, value) && std::isfinite(value) && value >= low && value <= high;
}

}  // namespace

std::string MissingFieldMessage(std::string_view field) {
    return "表格中没有字段“" + std::string(field) + "”！";
}

std::string MissingFieldInTableMessage(std::string_view tableName, std::string_view field) {
    return "表格“" + std::string(tableName) + "”中没有字段“" + std::string(field) + "”！";
}

std::string FullMarksMessage(std::string_view field) {
    return "“" + std::string(field) + "”的满分必须是大于 0 的数！";
}

std::optional<std::string> ReadAnalysisTexts(const AnalysisTexts& texts,
                                             const std::vector<std::string>& available,
                                             const std::vector<std::string>& defaults,
                                             AnalysisSettings& out) {
    AnalysisSettings settings;
    for (const std::string& field : texts.fields) {
        if (!contains(available, field)) {
            return MissingFieldMessage(field);
        }
        if (!contains(settings.fields, field)) {
            settings.fields.push_back(field);
        }
    }
    for (const auto& [field, marks] : texts.fieldFullMarks) {
        if (!contains(available, field)) {
            return MissingFieldMessage(field);
        }
    }
    if (texts.fields.empty()) {
        settings.fields = defaults;
    }
    if (settings.fields.empty()) {
        return std::string(kNoFieldChosenMessage);
    }
    for (const std::string& field : settings.fields) {
        const std::string* text = &texts.fullMarks;
        for (const auto& [named, marks] : texts.fieldFullMarks) {
            if (named == field) {
                text = &marks;
            }
        }
        double full = 0;
        if (!ReadMark(*text, full) || !std::isfinite(full) || !(full > 0)) {
            return FullMarksMessage(field);
        }
        settings.fullMarks.push_back(full);
    }
    if (!readWithin(texts.pass, 0, 100, settings.lines.pass) ||
        !readWithin(texts.excellent, 0, 100, settings.lines.excellent) ||
        !readWithin(texts.low, 0, 100, settings.lines.low)) {
        return std::string(kLinesOutOfRangeMessage);
    }
    if (settings.lines.pass > settings.lines.excellent) {
        return std::string(kPassAboveExcellentMessage);
    }
    if (!readWithin(texts.bandWidth, 1, 100, settings.bandWidth)) {
        return std::string(kBandWidthMessage);
    }
    out = std::move(settings);
    return std::nullopt;
}

}  // namespace scorvane

#include "main/analysis/analysis_settings.h"

#include <algorithm>
#include <cmath>

#include "common/utf8.h"
#include "main/formula/number_text.h"

namespace scorvane {
namespace {

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool readWithin(const std::string& text, double low, double high, double& value) {
    return ReadMark(text, value) && std::isfinite(value) && value >= low && value <= high;
}

bool readFullMarks(const std::string& text, double& value) {
    return ReadMark(text, value) && std::isfinite(value) && value > 0;
}

// The field's own full marks (the last given for it), or nothing.
const std::string* ownFullMarks(const std::string& field,
                                const std::vector<std::pair<std::string, std::string>>& own) {
    const std::string* text = nullptr;
    for (const auto& [named, marks] : own) {
        if (named == field) {
            text = &marks;
        }
    }
    return text;
}

}  // namespace

std::string OfferedFullMarks(const std::string& field,
                             const std::vector<std::pair<std::string, std::string>>& own,
                             const std::string& common, const DerivedFields& derived) {
    if (const std::string* text = ownFullMarks(field, own)) {
        return *text;
    }
    for (const auto& [named, derivation] : derived) {
        if (named != field || derivation.fields.empty()) {
            continue;
        }
        double sum = 0;
        for (const std::string& part : derivation.fields) {
            const std::string* text = ownFullMarks(part, own);
            double full = 0;
            if (!readFullMarks(text ? *text : common, full)) {
                return common;
            }
            sum += full;
        }
        if (derivation.kind == FieldDerivation::Kind::Average) {
            sum /= static_cast<double>(derivation.fields.size());
        }
        return NumberToText(sum);
    }
    return common;
}

std::string AnalysisSettingsText(const AnalysisSettings& settings) {
    std::string text = "满分：";
    for (size_t i = 0; i < settings.fields.size(); ++i) {
        text += (i > 0 ? "，" : "") + settings.fields[i] + " " + NumberToText(settings.fullMarks[i]);
    }
    return text + "；及格 " + NumberToText(settings.lines.pass) + "%，优秀 " +
           NumberToText(settings.lines.excellent) + "%，低分 " + NumberToText(settings.lines.low) + "%";
}

std::string ResultClassInfo(const std::string& sourceClassInfo, const AnalysisSettings& settings) {
    const std::string made = AnalysisSettingsText(settings);
    return IsBlank(sourceClassInfo) ? made : sourceClassInfo + "；" + made;
}

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
        const std::string text =
            OfferedFullMarks(field, texts.fieldFullMarks, texts.fullMarks, texts.derived);
        double full = 0;
        if (!readFullMarks(text, full)) {
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

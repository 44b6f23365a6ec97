#include "common/report_template.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "common/file_io.h"
#include "common/ini_store.h"
#include "common/utf8.h"

namespace scorvane {
namespace {

// A space of a font name as a label record writes it when a plain space would be misread.
constexpr std::string_view kIdeographicSpace = "\u3000";

constexpr std::string_view kNoticeComment = ";KVL'S Scorvane 版权所有，报表模板格式 2024年5月";

// A real written in decimal ("1187.5", "-1", "1e3"), the whole token; a leading "+" is allowed.
bool parseReal(std::string_view text, double& out) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) {
        return false;
    }
    out = v;
    return true;
}

// A field read "as a whole number": the nearest whole number, a half going to the even neighbour.
bool parseWhole(std::string_view text, long long min, long long max, long long& out) {
    double v = 0;
    if (!parseReal(text, v)) {
        return false;
    }
    double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    if (r < static_cast<double>(min) || r > static_cast<double>(max)) {
        return false;
    }
    out = static_cast<long long>(r);
    return true;
}

constexpr long long kInt32Min = std::numeric_limits<int32_t>::min();
constexpr long long kInt32Max = std::numeric_limits<int32_t>::max();

// A count or flag of the [Information] section: a number when it is one, otherwise 0.
long long lenientWhole(std::string_view text) {
    long long v = 0;
    return parseWhole(TrimSpaces(text), kInt32Min, kInt32Max, v) ? v : 0;
}

std::vector<std::string_view> splitAtSpaces(std::string_view record) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        size_t space = record.find(' ', start);
        if (space == std::string_view::npos) {
            fields.push_back(record.substr(start));
            return fields;
        }
        fields.push_back(record.substr(start, space - start));
        start = space + 1;
    }
}

std::string joinWithSpaces(const std::vector<std::string_view>& fields, size_t begin, size_t end) {
    std::string out;
    for (size_t i = begin; i < end; ++i) {
        if (i > begin) {
            out += ' ';
        }
        out += fields[i];
    }
    return out;
}

bool isNumber(std::string_view text) {
    double v;
    return parseReal(text, v);
}

// Reads keys 0 .. last of a section, a missing key as "0". The count comes from the file and is not
// trusted: no key beyond the largest numbered key that the section holds is read, and no more records
// than twice the numbered keys it holds (the keys present and as many missing ones), so neither a
// damaged count nor a damaged key makes the reader produce more than the file holds.
std::vector<std::string> readNumberedRecords(const IniStore& store, std::string_view section,
                                             long long last) {
    std::unordered_map<std::string, std::string> byKey;
    long long largestKey = -1;
    long long numberedKeys = 0;
    for (auto& [key, value] : store.entries(section)) {
        long long n = 0;
        if (ParseWholeNumber(key, 0, kInt32Max, n)) {
            largestKey = std::max(largestKey, n);
            ++numberedKeys;
        }
        byKey.emplace(key, value);  // the first entry of a key wins, as a reader finds it first
    }
    std::vector<std::string> records;
    const long long end = std::min({last, largestKey, 2 * numberedKeys - 1});
    for (long long i = 0; i <= end; ++i) {
        auto it = byKey.find(std::to_string(i));
        records.push_back(it == byKey.end() ? std::string("0") : it->second);
    }
    return records;
}

}  // namespace

SurfaceFont TemplateLabel::surfaceFont() const {
    SurfaceFont f;
    f.name = fontName;
    f.size = fontSize;
    f.bold = fontBold;
    f.italic = fontItalic;
    f.underline = fontUnderline;
    f.strikethrough = fontStrikethru;
    return f;
}

std::string ChangeText(std::string_view stringAll, std::string_view oldStr, std::string_view newStr) {
    if (oldStr.empty()) {
        return std::string(stringAll);
    }
    return ReplaceAll(stringAll, oldStr, newStr);
}

std::string FormatShortestReal(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return "0";
    }
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc()) {
        return "0";
    }
    return std::string(buffer, end);
}

namespace {

std::string encodeLabelRecord(const TemplateLabel& label, std::string_view fontName) {
    auto flag = [](bool b) { return b ? std::string("-1") : std::string("0"); };
    std::string r = FlattenLineBreaks(ChangeText(label.caption, "\r\n", "[/]"));
    r += ' ' + FormatShortestReal(label.top);
    r += ' ' + FormatShortestReal(label.left);
    r += ' ';
    r += fontName;
    r += ' ' + flag(label.fontBold);
    r += ' ' + flag(label.fontItalic);
    r += ' ' + FormatShortestReal(label.fontSize);
    r += ' ' + flag(label.fontStrikethru);
    r += ' ' + flag(label.fontUnderline);
    r += ' ' + std::to_string(static_cast<int32_t>(label.foreColor));
    return r;
}

}  // namespace

std::string EncodeLabelRecord(const TemplateLabel& label) {
    std::string plain = encodeLabelRecord(label, label.fontName);
    if (label.fontName.find(' ') == std::string::npos) {
        return plain;
    }
    // Spaces in both the caption and the font name may split the record elsewhere when it is read.
    TemplateLabel back;
    if (SetLabel(plain, back) && back.fontName == label.fontName &&
        back.caption == ChangeText(FlattenLineBreaks(label.caption), "[/]", "\r\n")) {
        return plain;
    }
    return encodeLabelRecord(label, ReplaceAll(label.fontName, " ", kIdeographicSpace));
}

bool SetLabel(std::string_view record, TemplateLabel& label) {
    std::vector<std::string_view> tokens = splitAtSpaces(record);

    // The ten fields as texts: by the plain rule, or from the right when the record holds extra spaces
    // (or lost a leading empty caption when it was read).
    std::vector<std::string> fields;
    const size_t n = tokens.size();
    if (n != 10 && n >= 9) {
        const size_t prefix = n - 6;  // caption, Top, Left and the font name
        for (size_t i = prefix - 2; i-- > 0;) {
            if (isNumber(tokens[i]) && isNumber(tokens[i + 1])) {
                fields.push_back(joinWithSpaces(tokens, 0, i));
                fields.emplace_back(tokens[i]);
                fields.emplace_back(tokens[i + 1]);
                fields.push_back(joinWithSpaces(tokens, i + 2, prefix));
                for (size_t k = prefix; k < n; ++k) {
                    fields.emplace_back(tokens[k]);
                }
                break;
            }
        }
    }
    if (fields.empty()) {
        // Field 1 ends at the first space, fields 2 to 9 at the next ones, field 10 is the rest.
        for (size_t i = 0; i < n && i < 9; ++i) {
            fields.emplace_back(tokens[i]);
        }
        if (n > 9) {
            fields.push_back(joinWithSpaces(tokens, 9, n));
        }
    }

    auto has = [&](size_t i) { return i < fields.size(); };
    long long v = 0;
    if (!has(0)) {
        return false;
    }
    label.caption = ChangeText(FlattenLineBreaks(fields[0]), "[/]", "\r\n");
    if (!has(1) || !parseWhole(fields[1], kInt32Min, kInt32Max, v)) {
        return false;
    }
    label.top = static_cast<double>(v);
    if (!has(2) || !parseWhole(fields[2], kInt32Min, kInt32Max, v)) {
        return false;
    }
    label.left = static_cast<double>(v);
    if (!has(3)) {
        return false;
    }
    label.fontName = ReplaceAll(FlattenLineBreaks(fields[3]), kIdeographicSpace, " ");
    bool* flags1[] = {&label.fontBold, &label.fontItalic};
    for (size_t k = 0; k < 2; ++k) {
        if (!has(4 + k) || !parseWhole(fields[4 + k], kInt32Min, kInt32Max, v)) {
            return false;
        }
        *flags1[k] = v != 0;
    }
    if (!has(6) || !parseWhole(fields[6], kInt32Min, kInt32Max, v)) {
        return false;
    }
    label.fontSize = std::clamp(static_cast<double>(v), kMinLabelFontSize, kMaxLabelFontSize);
    bool* flags2[] = {&label.fontStrikethru, &label.fontUnderline};
    for (size_t k = 0; k < 2; ++k) {
        if (!has(7 + k) || !parseWhole(fields[7 + k], kInt32Min, kInt32Max, v)) {
            return false;
        }
        *flags2[k] = v != 0;
    }
    // A colour is a 32-bit value, written signed or unsigned.
    if (!has(9) || !parseWhole(fields[9], kInt32Min, std::numeric_limits<uint32_t>::max(), v)) {
        return false;
    }
    label.foreColor = static_cast<uint32_t>(v);
    return true;
}

std::string EncodeLineRecord(const TemplateLine& line) {
    return std::to_string(line.x1) + "," + std::to_string(line.y1) + "," + std::to_string(line.x2) + "," +
           std::to_string(line.y2) + "," + std::to_string(line.kind);
}

std::optional<TemplateLine> ParseLineRecord(std::string_view record) {
    long long values[5];
    size_t start = 0;
    for (int i = 0; i < 5; ++i) {
        size_t comma = record.find(',', start);
        if ((comma == std::string_view::npos) != (i == 4)) {
            return std::nullopt;
        }
        std::string_view field = TrimSpaces(
            record.substr(start, comma == std::string_view::npos ? record.size() - start : comma - start));
        if (!ParseWholeNumber(field, kInt32Min, kInt32Max, values[i])) {
            return std::nullopt;
        }
        start = comma + 1;
    }
    return TemplateLine{values[0], values[1], values[2], values[3], values[4]};
}

bool DrawLines(std::string_view record, bool red, DrawingSurface& surface) {
    auto line = ParseLineRecord(record);
    if (!line) {
        return false;
    }
    surface.drawLine(static_cast<double>(line->x1), static_cast<double>(line->y1),
                     static_cast<double>(line->x2), static_cast<double>(line->y2),
                     red ? Rgb(255, 0, 0) : kBlack);
    return true;
}

std::string SerializeReportTemplate(const ReportTemplate& report) {
    IniStore store;
    store.appendLine(kTemplateMagicComment);
    store.appendLine(kNoticeComment);
    store.appendSection("Information");
    store.appendEntry("LinesNum", std::to_string(static_cast<long long>(report.lineRecords.size()) - 1));
    store.appendEntry("LabelsNum", std::to_string(static_cast<long long>(report.labels.size()) - 1));
    store.appendEntry("Page", report.landscape ? "-1" : "0");
    if (!report.lineRecords.empty()) {
        store.appendSection("Lines");
        for (size_t i = 0; i < report.lineRecords.size(); ++i) {
            store.appendEntry(std::to_string(i), report.lineRecords[i]);
        }
    }
    if (!report.labels.empty()) {
        store.appendSection("Labels");
        for (size_t i = 0; i < report.labels.size(); ++i) {
            std::string record = EncodeLabelRecord(report.labels[i]);
            if (!record.empty() &&
                (record.front() == ' ' || record.front() == '\t' || record.front() == '"')) {
                record = '"' + record + '"';
            }
            store.appendEntry(std::to_string(i), record);
        }
    }
    return store.text();
}

bool WriteReportTemplate(const ReportTemplate& report, const std::string& path, FileState* written) {
    return IniStore::fromText(SerializeReportTemplate(report)).save(path, written);
}

ReportTemplateRecords ParseReportTemplate(std::string_view utf8Text) {
    IniStore store = IniStore::fromText(utf8Text);
    ReportTemplateRecords out;
    out.hasInformation = store.hasSection("Information");
    const long long linesNum = lenientWhole(store.value("Information", "LinesNum", "0"));
    const long long labelsNum = lenientWhole(store.value("Information", "LabelsNum", "0"));
    out.landscape = lenientWhole(store.value("Information", "Page", "0")) == -1;
    out.lineRecords = readNumberedRecords(store, "Lines", linesNum);
    out.labelRecords = readNumberedRecords(store, "Labels", labelsNum);
    for (std::string& record : out.labelRecords) {
        if (record.size() >= 2 && record.front() == '"' && record.back() == '"') {
            record = record.substr(1, record.size() - 2);
        }
    }
    return out;
}

bool ReadReportTemplateFile(const std::string& path, ReportTemplateRecords& out) {
    IniStore store;
    if (!store.load(path)) {
        return false;
    }
    out = ParseReportTemplate(store.text());
    return true;
}

PrintableTemplate PrintableReportTemplate(const ReportTemplateRecords& records) {
    PrintableTemplate t;
    t.landscape = records.landscape;
    for (const std::string& record : records.lineRecords) {
        if (auto line = ParseLineRecord(record)) {
            t.lines.push_back(*line);
        } else {
            ++t.skippedRecords;
        }
    }
    for (const std::string& record : records.labelRecords) {
        TemplateLabel label;
        if (SetLabel(record, label)) {
            t.labels.push_back(std::move(label));
        } else {
            ++t.skippedRecords;
        }
    }
    return t;
}

TemplateFileStatus ReadReportTemplate(const std::string& path, PrintableTemplate& out) {
    ReportTemplateRecords records;
    if (!FileExists(path) || !ReadReportTemplateFile(path, records)) {
        return TemplateFileStatus::Unreadable;
    }
    if (!records.hasInformation) {
        return TemplateFileStatus::NotATemplate;
    }
    out = PrintableReportTemplate(records);
    return TemplateFileStatus::Read;
}

std::string SkippedRecordsMessage(int count) {
    return "模板中有 " + std::to_string(count) + " 条记录格式不正确，已略过。";
}

bool KeepLabelOnPage(TemplateLabel& label, double pageWidth, double pageHeight) {
    const double left = std::clamp(label.left, 0.0, pageWidth);
    const double top = std::clamp(label.top, 0.0, pageHeight);
    if (left == label.left && top == label.top) {
        return false;
    }
    label.left = left;
    label.top = top;
    return true;
}

ReportTemplate OpenReportTemplate(const PrintableTemplate& report, std::vector<size_t>* moved) {
    ReportTemplate opened;
    opened.landscape = report.landscape;
    for (const TemplateLine& line : report.lines) {
        opened.lineRecords.push_back(EncodeLineRecord(line));
    }
    const double width = report.landscape ? kA4Height : kA4Width;
    const double height = report.landscape ? kA4Width : kA4Height;
    for (TemplateLabel label : report.labels) {
        if (KeepLabelOnPage(label, width, height) && moved) {
            moved->push_back(opened.labels.size());
        }
        opened.labels.push_back(std::move(label));
    }
    return opened;
}

}  // namespace scorvane

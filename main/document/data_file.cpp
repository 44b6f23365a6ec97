#include "main/document/data_file.h"

#include <algorithm>
#include <cstring>

#include "common/file_io.h"
#include "common/line_reader.h"
#include "common/text_codec.h"
#include "common/utf8.h"
#include "main/document/status_scope.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

constexpr std::string_view kLineBreakMark = "[/]";

bool parseCount(std::string_view line, int& count) {
    long long v = 0;
    if (!ParseWholeNumber(TrimSpaces(line), 1, GradeTable::kMaxCount, v)) {
        return false;
    }
    count = static_cast<int>(v);
    return true;
}

size_t countLines(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    size_t n = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    return text.back() == '\n' ? n : n + 1;
}

std::string utf8MagicLine() {
    return std::string(kDataFileMagic);
}

std::string gbkMagicLine() {
    static const std::string magic = EncodeGbk(kDataFileMagic);
    return magic;
}

bool firstLineIs(std::string_view bytes, std::string_view line) {
    if (bytes.substr(0, line.size()) != line) {
        return false;
    }
    std::string_view rest = bytes.substr(line.size());
    return rest.empty() || rest[0] == '\n' || (rest.size() >= 2 && rest[0] == '\r' && rest[1] == '\n') ||
           rest == "\r";
}

void appendValueLine(std::string& out, std::string_view value) {
    if (value.find_first_of("\r\n") == std::string_view::npos) {
        out.append(value);
    } else {
        out.append(EncodeLineValue(value));
    }
    out.append("\r\n");
}

}  // namespace

std::string EncodeLineValue(std::string_view value) {
    std::string v = ReplaceAll(value, "\r\n", kLineBreakMark);
    v = ReplaceAll(v, "\n", kLineBreakMark);
    return ReplaceAll(v, "\r", kLineBreakMark);
}

std::string DecodeLineValue(std::string_view line) {
    return ReplaceAll(line, kLineBreakMark, "\r\n");
}

bool HasDataFileMagic(std::string_view bytes) {
    return firstLineIs(bytes, gbkMagicLine()) || firstLineIs(bytes, utf8MagicLine());
}

bool ParseDataFile(std::string_view bytes, GradeTable& out) {
    std::string decoded;
    std::string_view text;
    if (firstLineIs(bytes, gbkMagicLine())) {
        decoded = DecodeGbk(bytes);
        text = decoded;
    } else if (firstLineIs(bytes, utf8MagicLine()) && IsValidUtf8(bytes)) {
        text = bytes;
    } else {
        return false;
    }

    LineReader reader(text);
    std::string_view header[7];
    for (auto& line : header) {
        if (!reader.next(line)) {
            return false;
        }
    }
    int rows = 0;
    int cols = 0;
    if (!parseCount(header[2], rows) || !parseCount(header[3], cols)) {
        return false;
    }
    // The file must hold every cell before any memory is reserved for them.
    const size_t cellCount = static_cast<size_t>(rows) * static_cast<size_t>(cols);
    if (countLines(reader.rest()) < cellCount) {
        return false;
    }

    const bool hasMarks = text.find(kLineBreakMark) != std::string_view::npos;
    auto value = [hasMarks](std::string_view line) {
        return hasMarks ? DecodeLineValue(line) : std::string(line);
    };

    GradeTable loaded(rows, cols);
    std::vector<std::string>& cells = loaded.cells();
    std::string_view line;
    for (size_t i = 0; i < cellCount; ++i) {
        if (!reader.next(line)) {
            return false;
        }
        cells[i] = value(line);
    }
    loaded.title = value(header[1]);
    loaded.teacher = value(header[4]);
    loaded.classInfo = value(header[5]);
    loaded.dataFormat = value(header[6]);
    loaded.filePath = out.filePath;
    out = std::move(loaded);
    return true;
}

std::string SerializeDataFile(const GradeTable& table) {
    std::string text;
    size_t estimate = 256;
    for (const std::string& c : table.cells()) {
        estimate += c.size() + 2;
    }
    text.reserve(estimate);
    appendValueLine(text, kDataFileMagic);
    appendValueLine(text, table.title);
    appendValueLine(text, std::to_string(table.rows()));
    appendValueLine(text, std::to_string(table.cols()));
    appendValueLine(text, table.teacher);
    appendValueLine(text, table.classInfo);
    appendValueLine(text, table.dataFormat);
    for (const std::string& c : table.cells()) {
        appendValueLine(text, c);
    }
    return EncodeGbk(text);
}

bool WriteDataFile(const GradeTable& table, const std::string& pathWithoutExtension) {
    return WriteFileAtomically(pathWithoutExtension + std::string(kDataFileExtension),
                               SerializeDataFile(table));
}

std::string DataFileOf(const std::string& pathWithoutExtension) {
    std::string exact = pathWithoutExtension + std::string(kDataFileExtension);
    if (FileExists(exact)) {
        return exact;
    }
    // ".skv" in its other seven letter cases.
    for (int upper = 1; upper < 8; ++upper) {
        std::string variant = exact;
        for (int i = 0; i < 3; ++i) {
            if (upper & (1 << i)) {
                char& c = variant[variant.size() - 3 + static_cast<size_t>(i)];
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        if (FileExists(variant)) {
            return variant;
        }
    }
    return exact;
}

std::optional<std::string> ExistingDataPath(const std::string& path) {
    std::string name = path;
    if (name.size() >= 4 && EqualsIgnoreCaseAscii(name.substr(name.size() - 4), kDataFileExtension)) {
        name.resize(name.size() - 4);
    }
    if (name.empty() || !FileExists(DataFileOf(name))) {
        return std::nullopt;
    }
    return name;
}

LoadOutcome LoadData(Document& document, std::string_view name, bool fullname, Prompter& prompter,
                     StatusSink& status) {
    StatusScope busy(status, kStatusReading);
    if (TrimSpaces(name).empty()) {
        return LoadOutcome::Closed;
    }
    const std::string path = DataFileOf(fullname ? std::string(name) : DataFolder() + std::string(name));
    if (!FileExists(path)) {
        return LoadOutcome::Closed;
    }
    auto bytes = ReadWholeFile(path);
    GradeTable& table = document.table;
    if (!bytes || !ParseDataFile(*bytes, table)) {
        prompter.message(kFormatMessage, "提示", Icon::Information);
        return LoadOutcome::Refused;
    }
    table.renumber();
    table.setHeaderLayout(table.composeHeaderLayout(false));
    return LoadOutcome::Loaded;
}

SaveOutcome SaveData(Document& document, bool temporary, std::string_view path, Prompter& prompter,
                     StatusSink& status) {
    StatusScope busy(status, kStatusSaving);
    const GradeTable& table = document.table;
    std::string target;
    if (temporary) {
        target = ScratchPath();
    } else {
        target = path == "窗口标题" ? table.title : std::string(path);
    }
    if (TrimSpaces(target).empty()) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return SaveOutcome::Failed;
    }
    target = temporary ? target + std::string(kDataFileExtension) : DataFileOf(target);
    if (!temporary && FileExists(target)) {
        Answer a = prompter.ask(kOverwriteQuestion, "提示：", Buttons::YesNo, Icon::Question, Answer::Yes);
        if (a != Answer::Yes) {
            return SaveOutcome::Declined;
        }
    }
    if (!WriteFileAtomically(target, SerializeDataFile(table))) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

}  // namespace scorvane

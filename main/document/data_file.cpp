#include "main/document/data_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/file_io.h"
#include "common/file_line_reader.h"
#include "common/file_sharing.h"
#include "common/line_reader.h"
#include "common/shared_write.h"
#include "common/text_codec.h"
#include "common/utf8.h"
#include "main/document/open_table.h"
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

// The bytes of a file's lines that are still to come.
uint64_t bytesLeft(const LineReader& lines) {
    return lines.rest().size();
}
uint64_t bytesLeft(const FileLineReader& lines) {
    return lines.remaining();
}
bool readFailed(const LineReader&) {
    return false;
}
bool readFailed(const FileLineReader& lines) {
    return !lines.ok();
}

// A line of the file as a value: decoded (GBK, or checked UTF-8) and every "[/]" made CR LF. The value
// is the line itself where nothing changes (ASCII without marks), else it is made in `scratch`.
class LineDecoder {
  public:
    explicit LineDecoder(bool utf8) : utf8_(utf8) {}

    // False for a UTF-8 file whose line is not well-formed.
    bool decode(std::string_view line, std::string_view& value) {
        if (!IsAscii(line)) {
            if (utf8_) {
                if (!IsValidUtf8(line)) {
                    return false;
                }
            } else {
                scratch_.clear();
                AppendDecodedGbk(scratch_, line);
                line = scratch_;
            }
        }
        if (line.find(kLineBreakMark) != std::string_view::npos) {
            marked_ = DecodeLineValue(line);
            line = marked_;
        }
        value = line;
        return true;
    }

  private:
    bool utf8_;
    std::string scratch_;
    std::string marked_;
};

// Reads a data file from its lines in one pass, each cell decoded straight into the table (see
// ParseDataFile).
template <typename Lines>
bool parseDataLines(Lines& lines, GradeTable& out) {
    std::string_view line;
    if (!lines.next(line)) {
        return false;
    }
    bool utf8 = false;
    if (line == gbkMagicLine()) {
        utf8 = false;
    } else if (line == utf8MagicLine()) {
        utf8 = true;
    } else {
        return false;
    }
    LineDecoder decoder(utf8);
    std::string header[6];
    for (std::string& text : header) {
        std::string_view value;
        if (!lines.next(line) || !decoder.decode(line, value)) {
            return false;
        }
        text = value;
    }
    int rows = 0;
    int cols = 0;
    if (!parseCount(header[1], rows) || !parseCount(header[2], cols)) {
        return false;
    }
    // Every cell takes a line, and every line but the last ends in a line feed: a file that cannot
    // hold the cells it claims is refused before any memory is taken for them.
    const uint64_t cellCount = static_cast<uint64_t>(rows) * static_cast<uint64_t>(cols);
    if (cellCount > bytesLeft(lines) + 1) {
        return false;
    }

    GradeTable loaded(rows, cols);
    // A long line the same as the one a row above (a column of formulas) is the same value: it takes
    // the text of the cell above without being decoded again.
    constexpr size_t kRepeatedLine = 16;
    std::vector<std::string> lineAbove(static_cast<size_t>(cols));
    for (uint64_t i = 0; i < cellCount; ++i) {
        if (!lines.next(line)) {
            return false;
        }
        const auto at = static_cast<int64_t>(i);
        const bool longLine = line.size() > kRepeatedLine;
        std::string& above = lineAbove[i % static_cast<uint64_t>(cols)];
        if (longLine && line == above) {
            loaded.setCellAt(at, loaded.cellAt(at - cols));
            continue;
        }
        std::string_view value;
        if (!decoder.decode(line, value)) {
            return false;
        }
        loaded.setCellAt(at, value);
        if (longLine) {
            above.assign(line);
        } else {
            above.clear();
        }
    }
    if (utf8) {
        // A file that claims UTF-8 is UTF-8 throughout, also after its last cell.
        std::string_view ignored;
        while (lines.next(line)) {
            if (!decoder.decode(line, ignored)) {
                return false;
            }
        }
        if (readFailed(lines)) {
            return false;
        }
    }
    loaded.title = std::move(header[0]);
    loaded.teacher = std::move(header[3]);
    loaded.classInfo = std::move(header[4]);
    loaded.dataFormat = std::move(header[5]);
    loaded.filePath = out.filePath;
    out = std::move(loaded);
    return true;
}

// Appends one value as its line: GBK, a line break inside it as "[/]", then CR LF.
void appendValueLine(std::string& out, std::string_view value) {
    bool breaks = false;
    for (char ch : value) {
        breaks = breaks || ch == '\r' || ch == '\n';
    }
    std::string encoded;
    if (breaks) {
        encoded = EncodeLineValue(value);
        value = encoded;
    }
    if (IsAscii(value)) {
        out.append(value);
    } else {
        AppendEncodedGbk(out, value);
    }
    out.append("\r\n");
}

// Appends the data file's bytes to `text`; whenever it holds `piece` bytes or more, hands it to `flush`,
// which empties it. False as soon as `flush` fails.
template <typename Flush>
bool serializeDataFile(const GradeTable& table, std::string& text, size_t piece, Flush&& flush) {
    appendValueLine(text, kDataFileMagic);
    appendValueLine(text, table.title);
    appendValueLine(text, std::to_string(table.rows()));
    appendValueLine(text, std::to_string(table.cols()));
    appendValueLine(text, table.teacher);
    appendValueLine(text, table.classInfo);
    appendValueLine(text, table.dataFormat);
    const int64_t cells = static_cast<int64_t>(table.rows()) * table.cols();
    for (int64_t i = 0; i < cells; ++i) {
        appendValueLine(text, table.cellAt(i));
        if (text.size() >= piece && !flush(text)) {
            return false;
        }
    }
    return true;
}

// About the data file's size: every value's UTF-8 bytes (its GBK takes no more for Chinese) and a
// line end, so that the bytes are made in one buffer without copying them as they grow.
size_t sizeEstimate(const GradeTable& table) {
    size_t size =
        256 + table.title.size() + table.teacher.size() + table.classInfo.size() + table.dataFormat.size();
    const int64_t cells = static_cast<int64_t>(table.rows()) * table.cols();
    for (int64_t i = 0; i < cells; ++i) {
        size += table.cellAt(i).size() + 2;
    }
    return size;
}

constexpr size_t kWritePiece = 256 * 1024;
constexpr size_t kPausePiece = 64 * 1024;

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
    LineReader lines(bytes);
    return parseDataLines(lines, out);
}

bool ReadDataFile(const std::string& path, GradeTable& out) {
    FileLineReader lines(path);
    return lines.ok() && parseDataLines(lines, out);
}

std::string SerializeDataFile(const GradeTable& table) {
    std::string bytes;
    bytes.reserve(sizeEstimate(table));
    serializeDataFile(table, bytes, std::numeric_limits<size_t>::max(), [](std::string&) { return true; });
    return bytes;
}

std::string SerializeDataFile(const GradeTable& table, const std::function<void()>& betweenPieces) {
    std::string bytes;
    bytes.reserve(sizeEstimate(table));
    std::string piece;
    piece.reserve(kPausePiece + 4096);
    serializeDataFile(table, piece, kPausePiece, [&](std::string& text) {
        bytes += text;
        text.clear();
        betweenPieces();
        return true;
    });
    bytes += piece;
    return bytes;
}

bool WriteDataFileTo(const GradeTable& table, const std::string& path, FileState* written) {
    AtomicFileWriter writer(path);
    std::string piece;
    piece.reserve(kWritePiece + 4096);
    auto flush = [&writer](std::string& text) { return writer.writePiece(text); };
    if (!serializeDataFile(table, piece, kWritePiece, flush) || !flush(piece) || !writer.commit()) {
        return false;
    }
    if (written) {
        *written = writer.written();
    }
    return true;
}

bool WriteDataFile(const GradeTable& table, const std::string& pathWithoutExtension) {
    return WriteDataFileTo(table, pathWithoutExtension + std::string(kDataFileExtension));
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
    GradeTable& table = document.table;
    if (!ReadDataFile(path, table)) {
        prompter.message(kFormatMessage, "提示", Icon::Information);
        return LoadOutcome::Refused;
    }
    table.renumber();
    table.setHeaderLayout(table.composeHeaderLayout(false));
    return LoadOutcome::Loaded;
}

SaveOutcome SaveData(Document& document, bool temporary, std::string_view path, Prompter& prompter,
                     StatusSink& status) {
    std::string target;
    if (temporary) {
        target = ScratchPath();
    } else {
        target = path == "窗口标题" ? document.table.title : std::string(path);
    }
    if (TrimSpaces(target).empty()) {
        StatusScope busy(status, kStatusSaving);
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return SaveOutcome::Failed;
    }
    target = temporary ? target + std::string(kDataFileExtension) : DataFileOf(target);
    return WriteTableFile(document, target, !temporary, prompter, status);
}

bool ConfirmOverwrite(Prompter& prompter) {
    return prompter.ask(kOverwriteQuestion, "提示：", Buttons::YesNo, Icon::Question, Answer::Yes) ==
           Answer::Yes;
}

SaveOutcome WriteTableFile(Document& document, const std::string& file, bool confirmOverwrite,
                           Prompter& prompter, StatusSink& status, FileState* written) {
    StatusScope busy(status, kStatusSaving);
    const bool own = document.file.claims(file);
    if (confirmOverwrite) {
        // The document's own file is looked at last; another that another program has open is not
        // replaced after the routine question alone.
        WriteTarget target;
        target.path = file;
        if (own) {
            target.ownState = &document.file.state();
            target.changedQuestion = ChangedQuestion(kTableKind, SharedTableName(document));
        }
        target.mayReplace = [&prompter] { return ConfirmOverwrite(prompter); };
        target.identity = &document.file.identity();
        switch (PrepareToWrite(target, prompter)) {
            case BeforeWriting::Write:
            case BeforeWriting::WriteAgain:
                break;
            case BeforeWriting::FolderGone:
                prompter.message(kSaveFailedMessage, "错误", Icon::Error);
                return SaveOutcome::Failed;
            case BeforeWriting::SaveElsewhere:
            case BeforeWriting::Cancelled:
                return SaveOutcome::Declined;
        }
    }
    FileState state;
    if (!WriteDataFileTo(document.table, file, &state)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return SaveOutcome::Failed;
    }
    if (own) {
        document.file.written(state);
    }
    if (written) {
        *written = state;
    }
    return SaveOutcome::Saved;
}

}  // namespace scorvane

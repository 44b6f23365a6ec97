#include "main/exchange/csv_import.h"

#include "common/file_io.h"
#include "common/text_codec.h"
#include "main/document/status_scope.h"

namespace scorvane {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

// Reads the values one by one from the text.
class ValueScanner {
  public:
    explicit ValueScanner(std::string_view text) : text_(text) {}

    std::vector<std::string> all() {
        std::vector<std::string> values;
        lines([&values](std::vector<std::string>&& line) {
            for (std::string& value : line) {
                values.push_back(std::move(value));
            }
        });
        return values;
    }

    std::vector<std::vector<std::string>> rows() {
        std::vector<std::vector<std::string>> out;
        lines([&out](std::vector<std::string>&& line) { out.push_back(std::move(line)); });
        return out;
    }

  private:
    // Calls `take` with the values of every line, an empty line with none.
    template <typename Take>
    void lines(Take take) {
        while (pos_ < text_.size()) {
            // At the start of a line: a line that is empty (or only blanks) gives no value.
            size_t end = pos_;
            while (end < text_.size() && isBlank(text_[end])) {
                ++end;
            }
            if (end >= text_.size()) {
                break;
            }
            if (text_[end] == '\r' || text_[end] == '\n') {
                pos_ = skipLineEnd(end);
                take({});
                continue;
            }
            // A line with k commas outside quotes gives k + 1 values.
            std::vector<std::string> line;
            while (true) {
                line.push_back(readValue());
                if (pos_ < text_.size() && text_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                pos_ = skipLineEnd(pos_);
                break;
            }
            take(std::move(line));
        }
    }

    size_t skipLineEnd(size_t at) const {
        if (at < text_.size() && text_[at] == '\r') {
            ++at;
        }
        if (at < text_.size() && text_[at] == '\n') {
            ++at;
        }
        return at;
    }

    bool atSeparator() const {
        return pos_ >= text_.size() || text_[pos_] == ',' || text_[pos_] == '\r' || text_[pos_] == '\n';
    }

    // One value from pos_ up to (not including) its separator.
    std::string readValue() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        std::string value;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            ++pos_;
            while (pos_ < text_.size()) {
                char ch = text_[pos_++];
                if (ch == '"') {
                    if (pos_ < text_.size() && text_[pos_] == '"') {
                        value.push_back('"');
                        ++pos_;
                        continue;
                    }
                    break;
                }
                value.push_back(ch);
            }
            // Text between the closing quote and the separator joins the value, blanks around it removed.
            size_t start = pos_;
            while (!atSeparator()) {
                ++pos_;
            }
            value.append(trimmed(text_.substr(start, pos_ - start)));
            return value;
        }
        size_t start = pos_;
        while (!atSeparator()) {
            ++pos_;
        }
        return std::string(trimmed(text_.substr(start, pos_ - start)));
    }

    static std::string_view trimmed(std::string_view s) {
        while (!s.empty() && isBlank(s.front())) {
            s.remove_prefix(1);
        }
        while (!s.empty() && isBlank(s.back())) {
            s.remove_suffix(1);
        }
        return s;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace

std::string DecodeCsvBytes(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        return DecodeUtf8(bytes.substr(kUtf8Bom.size()));  // damaged bytes become U+FFFD
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return DecodeGbk(bytes);
}

std::vector<std::string> ParseCsvValues(std::string_view text) {
    return ValueScanner(text).all();
}

std::vector<std::vector<std::string>> ParseCsvRows(std::string_view text) {
    return ValueScanner(text).rows();
}

int PutValuesIntoColumn(Document& document, int col, const std::vector<std::string>& values) {
    GradeTable& table = document.table;
    if (col < 1 || col >= table.cols()) {
        return 0;
    }
    int written = 0;
    bool changed = false;
    for (size_t k = 0; k < values.size(); ++k) {
        int row = static_cast<int>(k) + 1;
        if (row >= table.rows()) {
            break;
        }
        if (table.cell(row, col) != values[k]) {
            table.setCell(row, col, values[k]);
            changed = true;
        }
        ++written;
    }
    if (changed) {
        document.setModified();
    }
    return written;
}

std::string ColumnOverwriteQuestion(const GradeTable& table, int col) {
    const std::string title = table.contains(0, col) ? table.cell(0, col) : std::string();
    return "本操作将会覆盖第 " + std::to_string(col) + " 列(" + title + ")的所有数据，是否继续？";
}

CsvImportOutcome menuImportCVS(Document& document, int col, Prompter& prompter, StatusSink& status) {
    if (col < 1 || col >= document.table.cols()) {
        return CsvImportOutcome::Cancelled;
    }
    if (prompter.ask(ColumnOverwriteQuestion(document.table, col), "提示", Buttons::YesNo, Icon::Question,
                     Answer::Yes) != Answer::Yes) {
        return CsvImportOutcome::Declined;
    }
    std::string path = prompter.openFile("*.txt;*.csv", kCsvOpenTitle);
    if (path.empty()) {
        return CsvImportOutcome::Cancelled;
    }
    document.takeSnapshot();
    std::optional<std::string> bytes;
    {
        StatusScope busy(status, kStatusImporting);
        bytes = ReadWholeFile(path);
        if (bytes) {
            PutValuesIntoColumn(document, col, ParseCsvValues(DecodeCsvBytes(*bytes)));
        }
    }
    if (!bytes) {
        prompter.message(kCsvReadFailedMessage, "错误", Icon::Error);
        return CsvImportOutcome::Failed;
    }
    return CsvImportOutcome::Imported;
}

}  // namespace scorvane

#include "main/printing/report_files.h"

#include <algorithm>
#include <filesystem>

#include "common/utf8.h"
#include "main/analysis/field_marks.h"

namespace scorvane {
namespace {

namespace fs = std::filesystem;

constexpr size_t kLongestName = 200;  // bytes, well below the 255 of a file name
constexpr size_t kNamedFiles = 10;

bool unsafe(unsigned char ch) {
    return ch < 0x20 || ch == 0x7F || std::string_view("/\\:*?\"<>|").find(static_cast<char>(ch)) != std::string_view::npos;
}

bool endsWithExtension(std::string_view name) {
    return name.size() >= kReportFileExtension.size() &&
           EqualsIgnoreCaseAscii(name.substr(name.size() - kReportFileExtension.size()), kReportFileExtension);
}

std::string pathIn(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

bool standsThere(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// One piece of a pattern: literal text, or the column of a field.
struct Piece {
    std::string text;
    int column = 0;
};

}  // namespace

std::string DefaultReportFilePattern(const GradeTable& table) {
    const bool number = FieldColumn(table, "学号") > 0;
    const bool name = FieldColumn(table, "姓名") > 0;
    if (number && name) {
        return "{学号}_{姓名}.pdf";
    }
    if (name || number) {
        return name ? "{姓名}.pdf" : "{学号}.pdf";
    }
    return table.cols() > 1 ? "{" + std::string(table.cell(0, 1)) + "}.pdf" : std::string("{姓名}.pdf");
}

std::string SafeReportFileName(std::string_view name) {
    std::string safe;
    for (char ch : name) {
        safe.push_back(unsafe(static_cast<unsigned char>(ch)) ? '_' : ch);
    }
    const size_t first = safe.find_first_not_of(" .");
    if (first == std::string::npos) {
        return {};
    }
    safe = safe.substr(first, safe.find_last_not_of(" .") - first + 1);
    if (safe.size() > kLongestName) {
        size_t cut = kLongestName;
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) {
            --cut;  // not inside a character
        }
        safe.resize(cut);
    }
    return safe;
}

std::optional<std::string> ReportFileNames(const GradeTable& table, const CellValueFn& value, ReportRowRange rows,
                                           std::string_view pattern, std::vector<ReportFile>& out) {
    std::vector<Piece> pieces;
    bool named = false;
    for (size_t at = 0; at < pattern.size();) {
        const size_t open = pattern.find('{', at);
        if (open != at) {
            pieces.push_back({std::string(pattern.substr(at, open == std::string_view::npos ? open : open - at)), 0});
            if (open == std::string_view::npos) {
                break;
            }
        }
        const size_t close = pattern.find('}', open);
        if (close == std::string_view::npos) {
            return "文件名“" + std::string(pattern) + "”中的“{”没有对应的“}”！";
        }
        const std::string field(TrimSpaces(pattern.substr(open + 1, close - open - 1)));
        const int column = FieldColumn(table, field);
        if (column <= 0) {
            return "文件名中的字段“" + field + "”在表格中不存在！";
        }
        pieces.push_back({{}, column});
        named = true;
        at = close + 1;
    }
    if (!named) {
        return std::string("文件名中至少要有一个字段，如 {姓名}！");
    }

    std::vector<ReportFile> files;
    std::vector<std::string> taken;  // the names so far, in lower case
    const int first = std::max(1, rows.first);
    const int last = std::min(rows.last, table.rows() - 1);
    for (int r = first; r <= last; ++r) {
        if (!RowHoldsData(table, r)) {
            continue;
        }
        std::string name;
        for (const Piece& piece : pieces) {
            name += piece.column == 0 ? piece.text
                                      : (value ? value(r, piece.column) : std::string(table.cell(r, piece.column)));
        }
        std::string base(TrimSpaces(name));
        if (endsWithExtension(base)) {
            base.resize(base.size() - kReportFileExtension.size());
        }
        base = SafeReportFileName(base);
        if (base.empty()) {
            base = "第 " + std::to_string(r) + " 行";
        }
        std::string file = base + std::string(kReportFileExtension);
        for (int n = 2; std::find(taken.begin(), taken.end(), ToLowerAscii(file)) != taken.end(); ++n) {
            file = base + "(" + std::to_string(n) + ")" + std::string(kReportFileExtension);
        }
        taken.push_back(ToLowerAscii(file));
        files.push_back({r, std::move(file)});
    }
    out = std::move(files);
    return std::nullopt;
}

std::vector<std::string> ExistingReportFiles(const std::string& folder, const std::vector<ReportFile>& files) {
    std::vector<std::string> existing;
    for (const ReportFile& file : files) {
        if (standsThere(pathIn(folder, file.name))) {
            existing.push_back(file.name);
        }
    }
    return existing;
}

std::string ReplaceReportFilesQuestion(const std::string& folder, const std::vector<std::string>& existing) {
    std::string names;
    for (size_t i = 0; i < existing.size() && i < kNamedFiles; ++i) {
        names += (i > 0 ? "、" : "") + existing[i];
    }
    if (existing.size() > kNamedFiles) {
        names += "等";
    }
    return "文件夹“" + folder + "”中已有 " + std::to_string(existing.size()) + " 个同名文件：" + names +
           "。\n是否全部覆盖？";
}

bool MayReplaceReportFiles(const std::string& folder, const std::vector<std::string>& existing,
                           Prompter& prompter) {
    if (existing.empty()) {
        return true;
    }
    Question question;
    question.text = ReplaceReportFilesQuestion(folder, existing);
    question.title = "询问";
    question.icon = Icon::Question;
    question.buttons = {{"覆盖全部(&O)", Answer::Yes}, {"取消", Answer::Cancel}};
    question.defaultAnswer = Answer::Cancel;
    question.escapeAnswer = Answer::Cancel;
    return prompter.askQuestion(question) == Answer::Yes;
}

ReportFilesOutcome WriteReportFiles(const std::string& folder, const std::vector<ReportFile>& files,
                                    const std::vector<std::string>& mayReplace,
                                    const std::function<bool(const std::string& path, int row)>& writeOne,
                                    const std::function<bool(int n, int count)>& progress) {
    ReportFilesOutcome outcome;
    const int count = static_cast<int>(files.size());
    for (int i = 0; i < count; ++i) {
        if (progress && !progress(i + 1, count)) {
            outcome.cancelled = true;
            break;
        }
        const ReportFile& file = files[static_cast<size_t>(i)];
        const std::string path = pathIn(folder, file.name);
        // Another program may have made the file since the question: it is not replaced unasked.
        if (standsThere(path) && std::find(mayReplace.begin(), mayReplace.end(), file.name) == mayReplace.end()) {
            outcome.appeared.push_back(file.name);
            continue;
        }
        if (!writeOne(path, file.row)) {
            outcome.failed = file.name;
            break;
        }
        ++outcome.written;
    }
    return outcome;
}

std::string ReportFilesSummary(const ReportFilesOutcome& outcome) {
    std::string text;
    if (!outcome.failed.empty()) {
        text = "文件“" + outcome.failed + "”写入失败！";
    }
    text += "已生成 " + std::to_string(outcome.written) + " 个PDF文件";
    if (outcome.cancelled) {
        text += "（已取消其余的文件）";
    }
    if (!outcome.appeared.empty()) {
        std::string names;
        for (const std::string& name : outcome.appeared) {
            names += (names.empty() ? "" : "、") + name;
        }
        text += "；以下文件在此期间已由其他程序建立，没有覆盖：" + names;
    }
    return text;
}

std::string ReportFilesProgressText(int n, int count) {
    return "正在生成第 " + std::to_string(n) + " 个PDF文件，共 " + std::to_string(count) + " 个...";
}

}  // namespace scorvane

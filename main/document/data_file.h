#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/file_state.h"
#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/document.h"
#include "main/document/grade_table.h"

namespace scorvane {

// The ".skv" data file of one grade table: one value per line, CR LF after every line, GBK text.
// Line 1 the magic, 2 the title, 3 Rows, 4 Cols, 5 the teacher, 6 the class information, 7 the data
// format, then every cell row by row (cell (r, c) on line 8 + faIndex(r, c)). A line break inside a
// value is written as "[/]" and read back as CR LF.

inline constexpr std::string_view kDataFileMagic = "KVL'S Scorvane数据文件";
inline constexpr std::string_view kDataFileExtension = ".skv";

// The system's texts around data files.
inline constexpr std::string_view kFormatMessage = "文件格式不正确!";
inline constexpr std::string_view kOverwriteQuestion = "确实覆盖原有数据么？";
inline constexpr std::string_view kSaveFailedMessage = "文件保存失败！";
// Followed by the path, for a data file named on a command line that does not exist.
inline constexpr std::string_view kMissingFileMessage = "找不到文件：";
inline constexpr std::string_view kStatusReading = "文件读取中...";
inline constexpr std::string_view kStatusSaving = "正在保存文件...";
inline constexpr std::string_view kStatusImporting = "文件导入中...";

// A value as it stands on its line: every CR LF, LF or CR becomes "[/]".
std::string EncodeLineValue(std::string_view value);
// A line as a value: every "[/]" becomes CR LF.
std::string DecodeLineValue(std::string_view line);

// Decodes a data file's bytes (GB18030, or UTF-8 when the file is valid UTF-8 and starts with the
// magic in UTF-8) and checks it whole: the magic, Rows and Cols whole numbers from 1 to 32767, and
// every cell present. Only then is `out` replaced (title, counts, teacher, class information, data
// format and cells, exactly as read); on any fault `out` is left as it was and false is returned.
bool ParseDataFile(std::string_view bytes, GradeTable& out);

// The same for the data file at `path` (the whole name), read in one pass without holding the file;
// false also when it cannot be read.
bool ReadDataFile(const std::string& path, GradeTable& out);

// True when the bytes start with the magic line (GBK or UTF-8); the cheap first check.
bool HasDataFileMagic(std::string_view bytes);

// The data file's bytes for the table (GBK).
std::string SerializeDataFile(const GradeTable& table);
// The same, made in pieces of some 64 KB; `betweenPieces` runs after each.
std::string SerializeDataFile(const GradeTable& table, const std::function<void()>& betweenPieces);

// The data file of a path without ".skv": that path and ".skv", or, when no such file exists, an
// existing file whose extension differs from it only in letter case ("成绩.SKV", copied from a system
// where case does not matter, which the class folder lists as 成绩), so that such a table opens and is
// saved in place.
std::string DataFileOf(const std::string& pathWithoutExtension);

// The data file that a path names, given with or without ".skv" (in any letter case): the path without
// the extension, as LoadData takes it; nothing when there is no such file.
std::optional<std::string> ExistingDataPath(const std::string& path);

enum class LoadOutcome {
    Loaded,
    Closed,   // empty name or missing file: the window closes without a word
    Refused,  // not a data file: "文件格式不正确!" was shown; the window closes
};

// Fills the document from a data file. `name` is the path without ".skv"; when `fullname` is false it
// is relative to the data folder and may hold sub-folders. Renumbers column 0, sets the header layout
// string from the titles as read. Nothing of the document changes unless the whole file is sound.
LoadOutcome LoadData(Document& document, std::string_view name, bool fullname, Prompter& prompter,
                     StatusSink& status);

enum class SaveOutcome {
    Saved,
    Declined,  // the overwrite question was answered No: nothing written
    Failed,    // "文件保存失败！" was shown; the old file is whole
};

// Writes the document's table. `path` is the full path without ".skv" ("窗口标题" stands for the
// title); with `temporary` the scratch file is written instead, without the overwrite question.
// An existing file is replaced only after "确实覆盖原有数据么？" is answered Yes, and always through a
// temporary file renamed over it. Saving leaves the modified flag as it is.
SaveOutcome SaveData(Document& document, bool temporary, std::string_view path, Prompter& prompter,
                     StatusSink& status);

// "确实覆盖原有数据么？" (title "提示：", Yes/No, Yes first): true when answered Yes.
bool ConfirmOverwrite(Prompter& prompter);

// SaveData's writing of the data file `file` (its whole name): with `confirmOverwrite`, the questions of
// PrepareToWrite come first: an existing file is replaced only after "确实覆盖原有数据么？" is answered Yes
// (or, when another program has it open, after 覆盖 to HeldQuestion instead), and the document's own file
// is looked at last with the changed question. The document remembers what it wrote of its own file;
// `written`, when given, receives the state of the file as written.
SaveOutcome WriteTableFile(Document& document, const std::string& file, bool confirmOverwrite,
                           Prompter& prompter, StatusSink& status, FileState* written = nullptr);

// Writes any table to `path` + ".skv" as the data file, atomically, without questions; false on failure.
bool WriteDataFile(const GradeTable& table, const std::string& pathWithoutExtension);
// The same to `path` as it stands; the bytes are made and written piece by piece. `written`, when given,
// receives the state of the file as written.
bool WriteDataFileTo(const GradeTable& table, const std::string& path, FileState* written = nullptr);

}  // namespace scorvane

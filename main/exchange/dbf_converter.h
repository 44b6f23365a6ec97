#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/grade_table.h"
#include "main/exchange/dbf_reader.h"

namespace scorvane {

// The converter of dBASE/FoxPro tables into grade table data files: it reads a table into its grid and
// saves the grid as a data file with the title, teacher and class information the user typed.

inline constexpr std::string_view kDbfConverterCaption = "DBF2DAT,KVL'S Scorvane 数据格式转换器 ";
inline constexpr std::string_view kDbfOpenTitle = "打开FoxPro 2.5数据库文件";

// The texts of the converter's boxes.
struct ConvertedTableInfo {
    std::string title;
    std::string teacher;
    std::string classInfo;
};

// The data file's table: the grid's cells with the given title, teacher and class information and the
// data format "###.##".
GradeTable ConvertedTable(const GradeTable& grid, const ConvertedTableInfo& info);

// "数据库读取发生错误。错误代码：" + "\n" + the number.
std::string DbfErrorText(DbfError error);

// What a read leaves out, one line each: "找不到备注文件：T.FPT，备注字段的内容留空。" and
// "字段“PHOTO”的类型（G）无法转换，该字段的内容留空。"; empty when nothing was left out.
std::string DbfNotesText(const DbfReadNotes& notes);

// Replaces every character of the table's cells, title, teacher and class information that GBK cannot
// hold by "?" (KeepGbkCharacters); returns how many were replaced.
size_t KeepGbkText(GradeTable& table);

// The message after a save that had to replace characters GBK cannot hold by "?".
std::string ReplacedCharactersText(size_t count);

enum class ConverterSaveOutcome {
    Saved,
    Cancelled,   // the save dialog was cancelled
    Declined,    // "确实覆盖原有数据么？" answered No: nothing written
    Failed,      // "文件保存失败！" was shown; a former file is whole
    NothingRead  // no table has been read yet: the save button is not usable
};

// The converter's own SaveData: writes the grid to `file` + ".skv" (file without extension), after
// "确实覆盖原有数据么？" when that file exists; atomically. A data file is GBK: every character of the
// grid or the boxes that GBK cannot hold (such as the mark of a damaged byte) is written as "?", and
// the count is told after the save (ReplacedCharactersText, 提示).
ConverterSaveOutcome SaveConvertedData(const GradeTable& grid, std::string_view file,
                                       const ConvertedTableInfo& info, Prompter& prompter,
                                       StatusSink& status);

class DbfConverter {
  public:
    // "打开(&O)": asks for the table ("*.dbf", "打开FoxPro 2.5数据库文件"), puts the path into the path
    // box and reads it. False when cancelled or when the read failed.
    bool open(Prompter& prompter, StatusSink& status);

    // Reads the table at `path` into the grid. On an error says "数据库读取发生错误。错误代码：", a line
    // feed and the error's number (error icon, title "错误"); the grid, the path box and the save button
    // stay as they were, so the box always names the table the grid shows. When some of the table's
    // contents cannot be read (a missing memo file, fields of an unknown type), the one message
    // DbfNotesText says what is left empty (提示), and the rest is read.
    bool read(const std::string& path, Prompter& prompter, StatusSink& status);

    // "转换保存...": asks for the file ("*.skv") and saves through SaveConvertedData. The converter stays.
    ConverterSaveOutcome save(const ConvertedTableInfo& info, Prompter& prompter, StatusSink& status);

    const GradeTable& grid() const { return grid_; }
    const std::string& path() const { return path_; }  // the path box: the table read
    bool canSave() const { return canSave_; }          // the save button is usable

  private:
    GradeTable grid_{0, 0};
    std::string path_;
    bool canSave_ = false;
};

}  // namespace scorvane

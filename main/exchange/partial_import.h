#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/data_file.h"
#include "main/document/document.h"

namespace scorvane {

// Filling one column of the open (target) table from one column of another (source) table, row by row
// in order, or matched on a key field of each table ("对号入座").
//
// The dialog's life: menuImportSome when it opens (takes the undo snapshot), LoadDataI for the source
// file the user browses to, RunPartialImport when "确认(&O)" is pressed.

inline constexpr std::string_view kPartialImportCaption = "部分数据导入：";
inline constexpr std::string_view kPartialImportOpenTitle = "打开数据文件";
inline constexpr std::string_view kChooseColumnsMessage =
    "请先设置原始表格与导入数据的表格的要进行操作的列！\n请设定完毕再试或按“取消”按钮结束导入操作。";
inline constexpr std::string_view kSequentialImportQuestion =
    "您没有选择“对号入座”功能，因此，数据只是简单的按次序导入，确定继续么？";
inline constexpr std::string_view kKeyMatchingExplanation =
    "    "
    "许多的数据表出于种种原因，它们的排列顺序都有所不同，遇到这种情况，使用“对号入座”功能，可以实现根据所选"
    "的两表相关字段（如：姓名 与 "
    "姓名）把数据自动填充到应该所在的位置。（使用本功能的前提：“相关字段”中的数据必须"
    "唯一，否则，结果会有出入，所以请事先做一定的调整。）";

// The source table of the dialog, as LoadDataI read it.
struct ImportSource {
    LoadOutcome outcome = LoadOutcome::Closed;  // Loaded, Closed (nothing loaded), Refused (dialog closes)
    GradeTable table;                           // valid when Loaded
};

// Reads a data file as the source: `file` is the path without ".skv" (found as LoadData finds it);
// with `fullName` false it is relative to the data folder. An empty name or a missing file loads nothing
// (Closed, no message); a file that fails the data file's checks says "文件格式不正确!" (Refused: the dialog
// closes). The loaded table's header layout string is "  " followed by "|" and each field title.
ImportSource LoadDataI(std::string_view file, bool fullName, Prompter& prompter, StatusSink& status);

// The key fields: the target table's column holding the key and the source table's.
struct KeyFields {
    int targetCol = 0;
    int sourceCol = 0;
};

enum class PartialImportOutcome {
    Imported,
    NoColumns,  // a column (or key field) was column 0 or outside its table: the two-line message; the
                // dialog stays open
    Declined,   // the row-by-row question was answered No; the dialog stays open
    NoSource,   // no source has been loaded: "确认(&O)" is not usable yet
};

// Opening the dialog: takes the undo snapshot, so undo restores the table as it was before the import.
void menuImportSome(Document& document);

// The import proper, into the document's table (no snapshot: see menuImportSome).
//
// Row by row (no key): asks "您没有选择“对号入座”功能…"; on Yes, target row i gets the source's row i
// for i = 1 .. min(R_T, R_S) - 1.
//
// Matched on the key: every target data row looks its key up among all of the source's data rows
// (exact, case-sensitive, nothing trimmed; the first occurrence wins; an empty key matches the first
// empty source key); a row whose key is not found keeps its value. Linear time: the source's keys are
// hashed once.
//
// Sets the modified flag when a cell changes.
PartialImportOutcome RunPartialImport(Document& document, int targetCol, const GradeTable& source,
                                      int sourceCol, std::optional<KeyFields> key, Prompter& prompter);

// The partial import dialog's state, without its widgets: the target document, the source once one is
// loaded, and what "浏览..." and "确认(&O)" do.
class PartialImportSession {
  public:
    // Opening the dialog: menuImportSome (the undo snapshot).
    explicit PartialImportSession(Document& document);

    // "浏览...": the open dialog ("*.skv", "打开数据文件"), then LoadDataI on the chosen path without its
    // extension. Loaded: the new source replaces any former one and "确认(&O)" becomes usable. Closed
    // (cancelled, missing file): any former source stays. Refused ("文件格式不正确!" was shown): the
    // dialog closes.
    LoadOutcome browse(Prompter& prompter, StatusSink& status);

    bool sourceLoaded() const { return loaded_; }  // "确认(&O)" is usable
    const GradeTable& source() const { return source_; }
    Document& document() { return document_; }

    // The key field lists: the target's field titles (Combo1) and the loaded source's (Combo2, empty
    // before a source is loaded).
    std::vector<std::string> targetFields() const;
    std::vector<std::string> sourceFields() const;

    // "确认(&O)": `targetCol` and `sourceCol` are the columns chosen in the grids (0 when none);
    // `keyPositions`, when key matching is ticked, the entries chosen in the two key field lists
    // (0-based; -1 when none), which stand for the fields in columns position + 1. Without a source
    // it does nothing (NoSource).
    struct KeyPositions {
        int target = 0;
        int source = 0;
    };
    PartialImportOutcome confirm(int targetCol, int sourceCol, std::optional<KeyPositions> keyPositions,
                                 Prompter& prompter);

  private:
    Document& document_;
    GradeTable source_{0, 0};
    bool loaded_ = false;
};

}  // namespace scorvane

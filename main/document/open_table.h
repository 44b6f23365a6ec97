#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/data_file.h"
#include "main/document/document.h"

namespace scorvane {

// What a table is called in the questions about its file.
inline constexpr std::string_view kTableKind = "表格";

// The name a table goes by in the questions about its file: its title, or its file's name without
// ".skv" when the title is blank.
std::string SharedTableName(const Document& document);
std::string SharedTableName(const GradeTable& table);

// Opening a table file in a new window's document: the one way the frame opens a table (the open
// command, the class's table list, tables named at start). `path` is the full path without ".skv".
// The file is read first (its state taken just before), then its lock is looked at: none, or a stale
// one, makes the lock ours; a lock of another program asks the lock question, whose 只读打开 opens the
// table read-only, 仍然打开 normally, and 取消 not at all. A lock that cannot be made opens the table with
// a note for the status bar (DocumentFile::note, also shown through `status`).
// Loaded: the document holds the table and its file. Closed: empty name, no such file, or 取消 (the
// window closes without a word). Refused: not a data file ("文件格式不正确!" was shown, no lock taken).
// The document is left as it was unless Loaded.
LoadOutcome OpenTable(Document& document, const std::string& path, Prompter& prompter, StatusSink& status);

}  // namespace scorvane

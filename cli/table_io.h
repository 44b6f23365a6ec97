#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/console_prompter.h"
#include "main/document/document.h"

namespace scorvane::cli {

// The data file that a path names, given with or without ".skv" (in any letter case): the path without
// the extension, as the loading commands take it. When there is no such file, prints "找不到文件：PATH"
// on stderr and returns nothing. A table that a program has open (a live lock file beside it) gets
// OpenElsewhereNote on stderr, and the command goes on with the file as last saved.
std::optional<std::string> FindTable(const std::string& path);

// "注意：表格正由 <user>（<host>）打开，读到的是其最后保存的内容。" when the data file `file` (its whole
// name) has a live lock, or an unreadable one; "" when it has none or a stale one.
std::string OpenElsewhereNote(const std::string& file);
// Prints the note on stderr when there is one.
void NoteOpenElsewhere(const std::string& file);
// The same for the tables `names` of a class folder (ending in "/"; nothing for an empty folder), as a
// command reads them from it.
void NoteOpenElsewhere(const std::string& folder, const std::vector<std::string>& names);

// Loads TABLE.skv (the path as given, with or without ".skv") into the document; on failure prints the
// reason on stderr and returns false.
bool LoadTable(const std::string& path, Document& document, ConsolePrompter& prompter);

// The two tables of an import: loads TABLE into the document and finds the data file OTHER names (the
// path without ".skv" is returned); on failure prints the reason on stderr and returns nothing.
std::optional<std::string> LoadTableAndFindOther(const std::string& table, const std::string& other,
                                                 Document& document, ConsolePrompter& prompter);

// Writes the table as a data file to exactly `path`, atomically; on failure prints "文件保存失败！".
bool SaveTable(const GradeTable& table, const std::string& path);

// Writes bytes to exactly `path`, atomically; on failure prints "文件保存失败！".
bool SaveBytes(const std::string& bytes, const std::string& path);

// The column of FIELD: a field title (exact), else a column number from 1 to Cols-1; -1 with a message
// on stderr when neither.
int ResolveField(const GradeTable& table, const std::string& field);

// A data row number from 1 to `dataRows` (blanks around it allowed); otherwise prints
// "没有第 TEXT 行（共 N 行）。" and returns false.
bool ParseDataRow(const std::string& text, int dataRows, int& row);

// Prints a usage error and returns the exit status 1.
int UsageError(const std::string& usage);

}  // namespace scorvane::cli

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// Every class of the school tree owns a folder of tables: the data folder + the class node's full
// path (school/grade/class). A table's name is its file name without ".skv".

// DataFolder() + fullPath + "/". Empty when a level of the path is "." or "..", which would lead out
// of the data folder (such a name can only come from a school file edited by hand).
std::string ClassFolder(std::string_view nodeFullPath);

// Creates the data folder and every missing level of the class folder; false when that fails.
bool EnsureClassFolder(std::string_view nodeFullPath);

// The names of the tables in a folder: the files "*.skv" (extension in any case), without the
// extension, in name order: GBK order as the sort orders texts (GbkOrderKey), Latin letters without
// regard to case. Empty when the folder is missing or cannot be listed.
std::vector<std::string> ListTables(const std::string& folder);

// What the tree's pop-up menu lists for a class node: makes sure its folder exists (creating every
// missing level), then lists its tables. Empty when the folder cannot be made or listed.
std::vector<std::string> PrepareClassTables(std::string_view nodeFullPath);

// The full path, without ".skv", of the table `name` of a class: the path a table entry of the pop-up
// menu loads, and the path a new table of that class is saved to. Empty when ClassFolder is.
std::string ClassTablePath(std::string_view nodeFullPath, std::string_view name);

}  // namespace scorvane

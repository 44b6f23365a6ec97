#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"

namespace scorvane {

// The path a file dialog starts at: the dialog's own folder, else `lastFolder` (where a file of the
// dialog's pattern was last chosen); followed, in a save dialog, by the suggested name made safe
// (SafeFileName): "/学校/表格数据/一中/高一/(1)班/期中考试". Only the name when no folder is known;
// empty when nothing is.
std::string FileDialogStartPath(const FileDialogSpec& spec, const std::string& lastFolder);

// A title as a file name: the characters no file name may hold (/ \ * : ? < > | and the double quote)
// become "_", blanks around it are dropped.
std::string SafeFileName(std::string_view title);

// The save dialog that saveFile(pattern) shows (the pattern its filter, its last three characters
// added to a name typed without extension), opening in `folder` (empty: where this pattern's last file
// was chosen) with `name` offered.
FileDialogSpec SaveDialogFor(std::string_view pattern, std::string_view name, std::string folder = {});

// The folder of a chosen file, to start the next dialog of its pattern in ("" for a bare name).
std::string FolderOfChosenFile(std::string_view path);

}  // namespace scorvane

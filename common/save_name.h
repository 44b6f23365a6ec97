#pragma once

#include <string>
#include <string_view>

#include "common/prompter.h"

namespace scorvane {

// The name a save dialog gave, with `extension` (".rvx") added when its file part has no extension of
// its own (no "." after its first character): a name with any extension is kept as it is.
std::string WithExtensionIfBare(std::string_view path, std::string_view extension);

// Before a file is replaced under a name the program completed: when `path` exists, asks
// "NAME 已存在。\n要替换它吗？" (title "确认另存为", Yes/No, No first). True when it may be written.
bool MayReplaceFile(const std::string& path, Prompter& prompter);

}  // namespace scorvane

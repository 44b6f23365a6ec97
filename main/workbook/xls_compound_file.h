#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scorvane {

// The stream of that name (letter case ignored) in a compound file (the container of .xls
// workbooks), following its sector chains with every loop and every sector out of range refused.
// Nothing when the file is no sound compound file or has no such stream.
std::optional<std::string> CompoundFileStream(std::string_view file, std::string_view name);

}  // namespace scorvane
